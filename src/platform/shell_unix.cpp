// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace struktur {
namespace {

std::function<void(ShellVerb, const QString&)>& handler()
{
    static std::function<void(ShellVerb, const QString&)> instance;
    return instance;
}

/// The user's folder of that kind as the XDG user folders name it; the home folder when the
/// account has none (yet), as the desktop's own file manager then shows the home folder.
QString existingUserFolder(QStandardPaths::StandardLocation location)
{
    const QString path = QStandardPaths::writableLocation(location);
    if (!path.isEmpty() && QFileInfo(path).isDir())
        return path;
    return QDir::homePath();
}

} // namespace

void shellExecute(ShellVerb verb, const QString& path)
{
    if (handler()) {
        handler()(verb, path);
        return;
    }
    // xdg-open knows one verb; "edit" opens with the associated program as well.
    QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

void setShellHandler(std::function<void(ShellVerb, const QString&)> newHandler)
{
    handler() = std::move(newHandler);
}

QString specialFolderPath(SpecialFolder folder)
{
    switch (folder) {
    case SpecialFolder::Desktop:
        return existingUserFolder(QStandardPaths::DesktopLocation);
    case SpecialFolder::Documents:
        return existingUserFolder(QStandardPaths::DocumentsLocation);
    case SpecialFolder::LocalApplicationData: {
        // Programs keep their data there; a fresh account has not made it yet.
        const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (path.isEmpty() || !QDir().mkpath(path))
            return QString();
        return path;
    }
    }
    return QString();
}

} // namespace struktur
