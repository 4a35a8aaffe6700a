// SPDX-License-Identifier: GPL-3.0-or-later
// Printing rich text page by page, checked on the PDF files the jobs write.
#include "support/ErrorOf.h"
#include "PdfInspector.h"
#include "PdfPrinter.h"
#include "platform/Error.h"
#include "printing/CompactPrinter.h"
#include "printing/PrintRichText.h"
#include "printing/Printer.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

using namespace struktur;
using namespace struktur::test;

namespace {

constexpr auto cm = TRichTextMeasurements::rtmCentimetres;

QStringList numberedWords(const QString& stem, int count)
{
    QStringList words;
    for (int i = 1; i <= count; ++i)
        words.append(QStringLiteral("%1%2").arg(stem).arg(i, 4, 10, QLatin1Char('0')));
    return words;
}

// A control with the editor's kind of document in a fixed font, so the tests do not depend on
// the desktop's default.
std::unique_ptr<QTextEdit> control(const QStringList& paragraphs)
{
    auto edit = std::make_unique<QTextEdit>();
    edit->document()->setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    edit->setPlainText(paragraphs.join(QLatin1Char('\n')));
    return edit;
}

} // namespace

class TestPagination : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void shortDocumentGivesOnePage();
    void emptyDocumentGivesOneBlankPage();
    void longDocumentLosesAndRepeatsNothing_data();
    void longDocumentLosesAndRepeatsNothing();
    void textStaysInsideTheMargins();
    void marginsLeavingNoRoomUseThePrintableArea();
    void eachCopyIsItsOwnJob_data();
    void eachCopyIsItsOwnJob();
    void pageRectangleStaysOnTheControl();
    void documentPrintedItselfPrintsAsItsCopy();
    void compactPrinterPrintsThePagesOfQtsPrinter();
    void openJobRefusesASecondRun();
    void jobThatCannotStartIsReported();
    void jobCutShortByAFullDiskIsReported();
    void missingDefaultPrinterChangesNothing();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestPagination::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void TestPagination::shortDocumentGivesOnePage()
{
    PdfPrinter pdf(m_folder->path());
    const auto edit = control({ QStringLiteral("Første linje med æøå"), QStringLiteral("Anden linje") });
    QVERIFY(PrintRichText(pdf.printer, edit.get(), 2.5, 1, 2, 1.5, cm, 1));
    QCOMPARE(pdf.printed().size(), 1);
    const PdfInspector inspector(pdf.printed().first());
    QCOMPARE(inspector.pageCount(), 1);
    QCOMPARE(inspector.allWords(),
        QStringList({ "Første", "linje", "med", "æøå", "Anden", "linje" }));
}

void TestPagination::emptyDocumentGivesOneBlankPage()
{
    PdfPrinter pdf(m_folder->path());
    const auto edit = control({});
    PrintRichText(pdf.printer, edit.get(), 2.5, 1, 2, 1.5, cm, 2);
    QCOMPARE(pdf.printed().size(), 2);
    for (const QString& file : pdf.printed()) {
        const PdfInspector inspector(file);
        QCOMPARE(inspector.pageCount(), 1);
        QVERIFY(inspector.allWords().isEmpty());
    }
}

void TestPagination::longDocumentLosesAndRepeatsNothing_data()
{
    QTest::addColumn<QStringList>("paragraphs");
    QTest::addColumn<int>("minimumPages");

    QTest::newRow("many short paragraphs") << numberedWords(QStringLiteral("linje"), 400) << 8;
    QTest::newRow("one paragraph over several pages")
        << QStringList { numberedWords(QStringLiteral("ord"), 3000).join(QLatin1Char(' ')) } << 4;
    QStringList mixed;
    for (int i = 0; i < 30; ++i) {
        mixed.append(numberedWords(QStringLiteral("a%1x").arg(i), 60).join(QLatin1Char(' ')));
        mixed.append(QString());
    }
    QTest::newRow("paragraphs and empty lines") << mixed << 3;
}

void TestPagination::longDocumentLosesAndRepeatsNothing()
{
    QFETCH(QStringList, paragraphs);
    QFETCH(int, minimumPages);
    PdfPrinter pdf(m_folder->path());
    const auto edit = control(paragraphs);
    PrintRichText(pdf.printer, edit.get(), 2.5, 1, 2, 1.5, cm, 1);
    QCOMPARE(pdf.printed().size(), 1);
    const PdfInspector inspector(pdf.printed().first());
    const int pages = inspector.pageCount();
    QVERIFY2(pages >= minimumPages, qPrintable(QString::number(pages)));

    const QStringList expected = paragraphs.join(QLatin1Char(' ')).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QCOMPARE(inspector.allWords(), expected);

    // Every page but the last is filled down to the bottom margin, and no line crosses it.
    const QSizeF paper = inspector.pageSize();
    const qreal bottomEdge = paper.height() - 1.5 * pointsPerCentimetre;
    for (int page = 1; page <= pages; ++page) {
        const QList<PdfWord> words = inspector.words(page);
        QVERIFY(!words.isEmpty());
        const QRectF bounds = inspector.textBounds(page);
        QVERIFY2(bounds.bottom() <= bottomEdge + 1, qPrintable(QStringLiteral("page %1").arg(page)));
        const qreal lineHeight = words.first().box.height();
        if (page < pages) {
            QVERIFY2(bounds.bottom() > bottomEdge - 3 * lineHeight,
                qPrintable(QStringLiteral("page %1 ends early at %2").arg(page).arg(bounds.bottom())));
        }
    }
}

void TestPagination::textStaysInsideTheMargins()
{
    PdfPrinter pdf(m_folder->path());
    const auto edit = control({ numberedWords(QStringLiteral("ord"), 2000).join(QLatin1Char(' ')) });
    PrintRichText(pdf.printer, edit.get(), 2.5, 1, 2, 1.5, cm, 1);
    const PdfInspector inspector(pdf.printed().first());
    const QSizeF paper = inspector.pageSize();
    const QRectF bounds = inspector.textBounds(1);
    // All four margins measured from the paper's edges, whatever the printer's unprintable strip.
    QVERIFY2(qAbs(bounds.left() - 2.5 * pointsPerCentimetre) < 2, qPrintable(QString::number(bounds.left())));
    QVERIFY2(qAbs(bounds.top() - 2 * pointsPerCentimetre) < 3, qPrintable(QString::number(bounds.top())));
    const qreal rightEdge = paper.width() - 1 * pointsPerCentimetre;
    QVERIFY2(bounds.right() <= rightEdge + 1, qPrintable(QString::number(bounds.right())));
    QVERIFY2(bounds.right() > rightEdge - 2 * pointsPerCentimetre, qPrintable(QString::number(bounds.right())));
    QVERIFY(bounds.bottom() <= paper.height() - 1.5 * pointsPerCentimetre + 1);
}

void TestPagination::marginsLeavingNoRoomUseThePrintableArea()
{
    PdfPrinter pdf(m_folder->path());
    const auto edit = control({ QStringLiteral("Hele siden") });
    PrintRichText(pdf.printer, edit.get(), 15, 15, 2, 2, cm, 1);
    QVERIFY(pageRect(*edit).isEmpty());
    const QRectF bounds = PdfInspector(pdf.printed().first()).textBounds(1);
    // The printable area starts at the printer's strip of 5 mm by 4 mm.
    QVERIFY2(qAbs(bounds.left() - 0.5 * pointsPerCentimetre) < 2, qPrintable(QString::number(bounds.left())));
    QVERIFY2(qAbs(bounds.top() - 0.4 * pointsPerCentimetre) < 3, qPrintable(QString::number(bounds.top())));
}

void TestPagination::eachCopyIsItsOwnJob_data()
{
    QTest::addColumn<int>("copies");
    QTest::newRow("three") << 3;
    QTest::newRow("none") << 0;
    QTest::newRow("negative") << -2;
}

void TestPagination::eachCopyIsItsOwnJob()
{
    QFETCH(int, copies);
    PdfPrinter pdf(m_folder->path());
    const auto edit = control(numberedWords(QStringLiteral("linje"), 100));
    QVERIFY(PrintRichText(pdf.printer, edit.get(), 2.5, 1, 2, 1.5, cm, copies));
    // The page rectangle is set even when nothing is printed.
    QVERIFY(!pageRect(*edit).isEmpty());
    QCOMPARE(pdf.printed().size(), qMax(0, copies));
    for (const QString& file : pdf.printed()) {
        const PdfInspector inspector(file);
        QCOMPARE(inspector.pageCount(), PdfInspector(pdf.printed().first()).pageCount());
        QCOMPARE(inspector.allWords(), numberedWords(QStringLiteral("linje"), 100));
    }
}

void TestPagination::documentPrintedItselfPrintsAsItsCopy()
{
    // The command line prints the document itself, job after job on a new device each time; the
    // pages are those of the editor's way, which prints a copy.
    PdfPrinter pdf(m_folder->path());
    const auto edit = control(numberedWords(QStringLiteral("ord"), 300));
    QVERIFY(PrintRichText(pdf.printer, edit.get(), 2.5, 1, 2, 1.5, cm, 1));
    QTextDocument document;
    document.setDefaultFont(edit->document()->defaultFont());
    document.setPlainText(edit->toPlainText());
    for (int job = 0; job < 2; ++job)
        printDocument(pdf.printer, document, pageRect(*edit), QString());
    QCOMPARE(pdf.printed().size(), 3);
    const PdfInspector copy(pdf.printed()[0]);
    QVERIFY(copy.pageCount() >= 2);
    for (const QString& file : pdf.printed().mid(1)) {
        const PdfInspector itself(file);
        QCOMPARE(itself.pageCount(), copy.pageCount());
        for (int page = 1; page <= copy.pageCount(); ++page)
            QCOMPARE(itself.textBounds(page), copy.textBounds(page));
        QCOMPARE(itself.allWords(), numberedWords(QStringLiteral("ord"), 300));
    }
    // The document is left laid out and whole, naming no device of a finished job.
    QCOMPARE(document.toPlainText(), edit->toPlainText());
    QVERIFY(!document.documentLayout()->paintDevice());
}

void TestPagination::compactPrinterPrintsThePagesOfQtsPrinter()
{
    // The printer jobs go through writes the pages Qt's own PDF printer writes, on the same paper.
    PdfPrinter qt(m_folder->path());
    const QString path = m_folder->filePath(QStringLiteral("compact.pdf"));
    Printer compact([&path] {
        auto device = std::make_unique<CompactPrinter>(path, QPrinter::HighResolution);
        device->setPageMargins(QMarginsF(5, 4, 6, 7), QPageLayout::Millimeter);
        return device;
    });
    QCOMPARE(compact.metrics().pageWidth, qt.printer.metrics().pageWidth);
    const auto edit = control(numberedWords(QStringLiteral("side"), 400));
    QVERIFY(PrintRichText(qt.printer, edit.get(), 2.5, 1, 2, 1.5, cm, 1));
    QVERIFY(PrintRichText(compact, edit.get(), 2.5, 1, 2, 1.5, cm, 1));
    const PdfInspector expected(qt.printed().first());
    const PdfInspector written(path);
    QVERIFY(expected.pageCount() >= 2);
    QCOMPARE(written.pageCount(), expected.pageCount());
    QCOMPARE(written.pageSize(), expected.pageSize());
    for (int page = 1; page <= expected.pageCount(); ++page) {
        const QRectF a = written.textBounds(page);
        const QRectF b = expected.textBounds(page);
        QVERIFY2(qAbs(a.left() - b.left()) < 0.02 && qAbs(a.top() - b.top()) < 0.02
                && qAbs(a.right() - b.right()) < 0.02 && qAbs(a.bottom() - b.bottom()) < 0.02,
            qPrintable(QStringLiteral("page %1").arg(page)));
    }
    QCOMPARE(written.allWords(), numberedWords(QStringLiteral("side"), 400));
}

void TestPagination::pageRectangleStaysOnTheControl()
{
    PdfPrinter pdf(m_folder->path());
    const auto edit = control({ QStringLiteral("Tekst") });
    QVERIFY(pageRect(*edit).isEmpty());
    PrintRichText(pdf.printer, edit.get(), 5, 1, 4, 1, cm, 0);
    const PageRect set = pageRect(*edit);
    QVERIFY(!set.isEmpty());
    PrintRichText(pdf.printer, edit.get(), 1, 1, 1, 1, TRichTextMeasurements::rtmNone, 1);
    QCOMPARE(pageRect(*edit), set);
    const QRectF bounds = PdfInspector(pdf.printed().first()).textBounds(1);
    QVERIFY2(qAbs(bounds.left() - 5 * pointsPerCentimetre) < 2, qPrintable(QString::number(bounds.left())));

    // Inches are inches.
    PrintRichText(pdf.printer, edit.get(), 1, 1, 1, 1, TRichTextMeasurements::rtmInches, 1);
    const QRectF inches = PdfInspector(pdf.printed().last()).textBounds(1);
    QVERIFY2(qAbs(inches.left() - 72) < 2, qPrintable(QString::number(inches.left())));
}

void TestPagination::openJobRefusesASecondRun()
{
    PdfPrinter pdf(m_folder->path());
    const auto edit = control({ QStringLiteral("Tekst") });
    pdf.printer.beginDoc();
    QCOMPARE(errorOf([&] { PrintRichText(pdf.printer, edit.get(), 2.5, 1, 2, 1.5, cm, 1); }),
        QStringLiteral("Printing in progress"));
    // The open job goes on undisturbed.
    QVERIFY(pdf.printer.isPrinting());
    QCOMPARE(pdf.printer.pageNumber(), 1);
    pdf.printer.endDoc();
    QVERIFY(!pdf.printer.isPrinting());
    QCOMPARE(pdf.printed().size(), 1);
}

void TestPagination::jobThatCannotStartIsReported()
{
    // A device that refuses every job: its output folder does not exist.
    Printer broken([] {
        auto device = std::make_unique<QPrinter>(QPrinter::HighResolution);
        device->setOutputFormat(QPrinter::PdfFormat);
        device->setOutputFileName(QStringLiteral("/nonexistent-folder/øje/job.pdf"));
        return device;
    });
    const auto edit = control(numberedWords(QStringLiteral("linje"), 200));
    QCOMPARE(errorOf([&] { PrintRichText(broken, edit.get(), 2.5, 1, 2, 1.5, cm, 3); }),
        QStringLiteral("Printer is not currently printing"));
    QVERIFY(!broken.isPrinting());
    // The printer object is usable again afterwards.
    const auto shortEdit = control({ QStringLiteral("Tekst") });
    QCOMPARE(errorOf([&] { PrintRichText(broken, shortEdit.get(), 2.5, 1, 2, 1.5, cm, 1); }),
        QStringLiteral("Printer is not currently printing"));
}

void TestPagination::jobCutShortByAFullDiskIsReported()
{
    // Every write to /dev/full fails as on a full disk; Qt's engine does not say so, the job must.
    Printer full([] { return std::make_unique<CompactPrinter>(QStringLiteral("/dev/full"), QPrinter::HighResolution); });
    const auto edit = control(numberedWords(QStringLiteral("linje"), 200));
    QCOMPARE(errorOf([&] { PrintRichText(full, edit.get(), 2.5, 1, 2, 1.5, cm, 1); }),
        QStringLiteral("Udskriften kunne ikke skrives færdig (er disken fuld?)"));
    QVERIFY(!full.isPrinting());
}

void TestPagination::missingDefaultPrinterChangesNothing()
{
    Printer none([]() -> std::unique_ptr<QPrinter> {
        throw Error(QStringLiteral("There is no default printer currently selected"));
    });
    const auto edit = control({ QStringLiteral("Tekst") });
    QCOMPARE(errorOf([&] { PrintRichText(none, edit.get(), 2.5, 1, 2, 1.5, cm, 1); }),
        QStringLiteral("There is no default printer currently selected"));
    QVERIFY(pageRect(*edit).isEmpty());
    QCOMPARE(errorOf([&] { PrintRichText(none, edit.get(), 0, 0, 0, 0, TRichTextMeasurements::rtmNone, 1); }),
        QStringLiteral("There is no default printer currently selected"));
}

QTEST_MAIN(TestPagination)
#include "test_pagination.moc"
