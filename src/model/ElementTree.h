// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AttachMode.h"
#include "ElementPool.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace struktur {

class Element;
/// Where elements and their child lists live (ElementPool.h): a tree links them by 32-bit ids.
extern SlotPool<64> elementSlots;
extern SlotPool<sizeof(std::vector<std::uint32_t>)> childListSlots;

/// One element of a structure: a caption text, an optional element data string (icon digit
/// followed by the document's file name) and an icon index (0-9, or -1 for none).
class Element {
public:
    Element() = default;
    ~Element();
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    static void* operator new(std::size_t) { return elementSlots.allocate(); }
    static void operator delete(void* slot) noexcept { elementSlots.release(slot); }

    QString text;
    /// The element data string exactly as read or set; meaningful only when hasData is true.
    QString data;

    /// The parent element; the tree's invisible root for a top-level element, null for the root.
    Element* parent() const { return m_parent ? at(m_parent) : nullptr; }
    /// The position among the parent's children.
    int row() const { return m_row; }
    int childCount() const { return m_children ? int(list().size()) : 0; }
    bool hasChildren() const { return m_children && !list().empty(); }
    Element* child(int row) const { return at(list()[size_t(row)]); }
    /// The element's depth: 0 for a top-level element.
    int level() const;

    /// True when `other` is this element or one of its descendants.
    bool contains(const Element* other) const;

    /// The file name: the element data string without its first character; empty without data.
    QString fileName() const { return hasData ? data.mid(1) : QString(); }

private:
    friend class ElementTree;

    /// The ids of the children, in order.
    using Children = std::vector<std::uint32_t>;
    static Element* at(std::uint32_t id) { return static_cast<Element*>(elementSlots.at(id)); }
    std::uint32_t id() const { return elementSlots.idOf(this); }
    Children& list() const { return *static_cast<Children*>(childListSlots.at(m_children)); }
    /// The child list, made for the first child.
    Children& children();
    void dropChildList();

    std::uint32_t m_parent = 0;
    int m_row = 0;
    /// Made for the first child only: most elements are leaves, and a million of them should
    /// not each carry an empty list.
    std::uint32_t m_children = 0;

public:
    /// The icon index: 0-9 from a data line, what the caller gave, or -1 for none.
    qint16 icon = 0;
    bool hasData = false;
};
// A million elements: every byte here is a megabyte. Two strings and 16 bytes on a 64-bit system.
static_assert(sizeof(Element) <= 64);

/// The element tree: an invisible root whose children are the top-level elements. Every walk is
/// iterative, so a tree as deep as it is long (one level per line) cannot exhaust the stack.
class ElementTree {
public:
    ElementTree();
    ElementTree(const ElementTree&) = delete;
    ElementTree& operator=(const ElementTree&) = delete;

    Element* root() const { return m_root.get(); }
    bool isEmpty() const { return !m_root->hasChildren(); }
    /// The number of elements on every level.
    qsizetype size() const { return m_size; }
    /// The first top-level element, or null for an empty tree.
    Element* first() const { return isEmpty() ? nullptr : m_root->child(0); }

    /// Removes every element.
    void clear();

    /// Adds a new element as child of `parent` at `row` (0..childCount).
    Element* insert(Element* parent, int row, QString text);
    /// Appends a new element as last child of `parent`; the fast path of file reading.
    Element* append(Element* parent, QString text);
    /// Gives back the room the child list of `parent` grew beyond its children, for a reader
    /// that has appended the last of them.
    void fitChildren(Element* parent);
    /// Removes the element with its whole subtree.
    void remove(Element* element);
    /// Takes the element with its subtree out of the tree and hands it to the caller whole
    /// (texts, data, icons and order), for `restore` to put back.
    std::unique_ptr<Element> take(Element* element);
    /// Puts a subtree taken by `take` back as child of `parent` at `row` (0..childCount).
    Element* restore(Element* parent, int row, std::unique_ptr<Element> subtree);
    /// Moves the element with its subtree to `row` of `parent`, where `row` counts the children
    /// of `parent` before the element is taken out. The caller guarantees `parent` is not inside
    /// the moved subtree.
    void move(Element* element, Element* parent, int row);
    /// Reorders the children of `parent` to `order`, which holds each child exactly once.
    void reorder(Element* parent, std::vector<Element*> order);
    /// Reorders the children of `parent` by rows: child `rows[i]` becomes child i, or with
    /// `Permute::Back` child i becomes child `rows[i]`. `rows` holds each row exactly once.
    enum class Permute { Forth, Back };
    void permute(Element* parent, const int* rows, Permute direction);

    /// The pre-order successor of `element` (the root gives the first element), or null.
    Element* next(const Element* element) const;
    /// Calls visit(element, level) for every element in pre-order, 0 the level of a top-level
    /// element; `visit` must leave the tree's shape as it is. Quicker than stepping with next():
    /// each child list is looked up once, not once for every child.
    template <typename Visit>
    void forEachInPreOrder(Visit&& visit) const;

private:
    void renumber(Element* parent, int from);

    std::unique_ptr<Element> m_root;
    qsizetype m_size = 0;
};

template <typename Visit>
void ElementTree::forEachInPreOrder(Visit&& visit) const
{
    const Element* owner = m_root.get();
    if (!owner->m_children)
        return;
    const Element::Children* list = &owner->list();
    size_t index = 0;
    int level = 0;
    while (true) {
        if (index < list->size()) {
            Element* element = Element::at((*list)[index]);
            visit(element, level);
            if (element->m_children && !element->list().empty()) {
                owner = element;
                list = &element->list();
                index = 0;
                ++level;
            } else {
                ++index;
            }
            continue;
        }
        if (level == 0)
            return;
        // The owner's list is done: on with the owner's next sibling.
        index = size_t(owner->m_row) + 1;
        owner = owner->parent();
        list = &owner->list();
        --level;
    }
}

/// The place (parent, row) where an element attached at `relative` by `mode` goes; `relative`
/// is an element of the tree, not the root.
struct AttachPlace {
    Element* parent;
    int row;
};
AttachPlace attachPlace(const Element* relative, TNodeAttachMode mode);

/// An element's place as the rows leading to it from the root ({1, 0}: the first child of the
/// second top-level element); empty for the root. Unlike a pointer, it names the same place
/// again after the element was taken out and put back.
using ElementPath = std::vector<int>;
ElementPath pathOf(const Element* element);
/// The element at `path`, the root for an empty path, or null when no element is there.
Element* elementAt(const ElementTree& tree, const ElementPath& path);

/// Makes a text storable in the structure file: removes leading tabs and spaces (which read back
/// as levels) and turns CR, LF and NUL (which end a line or the file) into spaces.
QString storableElementText(QString text);

} // namespace struktur
