// SPDX-License-Identifier: GPL-3.0-or-later
// The word splitter of spell checking on arbitrary text: every span lies inside the text, in
// order and apart, is at most 100 characters, and the word at any position is one of them.
#include "spelling/SpellingWords.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Both ways text reaches the checker: decoded UTF-8, and raw UTF-16 with lone surrogates.
    const QString decoded = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString raw(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    for (const QString& text : { decoded, raw }) {
        const QList<struktur::spelling::WordSpan> words = struktur::spelling::wordsToCheck(text);
        qsizetype end = 0;
        for (const auto& word : words) {
            if (word.start < end || word.length <= 0 || word.length > 100 || word.start + word.length > text.size())
                std::abort();
            end = word.start + word.length;
        }
        for (qsizetype position = 0; position <= text.size(); position += 1 + text.size() / 64) {
            const auto found = struktur::spelling::wordAt(text, position);
            if (found.length == 0)
                continue;
            if (found.start > position || found.start + found.length < position || !words.contains(found))
                std::abort();
        }
    }
    return 0;
}
