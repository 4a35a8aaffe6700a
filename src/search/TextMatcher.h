// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringMatcher>

namespace struktur::search {

/// Whether upper and lower case count as different letters.
enum class CaseSensitivity { Insensitive, Sensitive };

/// Finds a search text as a substring. Without case sensitivity both sides are compared by
/// Unicode case folding, so "Æ" finds "æ" and "ΣΊΣΥΦΟΣ" finds "σίσυφος". An empty search text
/// matches nothing.
class TextMatcher {
public:
    TextMatcher() = default;
    TextMatcher(const QString& text, CaseSensitivity sensitivity);

    bool isEmpty() const { return m_text.isEmpty(); }
    const QString& text() const { return m_text; }
    CaseSensitivity sensitivity() const { return m_sensitivity; }

    /// The position of the first hit in `haystack`, or -1.
    qsizetype find(QStringView haystack) const;
    bool matches(QStringView haystack) const { return find(haystack) >= 0; }

private:
    QString m_text;
    CaseSensitivity m_sensitivity = CaseSensitivity::Insensitive;
    QStringMatcher m_matcher;
};

/// The text around a hit, split so that the hit itself can be shown apart (in bold). Line breaks
/// and tabs read as spaces, runs of white space as one; a cut end is marked with "…".
struct Snippet {
    QString before;
    QString hit;
    QString after;

    QString text() const { return before + hit + after; }
    bool operator==(const Snippet&) const = default;
};

/// The snippet for a hit of `length` characters at `position` in `text`, with up to about
/// `context` characters on either side, cut at a word boundary where one is near.
Snippet snippetAround(QStringView text, qsizetype position, qsizetype length, qsizetype context = 40);

} // namespace struktur::search
