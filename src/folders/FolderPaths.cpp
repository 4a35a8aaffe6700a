// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderPaths.h"

#include <QDir>

namespace struktur::folders {
namespace {

const QChar separator = QDir::separator();

bool isDriveDesignator(QStringView text) { return text.size() == 2 && text[1] == u':' && text[0].isLetter(); }

} // namespace

QString normalFolder(const QString& path)
{
    if (path.isEmpty())
        return path;
    QString folder = QDir::toNativeSeparators(QDir::cleanPath(QDir::fromNativeSeparators(path)));
    if (isDriveDesignator(folder))
        folder += separator;
    return folder;
}

bool isRootFolder(const QString& folder)
{
    if (folder == separator)
        return true;
    return folder.size() == 3 && isDriveDesignator(QStringView(folder).first(2)) && folder[2] == separator;
}

QString parentFolder(const QString& folder)
{
    if (isRootFolder(folder))
        return folder;
    const qsizetype last = folder.lastIndexOf(separator);
    if (last < 0)
        return folder;
    const QString before = folder.first(last);
    if (before.isEmpty() || isDriveDesignator(before))
        return before + separator;
    return before;
}

QStringList folderChain(const QString& folder)
{
    QStringList chain;
    QString current = folder;
    while (!current.isEmpty()) {
        chain.prepend(current);
        const QString parent = parentFolder(current);
        if (parent == current)
            break;
        current = parent;
    }
    return chain;
}

QString composedPath(const QString& folder, const QString& name) { return folder + name; }

QString volumeRootOf(const QString& folder, const QStringList& roots)
{
    QString best;
    for (const QString& root : roots) {
        const bool holds = folder == root
            || (folder.startsWith(root) && (root.endsWith(separator) || folder.at(root.size()) == separator));
        if (holds && root.size() > best.size())
            best = root;
    }
    return best;
}

QString folderErrorText(const QString& folder)
{
    return QStringLiteral("Cannot open folder \"%1\". The folder does not exist or cannot be read").arg(folder);
}

} // namespace struktur::folders
