// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace struktur::rtf {

/// Pseudo code page of fonts with the symbol charset: their bytes are glyph numbers.
constexpr int kSymbolCodePage = 2;

/// The Windows code page that a font's \fcharset names; 0 for "use the document's code page".
int codePageForCharset(int charset);

/// True for the double-byte code pages (Windows 932, 936, 949, 950, 1361 and their Mac twins),
/// whose bytes must be decoded as whole runs.
bool isMultiByteCodePage(int codePage);

/// Decodes bytes of Windows code pages. Single-byte pages use a 256-entry table built once;
/// a page this system cannot decode falls back to Windows-1252 so that no text is dropped.
class CodePageDecoder {
public:
    /// Table for a single-byte code page (Windows-1252 when the page is unknown or multi-byte).
    /// The reference stays valid for the decoder's lifetime.
    const std::array<char16_t, 256>& table(int codePage);
    /// Appends the decoded bytes to `out`.
    void decode(QByteArrayView bytes, int codePage, QString& out);

private:
    struct CachedTable {
        int codePage = -1;
        std::unique_ptr<std::array<char16_t, 256>> table;
    };
    std::vector<CachedTable> m_tables; ///< one per code page with a name; never evicted
    int m_lastCodePage = -1;
    const std::array<char16_t, 256>* m_last = nullptr;
};

/// The Unicode character for a glyph number of the Symbol font (0x20..0xFF), or the private-use
/// character U+F0xx that Windows uses when there is none.
char16_t symbolFontCharacter(uint8_t glyph);

} // namespace struktur::rtf
