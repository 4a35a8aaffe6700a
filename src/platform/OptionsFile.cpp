// SPDX-License-Identifier: GPL-3.0-or-later
#include "OptionsFile.h"

#include "Error.h"
#include "Numbers.h"
#include "TextFile.h"

#include <QFileInfo>

namespace struktur {

bool readOptionsFile(const QString& path, int count, const std::function<void(int, int)>& apply)
{
    // A folder of that name is no options file: the window keeps its place.
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    const QStringList lines = textfile::readLines(path);
    for (int i = 0; i < count; ++i) {
        if (i >= lines.size())
            throw Error::listIndexOutOfBounds(i);
        apply(i, toInteger(lines[i]));
    }
    return true;
}

void writeOptionsFile(const QString& path, const QList<int>& values)
{
    QStringList lines;
    lines.reserve(values.size());
    for (const int value : values)
        lines.append(QString::number(value));
    textfile::writeLines(path, lines);
}

} // namespace struktur
