// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPrinter>

#include <memory>

class QPrinterInfo;

namespace struktur {

class PrintJobEngine;

/// A printer of the system whose jobs are written as compact PDF (see CompactTextEngine) and
/// handed to CUPS when they end: the same pages as Qt's own CUPS printing at a fraction of the
/// bytes to write and spool. Page size, margins and two-sided printing are the printer's own.
class CompactPrinter : public QPrinter {
public:
    CompactPrinter(const QPrinterInfo& printer, PrinterMode mode);
    /// Jobs written to the PDF file `path` instead, on A4 paper with the margins of Qt's PDF output.
    CompactPrinter(const QString& path, PrinterMode mode);
    ~CompactPrinter() override;

    /// Why the last job was not written whole or not taken by the printer, as a message for the
    /// user; empty when it was.
    QString jobError() const;

private:
    std::unique_ptr<PrintJobEngine> m_engine;
};

} // namespace struktur
