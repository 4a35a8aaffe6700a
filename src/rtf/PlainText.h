// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Sink.h"

#include <QString>

#include <unordered_map>

namespace struktur::rtf {

/// Collects the text as a reader sees it: paragraphs and cells end with a line break, list items
/// start with their label indented by level (four spaces a level), footnotes follow the body.
class PlainTextSink : public Sink {
public:
    void text(QStringView text, const CharProps&) override;
    void paragraphEnd(const ParaProps&, const ListInfo& list, const CharProps&) override;
    void footnote(QStringView text) override;

    QString take();

private:
    QString m_text;
    QString m_paragraph;
    QString m_footnotes;
    std::unordered_map<int64_t, int> m_nextNumbers; ///< of each list
};

} // namespace struktur::rtf
