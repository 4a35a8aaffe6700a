// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <cstdint>

namespace struktur::rtf {

/// The value of a hexadecimal digit, or -1 for any other character.
inline int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/// One lexical unit of RTF. Views point into the tokenizer's input.
struct Token {
    enum class Kind : uint8_t {
        End,
        GroupOpen,
        GroupClose,
        Word, ///< control word, `word` without backslash, `param` when `hasParam`
        Symbol, ///< control symbol other than \\ \{ \} \' (the character in `symbol`)
        Text, ///< a run of literal bytes (escaped \\ \{ \} come as one-byte runs)
        TextWithHex, ///< a run of literal bytes and well-formed \'hh escapes (see nextInText)
        Hex, ///< \'hh, the byte in `byte`
        Binary, ///< the data of \binN in `text`
    };
    Kind kind = Kind::End;
    bool hasParam = false;
    char symbol = 0;
    uint8_t byte = 0;
    int32_t param = 0;
    QByteArrayView word;
    QByteArrayView text;
    qsizetype offset = 0; ///< where the token starts in the input
};

/// Splits RTF bytes into tokens in one forward pass, with the delimiter rules of control words.
/// Never fails: a truncated keyword or hex escape at the end is dropped, control words are cut at
/// 32 letters, parameters are clamped to 32 bits, and \bin never reaches past the end.
/// Raw CR, LF and NUL bytes are not text; backslash before CR or LF is \par; a raw TAB is \tab.
class Tokenizer {
public:
    explicit Tokenizer(QByteArrayView input)
        : m_begin(input.data())
        , m_pos(input.data())
        , m_end(input.data() + input.size())
    {
    }

    Token next();
    /// Like next(), but a run of text goes on over \'hh escapes and comes as one TextWithHex
    /// token when it holds any: for body text, where a byte and its escape mean the same, so
    /// that a word with accented letters is one token rather than five.
    Token nextInText();
    qsizetype offset() const { return m_pos - m_begin; }

private:
    template <bool hexInText>
    Token nextToken();
    Token controlWord(const char* start);

    const char* m_begin;
    const char* m_pos;
    const char* m_end;
};

} // namespace struktur::rtf
