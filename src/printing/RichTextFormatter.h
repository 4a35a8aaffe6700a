// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PageGeometry.h"
#include "ShapedLines.h"

#include <QtGlobal>

#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;
class QRectF;
class QTextDocument;

namespace struktur {

/// One request to lay a document out on a page: where to draw, the area to fill and the range of
/// character positions still to print.
struct FormatRange {
    QPainter* hdc = nullptr; ///< the page being printed; its device is also the layout's target
    TwipsRect rc; ///< the area to fill, in twips, relative to the printable area
    TwipsRect rcPage; ///< the whole page area, in twips
    qint32 cpMin = 0; ///< first position to print
    qint32 cpMax = -1; ///< end of the range; -1 is the end of the text
};

/// Lays a document out for a printer and renders it one page area at a time. The layout is made
/// at the device's resolution for the width of the area and kept until freeCache() or until a
/// request with another resolution or width comes. Plain paragraphs are shaped once, while they are
/// laid out, and drawn from the glyphs kept then (see ShapedLines).
///
/// A line is never cut between two areas: an area ends above the first line that does not fit
/// whole, and the next request starting at that line's position continues there (also inside a
/// paragraph). Only a line taller than the whole area is cut at the area's bottom edge, so that
/// every page makes progress.
class RichTextFormatter {
public:
    /// Lays out a copy of `document`, so that its own layout (an editor's) stays as it is.
    explicit RichTextFormatter(const QTextDocument& document);
    /// Lays out `document` itself, for a document that exists to be printed: its layout is left
    /// as the printer's, and the copy, about a sixth of printing a long document, is saved.
    enum class InPlace { Yes };
    RichTextFormatter(QTextDocument& document, InPlace);
    ~RichTextFormatter();
    RichTextFormatter(const RichTextFormatter&) = delete;
    RichTextFormatter& operator=(const RichTextFormatter&) = delete;

    /// The document's length in characters, the paragraph marks between paragraphs included.
    qint32 textLength() const;

    /// Fits as much of the text from `range.cpMin` as the area takes, draws it on `range.hdc` when
    /// `render` is true, and returns the first position that did not fit (the text length when
    /// everything did). Returns -1 when the request cannot be met: no open page, an area without
    /// width or height, or a start outside the text. Narrows `range.rc` to the height it used: down to
    /// the next line's top, or to the last line's bottom when the rest of the text fit.
    qint32 formatRange(FormatRange& range, bool render);

    /// Makes the layout formatRange() would make for pages of `area`'s width on a device of
    /// `device`'s resolution, ahead of drawing (also on another thread than the one drawing).
    void layOut(QPaintDevice& device, const TwipsRect& area);

    /// True when the layout draws every line from glyphs it kept, so that drawing needs neither
    /// the document's own drawing nor shaping (see ShapedLines); false without a layout.
    bool drawsFromGlyphsOnly() const;

    /// Drops the cached layout.
    void freeCache();

private:
    struct Line {
        qint32 position;
        int lineInBlock;
        qreal top;
        qreal bottom;
        bool shaped; ///< its glyphs are in the layout's ShapedLines
        ShapedLines::Span glyphs;
    };
    struct Layout;

    void ensureLayout(QPaintDevice* device, qreal width);
    qsizetype lineAt(qint32 position) const;
    void draw(QPainter& painter, const QRectF& area, qsizetype first, qsizetype next, qreal top, qreal bottom) const;
    /// Draws lines [first, end) of plain paragraphs: from kept glyphs, or by their paragraph's layout.
    void drawLines(QPainter& painter, qsizetype first, qsizetype end, const QRectF& clip, qreal bottom) const;

    const QTextDocument& m_source;
    QTextDocument* m_inPlace = nullptr;
    std::unique_ptr<Layout> m_layout;
};

} // namespace struktur
