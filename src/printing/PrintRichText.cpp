// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintRichText.h"

#include "Printer.h"
#include "RichTextFormatter.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTextEdit>

#include <utility>

Q_DECLARE_METATYPE(struktur::PageRect)

namespace struktur {
namespace {

constexpr char pageRectProperty[] = "struktur_pageRect";

QList<qint32> renderPages(QPainter& canvas, const PrinterMetrics& metrics, const PageRect& page,
    RichTextFormatter& formatter, const std::function<void()>& newPage)
{
    FormatRange range;
    range.hdc = &canvas;
    range.rc = pageAreaInTwips(page, metrics);
    range.rcPage = range.rc;
    const TwipsRect area = range.rc;
    const qint32 textLength = formatter.textLength();
    range.cpMax = -1;
    formatter.freeCache();
    qint32 last = 0;
    QList<qint32> pageStarts { 0 };
    for (;;) {
        range.rc = area; // the formatter narrows it to what it used
        range.cpMin = last;
        last = formatter.formatRange(range, true);
        if (last == -1 || last >= textLength)
            break;
        newPage();
        pageStarts.append(last);
    }
    return pageStarts;
}

void printJob(Printer& printer, RichTextFormatter& formatter, const PageRect& page, const QString& caption)
{
    printer.setTitle(caption);
    printer.beginDoc();
    try {
        renderPages(printer.canvas(), printer.metrics(), page, formatter, [&printer] { printer.newPage(); });
        printer.endDoc();
    } catch (...) {
        printer.abort();
        throw;
    }
}

} // namespace

PageRect pageRect(const QTextEdit& edit)
{
    const QVariant value = edit.property(pageRectProperty);
    return value.isValid() ? value.value<PageRect>() : PageRect {};
}

void setPageRect(QTextEdit& edit, const PageRect& rect)
{
    edit.setProperty(pageRectProperty, QVariant::fromValue(rect));
}

QList<qint32> renderPages(QPainter& canvas, const PrinterMetrics& metrics, const PageRect& page,
    const QTextDocument& document, const std::function<void()>& newPage)
{
    RichTextFormatter formatter(document);
    return renderPages(canvas, metrics, page, formatter, newPage);
}

void printDocument(Printer& printer, QTextEdit& edit, const QString& caption)
{
    RichTextFormatter formatter(*std::as_const(edit).document());
    printJob(printer, formatter, pageRect(edit), caption);
}

void printDocument(Printer& printer, QTextDocument& document, const PageRect& page, const QString& caption)
{
    RichTextFormatter formatter(document, RichTextFormatter::InPlace::Yes);
    printJob(printer, formatter, page, caption);
}

bool PrintRichText(QTextEdit* Edit, long double RTLeftMargin, long double RTRightMargin, long double RTTopMargin,
    long double RTBottomMargin, TRichTextMeasurements RichTextMeasurement, qint32 Copies)
{
    return PrintRichText(Printer::defaultPrinter(), Edit, RTLeftMargin, RTRightMargin, RTTopMargin, RTBottomMargin,
        RichTextMeasurement, Copies);
}

bool PrintRichText(Printer& printer, QTextEdit* Edit, long double RTLeftMargin, long double RTRightMargin,
    long double RTTopMargin, long double RTBottomMargin, TRichTextMeasurements RichTextMeasurement, qint32 Copies)
{
    Q_ASSERT_X(Edit, "PrintRichText", "needs the rich-text control to print");
    // Events are processed while printing; the control must not be used once it is gone.
    const QPointer<QTextEdit> edit(Edit);
    if (RichTextMeasurement != TRichTextMeasurements::rtmNone) {
        const Margins margins { RTLeftMargin, RTRightMargin, RTTopMargin, RTBottomMargin };
        setPageRect(*edit, pageRectangle(printer.metrics(), margins, RichTextMeasurement));
        QCoreApplication::processEvents();
    }
    for (qint32 copy = 0; copy < Copies && edit; ++copy) {
        printDocument(printer, *edit, QString());
        QCoreApplication::processEvents();
    }
    return true;
}

} // namespace struktur
