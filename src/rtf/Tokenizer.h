// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <cstdint>

namespace struktur::rtf {

/// The value of a hexadecimal digit, or -1 for any other character.
int hexValue(char c);

/// One lexical unit of RTF. Views point into the tokenizer's input.
struct Token {
    enum class Kind : uint8_t {
        End,
        GroupOpen,
        GroupClose,
        Word, ///< control word, `word` without backslash, `param` when `hasParam`
        Symbol, ///< control symbol other than \\ \{ \} \' (the character in `symbol`)
        Text, ///< a run of literal bytes (escaped \\ \{ \} come as one-byte runs)
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
    qsizetype offset() const { return m_pos - m_begin; }

private:
    Token controlWord(const char* start);

    const char* m_begin;
    const char* m_pos;
    const char* m_end;
};

} // namespace struktur::rtf
