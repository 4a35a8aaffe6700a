// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AttachMode.h"

#include <QPersistentModelIndex>
#include <QPoint>
#include <QTreeView>

namespace struktur {
class Element;
class ElementModel;
class StructureDocument;
} // namespace struktur

/// The element tree of the open structure as the user sees it: shows the structure document,
/// hands it the selected element for inserts, edits and deletes, moves a picked-up element where
/// the mouse releases it, and selects the element an undo or redo acted on. The paths, Modified,
/// Flytmode, loading, saving and every change belong to the document; the properties here
/// forward to it. Read and write errors are not caught here: they throw struktur::Error to the
/// caller.
class TStruktur : public QTreeView {
    Q_OBJECT

public:
    explicit TStruktur(QWidget* parent = nullptr);
    ~TStruktur() override;

    /// Writes the data file (with DataOn) and the structure file and clears Modified. Returns
    /// false, writing nothing, when Strukturfile is empty or DataOn is set and Datafile is empty.
    bool GemStruktur();
    /// Reads the structure file and (with DataOn) the data file into the tree and clears
    /// Modified. Returns false when a file is missing: no structure file empties the tree, no data
    /// file leaves the elements without data. Modified is kept unless the load completes.
    bool HentStruktur();
    /// Adds an element at the selected element (or the first element) by Flytmode; into an empty
    /// tree as its only element. An empty text adds nothing. Then sorts (`sorter`, no save),
    /// else saves (`gem`), else marks the tree modified; a save that throws marks the tree
    /// modified too, so the change is not forgotten. The selection does not move.
    void NyNode(const QString& Tekst, const QString& Data, int Index, bool sorter, bool gem);
    /// Gives the selected element a new text, data and icon, then as NyNode after the change.
    /// Does nothing with an empty text or without a selection.
    void RedigerNode(const QString& Tekst, const QString& Data, int Index, bool sorter, bool gem);
    /// Removes the selected element with its subtree and marks the tree modified.
    void SletNode();
    /// The selected element's file name; empty without selection, without data or with DataOn off.
    QString SelectedData() const;
    /// Infomappe, a separator, the parent's text (when there is a parent) directly followed by the
    /// selected element's text, a dot and the extension. Empty without selection.
    QString InfoFilnavn(const QString& Filefternavn) const;
    /// A mouse press at a point of the client area: drops an element already picked up, otherwise
    /// picks up the element there unless it is the tree's first element.
    void MusDown(int X, int Y);
    /// A mouse release: moves the picked-up element to the element there by Flytmode, or with
    /// `somGrundnode` to the front of the top level, and marks the tree modified.
    void MusUp(int X, int Y, bool somGrundnode);

    QString Strukturfile() const;
    void setStrukturfile(const QString& value);
    QString Datafile() const;
    void setDatafile(const QString& value);
    QString Infomappe() const;
    void setInfomappe(const QString& value);
    bool DataOn() const;
    void setDataOn(bool value);
    bool Modified() const;
    void setModified(bool value);
    TNodeAttachMode Flytmode() const;
    void setFlytmode(TNodeAttachMode value);

    /// Undoes or redoes the last change of the tree, selecting the element it acted on.
    void undo();
    void redo();
    bool canUndo() const;
    bool canRedo() const;

    bool hasSelection() const { return selectedElement() != nullptr; }
    /// The selected element's text; empty without selection.
    QString selectedText() const;
    /// The selected element's icon index (-1 for none, also without selection).
    int selectedIcon() const;
    /// True when the selected element carries an element data string.
    bool selectedHasData() const;
    bool selectedHasChildren() const;
    /// True when the selected element is the tree's first element.
    bool selectedIsFirst() const;
    bool isEmpty() const;
    /// The number of elements on all levels.
    int elementCount() const;
    /// True while an element is picked up by MusDown.
    bool isPickedUp() const { return m_mouseDown; }

    void FullExpand();
    void FullCollapse();
    /// Sorts every level alphabetically, as a step that can be undone.
    void AlphaSort();
    /// Removes every element and the history; does not touch Modified.
    void Clear();

    /// After a move: the former parent, when left without children, is collapsed, and the
    /// moved element's ancestors are expanded so that it shows.
    void showMoved(struktur::Element* element, struktur::Element* formerParent);
    /// Expands or collapses the element and every element below it.
    void expandBelow(struktur::Element* element);
    void collapseBelow(struktur::Element* element);
    /// Puts a picked-up element down without moving it (a release the tree will not see).
    void dropPickedUp();

    struktur::StructureDocument* document() const { return m_document; }
    struktur::ElementModel* elementModel() const { return m_model; }
    struktur::Element* selectedElement() const;
    /// The element whose row contains a point of the client area, or null.
    struktur::Element* elementAt(int X, int Y) const;

Q_SIGNALS:
    /// A click (press and release without dragging) anywhere in the tree's client area.
    void treeClicked();
    /// Every mouse press (the second of a double click included) and release in the client area,
    /// with the position in its coordinates. Only the left button selects an element.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    void afterChange(bool sorter, bool gem);
    void moveElement(struktur::Element* element, const struktur::Element* destination, TNodeAttachMode mode);
    void showElement(struktur::Element* element);
    void selectElement(struktur::Element* element);
    bool expandInOneLayout(const QModelIndex& index);
    bool isOnExpandBox(const QModelIndex& index, const QPoint& position) const;
    void applyViewSettings();

    struktur::StructureDocument* m_document;
    struktur::ElementModel* m_model;
    bool m_mouseDown = false;
    QPersistentModelIndex m_nodeDown;
    QPersistentModelIndex m_nodeUp;
    QPoint m_pressPosition;
    bool m_pressed = false;
    bool m_pressReported = false;
};
