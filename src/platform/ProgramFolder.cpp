// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramFolder.h"

#include <QDir>

namespace struktur {

QString driveName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:");
#else
    return QString();
#endif
}

QString programFolder()
{
    QString folder = qEnvironmentVariable("KVARNOLT_DIR");
    if (folder.isEmpty()) {
#ifdef Q_OS_WIN
        folder = driveName() + QStringLiteral("\\Kvarnolt");
#else
        folder = QDir::homePath() + QStringLiteral("/Kvarnolt");
#endif
    }
    folder = QDir::toNativeSeparators(folder);
    while (folder.size() > 1 && folder.endsWith(QDir::separator()))
        folder.chop(1);
    return folder;
}

QString pathSeparator()
{
    return QString(QDir::separator());
}

QString withoutLineBreaks(QString text)
{
    text.removeIf([](QChar ch) { return ch == u'\r' || ch == u'\n' || ch == u'\0'; });
    return text;
}

} // namespace struktur
