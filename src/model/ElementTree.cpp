// SPDX-License-Identifier: GPL-3.0-or-later
#include "ElementTree.h"

#include <QtGlobal>
#include <algorithm>

namespace struktur {

constinit SlotPool<64> elementSlots;
constinit SlotPool<sizeof(std::vector<std::uint32_t>)> childListSlots;

Element::~Element()
{
    // Tear the subtree down breadth-wise: each element deleted here has no children left, so
    // destruction never recurses however deep the tree is.
    if (!m_children)
        return;
    Children pending = std::move(list());
    dropChildList();
    while (!pending.empty()) {
        Element* element = at(pending.back());
        pending.pop_back();
        if (element->m_children) {
            const Children& grandchildren = element->list();
            pending.insert(pending.end(), grandchildren.begin(), grandchildren.end());
            element->dropChildList();
        }
        delete element;
    }
}

Element::Children& Element::children()
{
    if (!m_children) {
        void* slot = childListSlots.allocate();
        new (slot) Children();
        m_children = childListSlots.idOf(slot);
    }
    return list();
}

void Element::dropChildList()
{
    Children* children = &list();
    children->~Children();
    childListSlots.release(children);
    m_children = 0;
}

int Element::level() const
{
    int level = -1;
    for (const Element* up = parent(); up; up = up->parent())
        ++level;
    return level;
}

bool Element::contains(const Element* other) const
{
    for (; other; other = other->parent()) {
        if (other == this)
            return true;
    }
    return false;
}

ElementTree::ElementTree()
    : m_root(std::make_unique<Element>())
{
}

void ElementTree::clear()
{
    m_root = std::make_unique<Element>();
    m_size = 0;
}

Element* ElementTree::insert(Element* parent, int row, QString text)
{
    Q_ASSERT_X(parent && row >= 0 && row <= parent->childCount(), "ElementTree::insert", "row outside the parent");
    auto element = std::make_unique<Element>();
    element->text = std::move(text);
    element->m_parent = parent->id();
    Element::Children& children = parent->children();
    children.insert(children.begin() + row, element->id());
    renumber(parent, row);
    ++m_size;
    return element.release();
}

Element* ElementTree::append(Element* parent, QString text)
{
    auto element = std::make_unique<Element>();
    element->text = std::move(text);
    element->m_parent = parent->id();
    Element::Children& children = parent->children();
    element->m_row = int(children.size());
    children.push_back(element->id());
    ++m_size;
    return element.release();
}

void ElementTree::fitChildren(Element* parent)
{
    if (parent->m_children)
        parent->list().shrink_to_fit();
}

static qsizetype subtreeSize(const Element* element)
{
    qsizetype count = 1;
    const Element* node = element;
    // Pre-order walk bounded by the subtree.
    while (true) {
        if (node->hasChildren()) {
            node = node->child(0);
            ++count;
            continue;
        }
        while (node != element && node->row() + 1 >= node->parent()->childCount())
            node = node->parent();
        if (node == element)
            return count;
        node = node->parent()->child(node->row() + 1);
        ++count;
    }
}

void ElementTree::remove(Element* element)
{
    take(element).reset();
}

std::unique_ptr<Element> ElementTree::take(Element* element)
{
    Q_ASSERT_X(element && element != m_root.get(), "ElementTree::take", "the root cannot be taken");
    Element* parent = element->parent();
    const int row = element->m_row;
    m_size -= subtreeSize(element);
    Element::Children& children = parent->list();
    children.erase(children.begin() + row);
    renumber(parent, row);
    element->m_parent = 0;
    return std::unique_ptr<Element>(element);
}

Element* ElementTree::restore(Element* parent, int row, std::unique_ptr<Element> subtree)
{
    Q_ASSERT_X(parent && row >= 0 && row <= parent->childCount(), "ElementTree::restore", "row outside the parent");
    Q_ASSERT_X(subtree && !subtree->m_parent, "ElementTree::restore", "only a taken subtree can be restored");
    m_size += subtreeSize(subtree.get());
    Element::Children& children = parent->children();
    children.insert(children.begin() + row, subtree->id());
    subtree->m_parent = parent->id();
    renumber(parent, row);
    return subtree.release();
}

void ElementTree::move(Element* element, Element* parent, int row)
{
    Q_ASSERT_X(!element->contains(parent), "ElementTree::move", "destination inside the moved subtree");
    Element* oldParent = element->parent();
    const int oldRow = element->m_row;
    Element::Children& oldChildren = oldParent->list();
    oldChildren.erase(oldChildren.begin() + oldRow);
    if (oldParent == parent && row > oldRow)
        --row;
    renumber(oldParent, oldRow);
    Element::Children& children = parent->children();
    children.insert(children.begin() + row, element->id());
    element->m_parent = parent->id();
    renumber(parent, row);
}

void ElementTree::reorder(Element* parent, std::vector<Element*> order)
{
    Q_ASSERT_X(int(order.size()) == parent->childCount(), "ElementTree::reorder", "order must hold every child");
    Element::Children& children = parent->list();
    for (size_t i = 0; i < order.size(); ++i)
        children[i] = order[i]->id();
    renumber(parent, 0);
}

void ElementTree::permute(Element* parent, const int* rows, Permute direction)
{
    Element::Children& children = parent->list();
    Element::Children permuted(children.size());
    // Each element is numbered as it is placed: one visit per element, which is what a
    // million-element group costs.
    for (size_t i = 0; i < children.size(); ++i) {
        const size_t to = direction == Permute::Forth ? i : size_t(rows[i]);
        const size_t from = direction == Permute::Forth ? size_t(rows[i]) : i;
        permuted[to] = children[from];
        Element::at(permuted[to])->m_row = int(to);
    }
    children = std::move(permuted);
}

Element* ElementTree::next(const Element* element) const
{
    if (element->hasChildren())
        return element->child(0);
    for (Element* parent = element->parent(); parent; element = parent, parent = parent->parent()) {
        if (element->m_row + 1 < parent->childCount())
            return parent->child(element->m_row + 1);
    }
    return nullptr;
}

void ElementTree::renumber(Element* parent, int from)
{
    if (!parent->m_children)
        return;
    const Element::Children& children = parent->list();
    for (size_t row = size_t(from); row < children.size(); ++row)
        Element::at(children[row])->m_row = int(row);
}

AttachPlace attachPlace(const Element* relative, TNodeAttachMode mode)
{
    Element* parent = relative->parent();
    switch (mode) {
    case naAdd:
        return { parent, parent->childCount() };
    case naAddFirst:
        return { parent, 0 };
    case naAddChild:
        return { const_cast<Element*>(relative), relative->childCount() };
    case naAddChildFirst:
        return { const_cast<Element*>(relative), 0 };
    case naInsert:
        return { parent, relative->row() };
    }
    Q_UNREACHABLE();
}

ElementPath pathOf(const Element* element)
{
    ElementPath path;
    for (; element && element->parent(); element = element->parent())
        path.push_back(element->row());
    std::reverse(path.begin(), path.end());
    return path;
}

Element* elementAt(const ElementTree& tree, const ElementPath& path)
{
    Element* element = tree.root();
    for (const int row : path) {
        if (row < 0 || row >= element->childCount())
            return nullptr;
        element = element->child(row);
    }
    return element;
}

QString storableElementText(QString text)
{
    for (QChar& ch : text) {
        if (ch == u'\r' || ch == u'\n' || ch == u'\0')
            ch = u' ';
    }
    qsizetype blanks = 0;
    while (blanks < text.size() && (text[blanks] == u'\t' || text[blanks] == u' '))
        ++blanks;
    text.remove(0, blanks);
    return text;
}

} // namespace struktur
