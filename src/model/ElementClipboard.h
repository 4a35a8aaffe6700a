// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ElementTree.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

class QMimeData;

/// Elements on the clipboard: a subtree in pre-order, in the program's own MIME type (captions,
/// data strings, icons and documents) and as plain text (one caption a line, indented by one tab
/// per level, as the structure file stores them). What comes from the clipboard is untrusted:
/// broken own data is refused whole, plain text of any shape reads as some elements.
namespace struktur::clipboard {

/// The program's own MIME type for copied elements.
inline constexpr char elementsMimeType[] = "application/x-strukturkonstruktor-elementer";

/// One copied element: its level below the top of what was copied (0 for a top), its caption,
/// its element data string and icon, and the bytes of its document when it had one on disk.
struct CopiedElement {
    int level = 0;
    QString text;
    bool hasData = false;
    QString data;
    int icon = -1;
    std::optional<QByteArray> document;

    /// The element file name: the data string without its icon digit; empty without data.
    QString fileName() const { return hasData ? data.mid(1) : QString(); }
};
/// Copied elements in pre-order; the first has level 0 and each level is at most one deeper than
/// the one before. Several elements of level 0 are several subtrees side by side.
using CopiedElements = std::vector<CopiedElement>;

/// The element with its subtree, without documents.
CopiedElements copySubtree(const Element* top);

/// One line a element, "\t" per level before the caption, each line ended by "\n".
QString plainText(const CopiedElements& elements);

/// Captions from text of another program: each line that is not blank is an element, indented
/// by the number of tabs among its leading blanks. A line goes below the nearest line before it
/// that is indented less, beside one indented as much, so any indentation reads as a tree: one
/// indented deeper by several tabs is still only a child, and lines indented less than the first
/// are tops beside it. Captions are made storable; the elements carry icon 0 and no file name.
CopiedElements parsePlainText(QStringView text);

/// The own MIME type's bytes; `cutMark` tells the program that cut the elements (empty for a copy).
QByteArray encode(const CopiedElements& elements, const QByteArray& cutMark = {});

struct Decoded {
    CopiedElements elements;
    QByteArray cutMark;
};
/// The elements of the own MIME type's bytes; nothing when the bytes are not wholly well formed
/// (unknown header, a bad field, a level out of order, a line break in a data string).
std::optional<Decoded> decode(QByteArrayView bytes);

/// Clipboard data with both forms.
QMimeData* toMimeData(const CopiedElements& elements, const QByteArray& cutMark = {});
/// The elements on the clipboard: the own form when it decodes, else the plain text's captions;
/// nothing when neither yields an element.
std::optional<Decoded> fromMimeData(const QMimeData* mime);

} // namespace struktur::clipboard
