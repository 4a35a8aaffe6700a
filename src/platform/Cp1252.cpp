// SPDX-License-Identifier: GPL-3.0-or-later
#include "Cp1252.h"

namespace struktur::cp1252 {

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes)
        *out++ = QChar(charFor(static_cast<unsigned char>(c)));
    return text;
}

int byteFor(char16_t ch)
{
    if (isLatin1Byte(ch))
        return ch;
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

bool canEncode(QStringView text)
{
    for (const QChar ch : text) {
        if (byteFor(ch.unicode()) < 0)
            return false;
    }
    return true;
}

QByteArray encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar ch : text) {
        const int b = byteFor(ch.unicode());
        *out++ = b < 0 ? '?' : char(b);
    }
    return bytes;
}

} // namespace struktur::cp1252
