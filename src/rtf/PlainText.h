// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Sink.h"

#include <QString>

#include <functional>
#include <unordered_map>

namespace struktur::rtf {

/// Collects the text as a reader sees it: paragraphs and cells end with a line break, list items
/// start with their label indented by level (four spaces a level), footnotes follow the body.
/// The text goes to `write` in pieces of about `pieceSize` characters as it is read, so that a
/// caller that writes it out never holds all of it; finish() hands over the rest.
class PlainTextSink : public Sink {
public:
    using Writer = std::function<void(QStringView)>;
    static constexpr qsizetype kPieceSize = 64 * 1024;

    explicit PlainTextSink(Writer write, qsizetype pieceSize = kPieceSize);

    void text(QStringView text, const CharProps&) override;
    void paragraphEnd(const ParaProps&, const ListInfo& list, const CharProps&) override;
    void footnote(QStringView text, QByteArrayView group) override;

    /// Writes what is left: an unfinished last paragraph, then the footnotes.
    void finish();

private:
    Writer m_write;
    qsizetype m_pieceSize;
    QString m_text; ///< finished paragraphs not yet written, then the open paragraph
    qsizetype m_paragraphStart = 0; ///< where the open paragraph starts in m_text
    QString m_footnotes;
    std::unordered_map<int64_t, int> m_nextNumbers; ///< of each list
};

} // namespace struktur::rtf
