// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlainText.h"

#include "ListLabel.h"

#include <algorithm>

namespace struktur::rtf {

void PlainTextSink::text(QStringView text, const CharProps&)
{
    const qsizetype start = m_paragraph.size();
    m_paragraph.append(text);
    if (text.contains(QChar::LineSeparator))
        std::replace(m_paragraph.begin() + start, m_paragraph.end(), QChar(QChar::LineSeparator), QChar(u'\n'));
}

void PlainTextSink::paragraphEnd(const ParaProps&, const ListInfo& list, const CharProps&)
{
    if (list.present) {
        // A list counts on from its first item's start number.
        const int number = m_nextNumbers.try_emplace(list.key, list.start).first->second++;
        m_text += QString(4 * std::clamp(list.level, 1, 9), u' ');
        m_text += listLabel(list.style, number, list.prefix, list.suffix);
        m_text += u' ';
    }
    m_text += m_paragraph;
    m_text += u'\n';
    m_paragraph.resize(0);
}

void PlainTextSink::footnote(QStringView text)
{
    m_footnotes += text;
    if (!m_footnotes.endsWith(u'\n'))
        m_footnotes += u'\n';
}

QString PlainTextSink::take()
{
    m_text += m_paragraph;
    m_paragraph.clear();
    if (!m_footnotes.isEmpty()) {
        m_text += u'\n';
        m_text += m_footnotes;
        m_footnotes.clear();
    }
    return std::move(m_text);
}

} // namespace struktur::rtf
