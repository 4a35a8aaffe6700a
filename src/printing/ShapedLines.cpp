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
            const quint16 font = fontIndex(run.rawFont());
            // A run keeps one baseline; a glyph off it (a raised mark) starts another run.
            for (qsizetype g = 0; g < glyphs.size(); ++g) {
                const QPointF position = origin + positions[g];
                if (g == 0 || position.y() != m_runs.back().origin.y()) {
                    m_runs.push_back({ QPointF(origin.x(), position.y()), quint32(m_glyphs.size()), 0, font,
                        range.hasColour, range.colour });
                }
                Q_ASSERT_X(glyphs[g] <= 0xffff, "ShapedLines", "glyph index beyond a font's 16 bits");
                m_glyphs.push_back(quint16(glyphs[g]));
                m_x.push_back(float(positions[g].x()));
                ++m_runs.back().glyphCount;
            }
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
    bool penSet = false;
    QRgb penColour = 0;
    const auto flush = [&] {
        if (!current || glyphs.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(m_fonts[current->font]);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        const QRgb colour = current->hasColour ? current->colour : defaultColour;
        if (!penSet || colour != penColour) {
            painter.setPen(QColor::fromRgba(colour));
            penSet = true;
            penColour = colour;
        }
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
                positions.append(QPointF(run.origin.x() + qreal(m_x[g]), run.origin.y()));
            }
        }
    }
    flush();
}

void ShapedLines::reserve(qsizetype glyphs)
{
    m_glyphs.reserve(size_t(glyphs));
    m_x.reserve(size_t(glyphs));
}

void ShapedLines::clear()
{
    m_runs.clear();
    m_glyphs.clear();
    m_x.clear();
    m_fonts.clear();
    m_coloursBlock = -1;
    m_colours.clear();
}

} // namespace struktur
