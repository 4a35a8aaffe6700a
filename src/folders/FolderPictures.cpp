// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderPictures.h"

namespace folderPictures {
namespace {

QIcon picture(const char* name) { return QIcon(QStringLiteral(":/folders/%1.svg").arg(QLatin1StringView(name))); }

} // namespace

QIcon openFolder()
{
    static const QIcon icon = picture("folder-open");
    return icon;
}

QIcon closedFolder()
{
    static const QIcon icon = picture("folder-closed");
    return icon;
}

QIcon file()
{
    static const QIcon icon = picture("file");
    return icon;
}

QIcon drive()
{
    static const QIcon icon = picture("drive");
    return icon;
}

QIcon desktop()
{
    static const QIcon icon = picture("desktop");
    return icon;
}

QIcon documents()
{
    static const QIcon icon = picture("documents");
    return icon;
}

QIcon program()
{
    static const QIcon icon = picture("program");
    return icon;
}

} // namespace folderPictures
