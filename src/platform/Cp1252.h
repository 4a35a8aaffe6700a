// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace struktur::cp1252 {

/// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined map to the
/// C1 control characters of the same value, as Windows does.
QString decode(QByteArrayView bytes);

/// True when every character of `text` has a Windows-1252 byte.
bool canEncode(QStringView text);

/// Encodes into Windows-1252; a character without a byte becomes "?".
QByteArray encode(QStringView text);

/// The byte for one character, or -1 when the code page has none.
int byteFor(char16_t ch);

} // namespace struktur::cp1252
