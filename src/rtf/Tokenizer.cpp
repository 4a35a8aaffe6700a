// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tokenizer.h"

#include <algorithm>
#include <array>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace struktur::rtf {
namespace {

constexpr int kMaxWordLength = 32;
constexpr int kMaxDigits = 10;

// Bytes that end a run of literal text.
constexpr std::array<bool, 256> makeSpecials()
{
    std::array<bool, 256> table {};
    for (unsigned char c : { '\\', '{', '}', '\r', '\n', '\0', '\t' })
        table[c] = true;
    return table;
}
constexpr std::array<bool, 256> kSpecial = makeSpecials();

// The first byte at or after p that may end a run of text, sixteen bytes at a time where the
// processor allows: most of a document is plain text between control words.
const char* skipPlainText(const char* p, const char* end)
{
#ifdef __SSE2__
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    const __m128i lastControl = _mm_set1_epi8('\r'); // every special below '\\' is <= CR
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(bytes, lastControl), bytes);
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, backslash), low),
            _mm_or_si128(_mm_cmpeq_epi8(bytes, open), _mm_cmpeq_epi8(bytes, close)));
        if (const int mask = _mm_movemask_epi8(hits)) {
            // A control byte other than NUL, TAB, LF and CR is text: go on from it byte by byte.
            p += __builtin_ctz(unsigned(mask));
            while (p < end && !kSpecial[static_cast<unsigned char>(*p)])
                ++p;
            return p;
        }
        p += 16;
    }
#endif
    while (p < end && !kSpecial[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// \'hh with two hexadecimal digits at p.
bool isHexEscape(const char* p, const char* end)
{
    return end - p >= 4 && p[1] == '\'' && hexValue(p[2]) >= 0 && hexValue(p[3]) >= 0;
}

} // namespace

Token Tokenizer::next() { return nextToken<false>(); }

Token Tokenizer::nextInText() { return nextToken<true>(); }

template <bool hexInText>
Token Tokenizer::nextToken()
{
    for (;;) {
        Token token;
        if (m_pos >= m_end)
            return token;
        const char* start = m_pos;
        token.offset = start - m_begin;
        const char c = *m_pos;
        switch (c) {
        case '{':
            ++m_pos;
            token.kind = Token::Kind::GroupOpen;
            return token;
        case '}':
            ++m_pos;
            token.kind = Token::Kind::GroupClose;
            return token;
        case '\r':
        case '\n':
        case '\0':
            ++m_pos;
            continue;
        case '\t':
            ++m_pos;
            token.kind = Token::Kind::Word;
            token.word = "tab";
            return token;
        case '\\':
            if (m_pos + 1 >= m_end) {
                m_pos = m_end;
                return Token {};
            }
            if (!hexInText || !isHexEscape(m_pos, m_end))
                return controlWord(start);
            break;
        default:
            break;
        }
        const char* p = m_pos;
        token.kind = Token::Kind::Text;
        for (;;) {
            p = skipPlainText(p, m_end);
            if (!hexInText || p == m_end || *p != '\\' || !isHexEscape(p, m_end))
                break;
            token.kind = Token::Kind::TextWithHex;
            p += 4;
        }
        token.text = QByteArrayView(m_pos, p - m_pos);
        m_pos = p;
        return token;
    }
}

Token Tokenizer::controlWord(const char* start)
{
    Token token;
    token.offset = start - m_begin;
    const char* p = start + 1;
    const char c = *p;
    if (!isLetter(c)) {
        m_pos = p + 1;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            token.kind = Token::Kind::Text;
            token.text = QByteArrayView(p, 1);
            return token;
        case '\r':
        case '\n':
            token.kind = Token::Kind::Word;
            token.word = "par";
            return token;
        case '\'': {
            const int high = m_pos < m_end ? hexValue(*m_pos) : -1;
            const int low = m_pos + 1 < m_end ? hexValue(m_pos[1]) : -1;
            if (high < 0 || low < 0) {
                // A broken escape becomes a symbol nobody understands; what follows is read normally.
                if (high >= 0)
                    ++m_pos;
                token.kind = Token::Kind::Symbol;
                return token;
            }
            m_pos += 2;
            token.kind = Token::Kind::Hex;
            token.byte = static_cast<uint8_t>(high * 16 + low);
            return token;
        }
        default:
            token.kind = Token::Kind::Symbol;
            token.symbol = c;
            return token;
        }
    }
    const char* wordStart = p;
    while (p < m_end && isLetter(*p))
        ++p;
    token.kind = Token::Kind::Word;
    token.word = QByteArrayView(wordStart, std::min<qsizetype>(p - wordStart, kMaxWordLength + 1));
    bool negative = false;
    if (p + 1 < m_end && *p == '-' && isDigit(p[1])) {
        negative = true;
        ++p;
    }
    if (p < m_end && isDigit(*p)) {
        int64_t value = 0;
        int digits = 0;
        while (p < m_end && isDigit(*p)) {
            if (digits < kMaxDigits)
                value = value * 10 + (*p - '0');
            ++digits;
            ++p;
        }
        if (negative)
            value = -value;
        value = std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
        token.hasParam = true;
        token.param = static_cast<int32_t>(value);
    }
    if (p < m_end && *p == ' ')
        ++p;
    m_pos = p;
    if (token.hasParam && token.param > 0 && token.word == QByteArrayView("bin", 3)) {
        const qsizetype length = std::min<qsizetype>(token.param, m_end - m_pos);
        token.kind = Token::Kind::Binary;
        token.text = QByteArrayView(m_pos, length);
        m_pos += length;
    }
    return token;
}

} // namespace struktur::rtf
