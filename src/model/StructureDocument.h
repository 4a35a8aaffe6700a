// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AttachMode.h"
#include "ElementClipboard.h"
#include "ElementTree.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

namespace struktur {

class ElementModel;
class TreeStep;

/// The open structure without any widget: the element model, the paths of the structure file,
/// data file and document folder, whether elements carry data, the attach mode, the flag for
/// unsaved changes, loading and saving, and every change of the tree, each kept as one step that
/// can be undone and redone. Undo and redo change only the tree: they never write a file.
/// Read and write errors throw struktur::Error to the caller.
class StructureDocument : public QObject {
    Q_OBJECT

public:
    /// The number of steps the history keeps at least; older ones are forgotten.
    static constexpr int historyLimit = 100;

    /// With a null `model` the document makes a plain one; either way it owns the model.
    explicit StructureDocument(QObject* parent = nullptr, ElementModel* model = nullptr);
    ~StructureDocument() override;

    ElementModel* model() const { return m_model; }
    const ElementTree& tree() const;

    QString structureFile() const { return m_structureFile; }
    /// A different structure file starts a new history.
    void setStructureFile(const QString& path);
    QString dataFile() const { return m_dataFile; }
    void setDataFile(const QString& path) { m_dataFile = path; }
    QString documentFolder() const { return m_documentFolder; }
    void setDocumentFolder(const QString& path) { m_documentFolder = path; }
    bool dataOn() const { return m_dataOn; }
    void setDataOn(bool value) { m_dataOn = value; }
    TNodeAttachMode attachMode() const { return m_attachMode; }
    void setAttachMode(TNodeAttachMode mode) { m_attachMode = mode; }

    /// True while the tree differs from what was last loaded or saved (or was marked so).
    bool isModified() const { return m_modified; }
    /// True marks the tree changed; false makes the current step the saved state.
    void setModified(bool value);

    /// Writes both files and makes the current step the saved state; false, writing nothing,
    /// when a needed path is empty.
    bool save();
    /// Reads both files into the tree and clears the history; false when a file is missing (see
    /// loadStructure). The tree is unmodified only when the load completes.
    bool load();

    /// Adds an element at `selected` (the first element without a selection, or as the only
    /// element of an empty tree) by the attach mode, then sorts with `sort`. An empty text adds
    /// nothing and returns null.
    Element* insertElement(const Element* selected, const QString& text, const QString& data, int icon, bool sort);
    /// Gives an element a new text, data and icon, then sorts with `sort`; nothing for an empty text.
    void editElement(Element* element, const QString& text, const QString& data, int icon, bool sort);
    /// Removes the element with its subtree.
    void deleteElement(Element* element);
    /// Moves the element with its subtree to `destination` by `mode`; false when refused.
    bool moveElement(Element* element, const Element* destination, TNodeAttachMode mode);
    /// Moves the element one place up or down among its siblings; false (and no step) at the
    /// first or last place.
    bool moveUp(Element* element);
    bool moveDown(Element* element);
    /// Makes the element the last child of the sibling above it; false for a first child.
    bool indent(Element* element);
    /// Makes the element the next sibling of its parent; false for a top-level element.
    bool outdent(Element* element);
    /// Adds copied elements, as one step, where an insert at `selected` would go (the attach
    /// mode; relative to the first element without a selection; into an empty tree at the top):
    /// the first subtree there, the others after it. Captions are made storable; without data on,
    /// the elements carry no data and no icon. Documents are the caller's. Returns the first
    /// element added, null for no elements.
    Element* pasteElements(const Element* selected, const clipboard::CopiedElements& elements);
    /// Moves a cut element with its subtree to where an insert at `selected` would go; false,
    /// changing nothing, when that lies inside its own subtree or is where it already is.
    bool pasteCutElement(Element* cut, const Element* selected);
    /// Sorts every level alphabetically; false (and no step) when nothing moved.
    bool sort();
    /// Removes every element; not a step (the history is cleared) and does not touch Modified.
    void clear();

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < int(m_steps.size()); }
    void undo();
    void redo();
    void clearHistory();

Q_SIGNALS:
    void modifiedChanged(bool modified);
    /// After an undo or redo: the element to select, or null for no selection. Not sent for a
    /// sort, whose selection stays on its element.
    void selectionRequested(struktur::Element* element);

private:
    enum class Direction { Undo, Redo };
    void push(std::unique_ptr<TreeStep> step);
    void step(Direction direction);
    void updateModified();
    void setModifiedFlag(bool value);
    /// The element data an insert or edit stores: with data on, the icon digit and file name.
    struct ElementData {
        bool hasData;
        QString data;
        int icon;
    };
    ElementData elementData(const QString& data, int icon) const;
    /// Where an insert at `selected` goes.
    AttachPlace insertPlace(const Element* selected) const;

    ElementModel* m_model;
    QString m_structureFile;
    QString m_dataFile;
    QString m_documentFolder;
    bool m_dataOn = false;
    bool m_modified = false;
    TNodeAttachMode m_attachMode = naAdd;

    std::vector<std::unique_ptr<TreeStep>> m_steps;
    /// Steps before this one are done, the others undone.
    int m_done = 0;
    /// The value of m_done that matches the files; -1 when that state left the history.
    int m_savedAt = 0;
    /// True while a step runs, so the model's own signals are not taken for new changes.
    bool m_stepping = false;
};

} // namespace struktur
