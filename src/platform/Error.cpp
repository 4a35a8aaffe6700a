// SPDX-License-Identifier: GPL-3.0-or-later
#include "Error.h"

#include <QDir>

#include <clocale>
#include <cstring>
#include <locale.h>

namespace struktur {
namespace {

// File errors name the file by its full path, also when it was given relative to the current
// folder, so that the message says which file was meant.
QString fullPath(const QString& path)
{
    if (path.isEmpty())
        return path;
    QString full = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    if ((path.endsWith(u'/') || path.endsWith(QDir::separator())) && !full.endsWith(u'/'))
        full += u'/';
    return QDir::toNativeSeparators(full);
}

} // namespace

Error::Error(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8())
{
}

Error Error::cannotCreateFile(const QString& path, const QString& reason)
{
    return Error(QStringLiteral("Cannot create file \"%1\". %2").arg(fullPath(path), reason));
}

Error Error::cannotOpenFile(const QString& path, const QString& reason)
{
    return Error(QStringLiteral("Cannot open file \"%1\". %2").arg(fullPath(path), reason));
}

Error Error::listIndexOutOfBounds(qsizetype index)
{
    return Error(QStringLiteral("List index out of bounds (%1)").arg(index));
}

Error Error::notAnInteger(const QString& text)
{
    return Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

Error Error::notAFloat(const QString& text)
{
    return Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

Error Error::invalidLevel(int level, const QString& text)
{
    return Error(QStringLiteral("Invalid level (%1) for item \"%2\"").arg(level).arg(text));
}

QString systemErrorText(int errorNumber)
{
    static const locale_t english = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    if (english == locale_t(nullptr))
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    return QString::fromLocal8Bit(strerror_l(errorNumber, english));
}

} // namespace struktur
