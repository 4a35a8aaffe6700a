// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace struktur::cp1252 {

/// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined map to the
/// C1 control characters of the same value, as Windows does.
QString decode(QByteArrayView bytes);

/// Code points of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
inline constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

/// The character of one byte, as `decode` gives it.
inline char16_t charFor(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t(byte);
}

/// True when every character of `text` has a Windows-1252 byte.
bool canEncode(QStringView text);

/// Encodes into Windows-1252; a character without a byte becomes "?".
QByteArray encode(QStringView text);

/// The byte for one character, or -1 when the code page has none.
int byteFor(char16_t ch);

/// The byte of a character that is the same in Latin-1 and Windows-1252, the characters almost
/// every text consists of; the rest go through byteFor.
inline bool isLatin1Byte(char16_t ch) { return ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF); }

} // namespace struktur::cp1252
