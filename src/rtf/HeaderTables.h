// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CodePages.h"
#include "Keywords.h"
#include "Properties.h"
#include "Tokenizer.h"

namespace struktur::rtf {

/// Reads the font and colour tables of a document's header into Tables. A font entry is ended
/// by ';' or the next \f; its name is decoded in the font's own code page, and may mix bytes
/// with \u characters. A colour entry is ended by ';'; one without components is "automatic".
class HeaderTableReader {
public:
    /// `ansiCodePage`: the document's code page, which names without a charset of their own use.
    HeaderTableReader(Tables& tables, CodePageDecoder& decoder, const int& ansiCodePage);

    void beginFonts();
    void fontWord(Keyword keyword, const Token& token);
    void fontBytes(QByteArrayView text);
    void fontHexByte(char byte);
    void fontCharacter(char16_t ch);
    void finishFonts() { commitFont(); }

    void beginColors();
    void colorWord(Keyword keyword, const Token& token);
    void colorBytes(QByteArrayView text);

private:
    /// The code page a font's name is written in.
    int nameCodePage(const FontEntry* font) const;
    void commitFont();
    void commitColor();

    Tables& m_tables;
    CodePageDecoder& m_decoder;
    const int& m_ansiCodePage;

    int m_fontId = -1;
    QByteArray m_fontName; ///< bytes of the name since the last \u
    QString m_fontNameText; ///< the part of the name before the last \u
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorHasValue = false;
};

} // namespace struktur::rtf
