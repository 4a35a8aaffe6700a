// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodePages.h"

#include "platform/Cp1252.h"

#include <QStringDecoder>

namespace struktur::rtf {
namespace {

const char* encodingName(int codePage)
{
    switch (codePage) {
    case 874: return "windows-874";
    case 932: return "windows-31j";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 852: return "IBM852";
    case 866: return "IBM866";
    case 10000: return "macintosh";
    case 10001: return "Shift_JIS";
    case 10002: return "Big5";
    case 10003: return "EUC-KR";
    case 10008: return "GB2312";
    case 10006: return "x-mac-greek";
    case 10007: return "x-mac-cyrillic";
    case 10029: return "x-mac-centraleurope";
    case 10081: return "x-mac-turkish";
    default: return nullptr;
    }
}

// The Symbol font's glyphs 0x20..0x7F and 0xA0..0xFF in Unicode (0 where Unicode has none).
constexpr char16_t kSymbolLow[96] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B,
    0x002C, 0x2212, 0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, 0x2245, 0x0391, 0x0392, 0x03A7,
    0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B,
    0x2234, 0x005D, 0x22A5, 0x005F, 0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3,
    0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0,
};
constexpr char16_t kSymbolHigh[96] = {
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194,
    0x2190, 0x2191, 0x2192, 0x2193, 0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5, 0x2135, 0x2111, 0x211C, 0x2118,
    0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4,
    0x21D0, 0x21D1, 0x21D2, 0x21D3, 0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0x232A, 0x222B, 0x2320,
    0x23AE, 0x2321, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return kSymbolCodePage;
    case 77: return 10000;
    case 78: return 10001;
    case 79: return 10003;
    case 80: return 10008;
    case 81: return 10002;
    case 83: return 10005;
    case 84: return 10004;
    case 85: return 10006;
    case 86: return 10081;
    case 87: return 10021;
    case 88: return 10029;
    case 89: return 10007;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

bool isMultiByteCodePage(int codePage)
{
    switch (codePage) {
    case 932:
    case 936:
    case 949:
    case 950:
    case 1361:
    case 10001:
    case 10002:
    case 10003:
    case 10008:
        return true;
    default:
        return false;
    }
}

char16_t symbolFontCharacter(uint8_t glyph)
{
    char16_t ch = 0;
    if (glyph >= 0x20 && glyph < 0x80)
        ch = kSymbolLow[glyph - 0x20];
    else if (glyph >= 0xA0)
        ch = kSymbolHigh[glyph - 0xA0];
    return ch ? ch : char16_t(0xF000 + glyph);
}

const std::array<char16_t, 256>& CodePageDecoder::table(int codePage)
{
    if (codePage == m_lastCodePage)
        return *m_last;
    const int requested = codePage;
    if (isMultiByteCodePage(codePage) || (codePage != kSymbolCodePage && !encodingName(codePage)))
        codePage = 1252;
    for (const CachedTable& cached : m_tables) {
        if (cached.codePage == codePage) {
            m_lastCodePage = requested;
            m_last = cached.table.get();
            return *cached.table;
        }
    }
    auto table = std::make_unique<std::array<char16_t, 256>>();
    if (codePage == kSymbolCodePage) {
        for (int b = 0; b < 256; ++b)
            (*table)[b] = b < 0x20 ? char16_t(b) : symbolFontCharacter(uint8_t(b));
    } else {
        char all[256];
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString cp1252Text = cp1252::decode(QByteArrayView(all, 256));
        for (int b = 0; b < 256; ++b)
            (*table)[b] = cp1252Text[b].unicode();
        if (const char* name = encodingName(codePage)) {
            QStringDecoder decoder(name);
            if (decoder.isValid()) {
                for (int b = 0x80; b < 256; ++b) {
                    const char byte = char(b);
                    const QString decoded = decoder.decode(QByteArrayView(&byte, 1));
                    decoder.resetState();
                    if (decoded.size() == 1 && decoded[0] != QChar::ReplacementCharacter)
                        (*table)[b] = decoded[0].unicode();
                }
            }
        }
    }
    m_lastCodePage = requested;
    m_last = table.get();
    m_tables.push_back(CachedTable { codePage, std::move(table) });
    return *m_last;
}

void CodePageDecoder::decode(QByteArrayView bytes, int codePage, QString& out)
{
    if (isMultiByteCodePage(codePage)) {
        if (const char* name = encodingName(codePage)) {
            QStringDecoder decoder(name);
            if (decoder.isValid()) {
                out += decoder.decode(bytes);
                return;
            }
        }
    }
    const auto& map = table(codePage);
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    QChar* dst = out.data() + start;
    for (const char c : bytes)
        *dst++ = QChar(map[static_cast<unsigned char>(c)]);
}

} // namespace struktur::rtf
