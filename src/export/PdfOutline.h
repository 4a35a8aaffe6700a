// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace struktur::publish {

/// One bookmark of a PDF outline: its title, the position of its parent entry (-1 at the top),
/// the page (0-based, in the final order) and the height on that page, in points from the
/// page's bottom edge, that it shows.
struct OutlineEntry {
    QString title;
    qsizetype parent = -1;
    int page = 0;
    qreal top = 0;
};

/// Adds an outline (bookmarks, closed, shown when the file opens) to a PDF as written by
/// Qt's PDF engine and reorders its pages: page i of the result is page `pageOrder[i]` of the input
/// (an empty order keeps them). Entries come in pre-order, every parent before its children.
/// The file is not rewritten: an incremental update (new catalog, page tree and outline objects,
/// a cross-reference section and a trailer pointing back at the old one) is appended, as PDF
/// allows for changing a finished file. Throws struktur::Error when the file does not have the
/// classic trailer and page tree this needs.
QByteArray addOutline(
    const QByteArray& pdf, const std::vector<OutlineEntry>& entries, const std::vector<int>& pageOrder);

} // namespace struktur::publish
