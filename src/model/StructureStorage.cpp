// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructureStorage.h"

#include "StructureFile.h"
#include "platform/AtomicFile.h"

#include <QFileInfo>

#include <optional>

namespace struktur {

bool fileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

LoadResult loadStructure(ElementTree& tree, const QString& structurePath, const QString& dataPath, bool dataOn)
{
    // The tree is emptied before anything is read, so that after a failure it never shows a
    // previous structure under the new paths (where saving it would overwrite the new files).
    tree.clear();
    // A save killed between replacing the data file and the structure file is finished first,
    // so that the two are never read as a mixed pair.
    if (!structurePath.isEmpty() && !dataPath.isEmpty())
        completeInterruptedCommit(dataPath, structurePath);
    if (!fileExists(structurePath))
        return LoadResult::NoStructureFile;
    structurefile::readStructureFrom(structurePath, tree);
    if (!dataOn)
        return LoadResult::Loaded;
    if (!fileExists(dataPath))
        return LoadResult::NoDataFile;
    structurefile::applyDataFrom(dataPath, tree);
    return LoadResult::Loaded;
}

bool saveStructure(const ElementTree& tree, const QString& structurePath, const QString& dataPath, bool dataOn)
{
    if (structurePath.isEmpty() || (dataOn && dataPath.isEmpty()))
        return false;
    // Both new files are written and on disk before either replaces its target, so that only
    // the two renames stand between an old pair and a new one.
    std::optional<PendingFile> data;
    if (dataOn) {
        data.emplace(dataPath);
        structurefile::writeData(tree, [&data](QByteArrayView bytes) { data->write(bytes); });
    }
    PendingFile structure(structurePath);
    structurefile::writeStructure(tree, [&structure](QByteArrayView bytes) { structure.write(bytes); });
    if (data)
        commitTogether(*data, structure);
    else
        structure.commit();
    return true;
}

} // namespace struktur
