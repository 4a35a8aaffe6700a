// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>

namespace struktur::rtf {

/// Characters Qt gives a meaning of its own inside a document, or that cannot be stored.
inline bool isUnstorable(char16_t ch)
{
    return (ch < 0x20 && ch != u'\t') || ch == 0xFFFC || ch == 0x2029 || (ch >= 0xFDD0 && ch <= 0xFDEF)
        || ch == 0xFFFE || ch == 0xFFFF;
}

/// Body text waiting for a formatting change. Its buffer only grows, so appending a run of
/// decoded bytes is one bounds check and a loop, and a run that cannot hold a surrogate is not
/// searched for one.
class TextRun {
public:
    /// A single-byte code page's characters, with 0 for those that cannot be stored.
    struct Table {
        std::array<char16_t, 256> chars {};
        bool asciiAsIs = false; ///< the bytes 0x20 to 0x7F are their own characters
        void set(const std::array<char16_t, 256>& decoded);
    };

    bool isEmpty() const { return m_size == 0; }
    QStringView text() const { return QStringView(m_buffer.constData(), m_size); }
    void clear()
    {
        m_size = 0;
        m_segmentStart = 0;
        m_maySurrogate = false;
    }

    void append(char16_t ch)
    {
        *room(1) = ch;
        ++m_size;
        m_maySurrogate = m_maySurrogate || QChar::isSurrogate(ch);
    }
    void append(QStringView text);
    /// Appends bytes through `table`, leaving out its zeros; with `withHex`, the bytes may hold
    /// well-formed \'hh escapes, each one byte.
    void appendBytes(QByteArrayView bytes, const Table& table, bool withHex);
    /// Ends a segment of the run (text of one formatting): a surrogate in it without its partner
    /// in it would make the text unencodable, and becomes U+FFFD.
    void closeSegment();

private:
    char16_t* room(qsizetype count);

    QString m_buffer; ///< its size is the room; m_size how much of it holds the run
    qsizetype m_size = 0;
    qsizetype m_segmentStart = 0;
    bool m_maySurrogate = false; ///< in the open segment
};

} // namespace struktur::rtf
