// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextRun.h"

#include "Tokenizer.h"

#include <algorithm>

namespace struktur::rtf {

char16_t* TextRun::room(qsizetype count)
{
    if (m_buffer.size() - m_size < count)
        m_buffer.resize(std::max(m_size + count, 2 * m_buffer.size() + 256));
    return reinterpret_cast<char16_t*>(m_buffer.data()) + m_size;
}

void TextRun::append(QStringView text)
{
    std::copy(text.utf16(), text.utf16() + text.size(), room(text.size()));
    m_size += text.size();
    m_maySurrogate = true;
}

void TextRun::appendBytes(QByteArrayView bytes, const Table& table, bool withHex)
{
    char16_t* const start = room(bytes.size());
    char16_t* out = start;
    for (const char *p = bytes.data(), *end = p + bytes.size(); p < end; ++p) {
        auto byte = static_cast<uint8_t>(*p);
        if (withHex && byte == '\\') {
            byte = static_cast<uint8_t>(hexValue(p[2]) * 16 + hexValue(p[3]));
            p += 3;
        }
        // Written always, kept only when storable: no branch per character.
        const char16_t ch = table[byte];
        *out = ch;
        out += ch != 0;
    }
    m_size += out - start;
}

void TextRun::repairSurrogates()
{
    if (!m_maySurrogate)
        return;
    QChar* data = m_buffer.data();
    for (qsizetype i = 0; i < m_size; ++i) {
        if (!data[i].isSurrogate())
            continue;
        if (data[i].isHighSurrogate() && i + 1 < m_size && data[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        data[i] = QChar::ReplacementCharacter;
    }
}

} // namespace struktur::rtf
