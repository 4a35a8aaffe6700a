// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the print preview of a formatted document on an A4 page into a PNG file:
//   preview_screenshot <output.png>
#include "printing/PrintPreview.h"
#include "ui/Application.h"
#include "ui/VisualStyle.h"

#include <QPageSize>
#include <QPrinter>
#include <QTest>
#include <QTextDocument>

int main(int argc, char** argv)
{
    struktur::Application app(argc, argv);
    struktur::trySetStyle(app, QLatin1String(struktur::visualStyleResource));
    if (argc < 2) {
        qWarning("usage: preview_screenshot <output.png>");
        return 2;
    }
    QString html = QStringLiteral("<h2 style='color:#000080'>Vedligeholdelse af pumpestationen</h2>");
    for (int i = 1; i <= 30; ++i)
        html += QStringLiteral("<p>%1. Før arbejdet går i gang skal ventilerne lukkes og trykket aflæses. <b>Åbn "
                               "aldrig dækslet under tryk.</b> Kontrollér pakningerne og notér trykket.</p>")
                    .arg(i);
    QTextDocument document;
    document.setHtml(html);
    auto device = std::make_unique<QPrinter>(QPrinter::HighResolution);
    device->setOutputFormat(QPrinter::PdfFormat);
    device->setPageSize(QPageSize(QPageSize::A4));
    device->setPageMargins(QMarginsF(5, 4, 6, 7), QPageLayout::Millimeter);
    struktur::PrintPreview preview(document, std::move(device), { 2.5, 1, 2, 1.5 }, {});
    preview.resize(600, 600);
    preview.show();
    if (!QTest::qWaitForWindowExposed(&preview))
        return 1;
    QTest::qWait(300);
    return preview.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
