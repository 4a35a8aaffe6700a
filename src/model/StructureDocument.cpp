// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructureDocument.h"

#include "ElementModel.h"
#include "ElementOrder.h"
#include "StructureStorage.h"

#include <QScopedValueRollback>
#include <algorithm>
#include <optional>
#include <stdexcept>

namespace struktur {

namespace {

/// Thrown when a step's place does not exist in the tree: something changed the tree behind the
/// history's back, so the history no longer describes it.
struct StaleHistory : std::logic_error {
    StaleHistory()
        : std::logic_error("the undo history does not match the tree")
    {
    }
};

Element* require(const ElementTree& tree, const ElementPath& path)
{
    Element* element = elementAt(tree, path);
    if (!element)
        throw StaleHistory();
    return element;
}

/// What an element shows besides its place: text, data string and icon.
struct ElementFields {
    QString text;
    bool hasData = false;
    QString data;
    int icon = -1;

    static ElementFields of(const Element* element)
    {
        return { element->text, element->hasData, element->data, element->icon };
    }
    void applyTo(ElementModel& model, Element* element) const
    {
        if (element->text != text)
            model.setText(element, text);
        model.setData(element, hasData, data, icon);
    }
};

/// The sort that ends an insert or edit with "sort" ticked, replayed from its permutation.
struct FollowingSort {
    bool wanted = false;
    bool recorded = false;
    SortPermutation permutation;

    void redo(ElementModel& model)
    {
        if (!wanted)
            return;
        if (!recorded) {
            model.sortElements(ElementOrder(), &permutation);
            recorded = true;
            return;
        }
        model.reorderElements([this](ElementTree& tree) { applySortPermutation(tree, permutation); });
    }
    void undo(ElementModel& model)
    {
        if (wanted)
            model.reorderElements([this](ElementTree& tree) { revertSortPermutation(tree, permutation); });
    }
};

} // namespace

/// One change of the tree. The first redo makes it, or finds it made (a move, a sort, an in-place
/// edit are made before they are known to change anything); later ones make it again from what
/// it recorded.
class TreeStep {
public:
    virtual ~TreeStep() = default;
    /// Both return the element to select afterwards (null for none).
    virtual Element* redo(ElementModel& model) = 0;
    virtual Element* undo(ElementModel& model) = 0;
    /// True when the step leaves the selection where it is.
    virtual bool keepsSelection() const { return false; }
};

namespace {

class InsertStep : public TreeStep {
public:
    InsertStep(ElementPath parent, int row, ElementFields fields, bool sort, std::optional<ElementPath> selection)
        : m_parent(std::move(parent))
        , m_row(row)
        , m_fields(std::move(fields))
        , m_selection(std::move(selection))
    {
        m_sort.wanted = sort;
    }

    Element* redo(ElementModel& model) override
    {
        Element* parent = require(model.tree(), m_parent);
        if (m_row > parent->childCount())
            throw StaleHistory();
        // Resolved first: the sort that may follow moves the selected element.
        Element* selected = selectionBefore(model);
        m_added = model.insertElement(parent, m_row, m_fields.text);
        m_fields.applyTo(model, m_added);
        m_sort.redo(model);
        return selected;
    }
    Element* undo(ElementModel& model) override
    {
        m_sort.undo(model);
        Element* added = require(model.tree(), m_parent);
        if (m_row >= added->childCount())
            throw StaleHistory();
        model.removeElement(added->child(m_row));
        m_added = nullptr;
        return selectionBefore(model);
    }
    Element* added() const { return m_added; }

private:
    Element* selectionBefore(ElementModel& model) const
    {
        return m_selection ? elementAt(model.tree(), *m_selection) : nullptr;
    }

    ElementPath m_parent;
    int m_row;
    ElementFields m_fields;
    std::optional<ElementPath> m_selection;
    FollowingSort m_sort;
    Element* m_added = nullptr;
};

class EditStep : public TreeStep {
public:
    EditStep(ElementPath path, ElementFields before, ElementFields after, bool sort)
        : m_path(std::move(path))
        , m_before(std::move(before))
        , m_after(std::move(after))
    {
        m_sort.wanted = sort;
    }

    Element* redo(ElementModel& model) override
    {
        Element* element = require(model.tree(), m_path);
        m_after.applyTo(model, element);
        m_sort.redo(model);
        return element;
    }
    Element* undo(ElementModel& model) override
    {
        m_sort.undo(model);
        Element* element = require(model.tree(), m_path);
        m_before.applyTo(model, element);
        return element;
    }

private:
    ElementPath m_path;
    ElementFields m_before;
    ElementFields m_after;
    FollowingSort m_sort;
};

/// An in-place edit of a caption: the view's editor has already changed it when the step is made.
class TextStep : public TreeStep {
public:
    TextStep(ElementPath path, QString before, QString after)
        : m_path(std::move(path))
        , m_before(std::move(before))
        , m_after(std::move(after))
    {
    }

    Element* redo(ElementModel& model) override
    {
        Element* element = require(model.tree(), m_path);
        if (!m_made) {
            m_made = true;
            return element;
        }
        model.setText(element, m_after);
        return element;
    }
    Element* undo(ElementModel& model) override
    {
        Element* element = require(model.tree(), m_path);
        model.setText(element, m_before);
        return element;
    }

private:
    ElementPath m_path;
    QString m_before;
    QString m_after;
    bool m_made = false;
};

class DeleteStep : public TreeStep {
public:
    explicit DeleteStep(ElementPath path)
        : m_path(std::move(path))
    {
    }

    Element* redo(ElementModel& model) override
    {
        m_taken = model.takeElement(require(model.tree(), m_path));
        return nullptr;
    }
    Element* undo(ElementModel& model) override
    {
        ElementPath parentPath(m_path.begin(), m_path.end() - 1);
        Element* parent = require(model.tree(), parentPath);
        if (!m_taken || m_path.back() > parent->childCount())
            throw StaleHistory();
        return model.restoreElement(parent, m_path.back(), std::move(m_taken));
    }

private:
    ElementPath m_path;
    /// The deleted subtree, whole, while the delete is done.
    std::unique_ptr<Element> m_taken;
};

/// A move, recorded with every place in the coordinates of the tree it is replayed on: the
/// element and its new parent as they were before the move, the element and its former parent
/// as they are after it.
class MoveStep : public TreeStep {
public:
    struct Places {
        ElementPath elementBefore;
        ElementPath newParentBefore;
        int newRow;
        ElementPath elementAfter;
        ElementPath oldParentAfter;
        int oldRow;
    };
    explicit MoveStep(Places places)
        : m_places(std::move(places))
    {
    }

    Element* redo(ElementModel& model) override
    {
        if (!m_made) {
            m_made = true;
            return require(model.tree(), m_places.elementAfter);
        }
        return moveTo(model, m_places.elementBefore, m_places.newParentBefore, m_places.newRow);
    }
    Element* undo(ElementModel& model) override
    {
        return moveTo(model, m_places.elementAfter, m_places.oldParentAfter, m_places.oldRow);
    }

private:
    static Element* moveTo(ElementModel& model, const ElementPath& elementPath, const ElementPath& parentPath, int row)
    {
        Element* element = require(model.tree(), elementPath);
        Element* parent = require(model.tree(), parentPath);
        const int rows = parent->childCount() - (element->parent() == parent ? 1 : 0);
        if (element->contains(parent) || row > rows)
            throw StaleHistory();
        model.moveElementTo(element, parent, row);
        return element;
    }

    Places m_places;
    bool m_made = false;
};

class SortStep : public TreeStep {
public:
    explicit SortStep(SortPermutation permutation)
        : m_permutation(std::move(permutation))
    {
    }

    Element* redo(ElementModel& model) override
    {
        if (!m_made) {
            m_made = true;
            return nullptr;
        }
        model.reorderElements([this](ElementTree& tree) { applySortPermutation(tree, m_permutation); });
        return nullptr;
    }
    Element* undo(ElementModel& model) override
    {
        model.reorderElements([this](ElementTree& tree) { revertSortPermutation(tree, m_permutation); });
        return nullptr;
    }
    bool keepsSelection() const override { return true; }

private:
    SortPermutation m_permutation;
    bool m_made = false;
};

} // namespace

StructureDocument::StructureDocument(QObject* parent, ElementModel* model)
    : QObject(parent)
    , m_model(model ? model : new ElementModel)
{
    m_model->setParent(this);
    connect(m_model, &ElementModel::textEdited, this, [this](const QModelIndex& index, const QString& previousText) {
        if (m_stepping)
            return;
        Element* edited = m_model->element(index);
        push(std::make_unique<TextStep>(pathOf(edited), previousText, edited->text));
    });
    // A tree replaced as a whole (a load, emptying it) is not a step the history could undo.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { clearHistory(); });
}

StructureDocument::~StructureDocument() = default;

const ElementTree& StructureDocument::tree() const { return m_model->tree(); }

void StructureDocument::setStructureFile(const QString& path)
{
    if (path == m_structureFile)
        return;
    m_structureFile = path;
    clearHistory();
}

void StructureDocument::setModified(bool value)
{
    if (!value)
        m_savedAt = m_done;
    setModifiedFlag(value);
}

void StructureDocument::setModifiedFlag(bool value)
{
    if (value == m_modified)
        return;
    m_modified = value;
    Q_EMIT modifiedChanged(value);
}

void StructureDocument::updateModified() { setModifiedFlag(m_done != m_savedAt); }

bool StructureDocument::save()
{
    if (!saveStructure(tree(), m_structureFile, m_dataFile, m_dataOn))
        return false;
    setModified(false);
    return true;
}

bool StructureDocument::load()
{
    LoadResult result = LoadResult::NoStructureFile;
    m_model->rebuild(
        [&](ElementTree& loaded) { result = loadStructure(loaded, m_structureFile, m_dataFile, m_dataOn); });
    if (result != LoadResult::Loaded)
        return false;
    setModified(false);
    return true;
}

StructureDocument::ElementData StructureDocument::elementData(const QString& data, int icon) const
{
    if (m_dataOn)
        return { true, QString::number(icon) + data, icon };
    return { false, {}, -1 };
}

Element* StructureDocument::insertElement(
    const Element* selected, const QString& text, const QString& data, int icon, bool sort)
{
    if (text.isEmpty())
        return nullptr;
    AttachPlace place { m_model->tree().root(), 0 };
    if (!tree().isEmpty())
        place = attachPlace(selected ? selected : tree().first(), m_attachMode);
    const ElementData stored = elementData(data, icon);
    // The model keeps an icon within -1..9; the step records what the element will hold.
    ElementFields fields { storableElementText(text), stored.hasData, stored.data, std::clamp(stored.icon, -1, 9) };
    std::optional<ElementPath> selection;
    if (selected)
        selection = pathOf(selected);
    auto step
        = std::make_unique<InsertStep>(pathOf(place.parent), place.row, std::move(fields), sort, std::move(selection));
    InsertStep* insert = step.get();
    push(std::move(step));
    return insert->added();
}

void StructureDocument::editElement(Element* element, const QString& text, const QString& data, int icon, bool sort)
{
    if (text.isEmpty() || !element)
        return;
    const ElementData stored = elementData(data, icon);
    ElementFields after { storableElementText(text), stored.hasData, stored.data, std::clamp(stored.icon, -1, 9) };
    push(std::make_unique<EditStep>(pathOf(element), ElementFields::of(element), std::move(after), sort));
}

void StructureDocument::deleteElement(Element* element)
{
    if (!element)
        return;
    push(std::make_unique<DeleteStep>(pathOf(element)));
}

bool StructureDocument::moveElement(Element* element, const Element* destination, TNodeAttachMode mode)
{
    if (!element || !destination || element->contains(destination))
        return false;
    Element* oldParent = element->parent();
    const int oldRow = element->row();
    MoveStep::Places places;
    places.elementBefore = pathOf(element);
    places.newParentBefore = pathOf(attachPlace(destination, mode).parent);
    if (!m_model->moveElement(element, destination, mode))
        return false;
    places.newRow = element->row();
    places.elementAfter = pathOf(element);
    places.oldParentAfter = pathOf(oldParent);
    places.oldRow = oldRow;
    push(std::make_unique<MoveStep>(std::move(places)));
    return true;
}

bool StructureDocument::sort()
{
    SortPermutation permutation;
    if (!m_model->sortElements(ElementOrder(), &permutation))
        return false;
    push(std::make_unique<SortStep>(std::move(permutation)));
    return true;
}

void StructureDocument::clear() { m_model->clear(); }

void StructureDocument::push(std::unique_ptr<TreeStep> step)
{
    {
        const QScopedValueRollback stepping(m_stepping, true);
        step->redo(*m_model);
    }
    // Steps that were undone can no longer be redone once a new change is made.
    if (m_savedAt > m_done)
        m_savedAt = -1;
    m_steps.erase(m_steps.begin() + m_done, m_steps.end());
    m_steps.push_back(std::move(step));
    ++m_done;
    if (int(m_steps.size()) > historyLimit) {
        m_steps.erase(m_steps.begin());
        --m_done;
        if (m_savedAt >= 0)
            --m_savedAt;
    }
    updateModified();
}

void StructureDocument::undo()
{
    if (canUndo())
        step(Direction::Undo);
}

void StructureDocument::redo()
{
    if (canRedo())
        step(Direction::Redo);
}

void StructureDocument::step(Direction direction)
{
    TreeStep& current = *m_steps[size_t(direction == Direction::Undo ? m_done - 1 : m_done)];
    Element* acted = nullptr;
    try {
        const QScopedValueRollback stepping(m_stepping, true);
        acted = direction == Direction::Undo ? current.undo(*m_model) : current.redo(*m_model);
    } catch (const StaleHistory&) {
        // Nothing sensible can be undone in a tree the history does not describe.
        clearHistory();
        return;
    }
    m_done += direction == Direction::Undo ? -1 : 1;
    updateModified();
    if (!current.keepsSelection())
        Q_EMIT selectionRequested(acted);
}

void StructureDocument::clearHistory()
{
    m_steps.clear();
    m_done = 0;
    m_savedAt = m_modified ? -1 : 0;
}

} // namespace struktur
