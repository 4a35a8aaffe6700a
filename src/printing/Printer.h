// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PageGeometry.h"

#include <QString>
#include <functional>
#include <memory>

class QPainter;
class QPrinter;

namespace struktur {

/// The page measurements of a printer device, in its device pixels.
PrinterMetrics printerMetrics(const QPrinter& printer);

/// The printer object print jobs go through: at most one job open at a time, started with
/// beginDoc(), paged with newPage() and ended with endDoc(). Each job gets a fresh device from the
/// factory, so a change of the system's default printer takes effect at the next job.
class Printer {
public:
    using DeviceFactory = std::function<std::unique_ptr<QPrinter>()>;

    /// The system's default printer; queries and jobs throw "There is no default printer
    /// currently selected" when there is none.
    static Printer& defaultPrinter();

    explicit Printer(DeviceFactory factory);
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    /// A new device of this printer with its settings, for drawing pages that are not printed
    /// (the print preview). Throws as a job would when there is no printer.
    std::unique_ptr<QPrinter> createDevice();

    /// The page measurements of the printer (of the open job's device while one is open).
    PrinterMetrics metrics();

    bool isPrinting() const { return m_printing; }
    int pageNumber() const { return m_pageNumber; }

    /// The document name the next job is given.
    void setTitle(const QString& title) { m_title = title; }

    /// Opens a job on the first page. Throws "Printing in progress" when a job is open already.
    /// When the device refuses the job, the printer stays idle and the next newPage() or endDoc()
    /// reports it.
    void beginDoc();
    /// Ends the page and starts the next. Throws "Printer is not currently printing" when idle.
    void newPage();
    /// Ends the job and hands it to the printer. Throws "Printer is not currently printing" when idle.
    void endDoc();
    /// Drops the open job (used when a job fails half-way, so the printer does not stay busy).
    void abort();

    /// Where the open job draws; not active when no job is open.
    QPainter& canvas();

private:
    QPrinter& device();

    DeviceFactory m_factory;
    std::unique_ptr<QPrinter> m_device;
    std::unique_ptr<QPainter> m_painter;
    QString m_title;
    bool m_printing = false;
    int m_pageNumber = 0;
};

} // namespace struktur
