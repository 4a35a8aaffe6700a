// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextRun.h"

#include "Tokenizer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace struktur::rtf {

void TextRun::Table::set(const std::array<char16_t, 256>& decoded)
{
    chars = decoded;
    asciiAsIs = true;
    for (size_t b = 0; b < chars.size(); ++b) {
        if (isUnstorable(chars[b]))
            chars[b] = 0;
        if (b >= 0x20 && b < 0x80 && chars[b] != b)
            asciiAsIs = false;
    }
}

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
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    for (;;) {
        const char* const plainEnd = withHex ? static_cast<const char*>(std::memchr(p, '\\', size_t(end - p))) : end;
        const char* const stop = plainEnd ? plainEnd : end;
#ifdef __SSE2__
        if (table.asciiAsIs) {
            // Printable ASCII, sixteen bytes at a time: each byte is its own character.
            const __m128i zero = _mm_setzero_si128();
            const __m128i belowSpace = _mm_set1_epi8(0x1F);
            while (stop - p >= 16) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                if (_mm_movemask_epi8(_mm_cmpgt_epi8(bytes, belowSpace)) != 0xFFFF)
                    break;
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, zero));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, zero));
                p += 16;
                out += 16;
            }
        }
#endif
        for (; p < stop; ++p) {
            // Written always, kept only when storable: no branch per character.
            const char16_t ch = table.chars[static_cast<uint8_t>(*p)];
            *out = ch;
            out += ch != 0;
        }
        if (p == end)
            break;
        // The tokenizer let only well-formed escapes into the run.
        const char16_t ch = table.chars[static_cast<uint8_t>(hexValue(p[2]) * 16 + hexValue(p[3]))];
        *out = ch;
        out += ch != 0;
        p += 4;
    }
    m_size += out - start;
}

void TextRun::closeSegment()
{
    const qsizetype start = std::exchange(m_segmentStart, m_size);
    if (!std::exchange(m_maySurrogate, false))
        return;
    QChar* data = m_buffer.data();
    for (qsizetype i = start; i < m_size; ++i) {
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
