// SPDX-License-Identifier: GPL-3.0-or-later
// Paginating a 1,000-page document to PDF as `struktur print` prints: the same page loop and the
// engine print jobs go through, writing the file a printer would be given.
//   bench_print [PAGES]          generated paragraphs of plain text
//   bench_print FILE.rtf [OUT]   a document as `struktur print` loads it (OUT keeps the PDF)
#include "printing/CompactPrinter.h"
#include "printing/PrintRichText.h"
#include "printing/PrintValues.h"
#include "platform/Memory.h"
#include "printing/Printer.h"
#include "rtf/Rtf.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>

#include <cstdio>
#include <ctime>

using namespace struktur;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTextDocument document;
    if (first.endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive)) {
        QFile file(first);
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        rtf::loadDocument(file.readAll(), document);
    } else {
        // Paragraphs of a few wrapped lines each, 12 point: about 27 of them to an A4 page.
        const int targetPages = first.isEmpty() ? 1000 : first.toInt();
        QStringList paragraphs;
        const QString sentence
            = QStringLiteral("Strukturens elementer med æøå og lidt mere tekst der brydes over linjer. ");
        for (int i = 0; i < targetPages * 27; ++i)
            paragraphs.append(QStringLiteral("%1 ").arg(i) + sentence.repeated(2));
        document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        document.setPlainText(paragraphs.join(QLatin1Char('\n')));
    }

    QTemporaryDir folder;
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2]) : folder.filePath(QStringLiteral("bench.pdf"));
    // The engine print jobs go through, writing the file a printer would be given.
    Printer pdf([&] { return std::make_unique<CompactPrinter>(path, QPrinter::HighResolution); });

    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpuStart = std::clock();
    // As `struktur print` prints: the document itself, inside the print window's default margins.
    platform::keepFreedMemory();
    const Margins margins { 2.5L, 1, 2, 1.5L };
    printDocument(pdf, document, pageRectangle(pdf.metrics(), margins, TRichTextMeasurements::rtmCentimetres), QString());
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), { path });
    info.waitForFinished();
    QByteArray pages = "pages unknown";
    for (const QByteArray& line : info.readAllStandardOutput().split('\n')) {
        if (line.startsWith("Pages:"))
            pages = line.simplified();
    }
    std::printf("print to PDF: %lld characters, %s, %.2f s wall, %.2f s CPU, %.1f MB PDF (budget 5 s for 1,000 pages)\n",
        qlonglong(document.characterCount()), pages.constData(), seconds, cpuSeconds,
        QFileInfo(path).size() / 1e6);
    return 0;
}
