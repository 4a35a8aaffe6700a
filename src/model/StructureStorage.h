// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ElementTree.h"

#include <QString>

namespace struktur {

enum class LoadResult {
    Loaded, ///< both files read
    NoStructureFile, ///< nothing at the structure path: the tree was emptied
    NoDataFile, ///< structure read, nothing at the data path: no element has data
};

/// True when a file (not a folder) exists at `path`; false for an empty path.
bool fileExists(const QString& path);

/// Loads a structure into `tree`, emptying it first; a save of the pair that was killed after
/// its commitment is finished before reading. With `dataOn` the data file's lines are
/// paired with the elements. Read errors throw struktur::Error and leave the partial result in
/// the tree (the elements before a bad structure line; the data before a bad data line).
LoadResult loadStructure(ElementTree& tree, const QString& structurePath, const QString& dataPath, bool dataOn);

/// Writes the data file (with `dataOn`) and the structure file. Returns false, writing nothing,
/// when the structure path is empty or `dataOn` is set and the data path is empty. Both files are
/// prepared beside their targets and replace them only once both were written in full, so a
/// failure (which throws "Cannot create file") leaves the old files whole.
bool saveStructure(const ElementTree& tree, const QString& structurePath, const QString& dataPath, bool dataOn);

} // namespace struktur
