// SPDX-License-Identifier: GPL-3.0-or-later
#include "ElementModel.h"

#include <algorithm>

namespace struktur {

ElementModel::ElementModel(QObject* parent)
    : QAbstractItemModel(parent)
{
}

ElementModel::~ElementModel() = default;

Element* ElementModel::element(const QModelIndex& index) const
{
    if (!index.isValid())
        return nullptr;
    Q_ASSERT_X(index.model() == this, "ElementModel::element", "index of another model");
    return static_cast<Element*>(index.internalPointer());
}

Element* ElementModel::elementOrRoot(const QModelIndex& index) const
{
    return index.isValid() ? element(index) : m_tree.root();
}

QModelIndex ElementModel::indexOf(const Element* element) const
{
    if (!element || element == m_tree.root())
        return {};
    return createIndex(element->row(), 0, const_cast<Element*>(element));
}

Element* ElementModel::addElement(const Element* relative, TNodeAttachMode mode, const QString& text)
{
    const AttachPlace place
        = relative ? attachPlace(relative, mode) : AttachPlace { m_tree.root(), m_tree.root()->childCount() };
    return insertElement(place.parent, place.row, text);
}

Element* ElementModel::insertElement(Element* parent, int row, const QString& text)
{
    beginInsertRows(indexOf(parent), row, row);
    Element* added = m_tree.insert(parent, row, text);
    endInsertRows();
    return added;
}

void ElementModel::removeElement(Element* element)
{
    beginRemoveRows(indexOf(element->parent()), element->row(), element->row());
    m_tree.remove(element);
    endRemoveRows();
}

bool ElementModel::moveElement(Element* element, const Element* destination, TNodeAttachMode mode)
{
    if (element->contains(destination))
        return false;
    const AttachPlace place = attachPlace(destination, mode);
    const bool samePlace
        = place.parent == element->parent() && (place.row == element->row() || place.row == element->row() + 1);
    if (samePlace)
        return false;
    const QModelIndex from = indexOf(element->parent());
    if (!beginMoveRows(from, element->row(), element->row(), indexOf(place.parent), place.row))
        return false;
    m_tree.move(element, place.parent, place.row);
    endMoveRows();
    return true;
}

void ElementModel::setText(Element* element, const QString& text)
{
    element->text = text;
    const QModelIndex index = indexOf(element);
    Q_EMIT dataChanged(index, index, { Qt::DisplayRole, Qt::EditRole });
}

void ElementModel::setData(Element* element, bool hasData, const QString& data, int icon)
{
    element->hasData = hasData;
    element->data = hasData ? data : QString();
    // Only 0-9 and -1 have a meaning; anything else is kept within them.
    element->icon = qint16(std::clamp(icon, -1, 9));
    const QModelIndex index = indexOf(element);
    Q_EMIT dataChanged(index, index, { Qt::DecorationRole, IconRole, DataStringRole });
}

bool ElementModel::sortElements(const ElementOrder& order, SortPermutation* permutation)
{
    bool moved = false;
    reorderElements([&](ElementTree& tree) { moved = sortTree(tree, order, permutation); });
    return moved;
}

void ElementModel::reorderElements(const std::function<void(ElementTree&)>& change)
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Persistent indexes carry their element, whose new row is known after the change.
    const QModelIndexList before = persistentIndexList();
    std::vector<Element*> elements;
    elements.reserve(size_t(before.size()));
    for (const QModelIndex& index : before)
        elements.push_back(element(index));
    change(m_tree);
    QModelIndexList after;
    after.reserve(before.size());
    for (size_t i = 0; i < elements.size(); ++i)
        after.append(createIndex(elements[i]->row(), before[qsizetype(i)].column(), elements[i]));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

std::unique_ptr<Element> ElementModel::takeElement(Element* element)
{
    beginRemoveRows(indexOf(element->parent()), element->row(), element->row());
    std::unique_ptr<Element> taken = m_tree.take(element);
    endRemoveRows();
    return taken;
}

Element* ElementModel::restoreElement(Element* parent, int row, std::unique_ptr<Element> subtree)
{
    beginInsertRows(indexOf(parent), row, row);
    Element* restored = m_tree.restore(parent, row, std::move(subtree));
    endInsertRows();
    return restored;
}

void ElementModel::moveElementTo(Element* element, Element* parent, int row)
{
    Q_ASSERT_X(!element->contains(parent), "ElementModel::moveElementTo", "destination inside the moved subtree");
    // Both the view's and the tree's move count the destination row before the element is taken out.
    const int rowBefore = parent == element->parent() && row > element->row() ? row + 1 : row;
    if (parent == element->parent() && row == element->row())
        return;
    if (!beginMoveRows(indexOf(element->parent()), element->row(), element->row(), indexOf(parent), rowBefore))
        return;
    m_tree.move(element, parent, rowBefore);
    endMoveRows();
}

void ElementModel::setCutElement(const Element* element)
{
    const Element* before = cutElement();
    if (before == element)
        return;
    m_cut = indexOf(element);
    if (before)
        subtreeChanged(before, { CutRole });
    if (element)
        subtreeChanged(element, { CutRole });
}

// One notification for the element and one for each group of children below it.
void ElementModel::subtreeChanged(const Element* top, const QList<int>& roles)
{
    const QModelIndex index = indexOf(top);
    Q_EMIT dataChanged(index, index, roles);
    std::vector<const Element*> parents { top };
    while (!parents.empty()) {
        const Element* parent = parents.back();
        parents.pop_back();
        if (!parent->hasChildren())
            continue;
        Q_EMIT dataChanged(indexOf(parent->child(0)), indexOf(parent->child(parent->childCount() - 1)), roles);
        for (int row = 0; row < parent->childCount(); ++row)
            parents.push_back(parent->child(row));
    }
}

void ElementModel::clear()
{
    beginResetModel();
    m_tree.clear();
    endResetModel();
}

void ElementModel::rebuild(const std::function<void(ElementTree&)>& fill)
{
    struct ResetGuard {
        ElementModel* model;
        ~ResetGuard() { model->endResetModel(); }
    };
    beginResetModel();
    ResetGuard guard { this };
    m_tree.clear();
    fill(m_tree);
}

QModelIndex ElementModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    const Element* parentElement = elementOrRoot(parent);
    if (row >= parentElement->childCount())
        return {};
    return createIndex(row, 0, parentElement->child(row));
}

QModelIndex ElementModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    return indexOf(element(child)->parent());
}

QModelIndex ElementModel::sibling(int row, int column, const QModelIndex& index) const
{
    if (!index.isValid())
        return {};
    return this->index(row, column, parent(index));
}

int ElementModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return elementOrRoot(parent)->childCount();
}

int ElementModel::columnCount(const QModelIndex&) const { return 1; }

bool ElementModel::hasChildren(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return false;
    return elementOrRoot(parent)->hasChildren();
}

QVariant ElementModel::data(const QModelIndex& index, int role) const
{
    const Element* element = this->element(index);
    if (!element)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return element->text;
    case IconRole:
        return int(element->icon);
    case DataStringRole:
        return element->hasData ? element->data : QString();
    case CutRole: {
        const Element* cut = cutElement();
        return cut && cut->contains(element);
    }
    default:
        return {};
    }
}

bool ElementModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    Element* element = this->element(index);
    if (!element || role != Qt::EditRole)
        return false;
    const QString text = storableElementText(value.toString());
    if (text == element->text)
        return true;
    const QString previousText = element->text;
    setText(element, text);
    Q_EMIT textEdited(index, previousText);
    return true;
}

Qt::ItemFlags ElementModel::flags(const QModelIndex& index) const
{
    const Element* shown = element(index);
    if (!shown)
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    // Asked afresh at every layout, so an element that gains a child loses the flag. Without it,
    // expanding everything would give every leaf of a million a persistent index in the view.
    return shown->hasChildren() ? flags : flags | Qt::ItemNeverHasChildren;
}

} // namespace struktur
