// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfBook.h"

#include "DocumentsAhead.h"
#include "PdfCanvas.h"
#include "RichTextFormatter.h"
#include "export/PdfOutline.h"
#include "platform/Error.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace struktur::publish {
namespace {

constexpr qreal twipsPerInch = 1440;
constexpr qreal pointsPerInch = 72;
constexpr int resolution = 1200;

QFont sansFont(qreal points, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

/// The heading size by level: the top level largest, from the fourth level on like body text.
QFont headingFont(int level)
{
    static constexpr qreal sizes[] = { 18, 15, 13, 12 };
    return sansFont(sizes[std::min(level, 3)], true);
}

/// Lays the book out page by page on one PDF writer. The contents pages' number is known before
/// any heading is placed (one line per entry), so the element pages are drawn first with their
/// final page numbers, the title and contents pages after them, and the outline update puts the
/// pages in reading order.
class BookWriter {
public:
    BookWriter(const Publication& publication, const QString& path, const Margins& margins)
        : m_publication(publication)
        , m_numbers(publication.headingNumbers())
        , m_writer(path, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()), resolution)
    {
        m_writer.setInformation(publication.name(), QStringLiteral("Strukturkonstruktøren"));
        const PrinterMetrics metrics { resolution, resolution, 0, 0, m_writer.width(), m_writer.height(),
            m_writer.width(), m_writer.height() };
        // An empty page rectangle would mean the whole sheet to the print formatter; here it is an error.
        const PageRect page = pageRectangle(metrics, margins, TRichTextMeasurements::rtmCentimetres);
        if (page.isEmpty() || page.left < 0 || page.top < 0 || page.right > metrics.paperWidth
            || page.bottom > metrics.paperHeight)
            throw Error(QStringLiteral("Margenerne efterlader ingen plads til tekst"));
        m_area = pageAreaInTwips(page, metrics);
        m_page = TwipsRect { 0, 0, qint32(m_writer.width() * twipsPerInch / resolution),
            qint32(m_writer.height() * twipsPerInch / resolution) };
        if (!m_painter.begin(&m_writer))
            throw Error::cannotCreateFile(path, QStringLiteral("PDF-filen kan ikke skrives"));
        m_tocLineHeight = QFontMetricsF(sansFont(11, false), &m_writer).height() * 1.25;
        const qreal tocHeight = pixels(m_area.bottom - m_area.top) - headingHeight(QStringLiteral("Indhold"), 0);
        const qsizetype linesFirst = std::max<qsizetype>(1, qsizetype(tocHeight / m_tocLineHeight));
        const qsizetype linesOther
            = std::max<qsizetype>(1, qsizetype(pixels(m_area.bottom - m_area.top) / m_tocLineHeight));
        const qsizetype entries = qsizetype(publication.elements().size());
        m_tocLines = { linesFirst, linesOther };
        m_tocPages = entries <= linesFirst ? 1 : 1 + int((entries - linesFirst + linesOther - 1) / linesOther);
        m_pageNumber = 2 + m_tocPages;
        m_y = m_area.top;
    }

    const QPaintDevice& device() const { return m_writer; }
    const TwipsRect& bodyArea() const { return m_area; }

    void writeElements(const Progress& progress, DocumentsAhead& ahead)
    {
        const auto& elements = m_publication.elements();
        const qsizetype total = qsizetype(elements.size());
        m_headingPages.reserve(size_t(total));
        QTextDocument document;
        for (qsizetype i = 0; i < total; ++i) {
            const Element& element = *elements[size_t(i)];
            heading(element, m_numbers[i]);
            const DocumentsAhead::Handle laidOut = ahead.next();
            if (laidOut->drawable) {
                body(*laidOut->formatter);
            } else if (laidOut->loaded && m_publication.loadDocument(element, document)) {
                RichTextFormatter formatter(document, RichTextFormatter::InPlace::Yes);
                body(formatter);
            }
            m_y += qint32(twipsPerInch / 6);
            if (progress && !progress(i + 1, total))
                throw Cancelled {};
        }
        footer();
    }

    void writeFront()
    {
        m_writer.newPage();
        // Title page.
        m_painter.setFont(sansFont(28, true));
        m_painter.setPen(Qt::black);
        const QRectF area = toPixels(m_area);
        m_painter.drawText(QRectF(area.left(), area.top(), area.width(), area.height() * 0.6),
            Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap, m_publication.name());
        // Contents pages.
        const qsizetype total = qsizetype(m_publication.elements().size());
        qsizetype entry = 0;
        for (int page = 0; page < m_tocPages; ++page) {
            m_writer.newPage();
            qreal y = area.top();
            if (page == 0) {
                const qreal height = headingHeight(QStringLiteral("Indhold"), 0);
                m_painter.setFont(headingFont(0));
                m_painter.drawText(QRectF(area.left(), y, area.width(), height), Qt::AlignLeft | Qt::TextWordWrap,
                    QStringLiteral("Indhold"));
                y += height;
            }
            const qsizetype lines = page == 0 ? m_tocLines.first : m_tocLines.second;
            m_painter.setFont(sansFont(11, false));
            const QFontMetricsF metrics(m_painter.font(), &m_writer);
            for (qsizetype line = 0; line < lines && entry < total; ++line, ++entry) {
                const Element& element = *m_publication.elements()[size_t(entry)];
                const qreal indent = std::min(element.level(), 8) * metrics.horizontalAdvance(QStringLiteral("MM"));
                const QString number = QString::number(m_headingPages[size_t(entry)] + 1);
                const qreal numberWidth = metrics.horizontalAdvance(number);
                const qreal textWidth
                    = area.width() - indent - numberWidth - metrics.horizontalAdvance(QStringLiteral("MMM"));
                const QString text = metrics.elidedText(m_numbers[entry] + QStringLiteral("  ") + element.text,
                    Qt::ElideRight, std::max<qreal>(textWidth, 0));
                const QRectF row(area.left() + indent, y, area.width() - indent, m_tocLineHeight);
                m_painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, text);
                m_painter.drawText(row, Qt::AlignRight | Qt::AlignVCenter, number);
                y += m_tocLineHeight;
            }
            footer(page + 2);
        }
        m_painter.end();
    }

    /// The outline's entries and the page order that puts the front pages first.
    std::vector<OutlineEntry> outline() const
    {
        std::vector<OutlineEntry> entries;
        const auto& elements = m_publication.elements();
        entries.reserve(elements.size());
        const qreal pageHeight = m_page.bottom / twipsPerInch * pointsPerInch;
        for (size_t i = 0; i < elements.size(); ++i) {
            const Element* parent = elements[i]->parent();
            entries.push_back({ m_numbers[qsizetype(i)] + QLatin1Char(' ') + elements[i]->text,
                parent->parent() ? m_publication.indexOf(parent) : -1, m_headingPages[i],
                pageHeight - m_headingTops[i] / twipsPerInch * pointsPerInch });
        }
        return entries;
    }

    std::vector<int> pageOrder() const
    {
        const int content = m_pageNumber - 1 - m_tocPages;
        const int front = 1 + m_tocPages;
        std::vector<int> order;
        for (int i = 0; i < front; ++i)
            order.push_back(content + i);
        for (int i = 0; i < content; ++i)
            order.push_back(i);
        return order;
    }

private:
    qreal pixels(qint32 twips) const { return twips * resolution / twipsPerInch; }
    qint32 twips(qreal pixels) const { return qint32(std::ceil(pixels * twipsPerInch / resolution)); }
    QRectF toPixels(const TwipsRect& r) const
    {
        return QRectF(QPointF(pixels(r.left), pixels(r.top)), QPointF(pixels(r.right), pixels(r.bottom)));
    }

    qreal headingHeight(const QString& text, int level)
    {
        const QFontMetricsF& metrics = headingMetrics(level);
        const QRectF bounds = metrics.boundingRect(
            QRectF(0, 0, pixels(m_area.right - m_area.left), 1e9), Qt::AlignLeft | Qt::TextWordWrap, text);
        return bounds.height() + metrics.height() * 0.5;
    }

    // The heading fonts' metrics on the writer, made once for the thousands of headings.
    const QFontMetricsF& headingMetrics(int level)
    {
        const size_t index = size_t(std::min(level, 3));
        if (!m_headingMetrics[index])
            m_headingMetrics[index].emplace(headingFont(level), &m_writer);
        return *m_headingMetrics[index];
    }

    void newPage()
    {
        footer();
        m_writer.newPage();
        ++m_pageNumber;
        m_y = m_area.top;
    }

    void footer(int number = 0)
    {
        m_painter.setFont(sansFont(9, false));
        m_painter.setPen(Qt::black);
        const qreal top = pixels(m_area.bottom);
        const QRectF strip(pixels(m_area.left), top, pixels(m_area.right - m_area.left), pixels(m_page.bottom) - top);
        m_painter.drawText(strip, Qt::AlignHCenter | Qt::AlignVCenter, QString::number(number ? number : m_pageNumber));
    }

    void heading(const Element& element, const QString& number)
    {
        const int level = element.level();
        const QString text = number + QStringLiteral("  ") + element.text;
        const qint32 height = twips(headingHeight(text, level));
        // A heading stays with at least a few lines of its text.
        const qint32 keep = qint32(twipsPerInch * 0.6);
        if (m_y > m_area.top && m_y + height + keep > m_area.bottom)
            newPage();
        m_headingPages.push_back(m_pageNumber - 1);
        m_headingTops.push_back(m_y);
        m_painter.setFont(headingFont(level));
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(pixels(m_area.left), pixels(m_y), pixels(m_area.right - m_area.left), pixels(height)),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        m_y = std::min(m_y + height, m_area.bottom);
    }

    void body(RichTextFormatter& formatter)
    {
        const qint32 length = formatter.textLength();
        qint32 position = 0;
        while (position < length) {
            if (m_y >= m_area.bottom)
                newPage();
            FormatRange range;
            range.hdc = &m_painter;
            range.rc = TwipsRect { m_area.left, m_y, m_area.right, m_area.bottom };
            range.rcPage = m_page;
            range.cpMin = position;
            const qint32 next = formatter.formatRange(range, true);
            if (next < 0)
                break;
            if (next == position) {
                // Not even one line fits below the heading or the text before.
                if (m_y == m_area.top)
                    break;
                newPage();
                continue;
            }
            position = next;
            m_y = range.rc.bottom;
            if (position < length)
                newPage();
        }
    }

    const Publication& m_publication;
    QStringList m_numbers;
    PdfCanvas m_writer;
    QPainter m_painter;
    TwipsRect m_area;
    TwipsRect m_page;
    qint32 m_y = 0;
    int m_pageNumber = 1;
    int m_tocPages = 1;
    std::pair<qsizetype, qsizetype> m_tocLines;
    qreal m_tocLineHeight = 0;
    std::vector<int> m_headingPages;
    std::vector<qint32> m_headingTops;
    std::array<std::optional<QFontMetricsF>, 4> m_headingMetrics;
};

} // namespace

Margins defaultBookMargins() { return { 2.5L, 1, 2, 1.5L }; }

void writeBook(const Publication& publication, const QString& path, const Margins& margins, const Progress& progress)
{
    std::vector<OutlineEntry> outline;
    std::vector<int> order;
    {
        // Declared first, so that it outlives the book's painter: the pages may use its fonts.
        std::optional<DocumentsAhead> ahead;
        BookWriter book(publication, path, margins);
        ahead.emplace(publication, book.device(), book.bodyArea());
        book.writeElements(progress, *ahead);
        book.writeFront();
        outline = book.outline();
        order = book.pageOrder();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        throw Error::cannotOpenFile(path, file.errorString());
    const QByteArray written = file.readAll();
    const QByteArray update = addOutline(written, outline, order).mid(written.size());
    if (!file.seek(written.size()) || file.write(update) != update.size() || !file.flush())
        throw Error::cannotCreateFile(path, file.errorString());
}

void exportBook(const Publication& publication, const QString& target, Replace replace, const Margins& margins,
    const Progress& progress)
{
    StagedTarget staged(target, StagedTarget::Kind::File, replace);
    writeBook(publication, staged.path(), margins, progress);
    staged.commit();
}

} // namespace struktur::publish
