// SPDX-License-Identifier: GPL-3.0-or-later
// Printing on the real default printer: a cups-pdf queue (scripts/ensure-printer.sh) whose PDFs
// are checked as they arrive. Without that printer the tests fail; they never pass unprinted.
#include "PdfInspector.h"
#include "printing/Tprintform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using namespace struktur;
using namespace struktur::test;

namespace {

const QString outputFolder = QStringLiteral(STRUKTUR_PDF_OUT);

QSet<QString> pdfFiles()
{
    const QStringList names = QDir(outputFolder).entryList({ QStringLiteral("*.pdf") }, QDir::Files);
    QSet<QString> result;
    for (const QString& name : names)
        result.insert(QDir(outputFolder).filePath(name));
    return result;
}

bool queueIsEmpty()
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), { QStringLiteral("-o") });
    return lpstat.waitForFinished(10000) && lpstat.readAllStandardOutput().trimmed().isEmpty();
}

// The queue's PostScript route turns fonts into Type 3 fonts whose first glyph pdftotext cannot
// read back, so the document's first character appears nowhere else and counts of words stay right.
QStringList numberedLines(int count)
{
    QStringList lines { QStringLiteral("Prøveudskrift") };
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("%1 linje med æøå og lidt mere tekst").arg(i, 3, 10, QLatin1Char('0')));
    return lines;
}

} // namespace

class TestPrintEndToEnd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void printWindowPrintsEachCopyAsAJob();
    void commandLinePrintsWithItsMargins();
    void aJobThePrinterRefusesIsReported();

private:
    // Waits for `count` new PDFs after `before`, and for the queue to empty; fails on a timeout.
    QStringList arrived(const QSet<QString>& before, int count);
    void checkMargins(const QString& pdf, QMarginsF centimetres);
};

void TestPrintEndToEnd::initTestCase()
{
    QVERIFY2(!QPrinterInfo::defaultPrinter().isNull(), "no default printer: run scripts/ensure-printer.sh");
    QVERIFY2(QDir(outputFolder).exists(), qPrintable(outputFolder + QStringLiteral(" is missing")));
    QVERIFY2(queueIsEmpty(), "the printer queue holds unfinished jobs");
}

QStringList TestPrintEndToEnd::arrived(const QSet<QString>& before, int count)
{
    QElapsedTimer timer;
    timer.start();
    QStringList added;
    while (timer.elapsed() < 90000) {
        added.clear();
        for (const QString& file : pdfFiles()) {
            if (!before.contains(file))
                added.append(file);
        }
        if (added.size() >= count && queueIsEmpty())
            break;
        QTest::qWait(250);
    }
    added.sort();
    return added;
}

void TestPrintEndToEnd::checkMargins(const QString& pdf, QMarginsF centimetres)
{
    const PdfInspector inspector(pdf);
    const QSizeF paper = inspector.pageSize();
    QRectF bounds;
    for (int page = 1; page <= inspector.pageCount(); ++page)
        bounds = bounds.isNull() ? inspector.textBounds(page) : bounds.united(inspector.textBounds(page));
    const QString where = QStringLiteral("%1: text within (%2, %3)-(%4, %5) pt")
                              .arg(pdf)
                              .arg(bounds.left())
                              .arg(bounds.top())
                              .arg(bounds.right())
                              .arg(bounds.bottom());
    QVERIFY2(qAbs(bounds.left() - centimetres.left() * pointsPerCentimetre) < 3, qPrintable(where));
    // Word boxes reach above the line by the font's ascent, so the top is only near the margin.
    QVERIFY2(qAbs(bounds.top() - centimetres.top() * pointsPerCentimetre) < 8, qPrintable(where));
    QVERIFY2(bounds.right() <= paper.width() - centimetres.right() * pointsPerCentimetre + 2, qPrintable(where));
    QVERIFY2(bounds.bottom() <= paper.height() - centimetres.bottom() * pointsPerCentimetre + 4, qPrintable(where));
}

void TestPrintEndToEnd::printWindowPrintsEachCopyAsAJob()
{
    QTemporaryDir folder;
    QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("Options"))));
    QTextEdit document;
    document.document()->setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    const QStringList lines = numberedLines(120);
    document.setPlainText(lines.join(QLatin1Char('\n')));
    Tprintform form(folder.path());
    form.setDocumentControl(&document);
    form.show();
    form.Edit5->setText(QStringLiteral("2"));

    const QSet<QString> before = pdfFiles();
    form.printKnapClick();
    QVERIFY(!form.isVisible());
    const QStringList pdfs = arrived(before, 2);
    QCOMPARE(pdfs.size(), 2);

    const qsizetype words = lines.join(QLatin1Char(' ')).split(QLatin1Char(' ')).size();
    for (const QString& pdf : pdfs) {
        const PdfInspector inspector(pdf);
        // 120 lines of 12 point text do not fit on one A4 page, and each copy is the whole document.
        QVERIFY2(inspector.pageCount() >= 3, qPrintable(QString::number(inspector.pageCount())));
        QCOMPARE(inspector.pageCount(), PdfInspector(pdfs.first()).pageCount());
        QCOMPARE(inspector.allWords().size(), words);
        checkMargins(pdf, QMarginsF(2.5, 2, 1, 1.5));
    }
    QCOMPARE(PdfInspector(pdfs[0]).allWords(), PdfInspector(pdfs[1]).allWords());
}

void TestPrintEndToEnd::commandLinePrintsWithItsMargins()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("hjælp æøå.rtf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 "
               "F\\'f8rste afsnit af hj\\'e6lpen\\par Andet afsnit\\par}");
    file.close();

    const QSet<QString> before = pdfFiles();
    QProcess cli;
    cli.start(QStringLiteral(STRUKTUR_CLI),
        { QStringLiteral("print"), path, QStringLiteral("--margener"), QStringLiteral("3,2,4.5,2"),
            QStringLiteral("--kopier"), QStringLiteral("3") });
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
    const QStringList pdfs = arrived(before, 3);
    QCOMPARE(pdfs.size(), 3);
    for (const QString& pdf : pdfs) {
        const PdfInspector inspector(pdf);
        QCOMPARE(inspector.pageCount(), 1);
        QCOMPARE(inspector.allWords().size(), 6);
        checkMargins(pdf, QMarginsF(3, 4.5, 2, 2));
    }

    // A file that cannot be read prints nothing and says why.
    cli.start(QStringLiteral(STRUKTUR_CLI), { QStringLiteral("print"), folder.filePath(QStringLiteral("mangler.rtf")) });
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 1);
    QVERIFY(cli.readAllStandardError().contains("Cannot open file"));
}

void TestPrintEndToEnd::aJobThePrinterRefusesIsReported()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("afvist.rtf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi Afvist\\par}");
    file.close();
    const QString queue = QPrinterInfo::defaultPrinter().printerName();
    QCOMPARE(QProcess::execute(QStringLiteral("cupsreject"), { queue }), 0);
    QProcess cli;
    cli.start(QStringLiteral(STRUKTUR_CLI), { QStringLiteral("print"), path });
    const bool finished = cli.waitForFinished(60000);
    QProcess::execute(QStringLiteral("cupsaccept"), { queue });
    QVERIFY(finished);
    const QByteArray error = cli.readAllStandardError();
    QCOMPARE(cli.exitCode(), 1);
    QVERIFY2(error.contains("Udskriften kunne ikke sendes til printeren"), error.constData());
    QVERIFY(queueIsEmpty());
}

QTEST_MAIN(TestPrintEndToEnd)
#include "test_print_e2e.moc"
