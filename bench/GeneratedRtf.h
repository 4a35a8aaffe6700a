// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-edit-style document the RTF, editor and printing benchmarks share.
#pragma once

#include <QByteArray>
#include <QRandomGenerator>

#include <iterator>

namespace bench {

// Paragraphs as the rich edit control writes them: formatting toggled on and off inside the
// paragraph, Danish letters as \'hh, now and then a character outside the code page.
inline QByteArray generateRtf(qsizetype size)
{
    static const char* words[] = { "struktur", "element", "dokument", "tekst", "afsnit", "mappe", "side", "liste",
        "tabel", "billede", "og", "i", "p\\'e5", "med", "til", "r\\'f8d", "bl\\'e5b\\'e6r", "\\u937?" };
    QRandomGenerator random(42);
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1030{\\fonttbl{\\f0\\fnil\\fcharset0 "
                     "Courier New;}{\\f1\\fnil\\fcharset0 Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
                     "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n";
    out.reserve(size + 4096);
    while (out.size() < size) {
        out += "\\pard\\sa200\\sl276\\slmult1\\f0\\fs20 ";
        const int count = 20 + int(random.bounded(60));
        for (int i = 0; i < count; ++i) {
            const quint32 pick = random.bounded(100);
            const char* word = words[random.bounded(int(std::size(words)))];
            if (pick < 5)
                out += QByteArray("\\b ") + word + "\\b0 ";
            else if (pick < 8)
                out += QByteArray("\\i ") + word + "\\i0 ";
            else if (pick < 10)
                out += QByteArray("\\cf1 ") + word + "\\cf0 ";
            else if (pick < 11)
                out += QByteArray("\\f1\\fs24 ") + word + "\\f0\\fs20 ";
            else
                out += QByteArray(word) + ' ';
        }
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

} // namespace bench
