// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShapedLines.h"

#include <QGlyphRun>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

namespace struktur {
namespace {

bool drawnByGlyphsAlone(const QTextCharFormat& format)
{
    const Qt::BrushStyle colour = format.foreground().style();
    return format.objectType() == QTextFormat::NoObject && !format.isAnchor()
        && format.underlineStyle() == QTextCharFormat::NoUnderline && !format.fontOverline()
        && !format.fontStrikeOut() && format.verticalAlignment() == QTextCharFormat::AlignNormal
        && format.background().style() == Qt::NoBrush && !format.hasProperty(QTextFormat::TextOutline)
        && (colour == Qt::NoBrush || colour == Qt::SolidPattern);
}

} // namespace

bool ShapedLines::canKeep(const QTextBlock& block)
{
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        if (!drawnByGlyphsAlone(it.fragment().charFormat()))
            return false;
    }
    return true;
}

void ShapedLines::colourRanges(const QTextBlock& block)
{
    m_colours.clear();
    const int blockStart = block.position();
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QBrush brush = fragment.charFormat().foreground();
        const bool hasColour = brush.style() != Qt::NoBrush;
        const QRgb colour = hasColour ? brush.color().rgba() : 0;
        const int start = fragment.position() - blockStart;
        const int end = start + fragment.length();
        if (!m_colours.empty() && m_colours.back().hasColour == hasColour && m_colours.back().colour == colour)
            m_colours.back().end = end;
        else
            m_colours.push_back({ start, end, hasColour, colour });
    }
    if (m_colours.empty())
        m_colours.push_back({ 0, block.length(), false, 0 });
}

quint16 ShapedLines::fontIndex(const QRawFont& font)
{
    for (size_t i = m_fonts.size(); i-- > 0;) {
        if (m_fonts[i] == font)
            return quint16(i);
    }
    Q_ASSERT_X(m_fonts.size() < 0xffff, "ShapedLines", "more fonts than a run can name");
    m_fonts.push_back(font);
    return quint16(m_fonts.size() - 1);
}

ShapedLines::Span ShapedLines::keep(const QTextBlock& block, const QTextLine& line, QPointF origin)
{
    if (m_coloursBlock != block.blockNumber()) {
        colourRanges(block);
        m_coloursBlock = block.blockNumber();
    }
    Span span { quint32(m_runs.size()), quint32(m_runs.size()) };
    // Positions are kept from the line's top, where single precision is exact enough.
    const qreal lineTop = line.y();
    origin.ry() += lineTop;
    const int lineStart = line.textStart();
    const int lineEnd = lineStart + line.textLength();
    for (const ColourRange& range : m_colours) {
        const int from = qMax(range.start, lineStart);
        const int to = qMin(range.end, lineEnd);
        if (from >= to)
            continue;
        const QList<QGlyphRun> runs = range.start <= lineStart && range.end >= lineEnd
            ? line.glyphRuns()
            : line.glyphRuns(from, to - from);
        for (const QGlyphRun& run : runs) {
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            Run kept { origin, quint32(m_glyphs.size()), quint32(glyphs.size()), fontIndex(run.rawFont()),
                range.hasColour, range.colour };
            m_glyphs.insert(m_glyphs.end(), glyphs.begin(), glyphs.end());
            for (const QPointF& position : positions) {
                m_positions.push_back(float(position.x()));
                m_positions.push_back(float(position.y() - lineTop));
            }
            m_runs.push_back(kept);
        }
    }
    span.end = quint32(m_runs.size());
    return span;
}

void ShapedLines::draw(QPainter& painter, const std::vector<Span>& spans, QRgb defaultColour) const
{
    QList<quint32> glyphs;
    QList<QPointF> positions;
    const Run* current = nullptr;
    const auto flush = [&] {
        if (!current || glyphs.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(m_fonts[current->font]);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.setPen(QColor::fromRgba(current->hasColour ? current->colour : defaultColour));
        painter.drawGlyphRun(QPointF(), run);
        glyphs.clear();
        positions.clear();
    };
    for (const Span& span : spans) {
        for (quint32 r = span.begin; r < span.end; ++r) {
            const Run& run = m_runs[r];
            if (current
                && (run.font != current->font || run.hasColour != current->hasColour || run.colour != current->colour))
                flush();
            current = &run;
            for (quint32 g = run.firstGlyph; g < run.firstGlyph + run.glyphCount; ++g) {
                glyphs.append(m_glyphs[g]);
                positions.append(run.origin + QPointF(m_positions[2 * g], m_positions[2 * g + 1]));
            }
        }
    }
    flush();
}

void ShapedLines::clear()
{
    m_runs.clear();
    m_glyphs.clear();
    m_positions.clear();
    m_fonts.clear();
    m_coloursBlock = -1;
    m_colours.clear();
}

} // namespace struktur
