// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PageGeometry.h"
#include "export/Publication.h"
#include "export/StagedTarget.h"

namespace struktur::publish {

/// The print window's default margins, in centimetres: left 2.5, right 1, top 2, bottom 1.5.
Margins defaultBookMargins();

/// Writes a structure as a PDF book on A4 at `path`: a title page with the structure's name, a
/// table of contents with numbered headings and their page numbers, then every element in tree
/// order with its numbered caption as a heading and its document, paginated by the print
/// formatter (a line is never cut between pages), and page numbers in the footer. The outline
/// mirrors the tree and the document title is the structure's name. Margins are in centimetres
/// from the paper's edges. Throws struktur::Error when the file cannot be written and Cancelled
/// when `progress` says stop (the file is then incomplete: use exportBook).
void writeBook(
    const Publication& publication, const QString& path, const Margins& margins, const Progress& progress = {});

/// writeBook into a file beside `target` that then replaces it (see StagedTarget).
void exportBook(const Publication& publication, const QString& target, Replace replace, const Margins& margins,
    const Progress& progress = {});

} // namespace struktur::publish
