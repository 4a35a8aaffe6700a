// SPDX-License-Identifier: GPL-3.0-or-later
#include "ElementTree.h"

#include <QtGlobal>
#include <algorithm>

namespace struktur {

Element::~Element()
{
    // Tear the subtree down breadth-wise: each element destroyed here has no children left, so
    // destruction never recurses however deep the tree is.
    if (!m_children)
        return;
    Children pending = std::move(*m_children);
    while (!pending.empty()) {
        std::unique_ptr<Element> element = std::move(pending.back());
        pending.pop_back();
        if (!element->m_children)
            continue;
        for (auto& child : *element->m_children)
            pending.push_back(std::move(child));
        element->m_children.reset();
    }
}

Element::Children& Element::children()
{
    if (!m_children)
        m_children = std::make_unique<Children>();
    return *m_children;
}

int Element::level() const
{
    int level = -1;
    for (const Element* up = m_parent; up; up = up->m_parent)
        ++level;
    return level;
}

bool Element::contains(const Element* other) const
{
    for (; other; other = other->m_parent) {
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
    element->m_parent = parent;
    Element* added = element.get();
    parent->children().insert(parent->children().begin() + row, std::move(element));
    renumber(parent, row);
    ++m_size;
    return added;
}

Element* ElementTree::append(Element* parent, QString text)
{
    auto element = std::make_unique<Element>();
    element->text = std::move(text);
    element->m_parent = parent;
    element->m_row = parent->childCount();
    Element* added = element.get();
    parent->children().push_back(std::move(element));
    ++m_size;
    return added;
}

void ElementTree::fitChildren(Element* parent)
{
    if (parent->m_children)
        parent->m_children->shrink_to_fit();
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
    Q_ASSERT_X(element && element != m_root.get(), "ElementTree::remove", "the root cannot be removed");
    Element* parent = element->m_parent;
    const int row = element->m_row;
    m_size -= subtreeSize(element);
    parent->m_children->erase(parent->m_children->begin() + row);
    renumber(parent, row);
}

std::unique_ptr<Element> ElementTree::take(Element* element)
{
    Q_ASSERT_X(element && element != m_root.get(), "ElementTree::take", "the root cannot be taken");
    Element* parent = element->m_parent;
    const int row = element->m_row;
    m_size -= subtreeSize(element);
    std::unique_ptr<Element> taken = std::move((*parent->m_children)[size_t(row)]);
    parent->m_children->erase(parent->m_children->begin() + row);
    renumber(parent, row);
    taken->m_parent = nullptr;
    return taken;
}

Element* ElementTree::restore(Element* parent, int row, std::unique_ptr<Element> subtree)
{
    Q_ASSERT_X(parent && row >= 0 && row <= parent->childCount(), "ElementTree::restore", "row outside the parent");
    Q_ASSERT_X(subtree && !subtree->m_parent, "ElementTree::restore", "only a taken subtree can be restored");
    m_size += subtreeSize(subtree.get());
    subtree->m_parent = parent;
    Element* restored = subtree.get();
    parent->children().insert(parent->children().begin() + row, std::move(subtree));
    renumber(parent, row);
    return restored;
}

void ElementTree::move(Element* element, Element* parent, int row)
{
    Q_ASSERT_X(!element->contains(parent), "ElementTree::move", "destination inside the moved subtree");
    Element* oldParent = element->m_parent;
    const int oldRow = element->m_row;
    std::unique_ptr<Element> taken = std::move((*oldParent->m_children)[size_t(oldRow)]);
    oldParent->m_children->erase(oldParent->m_children->begin() + oldRow);
    if (oldParent == parent && row > oldRow)
        --row;
    renumber(oldParent, oldRow);
    taken->m_parent = parent;
    parent->children().insert(parent->children().begin() + row, std::move(taken));
    renumber(parent, row);
}

void ElementTree::reorder(Element* parent, std::vector<Element*> order)
{
    Q_ASSERT_X(int(order.size()) == parent->childCount(), "ElementTree::reorder", "order must hold every child");
    Element::Children children(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        children[i] = std::move((*parent->m_children)[size_t(order[i]->m_row)]);
    *parent->m_children = std::move(children);
    renumber(parent, 0);
}

void ElementTree::permute(Element* parent, const int* rows, Permute direction)
{
    Element::Children& children = *parent->m_children;
    Element::Children permuted(children.size());
    // Each element is numbered as it is placed: one visit per element, which is what a
    // million-element group costs.
    for (size_t i = 0; i < children.size(); ++i) {
        const size_t to = direction == Permute::Forth ? i : size_t(rows[i]);
        const size_t from = direction == Permute::Forth ? size_t(rows[i]) : i;
        permuted[to] = std::move(children[from]);
        permuted[to]->m_row = int(to);
    }
    children = std::move(permuted);
}

Element* ElementTree::next(const Element* element) const
{
    if (element->hasChildren())
        return element->child(0);
    for (; element->m_parent; element = element->m_parent) {
        if (element->m_row + 1 < element->m_parent->childCount())
            return element->m_parent->child(element->m_row + 1);
    }
    return nullptr;
}

void ElementTree::renumber(Element* parent, int from)
{
    for (int row = from; row < parent->childCount(); ++row)
        (*parent->m_children)[size_t(row)]->m_row = row;
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
