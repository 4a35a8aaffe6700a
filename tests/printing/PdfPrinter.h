// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printing/Printer.h"

#include <QFileInfo>
#include <QMarginsF>
#include <QPageSize>
#include <QPrinter>
#include <QStringList>

namespace struktur::test {

/// A printer object that writes each job to its own PDF file in a folder, on A4 with an
/// unprintable strip on every side like a real printer's.
class PdfPrinter {
public:
    explicit PdfPrinter(const QString& folder, QMarginsF strip = QMarginsF(5, 4, 6, 7))
        : printer([this, folder, strip] {
            auto device = std::make_unique<QPrinter>(QPrinter::HighResolution);
            const QString path = folder + QStringLiteral("/job_%1.pdf").arg(++m_jobs, 3, 10, QLatin1Char('0'));
            device->setOutputFormat(QPrinter::PdfFormat);
            device->setOutputFileName(path);
            device->setPageSize(QPageSize(QPageSize::A4));
            device->setPageMargins(strip, QPageLayout::Millimeter);
            m_files.append(path);
            return device;
        })
    {
    }

    /// The PDF files the jobs wrote, in order.
    QStringList printed() const
    {
        QStringList result;
        for (const QString& file : m_files) {
            if (QFileInfo::exists(file))
                result.append(file);
        }
        return result;
    }

    Printer printer;

private:
    int m_jobs = 0;
    QStringList m_files;
};

} // namespace struktur::test
