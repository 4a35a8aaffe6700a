// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace struktur::elements {

/// Tells whether something exists at a path; the real one asks the file system, tests may pass their own.
using PathExists = std::function<bool(const QString& path)>;

/// The one rule for an element's document: the document folder (which carries its own trailing
/// separator, or is empty before any structure is loaded) directly followed by the element file
/// name and ".rtf". The file name is used as typed: an extension or folder in it stays part of it.
QString documentPath(const QString& documentFolder, const QString& fileName);

/// True when a file or folder is at the path, so that nothing would be written over it.
bool pathExists(const QString& path);

/// "dokument" followed by the first number, counting up from the tree's element count, whose
/// document is not present in the folder. Numbers below the element count are never used, and
/// only documents on disk count: a name an element carries without a written document is free.
QString constructedFileName(
    qsizetype elementCount, const QString& documentFolder, const PathExists& exists = pathExists);

/// "Filnavnet:", CR, the name, CR, "eksisterer allerede!" (or "eksisterer ikke!").
QString fileNameReport(const QString& name, bool exists);

} // namespace struktur::elements
