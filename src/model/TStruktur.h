// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AttachMode.h"

#include <QPersistentModelIndex>
#include <QPoint>
#include <QTreeView>

namespace struktur {
class Element;
class ElementModel;
} // namespace struktur

/// The element tree of the open structure: knows the paths of its structure file, data file and
/// document folder, loads and saves the two files, inserts, edits and deletes elements at the
/// selected element, moves a picked-up element where the mouse releases it, sorts, and keeps the
/// flag that says whether the tree holds unsaved changes. Read and write errors are not caught
/// here: they throw struktur::Error to the caller.
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

    QString Strukturfile() const { return m_strukturfile; }
    void setStrukturfile(const QString& value) { m_strukturfile = value; }
    QString Datafile() const { return m_datafile; }
    void setDatafile(const QString& value) { m_datafile = value; }
    QString Infomappe() const { return m_infomappe; }
    void setInfomappe(const QString& value) { m_infomappe = value; }
    bool DataOn() const { return m_dataOn; }
    void setDataOn(bool value) { m_dataOn = value; }
    bool Modified() const { return m_modified; }
    void setModified(bool value) { m_modified = value; }
    TNodeAttachMode Flytmode() const { return m_flytmode; }
    void setFlytmode(TNodeAttachMode value) { m_flytmode = value; }

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
    /// Sorts every level alphabetically; does not touch Modified.
    void AlphaSort();
    /// Removes every element; does not touch Modified.
    void Clear();

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
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    void afterChange(bool sorter, bool gem);
    void setElementData(struktur::Element* element, const QString& data, int index);
    void moveElement(struktur::Element* element, const struktur::Element* destination, TNodeAttachMode mode);
    void dropPickedUp();
    void applyViewSettings();

    struktur::ElementModel* m_model;
    QString m_strukturfile;
    QString m_datafile;
    QString m_infomappe;
    bool m_dataOn = false;
    bool m_modified = false;
    TNodeAttachMode m_flytmode = naAdd;
    bool m_mouseDown = false;
    QPersistentModelIndex m_nodeDown;
    QPersistentModelIndex m_nodeUp;
    QPoint m_pressPosition;
    bool m_pressed = false;
    bool m_pressReported = false;
};
