// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

/// Element documents on disk: read whole, written whole and atomically.
namespace struktur::documentfile {

/// The whole content of a document file. Throws "Cannot open file" when the file is missing or
/// unreadable.
QByteArray readBytes(const QString& path);

/// Replaces the document's content with document bytes: RTF, else plain text by its byte-order
/// mark or as Windows-1252. Never fails.
void load(QByteArrayView bytes, QTextDocument& document);

/// Replaces the document's content with a file: RTF, else plain text by its byte-order mark or
/// as Windows-1252. Throws "Cannot open file" when the file is missing or unreadable, leaving
/// the document as it was.
void read(const QString& path, QTextDocument& document);

/// Replaces the file with the document as RTF; on failure ("Cannot create file") any earlier
/// file stays whole.
void write(const QString& path, const QTextDocument& document);

} // namespace struktur::documentfile
