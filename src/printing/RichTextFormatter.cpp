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

QRectF toDevicePixels(const TwipsRect& rect, const QPaintDevice& device)
{
    const qreal x = device.logicalDpiX() / twipsPerInch;
    const qreal y = device.logicalDpiY() / twipsPerInch;
    return QRectF(QPointF(rect.left * x, rect.top * y), QPointF(rect.right * x, rect.bottom * y));
}

} // namespace

struct RichTextFormatter::Layout {
    std::unique_ptr<QTextDocument> document;
    QPaintDevice* device = nullptr;
    qreal width = 0;
    std::vector<Line> lines;
};

RichTextFormatter::RichTextFormatter(const QTextDocument& document)
    : m_source(document)
{
}

RichTextFormatter::~RichTextFormatter() = default;

qint32 RichTextFormatter::textLength() const { return qMax(0, m_source.characterCount() - 1); }

void RichTextFormatter::freeCache() { m_layout.reset(); }

void RichTextFormatter::ensureLayout(QPaintDevice* device, qreal width)
{
    if (m_layout && m_layout->device == device && qFuzzyCompare(m_layout->width, width))
        return;
    auto layout = std::make_unique<Layout>();
    layout->device = device;
    layout->width = width;
    // A copy, so that laying out for the printer leaves the editor's own layout alone.
    layout->document.reset(m_source.clone());
    QTextDocument& document = *layout->document;
    document.documentLayout()->setPaintDevice(device);
    document.setDocumentMargin(0);
    document.setTextWidth(width);
    QAbstractTextDocumentLayout& documentLayout = *document.documentLayout();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* textLayout = block.layout();
        if (!textLayout || !block.isVisible())
            continue;
        const QRectF blockRect = documentLayout.blockBoundingRect(block);
        const qreal origin = blockRect.top() - textLayout->boundingRect().top();
        for (int i = 0; i < textLayout->lineCount(); ++i) {
            const QTextLine line = textLayout->lineAt(i);
            const qreal top = origin + line.y();
            layout->lines.push_back({ qint32(block.position() + line.textStart()), i, top, top + line.height() });
        }
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

void RichTextFormatter::draw(QPainter& painter, const QRectF& area, qsizetype first, qreal top, qreal bottom) const
{
    QTextDocument& document = *m_layout->document;
    QAbstractTextDocumentLayout& documentLayout = *document.documentLayout();
    painter.save();
    painter.translate(area.left(), area.top() - top);
    const QRectF page(0, top, area.width(), bottom - top);
    painter.setClipRect(page, Qt::IntersectClip);
    painter.setPen(Qt::black);

    // The document's own drawing also draws the line just above its clip within a paragraph (hidden
    // by the clip on paper, but its text would still be in the page's content). So the lines of a
    // paragraph that began on an earlier page are drawn here one by one, and the document draws
    // from the next paragraph on. Paragraphs inside tables are left to the document.
    qreal clipTop = top;
    const Line& firstLine = m_layout->lines[first];
    const QTextBlock block = document.findBlock(firstLine.position);
    if (firstLine.lineInBlock > 0 && document.frameAt(block.position()) == document.rootFrame()) {
        const QTextLayout& textLayout = *block.layout();
        const QPointF origin = documentLayout.blockBoundingRect(block).topLeft() - textLayout.boundingRect().topLeft();
        for (int i = firstLine.lineInBlock; i < textLayout.lineCount(); ++i) {
            const QTextLine line = textLayout.lineAt(i);
            if (origin.y() + line.y() >= bottom - tolerance)
                break;
            line.draw(&painter, origin);
        }
        clipTop = qMax(top, origin.y() + textLayout.boundingRect().bottom());
    }

    if (clipTop < bottom) {
        QAbstractTextDocumentLayout::PaintContext context;
        // The document draws every paragraph that touches its clip; keep the neighbours above and
        // below out, or their text would be in the page's content even where it is clipped away.
        context.clip = QRectF(0, clipTop, area.width(), bottom - clipTop).adjusted(0, edgeInset, 0, -edgeInset);
        context.palette.setColor(QPalette::Text, Qt::black);
        documentLayout.draw(&painter, context);
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
        draw(*range.hdc, area, first, top, bottom);
    range.rc.bottom = range.rc.top + qint32((bottom - top) * twipsPerInch / device->logicalDpiY());
    return notRendered;
}

} // namespace struktur
