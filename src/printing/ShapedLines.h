// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QRawFont>
#include <QRgb>
#include <QtGlobal>

#include <vector>

class QPainter;
class QTextBlock;
class QTextLine;

namespace struktur {

/// The glyphs of laid-out lines, kept after the layout's shaping is dropped, so that a page is
/// drawn from them without shaping its text again. Only plain text goes here: one solid colour
/// per character and no decoration, background, link or inline object (see canKeep()).
class ShapedLines {
public:
    /// The runs of one line: [begin, end) in the store.
    struct Span {
        quint32 begin = 0;
        quint32 end = 0;
    };

    /// True when every character of `block` is drawn by its glyphs alone in one colour: no
    /// underline, overline or strike-out, background, outline, raised or lowered text, link or
    /// inline object, and a solid or no text colour.
    static bool canKeep(const QTextBlock& block);

    /// Keeps the glyphs of `line` of `block`'s layout, whose lines are drawn from `origin`.
    Span keep(const QTextBlock& block, const QTextLine& line, QPointF origin);

    /// Draws the runs of `spans` in order. Runs of one font and colour that follow each other
    /// are drawn as one, so the page description gets one text object for them. `defaultColour`
    /// is for text without a colour of its own.
    void draw(QPainter& painter, const std::vector<Span>& spans, QRgb defaultColour) const;

    /// Makes room for about `glyphs` glyphs at once, instead of growing by doubling.
    void reserve(qsizetype glyphs);

    void clear();

private:
    struct Run {
        QPointF origin; // the baseline's left end; glyphs keep their distance from it
        quint32 firstGlyph;
        quint32 glyphCount;
        quint16 font;
        bool hasColour;
        QRgb colour;
    };
    struct ColourRange {
        int start;
        int end;
        bool hasColour;
        QRgb colour;
    };

    quint16 fontIndex(const QRawFont& font);
    void colourRanges(const QTextBlock& block);

    std::vector<Run> m_runs;
    // Each glyph's index and distance from its run's origin, exact in single precision for the
    // 1/64 pixel steps of the layout.
    std::vector<quint16> m_glyphs;
    std::vector<float> m_x;
    std::vector<QRawFont> m_fonts;
    // The colours of the block last kept, so that its lines do not look them up again.
    int m_coloursBlock = -1;
    std::vector<ColourRange> m_colours;
};

} // namespace struktur
