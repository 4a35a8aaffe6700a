// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentFile.h"

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "rtf/Rtf.h"

#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

namespace struktur::documentfile {

QByteArray readBytes(const QString& path)
{
    if (QFileInfo(path).isDir())
        throw Error::cannotOpenFile(path, QStringLiteral("Is a directory"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error::cannotOpenFile(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error::cannotOpenFile(path, file.errorString());
    return bytes;
}

void load(QByteArrayView bytes, QTextDocument& document) { rtf::loadDocument(bytes, document); }

void read(const QString& path, QTextDocument& document) { load(readBytes(path), document); }

void write(const QString& path, const QTextDocument& document) { writeFileAtomically(path, rtf::write(document)); }

} // namespace struktur::documentfile
