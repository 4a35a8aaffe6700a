// SPDX-License-Identifier: GPL-3.0-or-later
#include "Registry.h"

#include "platform/Error.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace struktur::registry {
namespace {

const QString registrySuffix = QStringLiteral(".txt");

StructurePaths builtIn(const QString& programdir, const QString& folderName)
{
    const QString sep = pathSeparator();
    const QString folder = programdir + sep + folderName + sep;
    return { folder + QStringLiteral("struktur.txt"), folder + QStringLiteral("data.txt"),
        folder + QStringLiteral("tekstfiler") + sep };
}

QString comparableFolder(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

QString registryFilePath(const QString& programdir, const QString& entry)
{
    return programdir + pathSeparator() + entry;
}

QStringList registryEntries(const QString& programdir)
{
    // Sorted by name as the file systems of the host program's machines list them; a hash
    // order would shuffle the list between folders.
    return QDir(programdir)
        .entryList({ QStringLiteral("*") + registrySuffix }, QDir::Files | QDir::Hidden | QDir::System,
            QDir::Name | QDir::IgnoreCase);
}

QString registryLine(const QStringList& lines, int index)
{
    if (index < 0 || index >= lines.size())
        throw Error::listIndexOutOfBounds(index);
    return lines[index];
}

std::optional<StructurePaths> builtInPaths(const QString& programdir, const QString& entry)
{
    if (entry == QStringLiteral("Information.txt"))
        return builtIn(programdir, QStringLiteral("Information"));
    if (entry == QStringLiteral("Enhedsinformation.txt"))
        return builtIn(programdir, QStringLiteral("Enhedsinformation"));
    return std::nullopt;
}

StructurePaths resolveEntry(const QString& programdir, const QString& entry)
{
    if (const auto paths = builtInPaths(programdir, entry))
        return *paths;
    const QStringList lines = textfile::readLines(registryFilePath(programdir, entry));
    return { registryLine(lines, 0), registryLine(lines, 1), registryLine(lines, 2) };
}

StructurePaths pathsForFolder(const QString& folderText)
{
    const QString sep = pathSeparator();
    return { folderText + sep + QStringLiteral("struktur.txt"), folderText + sep + QStringLiteral("data.txt"),
        folderText + sep + QStringLiteral("tekstfiler") + sep };
}

QString foldAsciiLetters(const QString& text)
{
    QString folded = text;
    for (QChar& ch : folded) {
        if (ch >= u'A' && ch <= u'Z')
            ch = QChar(ch.unicode() + (u'a' - u'A'));
    }
    return folded;
}

bool doFileExists(const QString& name, const QStringList& entries)
{
    const QString wanted = foldAsciiLetters(name + registrySuffix);
    return std::any_of(
        entries.begin(), entries.end(), [&](const QString& entry) { return foldAsciiLetters(entry) == wanted; });
}

QStringList folderLevels(const QString& folderText)
{
    const QChar sep = pathSeparator().front();
    QStringList levels;
    for (qsizetype i = 0; i < folderText.size(); ++i) {
        if (folderText[i] == sep && i > 0)
            levels.append(folderText.first(i));
    }
    if (!folderText.isEmpty())
        levels.append(folderText);
    return levels;
}

bool mayEmptyFolder(const QString& folder, const QString& programdir)
{
    if (folder.trimmed().isEmpty())
        return false;
    const QString target = comparableFolder(folder);
    if (QDir(target).isRoot())
        return false;
    return target != comparableFolder(QDir::homePath()) && target != comparableFolder(programdir);
}

void deleteFilesIn(const QString& folder)
{
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& file : files)
        QFile::remove(file.absoluteFilePath());
}

} // namespace struktur::registry
