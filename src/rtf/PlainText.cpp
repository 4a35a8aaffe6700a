// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlainText.h"

#include "ListLabel.h"

#include <algorithm>

namespace struktur::rtf {

PlainTextSink::PlainTextSink(Writer write, qsizetype pieceSize)
    : m_write(std::move(write))
    , m_pieceSize(pieceSize)
{
    formatted = false;
    m_text.reserve(pieceSize + pieceSize / 4);
}

void PlainTextSink::text(QStringView text, const CharProps&)
{
    const qsizetype start = m_text.size();
    m_text.append(text);
    if (text.contains(QChar::LineSeparator))
        std::replace(m_text.begin() + start, m_text.end(), QChar(QChar::LineSeparator), QChar(u'\n'));
}

void PlainTextSink::paragraphEnd(const ParaProps&, const ListInfo& list, const CharProps&)
{
    if (list.present) {
        // A list counts on from its first item's start number.
        const int number = m_nextNumbers.try_emplace(list.key, list.start).first->second++;
        QString label(4 * std::clamp(list.level, 1, 9), u' ');
        label += listLabel(list.style, number, list.prefix, list.suffix);
        label += u' ';
        m_text.insert(m_paragraphStart, label);
    }
    m_text += u'\n';
    if (m_text.size() >= m_pieceSize) {
        m_write(m_text);
        m_text.resize(0);
    }
    m_paragraphStart = m_text.size();
}

void PlainTextSink::footnote(QStringView text, QByteArrayView)
{
    m_footnotes += text;
    if (!m_footnotes.endsWith(u'\n'))
        m_footnotes += u'\n';
}

void PlainTextSink::finish()
{
    if (!m_footnotes.isEmpty()) {
        m_text += u'\n';
        m_text += m_footnotes;
        m_footnotes.clear();
    }
    if (!m_text.isEmpty())
        m_write(m_text);
    m_text.clear();
    m_paragraphStart = 0;
}

} // namespace struktur::rtf
