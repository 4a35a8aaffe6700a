// SPDX-License-Identifier: GPL-3.0-or-later
#include "TStruktur.h"

#include "ElementIcons.h"
#include "ElementModel.h"
#include "StructureDocument.h"
#include "StructureFile.h"
#include "TreeLines.h"
#include "platform/ProgramFolder.h"

#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <vector>

using namespace struktur;

namespace {

/// The deepest level the view expands by itself. The tree view lays expanded elements out
/// recursively, so a structure file with one level per line (valid, and a hundred thousand
/// levels deep) would exhaust the stack; no real structure comes near this depth.
constexpr int deepestExpandedLevel = 1000;

/// The element model with the element pictures as decoration.
class PicturedElementModel : public ElementModel {
public:
    using ElementModel::ElementModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DecorationRole) {
            const Element* shown = element(index);
            return shown ? QVariant(elementIcon(shown->icon)) : QVariant();
        }
        // Cut elements stay where they are, greyed, until they are pasted.
        if (role == Qt::ForegroundRole)
            return ElementModel::data(index, CutRole).toBool() ? QVariant(QColor(Qt::gray)) : QVariant();
        return ElementModel::data(index, role);
    }
};

/// Holds the view's painting off for a scope, so a load does not redraw element by element.
class UpdatesSuspended {
public:
    explicit UpdatesSuspended(QWidget* widget)
        : m_widget(widget)
        , m_wereEnabled(widget->updatesEnabled())
    {
        m_widget->setUpdatesEnabled(false);
    }
    ~UpdatesSuspended() { m_widget->setUpdatesEnabled(m_wereEnabled); }
    UpdatesSuspended(const UpdatesSuspended&) = delete;
    UpdatesSuspended& operator=(const UpdatesSuspended&) = delete;

private:
    QWidget* m_widget;
    bool m_wereEnabled;
};

} // namespace

TStruktur::TStruktur(QWidget* parent)
    : QTreeView(parent)
    , m_document(new StructureDocument(this, new PicturedElementModel))
    , m_model(m_document->model())
{
    setObjectName(QStringLiteral("Struktur"));
    setModel(m_model);
    applyViewSettings();
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { dropPickedUp(); });
    connect(m_document, &StructureDocument::selectionRequested, this, &TStruktur::selectElement);
}

TStruktur::~TStruktur() = default;

// Lines, expand boxes and root lines as the platform's tree draws them; the look's own branch
// indicators would show arrows without lines.
void TStruktur::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    drawBranchLines(*painter, *this, rect, index);
}

void TStruktur::applyViewSettings()
{
    setHeaderHidden(true);
    // The one column is as wide as the longest line shown, so long texts scroll instead of being cut.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setTextElideMode(Qt::ElideNone);
    setIndentation(19);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    QFont treeFont(QStringLiteral("Tahoma"), 8);
    treeFont.setFamilies(
        { QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans") });
    treeFont.setStyleHint(QFont::SansSerif);
    setFont(treeFont);
    // The selection stays highlighted as strongly when the tree loses the focus.
    QPalette colours = palette();
    for (const QPalette::ColorRole role : { QPalette::Highlight, QPalette::HighlightedText })
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);
}

QString TStruktur::Strukturfile() const { return m_document->structureFile(); }
void TStruktur::setStrukturfile(const QString& value) { m_document->setStructureFile(value); }
QString TStruktur::Datafile() const { return m_document->dataFile(); }
void TStruktur::setDatafile(const QString& value) { m_document->setDataFile(value); }
QString TStruktur::Infomappe() const { return m_document->documentFolder(); }
void TStruktur::setInfomappe(const QString& value) { m_document->setDocumentFolder(value); }
bool TStruktur::DataOn() const { return m_document->dataOn(); }
void TStruktur::setDataOn(bool value) { m_document->setDataOn(value); }
bool TStruktur::Modified() const { return m_document->isModified(); }
void TStruktur::setModified(bool value) { m_document->setModified(value); }
TNodeAttachMode TStruktur::Flytmode() const { return m_document->attachMode(); }
void TStruktur::setFlytmode(TNodeAttachMode value) { m_document->setAttachMode(value); }

bool TStruktur::GemStruktur() { return m_document->save(); }

bool TStruktur::HentStruktur()
{
    bool loaded = false;
    {
        const UpdatesSuspended suspended(this);
        loaded = m_document->load();
    }
    if (!loaded)
        return false;
    viewport()->update();
    return true;
}

void TStruktur::NyNode(const QString& Tekst, const QString& Data, int Index, bool sorter, bool gem)
{
    if (!m_document->insertElement(selectedElement(), Tekst, Data, Index, sorter))
        return;
    afterChange(sorter, gem);
}

void TStruktur::RedigerNode(const QString& Tekst, const QString& Data, int Index, bool sorter, bool gem)
{
    Element* selected = selectedElement();
    if (Tekst.isEmpty() || !selected)
        return;
    m_document->editElement(selected, Tekst, Data, Index, sorter);
    afterChange(sorter, gem);
}

// The change itself (with its sort) is one step of the history, so it marks the tree modified;
// a save then makes it the saved state. When that save fails the tree stays modified.
void TStruktur::afterChange(bool sorter, bool gem)
{
    if (!sorter && gem)
        GemStruktur();
}

void TStruktur::SletNode() { m_document->deleteElement(selectedElement()); }

void TStruktur::undo() { m_document->undo(); }

void TStruktur::redo() { m_document->redo(); }

bool TStruktur::canUndo() const { return m_document->canUndo(); }

bool TStruktur::canRedo() const { return m_document->canRedo(); }

void TStruktur::selectElement(Element* element)
{
    if (!element) {
        selectionModel()->clearSelection();
        return;
    }
    showElement(element);
    const QModelIndex index = m_model->indexOf(element);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

QString TStruktur::SelectedData() const
{
    const Element* selected = selectedElement();
    if (!DataOn() || !selected)
        return {};
    return selected->fileName();
}

QString TStruktur::InfoFilnavn(const QString& Filefternavn) const
{
    const Element* selected = selectedElement();
    if (!selected)
        return {};
    QString name = selected->text;
    if (selected->parent() != m_model->tree().root())
        name.prepend(selected->parent()->text);
    return Infomappe() + pathSeparator() + name + u'.' + Filefternavn;
}

void TStruktur::MusDown(int X, int Y)
{
    if (m_mouseDown) {
        dropPickedUp();
        return;
    }
    Element* pressed = elementAt(X, Y);
    if (!pressed || pressed == m_model->tree().first())
        return;
    m_nodeDown = m_model->indexOf(pressed);
    m_mouseDown = true;
    viewport()->setCursor(Qt::PointingHandCursor);
}

void TStruktur::MusUp(int X, int Y, bool somGrundnode)
{
    if (!m_mouseDown)
        return;
    Element* picked = m_model->element(m_nodeDown);
    dropPickedUp();
    Element* released = elementAt(X, Y);
    m_nodeUp = m_model->indexOf(released);
    if (!picked || !released || released == picked)
        return;
    if (somGrundnode)
        moveElement(picked, m_model->tree().first(), naInsert);
    else
        moveElement(picked, released, Flytmode());
    // Also when the move was refused: the release over another element counts as a change.
    setModified(true);
}

void TStruktur::moveElement(Element* element, const Element* destination, TNodeAttachMode mode)
{
    Element* formerParent = element->parent();
    if (!m_document->moveElement(element, destination, mode))
        return;
    showMoved(element, formerParent);
}

void TStruktur::showMoved(Element* element, Element* formerParent)
{
    if (formerParent != m_model->tree().root() && !formerParent->hasChildren())
        collapse(m_model->indexOf(formerParent));
    showElement(element);
}

void TStruktur::expandBelow(Element* element)
{
    if (element->level() < deepestExpandedLevel)
        expandRecursively(m_model->indexOf(element), deepestExpandedLevel - element->level());
}

void TStruktur::collapseBelow(Element* element)
{
    // Every expanded element below too, so that expanding the element again shows only its children.
    std::vector<Element*> pending { element };
    while (!pending.empty()) {
        Element* parent = pending.back();
        pending.pop_back();
        if (const QModelIndex index = m_model->indexOf(parent); isExpanded(index))
            collapse(index);
        for (int row = 0; row < parent->childCount(); ++row)
            pending.push_back(parent->child(row));
    }
}

// Expands the element's ancestors, so that it can be seen (up to the deepest level the view expands).
void TStruktur::showElement(Element* element)
{
    if (element->level() > deepestExpandedLevel)
        return;
    for (Element* up = element->parent(); up != m_model->tree().root(); up = up->parent())
        expand(m_model->indexOf(up));
}

void TStruktur::dropPickedUp()
{
    m_mouseDown = false;
    m_nodeDown = QPersistentModelIndex();
    viewport()->unsetCursor();
}

QString TStruktur::selectedText() const
{
    const Element* selected = selectedElement();
    return selected ? selected->text : QString();
}

int TStruktur::selectedIcon() const
{
    const Element* selected = selectedElement();
    return selected ? selected->icon : -1;
}

bool TStruktur::selectedHasData() const
{
    const Element* selected = selectedElement();
    return selected && selected->hasData;
}

bool TStruktur::selectedHasChildren() const
{
    const Element* selected = selectedElement();
    return selected && selected->hasChildren();
}

bool TStruktur::selectedIsFirst() const
{
    const Element* selected = selectedElement();
    return selected && selected == m_model->tree().first();
}

bool TStruktur::isEmpty() const { return m_model->tree().isEmpty(); }

int TStruktur::elementCount() const { return int(m_model->tree().size()); }

namespace {

int deepestLevel(const ElementTree& tree)
{
    int deepest = 0;
    structurefile::forEachElement(tree, [&deepest](Element*, int level) { deepest = std::max(deepest, level); });
    return deepest;
}

} // namespace

void TStruktur::FullExpand()
{
    if (deepestLevel(m_model->tree()) <= deepestExpandedLevel)
        expandAll();
    else
        expandToDepth(deepestExpandedLevel - 1);
}

void TStruktur::FullCollapse() { collapseAll(); }

void TStruktur::AlphaSort() { m_document->sort(); }

void TStruktur::Clear() { m_document->clear(); }

Element* TStruktur::selectedElement() const
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? nullptr : m_model->element(selected.first());
}

Element* TStruktur::elementAt(int X, int Y) const { return m_model->element(indexAt(QPoint(X, Y))); }

// The view expands an element by inserting the rows of each expanded descendant one group at a
// time into its list of a million rows, moving the rows after them every time: with the
// descendants expanded (after "Udfold strukturen" and a collapse) that took seconds. Expanding
// it as one new layout of the visible rows costs what a layout of them costs. Returns false,
// leaving the expansion to the view, when no child is expanded and one insertion does.
bool TStruktur::expandInOneLayout(const QModelIndex& index)
{
    if (!index.isValid() || isExpanded(index) || !m_model->hasChildren(index))
        return false;
    const int rows = m_model->rowCount(index);
    bool descendantsShown = false;
    for (int row = 0; row < rows && !descendantsShown; ++row)
        descendantsShown = isExpanded(m_model->index(row, 0, index));
    if (!descendantsShown)
        return false;
    scheduleDelayedItemsLayout();
    expand(index);
    return true;
}

// The expand box sits in the element's own column of the branch area, left of its row.
bool TStruktur::isOnExpandBox(const QModelIndex& index, const QPoint& position) const
{
    const QRect row = visualRect(index);
    return index.isValid() && position.x() < row.left() && position.x() >= row.left() - indentation();
}

void TStruktur::keyPressEvent(QKeyEvent* event)
{
    const bool expands = event->key() == Qt::Key_Plus
        || (event->key() == Qt::Key_Right && event->modifiers() == Qt::NoModifier);
    if (expands && expandInOneLayout(currentIndex())) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TStruktur::mousePressEvent(QMouseEvent* event)
{
    // Only the left button selects: a right or middle press must not move the element that
    // inserts are placed at and that editing and deleting act on. A press on an expand box
    // expands without selecting, as the view does.
    const QModelIndex pressed = indexAt(event->position().toPoint());
    const bool expanded = event->button() == Qt::LeftButton && isOnExpandBox(pressed, event->position().toPoint())
        && expandInOneLayout(pressed);
    if (event->button() == Qt::LeftButton && !expanded)
        QTreeView::mousePressEvent(event);
    m_pressed = true;
    m_pressPosition = event->position().toPoint();
    m_pressReported = true;
    Q_EMIT mousePressed(event->button(), event->modifiers(), m_pressPosition.x(), m_pressPosition.y());
}

void TStruktur::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press as well; the view hands it on as one
    // itself when it lands on another element than the first.
    m_pressReported = false;
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && !expandInOneLayout(pressed))
        QTreeView::mouseDoubleClickEvent(event);
    if (m_pressReported)
        return;
    const QPoint position = event->position().toPoint();
    Q_EMIT mousePressed(event->button(), event->modifiers(), position.x(), position.y());
}

void TStruktur::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        QTreeView::mouseReleaseEvent(event);
    const QPoint position = event->position().toPoint();
    const bool click = m_pressed && event->button() == Qt::LeftButton
        && (position - m_pressPosition).manhattanLength() < QApplication::startDragDistance();
    m_pressed = false;
    if (click)
        Q_EMIT treeClicked();
    Q_EMIT mouseReleased(event->button(), event->modifiers(), position.x(), position.y());
}

void TStruktur::mouseMoveEvent(QMouseEvent* event)
{
    // A held button arranges elements; it must not drag the selection along.
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTreeView::mouseMoveEvent(event);
}
