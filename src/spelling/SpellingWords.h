// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringView>

namespace struktur::spelling {

/// Where a word stands in a text.
struct WordSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const WordSpan&, const WordSpan&) = default;
};

/// The words of `text` that spell checking looks at, in order. A word is a run of letters with
/// single hyphens, apostrophes or full stops between letters (an abbreviation keeps its final
/// full stop). Words holding a digit, words in capitals only, words longer than 100 characters
/// and everything in a web or mail address are left out.
QList<WordSpan> wordsToCheck(QStringView text);

/// The span of the checked word that contains or touches `position`, or a span of length 0.
WordSpan wordAt(QStringView text, qsizetype position);

} // namespace struktur::spelling
