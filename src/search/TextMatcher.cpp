// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextMatcher.h"

#include <algorithm>
#include <array>

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
    if (sensitivity == CaseSensitivity::Sensitive || text.isEmpty())
        return;
    // Characters outside the basic plane fold in pairs: those searches keep to the general matcher.
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); }))
        return;
    for (const QChar c : text)
        m_folded += c.toCaseFolded();
    const char16_t first = m_folded.front().unicode();
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (!QChar::isSurrogate(c) && QChar::toCaseFolded(c) == first)
            m_firstVariants.append(QChar(c));
    }
    m_useMatcher = m_firstVariants.size() > 4;
}

qsizetype TextMatcher::find(QStringView haystack) const
{
    if (m_text.isEmpty() || haystack.size() < m_text.size())
        return -1;
    if (m_useMatcher)
        return m_matcher.indexIn(haystack);
    return findFolded(haystack);
}

qsizetype TextMatcher::findFolded(QStringView haystack) const
{
    const qsizetype last = haystack.size() - m_folded.size();
    const QChar* folded = m_folded.constData();
    const qsizetype length = m_folded.size();
    // The next place of each first-character variant at or after `from`; size() when none.
    std::array<qsizetype, 4> next{};
    const qsizetype variants = m_firstVariants.size();
    auto advance = [&](qsizetype variant, qsizetype from) {
        const qsizetype at = haystack.indexOf(m_firstVariants[variant], from);
        next[size_t(variant)] = at < 0 ? haystack.size() : at;
    };
    for (qsizetype v = 0; v < variants; ++v)
        advance(v, 0);
    for (;;) {
        const auto nearest = std::min_element(next.begin(), next.begin() + variants);
        const qsizetype at = *nearest;
        if (at > last)
            return -1;
        qsizetype i = 1;
        while (i < length && haystack[at + i].toCaseFolded() == folded[i])
            ++i;
        if (i == length)
            return at;
        advance(nearest - next.begin(), at + 1);
    }
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
