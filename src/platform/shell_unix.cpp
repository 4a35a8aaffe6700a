// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shell.h"

#include <QProcess>
#include <QStandardPaths>

namespace struktur {
namespace {

std::function<void(ShellVerb, const QString&)>& handler()
{
    static std::function<void(ShellVerb, const QString&)> instance;
    return instance;
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
        return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    case SpecialFolder::Documents:
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case SpecialFolder::LocalApplicationData:
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    }
    return QString();
}

} // namespace struktur
