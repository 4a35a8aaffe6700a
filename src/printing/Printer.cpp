// SPDX-License-Identifier: GPL-3.0-or-later
#include "Printer.h"

#include "CompactPrinter.h"
#include "platform/Error.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

namespace struktur {
namespace {

std::unique_ptr<QPrinter> systemDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw Error(QStringLiteral("There is no default printer currently selected"));
    return std::make_unique<CompactPrinter>(info, QPrinter::HighResolution);
}

Error notPrinting() { return Error(QStringLiteral("Printer is not currently printing")); }

qint32 pixels(qreal value) { return qint32(std::lround(value)); }

} // namespace

Printer& Printer::defaultPrinter()
{
    static Printer printer(systemDefaultPrinter);
    return printer;
}

Printer::Printer(DeviceFactory factory)
    : m_factory(std::move(factory))
    , m_painter(std::make_unique<QPainter>())
{
}

Printer::~Printer()
{
    if (m_painter->isActive())
        m_painter->end();
}

QPrinter& Printer::device()
{
    // While idle, ask again each time: the default printer may have changed since the last job.
    if (!m_device || !m_painter->isActive())
        m_device = m_factory();
    return *m_device;
}

PrinterMetrics Printer::metrics() { return printerMetrics(device()); }

std::unique_ptr<QPrinter> Printer::createDevice() { return m_factory(); }

PrinterMetrics printerMetrics(const QPrinter& printer)
{
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    PrinterMetrics metrics;
    metrics.pixelsX = printer.logicalDpiX();
    metrics.pixelsY = printer.logicalDpiY();
    metrics.leftSpace = pixels(page.left() - paper.left());
    metrics.topSpace = pixels(page.top() - paper.top());
    metrics.pageWidth = pixels(page.width());
    metrics.pageHeight = pixels(page.height());
    metrics.paperWidth = pixels(paper.width());
    metrics.paperHeight = pixels(paper.height());
    return metrics;
}

void Printer::beginDoc()
{
    if (m_printing)
        throw Error(QStringLiteral("Printing in progress"));
    m_device = m_factory();
    m_device->setDocName(m_title);
    m_device->setCopyCount(1);
    m_printing = m_painter->begin(m_device.get());
    m_pageNumber = m_printing ? 1 : 0;
}

void Printer::newPage()
{
    if (!m_printing)
        throw notPrinting();
    m_device->newPage();
    ++m_pageNumber;
    // Let the windows repaint and take input while the job spools.
    QCoreApplication::processEvents();
}

void Printer::endDoc()
{
    if (!m_printing)
        throw notPrinting();
    m_painter->end();
    m_printing = false;
    m_pageNumber = 0;
    // Qt's own printing drops a job it could not write or the spooler refuses without a word.
    if (const auto* job = dynamic_cast<const CompactPrinter*>(m_device.get()); job && !job->jobError().isEmpty())
        throw Error(job->jobError());
}

void Printer::abort()
{
    if (!m_printing)
        return;
    m_device->abort();
    if (m_painter->isActive())
        m_painter->end();
    m_printing = false;
    m_pageNumber = 0;
}

QPainter& Printer::canvas() { return *m_painter; }

} // namespace struktur
