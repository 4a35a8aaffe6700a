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
            permutation.shrink_to_fit();
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

/// Copied elements added at one place: made from their fields the first time, then taken out
/// and put back whole.
class PasteStep : public TreeStep {
public:
    struct Pasted {
        int level;
        ElementFields fields;
    };
    PasteStep(ElementPath parent, int row, std::vector<Pasted> elements, std::optional<ElementPath> selection)
        : m_parent(std::move(parent))
        , m_row(row)
        , m_elements(std::move(elements))
        , m_selection(std::move(selection))
    {
    }

    Element* redo(ElementModel& model) override
    {
        Element* parent = require(model.tree(), m_parent);
        if (m_row > parent->childCount())
            throw StaleHistory();
        Element* selected = selectionBefore(model);
        if (!m_made) {
            make(model, parent);
            return selected;
        }
        for (size_t i = 0; i < m_taken.size(); ++i)
            model.restoreElement(parent, m_row + int(i), std::move(m_taken[i]));
        m_taken.clear();
        return selected;
    }
    Element* undo(ElementModel& model) override
    {
        Element* parent = require(model.tree(), m_parent);
        if (m_row + m_tops > parent->childCount())
            throw StaleHistory();
        m_taken.clear();
        for (int i = 0; i < m_tops; ++i)
            m_taken.push_back(model.takeElement(parent->child(m_row)));
        return selectionBefore(model);
    }
    Element* first() const { return m_first; }

private:
    void make(ElementModel& model, Element* parent)
    {
        m_made = true;
        // The latest element of each level is the parent of the next deeper one.
        std::vector<Element*> latest;
        for (const Pasted& pasted : m_elements) {
            const size_t level = std::min(size_t(std::max(pasted.level, 0)), latest.size());
            latest.resize(level);
            Element* added = level == 0
                ? model.insertElement(parent, m_row + m_tops++, pasted.fields.text)
                : model.insertElement(latest.back(), latest.back()->childCount(), pasted.fields.text);
            pasted.fields.applyTo(model, added);
            latest.push_back(added);
            if (!m_first)
                m_first = added;
        }
        // Only the places are needed from here on.
        m_elements = {};
    }
    Element* selectionBefore(ElementModel& model) const
    {
        return m_selection ? elementAt(model.tree(), *m_selection) : nullptr;
    }

    ElementPath m_parent;
    int m_row;
    std::vector<Pasted> m_elements;
    std::optional<ElementPath> m_selection;
    bool m_made = false;
    int m_tops = 0;
    Element* m_first = nullptr;
    std::vector<std::unique_ptr<Element>> m_taken;
};

class SortStep : public TreeStep {
public:
    explicit SortStep(SortPermutation permutation)
        : m_permutation(std::move(permutation))
    {
        m_permutation.shrink_to_fit();
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
    const AttachPlace place = insertPlace(selected);
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

bool StructureDocument::moveUp(Element* element)
{
    if (!element || element->row() == 0)
        return false;
    return moveElement(element, element->parent()->child(element->row() - 1), naInsert);
}

bool StructureDocument::moveDown(Element* element)
{
    if (!element)
        return false;
    const Element* parent = element->parent();
    const int below = element->row() + 1;
    if (below >= parent->childCount())
        return false;
    // Before the element after the next one, or last when the next one is the last.
    if (below + 1 < parent->childCount())
        return moveElement(element, parent->child(below + 1), naInsert);
    return moveElement(element, parent->child(below), naAdd);
}

bool StructureDocument::indent(Element* element)
{
    if (!element || element->row() == 0)
        return false;
    return moveElement(element, element->parent()->child(element->row() - 1), naAddChild);
}

bool StructureDocument::outdent(Element* element)
{
    if (!element || element->parent() == tree().root())
        return false;
    // Last among the parent's siblings is directly after the parent when it is the last one.
    const Element* parent = element->parent();
    if (parent->row() + 1 < parent->parent()->childCount())
        return moveElement(element, parent->parent()->child(parent->row() + 1), naInsert);
    return moveElement(element, parent, naAdd);
}

AttachPlace StructureDocument::insertPlace(const Element* selected) const
{
    if (tree().isEmpty())
        return { m_model->tree().root(), 0 };
    return attachPlace(selected ? selected : tree().first(), m_attachMode);
}

Element* StructureDocument::pasteElements(const Element* selected, const clipboard::CopiedElements& elements)
{
    if (elements.empty())
        return nullptr;
    std::vector<PasteStep::Pasted> pasted;
    pasted.reserve(elements.size());
    for (const clipboard::CopiedElement& element : elements) {
        // As an insert stores them: the data string is the icon digit and the file name.
        const ElementData stored = element.hasData ? elementData(element.fileName(), std::clamp(element.icon, 0, 9))
                                                   : ElementData { false, {}, -1 };
        pasted.push_back({ element.level, { storableElementText(element.text), stored.hasData, stored.data, stored.icon } });
    }
    const AttachPlace place = insertPlace(selected);
    std::optional<ElementPath> selection;
    if (selected)
        selection = pathOf(selected);
    auto step = std::make_unique<PasteStep>(pathOf(place.parent), place.row, std::move(pasted), std::move(selection));
    PasteStep* paste = step.get();
    push(std::move(step));
    return paste->first();
}

bool StructureDocument::pasteCutElement(Element* cut, const Element* selected)
{
    if (!cut || tree().isEmpty())
        return false;
    return moveElement(cut, selected ? selected : tree().first(), m_attachMode);
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
