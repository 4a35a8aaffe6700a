// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tokenizer.h"

#include <algorithm>
#include <array>
#include <limits>

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

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }


} // namespace

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

Token Tokenizer::next()
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
            return controlWord(start);
        default:
            break;
        }
        const char* p = m_pos;
        while (p < m_end && !kSpecial[static_cast<unsigned char>(*p)])
            ++p;
        token.kind = Token::Kind::Text;
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
    if (token.word == "bin" && token.hasParam && token.param > 0) {
        const qsizetype length = std::min<qsizetype>(token.param, m_end - m_pos);
        token.kind = Token::Kind::Binary;
        token.text = QByteArrayView(m_pos, length);
        m_pos += length;
    }
    return token;
}

} // namespace struktur::rtf
