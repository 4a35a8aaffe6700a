// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ElementOrder.h"
#include "ElementTree.h"

#include <QAbstractItemModel>
#include <functional>

namespace struktur {

/// The item model over an element tree: one column, an index's internal pointer is its element.
/// Every change of the tree goes through this class so that views hear of it. Editing a text in
/// place cleans it for storage and reports `textEdited`.
class ElementModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Role {
        IconRole = Qt::UserRole + 1, ///< int: the icon index, -1 for none
        DataStringRole, ///< QString: the element data string, null when the element has none
        CutRole, ///< bool: the element is cut, or lies inside the cut element's subtree
    };

    explicit ElementModel(QObject* parent = nullptr);
    ~ElementModel() override;

    const ElementTree& tree() const { return m_tree; }

    Element* element(const QModelIndex& index) const;
    QModelIndex indexOf(const Element* element) const;

    /// Adds an element at the place `mode` gives relative to `relative`; a null `relative` adds
    /// it as the last top-level element.
    Element* addElement(const Element* relative, TNodeAttachMode mode, const QString& text);
    /// Adds an element as child `row` (0..childCount) of `parent`.
    Element* insertElement(Element* parent, int row, const QString& text);
    void removeElement(Element* element);
    /// Moves `element` with its subtree to the place `mode` gives relative to `destination`.
    /// Returns false, changing nothing, when the destination lies inside the moved subtree or the
    /// element is already in that place.
    bool moveElement(Element* element, const Element* destination, TNodeAttachMode mode);
    void setText(Element* element, const QString& text);
    /// Sets the element data string and icon; `hasData` false leaves the element without data.
    void setData(Element* element, bool hasData, const QString& data, int icon);
    /// Sorts every level; returns true when any element changed its row. With `permutation`,
    /// records the rearrangement for applySortPermutation / revertSortPermutation.
    bool sortElements(const ElementOrder& order, SortPermutation* permutation = nullptr);
    /// Rearranges siblings by `change`, which keeps every element under its parent; views keep
    /// their selection and expanded elements on the same elements.
    void reorderElements(const std::function<void(ElementTree&)>& change);
    /// Takes the element with its subtree out, whole, for restoreElement.
    std::unique_ptr<Element> takeElement(Element* element);
    Element* restoreElement(Element* parent, int row, std::unique_ptr<Element> subtree);
    /// Moves the element with its subtree so that it ends up as child `row` of `parent`.
    void moveElementTo(Element* element, Element* parent, int row);
    void clear();
    /// Marks the element (with its subtree) as cut, for views to grey; null marks none. The mark
    /// goes when the element leaves the tree.
    void setCutElement(const Element* element);
    Element* cutElement() const { return element(m_cut); }
    /// Replaces the whole tree by what `fill` builds into the emptied tree; views are reset once,
    /// also when `fill` throws (the exception goes on to the caller, the partial tree stays).
    void rebuild(const std::function<void(ElementTree&)>& fill);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    /// An element's text was changed by editing it in place; `previousText` is what it read before.
    void textEdited(const QModelIndex& index, const QString& previousText);

private:
    Element* elementOrRoot(const QModelIndex& index) const;
    void subtreeChanged(const Element* top, const QList<int>& roles);

    ElementTree m_tree;
    QPersistentModelIndex m_cut;
};

} // namespace struktur
