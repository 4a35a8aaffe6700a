// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeaderTables.h"

#include "ReaderLimits.h"

namespace struktur::rtf {

HeaderTableReader::HeaderTableReader(Tables& tables, CodePageDecoder& decoder, const int& ansiCodePage)
    : m_tables(tables)
    , m_decoder(decoder)
    , m_ansiCodePage(ansiCodePage)
{
}

void HeaderTableReader::beginFonts()
{
    m_fontId = -1;
    m_fontName.clear();
}

void HeaderTableReader::fontWord(Keyword keyword, const Token& token)
{
    if (keyword == Keyword::f) {
        commitFont();
        m_fontId = clampParam(token, 0, 1 << 20, 0);
        if (m_tables.fonts.size() < size_t(kMaxFonts))
            m_tables.fonts.try_emplace(m_fontId);
    } else if (keyword == Keyword::fcharset || keyword == Keyword::cpg) {
        const auto found = m_tables.fonts.find(m_fontId);
        const int codePage = keyword == Keyword::cpg ? clampParam(token, 0, 65535, 0)
                                                     : codePageForCharset(clampParam(token, 0, 255, 0));
        if (found != m_tables.fonts.end() && (keyword == Keyword::fcharset || codePage > 0))
            found->second.codePage = codePage;
    }
}

void HeaderTableReader::fontBytes(QByteArrayView text)
{
    for (const char c : text) {
        if (c == ';')
            commitFont();
        else if (m_fontName.size() < kMaxSideText)
            m_fontName.append(c);
    }
}

void HeaderTableReader::fontHexByte(char byte)
{
    if (m_fontName.size() < kMaxSideText)
        m_fontName.append(byte);
}

int HeaderTableReader::nameCodePage(const FontEntry* font) const
{
    // A symbol font's character set numbers its glyphs; its name is still written in letters.
    return font && font->codePage > 0 && font->codePage != kSymbolCodePage ? font->codePage : m_ansiCodePage;
}

void HeaderTableReader::fontCharacter(char16_t ch)
{
    m_decoder.decode(m_fontName, nameCodePage(m_tables.font(m_fontId)), m_fontNameText);
    m_fontName.clear();
    if (m_fontNameText.size() < kMaxSideText)
        m_fontNameText += QChar(ch);
}

void HeaderTableReader::commitFont()
{
    const auto found = m_fontId < 0 ? m_tables.fonts.end() : m_tables.fonts.find(m_fontId);
    if (found != m_tables.fonts.end() && found->second.name.isEmpty()) {
        QString name = m_fontNameText;
        m_decoder.decode(m_fontName, nameCodePage(&found->second), name);
        found->second.name = name.trimmed();
    }
    m_fontName.clear();
    m_fontNameText.clear();
    m_fontId = -1;
}

void HeaderTableReader::beginColors()
{
    m_colorHasValue = false;
    m_red = m_green = m_blue = 0;
}

void HeaderTableReader::colorWord(Keyword keyword, const Token& token)
{
    if (keyword == Keyword::red || keyword == Keyword::green || keyword == Keyword::blue) {
        const int value = clampParam(token, 0, 255, 0);
        (keyword == Keyword::red ? m_red : keyword == Keyword::green ? m_green : m_blue) = value;
        m_colorHasValue = true;
    }
}

void HeaderTableReader::colorBytes(QByteArrayView text)
{
    for (const char c : text) {
        if (c == ';')
            commitColor();
    }
}

void HeaderTableReader::commitColor()
{
    if (m_tables.colors.size() < size_t(kMaxColors))
        m_tables.colors.push_back(m_colorHasValue ? (int64_t(m_red) << 16 | m_green << 8 | m_blue) : -1);
    m_colorHasValue = false;
    m_red = m_green = m_blue = 0;
}

} // namespace struktur::rtf
