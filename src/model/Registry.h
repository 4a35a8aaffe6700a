// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

/// The registry of known structures: one registry file "<name>.txt" directly in the program
/// folder per structure, holding the paths of its structure file, data file and document folder.
namespace struktur::registry {

struct StructurePaths {
    QString structureFile;
    QString dataFile;
    /// Ends in a separator.
    QString documentFolder;
};

/// The registry file of an entry: the program folder, a separator and the entry.
QString registryFilePath(const QString& programdir, const QString& entry);

/// The entries of the registry: the names of the ".txt" files directly in the program folder
/// (hidden ones included), in name order. Empty when the folder cannot be read.
QStringList registryEntries(const QString& programdir);

/// Line `index` of a registry file's lines; throws "List index out of bounds" for an index
/// outside them.
QString registryLine(const QStringList& lines, int index);

/// The fixed paths of the two built-in entries "Information.txt" and "Enhedsinformation.txt"
/// (exact, case-sensitive match); nothing for any other entry.
std::optional<StructurePaths> builtInPaths(const QString& programdir, const QString& entry);

/// The three paths of an entry: fixed for a built-in entry, else the first three lines of its
/// registry file. Throws struktur::Error for a missing or short registry file.
StructurePaths resolveEntry(const QString& programdir, const QString& entry);

/// The paths a new structure in `folderText` gets, formed from the text as typed.
StructurePaths pathsForFolder(const QString& folderText);

/// The name with only the letters A to Z turned into lower case; every other character as it is.
QString foldAsciiLetters(const QString& text);

/// True when `name` + ".txt" equals one of the entries once A to Z are folded on both sides.
bool doFileExists(const QString& name, const QStringList& entries);

/// Every folder the folder text passes through, shortest first: the text before each separator,
/// then the whole text ("/a/b": "/a", "/a/b"; an empty part before a leading separator is left out).
QStringList folderLevels(const QString& folderText);

/// False for a document folder that must never be emptied: an empty or blank text, a
/// file-system root, the home folder and the program folder.
bool mayEmptyFolder(const QString& folder, const QString& programdir);

/// Deletes every file directly in `folder` (hidden ones included); subfolders and files that
/// cannot be deleted stay.
void deleteFilesIn(const QString& folder);

} // namespace struktur::registry
