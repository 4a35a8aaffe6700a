// SPDX-License-Identifier: GPL-3.0-or-later
#include "RichTextFormatter.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace struktur {
namespace {

constexpr qreal twipsPerInch = 1440;
// Layout coordinates are fixed-point underneath; lines that end within this much of an edge fit.
constexpr qreal tolerance = 0.01;
constexpr qreal edgeInset = 0.5;
constexpr QRgb defaultColour = 0xff000000;



QRectF toDevicePixels(const TwipsRect& rect, const QPaintDevice& device)
{
    const qreal x = device.logicalDpiX() / twipsPerInch;
    const qreal y = device.logicalDpiY() / twipsPerInch;
    return QRectF(QPointF(rect.left * x, rect.top * y), QPointF(rect.right * x, rect.bottom * y));
}

// Paragraphs the page can draw line by line: plain ones in the main flow, without the list
// bullets, backgrounds and rules that only the document's own drawing paints.
bool isPlainParagraph(const QTextDocument& document, const QTextBlock& block)
{
    const QTextBlockFormat format = block.blockFormat();
    return document.frameAt(block.position()) == document.rootFrame() && !block.textList()
        && format.background().style() == Qt::NoBrush
        && !format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
}

// Drops the shaping a layout kept for its lines, leaving the lines as they are: drawing a layout
// that keeps no cache lets go of it, and a clip above the first line draws nothing.
void dropShaping(QTextLayout& layout)
{
    layout.setCacheEnabled(false);
    QPainter idle;
    layout.draw(&idle, -layout.position(), {}, QRectF(0, -1000, 1, 1));
}

} // namespace

struct RichTextFormatter::Layout {
    std::unique_ptr<QTextDocument> copy;
    QTextDocument* document = nullptr; // the copy, or the source laid out in place
    QPaintDevice* device = nullptr;
    int dpiX = 0;
    int dpiY = 0;
    qreal width = 0;
    std::vector<Line> lines;
    ShapedLines glyphs;
};

RichTextFormatter::RichTextFormatter(const QTextDocument& document)
    : m_source(document)
{
}

RichTextFormatter::RichTextFormatter(QTextDocument& document, InPlace)
    : m_source(document)
    , m_inPlace(&document)
{
}

RichTextFormatter::~RichTextFormatter()
{
    // The document outlives the job whose device its layout names.
    if (m_inPlace && m_layout)
        m_inPlace->documentLayout()->setPaintDevice(nullptr);
}

qint32 RichTextFormatter::textLength() const { return qMax(0, m_source.characterCount() - 1); }

void RichTextFormatter::freeCache()
{
    if (m_inPlace && m_layout)
        m_inPlace->documentLayout()->setPaintDevice(nullptr);
    m_layout.reset();
}

void RichTextFormatter::layOut(QPaintDevice& device, const TwipsRect& area)
{
    ensureLayout(&device, toDevicePixels(area, device).width());
}

bool RichTextFormatter::drawsFromGlyphsOnly() const
{
    return m_layout && std::all_of(m_layout->lines.begin(), m_layout->lines.end(), [](const Line& line) {
        return line.shaped;
    });
}

void RichTextFormatter::ensureLayout(QPaintDevice* device, qreal width)
{
    if (m_layout && m_layout->dpiX == device->logicalDpiX() && m_layout->dpiY == device->logicalDpiY()
        && qFuzzyCompare(m_layout->width, width)) {
        // The layout depends on the device's resolution alone; the paragraphs drawn by their own
        // layout find their fonts through the device they are drawn on.
        if (m_layout->device != device) {
            m_layout->device = device;
            m_layout->document->documentLayout()->setPaintDevice(device);
        }
        return;
    }
    auto layout = std::make_unique<Layout>();
    layout->device = device;
    layout->dpiX = device->logicalDpiX();
    layout->dpiY = device->logicalDpiY();
    layout->width = width;
    // A copy, so that laying out for the printer leaves the editor's own layout alone.
    if (!m_inPlace)
        layout->copy.reset(m_source.clone());
    layout->document = m_inPlace ? m_inPlace : layout->copy.get();
    QTextDocument& document = *layout->document;
    // The copy has the source's page size. A null one (not an invalid one, which means no width
    // limit) lays nothing out, so that neither the settings below nor making the document's
    // layout lay the whole document out: that is done once, when the width is set.
    document.setPageSize(QSizeF(0, 0));
    document.setDocumentMargin(0);
    document.documentLayout()->setPaintDevice(device);
    // The paragraphs whose glyphs are kept hold on to their shaping through the layout, so that
    // their text is shaped once; each lets go of it as soon as its glyphs are taken.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (isPlainParagraph(document, block) && ShapedLines::canKeep(block))
            block.layout()->setCacheEnabled(true);
    }
    layout->glyphs.reserve(document.characterCount());
    document.setTextWidth(width);
    QAbstractTextDocumentLayout& documentLayout = *document.documentLayout();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextLayout* textLayout = block.layout();
        if (!textLayout || !block.isVisible())
            continue;
        const QPointF origin = documentLayout.blockBoundingRect(block).topLeft();
        const bool shaped = textLayout->cacheEnabled();
        for (int i = 0; i < textLayout->lineCount(); ++i) {
            const QTextLine line = textLayout->lineAt(i);
            const qreal top = origin.y() + line.y();
            const ShapedLines::Span glyphs = shaped ? layout->glyphs.keep(block, line, origin) : ShapedLines::Span {};
            layout->lines.push_back(
                { qint32(block.position() + line.textStart()), i, top, top + line.height(), shaped, glyphs });
        }
        if (shaped)
            dropShaping(*textLayout);
    }
    m_layout = std::move(layout);
}

qsizetype RichTextFormatter::lineAt(qint32 position) const
{
    const auto& lines = m_layout->lines;
    const auto after = std::upper_bound(
        lines.begin(), lines.end(), position, [](qint32 p, const Line& line) { return p < line.position; });
    return after == lines.begin() ? 0 : (after - lines.begin()) - 1;
}

// Draws the lines of a paragraph from `firstLine` down to `bottom`. A paragraph's own drawing
// would also draw the line just above its clip (hidden by the clip on paper, but its text would
// still be in the page's content), so a paragraph that began on an earlier page goes line by line.
static void drawLinesFrom(QPainter& painter, QTextLayout& textLayout, QPointF origin, int firstLine, qreal bottom)
{
    // Keeps the shaped text between the lines, which would otherwise be shaped anew for each one.
    textLayout.setCacheEnabled(true);
    for (int i = firstLine; i < textLayout.lineCount(); ++i) {
        const QTextLine line = textLayout.lineAt(i);
        if (origin.y() + line.y() >= bottom - tolerance)
            break;
        line.draw(&painter, origin);
    }
    textLayout.setCacheEnabled(false);
}

void RichTextFormatter::drawLines(
    QPainter& painter, qsizetype first, qsizetype end, const QRectF& clip, qreal bottom) const
{
    QTextDocument& document = *m_layout->document;
    QAbstractTextDocumentLayout& documentLayout = *document.documentLayout();
    const auto& lines = m_layout->lines;
    std::vector<ShapedLines::Span> shaped;
    for (qsizetype i = first; i < end; ++i) {
        const Line& line = lines[size_t(i)];
        if (line.shaped) {
            shaped.push_back(line.glyphs);
            continue;
        }
        if (i > first && line.lineInBlock > 0)
            continue; // the rest of a paragraph drawn by its layout
        m_layout->glyphs.draw(painter, shaped, defaultColour);
        shaped.clear();
        const QTextBlock block = document.findBlock(line.position);
        QTextLayout& textLayout = *block.layout();
        const QPointF origin = documentLayout.blockBoundingRect(block).topLeft();
        if (line.lineInBlock > 0)
            drawLinesFrom(painter, textLayout, origin, line.lineInBlock, bottom);
        else
            textLayout.draw(&painter, origin - textLayout.position(), {}, clip);
    }
    m_layout->glyphs.draw(painter, shaped, defaultColour);
}

void RichTextFormatter::draw(QPainter& painter, const QRectF& area, qsizetype first, qsizetype next, qreal top,
    qreal bottom) const
{
    QTextDocument& document = *m_layout->document;
    QAbstractTextDocumentLayout& documentLayout = *document.documentLayout();
    const auto& lines = m_layout->lines;
    const QTextBlock firstBlock = document.findBlock(lines[first].position);
    const QTextBlock lastBlock = document.findBlock(lines[qMax(first, next - 1)].position);
    bool plain = true;
    for (QTextBlock block = firstBlock; plain && block.isValid(); block = block.next()) {
        plain = isPlainParagraph(document, block);
        if (block == lastBlock)
            break;
    }

    painter.save();
    painter.translate(area.left(), area.top() - top);
    painter.setClipRect(QRectF(0, top, area.width(), bottom - top), Qt::IntersectClip);
    painter.setPen(Qt::black);
    const QRectF clip = QRectF(0, top, area.width(), bottom - top).adjusted(0, edgeInset, 0, -edgeInset);
    if (plain) {
        // A line taller than the whole area is drawn too, cut at the bottom edge.
        drawLines(painter, first, qMax(next, qMin(first + 1, qsizetype(lines.size()))), clip, bottom);
    } else {
        qreal flowTop = top;
        if (lines[size_t(first)].lineInBlock > 0 && isPlainParagraph(document, firstBlock)) {
            // The document's own drawing would also draw the line above the page of a paragraph
            // begun on an earlier page (hidden by the clip on paper, but kept in the page's text).
            qsizetype rest = first + 1;
            while (rest < next && lines[size_t(rest)].lineInBlock > 0)
                ++rest;
            drawLines(painter, first, rest, clip, bottom);
            flowTop = rest < next ? lines[size_t(rest)].top : bottom;
        }
        // The document's own drawing, for tables, lists and the like. It draws every line that
        // touches its clip, so the clip is kept off the neighbours above and below.
        if (flowTop < bottom) {
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = QRectF(0, flowTop, area.width(), bottom - flowTop).adjusted(0, edgeInset, 0, -edgeInset);
            context.palette.setColor(QPalette::Text, Qt::black);
            documentLayout.draw(&painter, context);
        }
    }
    painter.restore();
}

qint32 RichTextFormatter::formatRange(FormatRange& range, bool render)
{
    const qint32 length = textLength();
    if (!range.hdc || !range.hdc->isActive() || range.cpMin < 0 || range.cpMin > length)
        return -1;
    QPaintDevice* device = range.hdc->device();
    const QRectF area = toDevicePixels(range.rc, *device);
    if (area.width() <= 0 || area.height() <= 0)
        return -1;
    const qint32 end = range.cpMax < 0 ? length : qMin(range.cpMax, length);
    if (range.cpMin >= end)
        return end;
    ensureLayout(device, area.width());

    const auto& lines = m_layout->lines;
    const qsizetype first = lineAt(range.cpMin);
    const qreal top = lines[first].top;
    const qreal limit = top + area.height();
    qsizetype next = first;
    while (next < qsizetype(lines.size()) && lines[next].position < end && lines[next].bottom <= limit + tolerance)
        ++next;

    qint32 notRendered = end;
    qreal bottom = limit;
    if (next == first) {
        // A line taller than the whole area: it gets the area to itself and is cut at its bottom.
        notRendered = first + 1 < qsizetype(lines.size()) ? qMin(lines[first + 1].position, end) : end;
    } else if (next < qsizetype(lines.size()) && lines[next].position < end) {
        notRendered = lines[next].position;
        bottom = qBound(top, lines[next].top, limit);
    }

    if (render)
        draw(*range.hdc, area, first, next, top, bottom);
    // When the rest of the text fit, what it used ends below its last line, so that more can follow.
    const qreal used = notRendered == end && next > first ? qMin(lines[next - 1].bottom, bottom) : bottom;
    range.rc.bottom = range.rc.top + qint32((used - top) * twipsPerInch / device->logicalDpiY());
    return notRendered;
}

} // namespace struktur
