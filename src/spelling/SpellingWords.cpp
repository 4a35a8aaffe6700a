// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpellingWords.h"

#include <QString>

namespace struktur::spelling {
namespace {

constexpr qsizetype longestWord = 100;

bool isWordCharacter(QChar c) { return c.isLetterOrNumber() || c.isMark(); }

bool isJoiner(QChar c) { return c == u'-' || c == u'\'' || c == u'\u2019' || c == u'.'; }

bool isWebAddress(QStringView chunk)
{
    return chunk.contains(u"://") || chunk.startsWith(u"www.", Qt::CaseInsensitive) || chunk.contains(u'@');
}

bool isCheckable(QStringView word)
{
    if (word.size() > longestWord)
        return false;
    bool hasLowerCase = false;
    for (const QChar c : word) {
        if (c.isDigit())
            return false;
        if (c.isLower())
            hasLowerCase = true;
    }
    return hasLowerCase;
}

/// Appends the words of one blank-free chunk that starts at `offset` in the whole text.
void collectWords(QStringView chunk, qsizetype offset, QList<WordSpan>& words)
{
    qsizetype i = 0;
    const qsizetype n = chunk.size();
    while (i < n) {
        if (!isWordCharacter(chunk[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        bool hasFullStop = false;
        while (i < n) {
            if (isWordCharacter(chunk[i])) {
                ++i;
                continue;
            }
            if (isJoiner(chunk[i]) && i + 1 < n && isWordCharacter(chunk[i + 1])) {
                hasFullStop = hasFullStop || chunk[i] == u'.';
                ++i;
                continue;
            }
            break;
        }
        // "f.eks." is one word with its final full stop.
        if (hasFullStop && i < n && chunk[i] == u'.')
            ++i;
        const QStringView word = chunk.sliced(start, i - start);
        if (isCheckable(word))
            words.append({ offset + start, i - start });
    }
}

} // namespace

QList<WordSpan> wordsToCheck(QStringView text)
{
    QList<WordSpan> words;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        if (text[i].isSpace()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < n && !text[i].isSpace())
            ++i;
        const QStringView chunk = text.sliced(start, i - start);
        if (!isWebAddress(chunk))
            collectWords(chunk, start, words);
    }
    return words;
}

WordSpan wordAt(QStringView text, qsizetype position)
{
    // Only the blank-free chunk around the position matters.
    qsizetype start = qBound<qsizetype>(0, position, text.size());
    while (start > 0 && !text[start - 1].isSpace())
        --start;
    qsizetype end = qBound<qsizetype>(0, position, text.size());
    while (end < text.size() && !text[end].isSpace())
        ++end;
    for (const WordSpan& word : wordsToCheck(text.sliced(start, end - start))) {
        const qsizetype wordStart = start + word.start;
        if (wordStart <= position && position <= wordStart + word.length)
            return { wordStart, word.length };
    }
    return {};
}

} // namespace struktur::spelling
