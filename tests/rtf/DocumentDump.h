// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextDocument>
#include <QTextFragment>
#include <QString>

/// Readable forms of a QTextDocument for comparisons whose failures print a diff.
namespace struktur::rtf::test {

/// One line per block and per fragment with every attribute the codec carries.
QString dump(const QTextDocument& document);

/// The text as plainText() gives it: blocks end with "\n", line breaks are "\n", images vanish,
/// list items start with their label.
QString documentText(const QTextDocument& document);

/// The format of the first fragment whose text contains `text`; an invalid format when none does.
QTextCharFormat formatOf(const QTextDocument& document, const QString& text);

/// The block whose text contains `text`.
QTextBlock blockOf(const QTextDocument& document, const QString& text);

/// Builds RTF bytes from a literal (no conversion from the source encoding).
inline QByteArray rtfBytes(const char* text) { return QByteArray(text); }

} // namespace struktur::rtf::test
