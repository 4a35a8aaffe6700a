// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ElementClipboard.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class TStruktur;

namespace struktur {

class Element;

namespace elements {

/// Cut, copy and paste of the selected element with its subtree through the system clipboard.
/// A copy carries the captions, icons, data strings and documents (and the captions as plain
/// text for other programs). A cut element stays in the tree, greyed, until it is pasted, which
/// moves it, or until the cut is cancelled or the clipboard holds something else. Pasting a copy
/// gives every element that has a file name a new constructed one ("Fn"'s construction) and
/// writes its document there, so no two elements share a document; text from another program
/// pastes as elements without documents. Every paste is one step of the tree's history and is
/// placed as "Indsæt" places a new element.
class SubtreeClipboard : public QObject {
    Q_OBJECT

public:
    explicit SubtreeClipboard(TStruktur* tree, QObject* parent = nullptr);

    void cut();
    void copy();
    /// Reports a refused move (a cut element pasted inside its own subtree) on the hint line.
    void paste();
    void cancelCut();

    bool hasCut() const;
    /// True when the clipboard holds elements or text with a caption.
    bool canPaste() const { return m_canPaste; }

    /// The hint-line message for a cut element that would go inside its own subtree.
    static QString refusalMessage();

Q_SIGNALS:
    /// What can be pasted or cancelled changed (also by another program's copy).
    void changed();

private:
    void put(bool asCut);
    void pasteCut(Element* cut, Element* selected);
    void clipboardChanged();

    TStruktur* m_tree;
    QByteArray m_cutMark;
    bool m_canPaste = false;
};

/// Gives each element that has a file name the next free constructed name (counting from
/// `elementCount`, skipping documents on disk and names given before it) and writes its
/// document there through the atomic writer; rebuilds every data string from the icon, so that
/// nothing from the clipboard names a file. Throws "Cannot create file" when a write fails.
void giveOwnDocuments(clipboard::CopiedElements& elements, const QString& documentFolder, qsizetype elementCount);

} // namespace elements
} // namespace struktur
