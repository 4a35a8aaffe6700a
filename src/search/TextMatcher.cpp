// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextMatcher.h"

namespace struktur::search {
namespace {

bool isBlank(QChar c) { return c.isSpace() || c == QChar::Nbsp; }

/// One line of text: every run of white space as a single space.
QString collapsedBlanks(QStringView text)
{
    QString result;
    result.reserve(text.size());
    bool blank = false;
    for (const QChar c : text) {
        if (isBlank(c)) {
            blank = true;
            continue;
        }
        if (blank && !result.isEmpty())
            result += u' ';
        blank = false;
        result += c;
    }
    if (blank && !result.isEmpty())
        result += u' ';
    return result;
}

} // namespace

TextMatcher::TextMatcher(const QString& text, CaseSensitivity sensitivity)
    : m_text(text)
    , m_sensitivity(sensitivity)
    , m_matcher(text, sensitivity == CaseSensitivity::Sensitive ? Qt::CaseSensitive : Qt::CaseInsensitive)
{
}

qsizetype TextMatcher::find(QStringView haystack) const
{
    if (m_text.isEmpty() || haystack.size() < m_text.size())
        return -1;
    return m_matcher.indexIn(haystack);
}

Snippet snippetAround(QStringView text, qsizetype position, qsizetype length, qsizetype context)
{
    Q_ASSERT_X(position >= 0 && position + length <= text.size(), "snippetAround", "the hit lies inside the text");
    qsizetype start = std::max<qsizetype>(0, position - context);
    qsizetype end = std::min(text.size(), position + length + context);
    // Cut at the first blank inside the context, so no word shows half, unless that loses most of it.
    if (start > 0 && !isBlank(text[start - 1])) {
        for (qsizetype i = start; i < position - context / 2; ++i) {
            if (isBlank(text[i])) {
                start = i + 1;
                break;
            }
        }
    }
    if (end < text.size() && !isBlank(text[end])) {
        for (qsizetype i = end - 1; i > position + length + context / 2; --i) {
            if (isBlank(text[i])) {
                end = i;
                break;
            }
        }
    }
    const QStringView before = text.sliced(start, position - start);
    const QStringView after = text.sliced(position + length, end - position - length);
    Snippet snippet;
    snippet.before = collapsedBlanks(before);
    snippet.hit = collapsedBlanks(text.sliced(position, length));
    snippet.after = collapsedBlanks(after);
    // A blank right beside the hit stays visible as one space; a blank at an outer end goes.
    if (snippet.before.startsWith(u' '))
        snippet.before.remove(0, 1);
    if (snippet.after.endsWith(u' '))
        snippet.after.chop(1);
    if (!before.isEmpty() && isBlank(before.back()) && !snippet.before.endsWith(u' ') && !snippet.before.isEmpty())
        snippet.before += u' ';
    if (!after.isEmpty() && isBlank(after.front()) && !snippet.after.startsWith(u' ') && !snippet.after.isEmpty())
        snippet.after.prepend(u' ');
    if (start > 0)
        snippet.before.prepend(u'…');
    if (end < text.size())
        snippet.after += u'…';
    return snippet;
}

} // namespace struktur::search
