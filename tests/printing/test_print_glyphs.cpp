// SPDX-License-Identifier: GPL-3.0-or-later
// Pages drawn from the glyphs kept at layout look as the document's own drawing of the same
// layout: same words in the same places, same colours and decorations.
#include "PdfInspector.h"
#include "printing/PdfCanvas.h"
#include "printing/PrintRichText.h"
#include "printing/RichTextFormatter.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>

#include <memory>

using namespace struktur;
using namespace struktur::test;

namespace {

constexpr int resolution = 1200;

void startWriter(QPdfWriter& writer)
{
    writer.setResolution(resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
}

PrinterMetrics metricsOf(const QPaintDevice& writer)
{
    return { resolution, resolution, 0, 0, writer.width(), writer.height(), writer.width(), writer.height() };
}

// An inch of margin on every side, so that the page area is whole twips and pixels alike.
PageRect pageOf(const QPaintDevice& writer)
{
    return { resolution, resolution, writer.width() - resolution, writer.height() - resolution };
}

enum class Writer { Qt, Compact };

// Writes the document's pages with the print formatter, as printing does, through Qt's PDF
// writer or the compact one.
void printFirstPages(const QTextDocument& document, const QString& path, Writer kind = Writer::Qt)
{
    if (kind == Writer::Compact) {
        PdfCanvas canvas(path, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()), resolution);
        QPainter painter(&canvas);
        renderPages(painter, metricsOf(canvas), pageOf(canvas), document, [&canvas] { canvas.newPage(); });
        return;
    }
    QPdfWriter writer(path);
    startWriter(writer);
    QPainter painter(&writer);
    renderPages(painter, metricsOf(writer), pageOf(writer), document, [&writer] { writer.newPage(); });
}

// Writes the first page area as the document's own layout draws it, laid out the same way.
void drawFirstPage(const QTextDocument& source, const QString& path)
{
    QPdfWriter writer(path);
    startWriter(writer);
    const TwipsRect twips = pageAreaInTwips(pageOf(writer), metricsOf(writer));
    const QRectF area(QPointF(twips.left, twips.top) * resolution / 1440.0,
        QPointF(twips.right, twips.bottom) * resolution / 1440.0);
    const std::unique_ptr<QTextDocument> document(source.clone());
    document->setDocumentMargin(0);
    document->documentLayout()->setPaintDevice(&writer);
    document->setTextWidth(area.width());
    QPainter painter(&writer);
    painter.translate(area.topLeft());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(QPointF(0, 0), area.size());
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.setClipRect(context.clip);
    document->documentLayout()->draw(&painter, context);
}

QImage rendered(const QString& pdf)
{
    const QString prefix = pdf + QStringLiteral(".page");
    PdfInspector::run(QStringLiteral("pdftoppm"),
        { QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
            QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, prefix });
    return QImage(prefix + QStringLiteral(".ppm")).convertToFormat(QImage::Format_RGB32);
}

// The share of pixels that differ by more than a trace of anti-aliasing.
double differingShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 1;
    qsizetype differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q)) > 48)
                ++differing;
        }
    }
    return double(differing) / (a.width() * a.height());
}

qsizetype redPixels(const QImage& image)
{
    qsizetype count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) > 160 && qGreen(p) < 90 && qBlue(p) < 90)
                ++count;
        }
    }
    return count;
}

// The same words in the same boxes, each edge within `tolerance` points (the bottom edge is the
// font's descent below the same baseline, so it follows from the top).
void compareWords(const QList<PdfWord>& written, const QList<PdfWord>& expected, qreal tolerance)
{
    QCOMPARE(written.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(written[i].text, expected[i].text);
        const QRectF a = written[i].box;
        const QRectF b = expected[i].box;
        QVERIFY2(qAbs(a.left() - b.left()) < tolerance && qAbs(a.top() - b.top()) < tolerance
                && qAbs(a.right() - b.right()) < tolerance,
            qPrintable(QStringLiteral("%1 at %2-%3 instead of %4-%5")
                           .arg(expected[i].text)
                           .arg(a.left())
                           .arg(a.right())
                           .arg(b.left())
                           .arg(b.right())));
    }
}

void append(QTextCursor& cursor, const QString& text, const QTextCharFormat& format = {})
{
    cursor.insertText(text, format);
}

// One page of paragraphs of every kind the formatter draws either from kept glyphs or by the
// paragraph's own layout.
// Without `spacedAndRightToLeft`, every word is one word to the text tools too.
std::unique_ptr<QTextDocument> mixedDocument(bool spacedAndRightToLeft = true)
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    QTextCursor cursor(document.get());
    const QString words = QStringLiteral("Strukturens elementer med æøå og tekst der brydes over flere linjer. ").repeated(4);
    const auto paragraph = [&](Qt::Alignment alignment) {
        QTextBlockFormat format;
        format.setAlignment(alignment);
        cursor.insertBlock(format);
    };
    append(cursor, words);
    paragraph(Qt::AlignJustify);
    append(cursor, words);
    paragraph(Qt::AlignHCenter);
    append(cursor, QStringLiteral("Midt på siden"));
    paragraph(Qt::AlignRight);
    append(cursor, QStringLiteral("Til højre\tefter et tabulatorstop"));
    paragraph(Qt::AlignLeft);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    QTextCharFormat red;
    red.setForeground(QColor(220, 0, 0));
    QTextCharFormat spaced;
    spaced.setFontLetterSpacingType(QFont::AbsoluteSpacing);
    spaced.setFontLetterSpacing(2);
    append(cursor, QStringLiteral("Fed "), bold);
    append(cursor, QStringLiteral("kursiv "), italic);
    append(cursor, QStringLiteral("RØD TEKST "), red);
    if (spacedAndRightToLeft) {
        append(cursor, QStringLiteral("spærret "), spaced);
        append(cursor, QStringLiteral("og hebraisk שלום "));
    }
    append(cursor, QStringLiteral("og græsk αβγ i samme linje."));
    paragraph(Qt::AlignLeft);
    QTextCharFormat underlined;
    underlined.setFontUnderline(true);
    append(cursor, QStringLiteral("Understreget "), underlined);
    append(cursor, words);
    QTextBlockFormat indented;
    indented.setIndent(2);
    indented.setTextIndent(30);
    indented.setTopMargin(12);
    cursor.insertBlock(indented);
    append(cursor, words);
    cursor.insertList(QTextListFormat::ListDisc);
    append(cursor, QStringLiteral("Et punkt i en liste"));
    return document;
}

} // namespace

class TestPrintGlyphs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void pageLooksAsTheDocumentDrawsIt();
    void paragraphsOfEveryKindSplitOverPagesKeepEveryWordOnce();
    void compactTextPutsEveryWordWhereQtDoes();
    void compactTextFollowsAnyPenAndTransformation();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestPrintGlyphs::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void TestPrintGlyphs::pageLooksAsTheDocumentDrawsIt()
{
    const auto document = mixedDocument();
    const QString printed = m_folder->filePath(QStringLiteral("printed.pdf"));
    const QString drawn = m_folder->filePath(QStringLiteral("drawn.pdf"));
    printFirstPages(*document, printed);
    drawFirstPage(*document, drawn);
    QCOMPARE(PdfInspector(printed).pageCount(), 1);

    compareWords(PdfInspector(printed).words(1), PdfInspector(drawn).words(1), 0.05);
    if (QTest::currentTestFailed())
        return;

    const QImage printedPage = rendered(printed);
    const QImage drawnPage = rendered(drawn);
    QVERIFY(redPixels(printedPage) > 20);
    QCOMPARE(redPixels(printedPage), redPixels(drawnPage));
    QVERIFY2(differingShare(printedPage, drawnPage) < 0.0005,
        qPrintable(QString::number(differingShare(printedPage, drawnPage))));
}

void TestPrintGlyphs::paragraphsOfEveryKindSplitOverPagesKeepEveryWordOnce()
{
    // The mixed page many times over, so that each kind of paragraph is cut by a page end.
    const auto one = mixedDocument(false);
    QTextDocument document;
    document.setDefaultFont(one->defaultFont());
    QTextCursor cursor(&document);
    for (int copy = 0; copy < 12; ++copy) {
        cursor.movePosition(QTextCursor::End);
        if (copy > 0)
            cursor.insertBlock(QTextBlockFormat());
        QTextCursor source(one.get());
        source.select(QTextCursor::Document);
        cursor.insertFragment(source.selection());
        cursor.insertText(QStringLiteral(" kopi%1").arg(copy));
    }
    const QString printed = m_folder->filePath(QStringLiteral("long.pdf"));
    printFirstPages(document, printed);
    const PdfInspector inspector(printed);
    QVERIFY(inspector.pageCount() >= 4);

    // Every word once, in order; the list's bullets are not in the text, and ligatures are
    // read as their letters.
    QStringList words;
    for (const QString& word : inspector.allWords()) {
        if (word != QStringLiteral("•"))
            words.append(word.normalized(QString::NormalizationForm_KC));
    }
    QCOMPARE(words, document.toPlainText().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts));
}

void TestPrintGlyphs::compactTextPutsEveryWordWhereQtDoes()
{
    // Every kind of paragraph, a link and a table, over several pages: the words of each page in
    // the same boxes, the pages the same to the eye, and the file smaller.
    auto document = mixedDocument();
    QTextCursor cursor(document.get());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/"));
    cursor.insertText(QStringLiteral("Et link "), link);
    cursor.insertText(QStringLiteral("og tekst efter det."), QTextCharFormat());
    cursor.insertTable(2, 2);
    cursor.insertText(QStringLiteral("Celle ét"));
    QTextCursor whole(document.get());
    whole.select(QTextCursor::Document);
    const QTextDocumentFragment page = whole.selection();
    for (int copy = 0; copy < 5; ++copy) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
        cursor.insertFragment(page);
    }
    const QString qt = m_folder->filePath(QStringLiteral("qt.pdf"));
    const QString compact = m_folder->filePath(QStringLiteral("compact.pdf"));
    printFirstPages(*document, qt, Writer::Qt);
    printFirstPages(*document, compact, Writer::Compact);

    const PdfInspector qtPdf(qt);
    const PdfInspector compactPdf(compact);
    QVERIFY(qtPdf.pageCount() >= 3);
    QCOMPARE(compactPdf.pageCount(), qtPdf.pageCount());
    for (int number = 1; number <= qtPdf.pageCount(); ++number) {
        compareWords(compactPdf.words(number), qtPdf.words(number), 0.02);
        if (QTest::currentTestFailed())
            return;
    }
    const QImage qtPage = rendered(qt);
    const QImage compactPage = rendered(compact);
    QCOMPARE(redPixels(compactPage), redPixels(qtPage));
    // Glyphs placed within a hundredth of a point still fall on the pixel grid a little differently.
    QVERIFY2(differingShare(compactPage, qtPage) < 0.002,
        qPrintable(QString::number(differingShare(compactPage, qtPage))));
    QVERIFY2(QFileInfo(compact).size() < QFileInfo(qt).size(),
        qPrintable(QStringLiteral("%1 against %2 bytes").arg(QFileInfo(compact).size()).arg(QFileInfo(qt).size())));
    // The link keeps its annotation.
    QFile file(compact);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("https://example.org/"));
}

void TestPrintGlyphs::compactTextFollowsAnyPenAndTransformation()
{
    // A cosmetic pen makes both engines give each text its transformation of its own; a
    // translation far down a long document's layout and back, a rotation and a scale must still
    // put every word where Qt's engine puts it.
    const auto draw = [](QPainter& painter) {
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
        QPen pen(QColor(0, 0, 200));
        pen.setWidth(0);
        painter.setPen(pen);
        painter.translate(1000, -3000000.25);
        for (int line = 0; line < 12; ++line) {
            painter.drawText(QPointF(0, 3000000.25 + 1200 + line * 250),
                QStringLiteral("Linje %1 med æøå og lidt tekst").arg(line));
        }
        painter.resetTransform();
        painter.translate(3000, 8000);
        painter.rotate(30);
        painter.scale(1.5, 1.5);
        painter.drawText(QPointF(0, 0), QStringLiteral("Skråt og større"));
    };
    const QString qt = m_folder->filePath(QStringLiteral("qt.pdf"));
    const QString compact = m_folder->filePath(QStringLiteral("compact.pdf"));
    {
        QPdfWriter writer(qt);
        startWriter(writer);
        QPainter painter(&writer);
        draw(painter);
    }
    {
        PdfCanvas canvas(compact, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()), resolution);
        QPainter painter(&canvas);
        draw(painter);
    }
    // The lines word by word; the turned line, which the text tools split into words by the
    // glyphs' spacing, as a picture of the page.
    const qsizetype lineWords = 12 * 7;
    const QList<PdfWord> expected = PdfInspector(qt).words(1);
    const QList<PdfWord> written = PdfInspector(compact).words(1);
    QVERIFY(expected.size() > lineWords && written.size() > lineWords);
    compareWords(written.first(lineWords), expected.first(lineWords), 0.02);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(differingShare(rendered(compact), rendered(qt)) < 0.002,
        qPrintable(QString::number(differingShare(rendered(compact), rendered(qt)))));
}

QTEST_MAIN(TestPrintGlyphs)
#include "test_print_glyphs.moc"
