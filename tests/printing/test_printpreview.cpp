// SPDX-License-Identifier: GPL-3.0-or-later
// "Vis udskrift" shows the pages that "Print" prints.
#include "../support/DialogScript.h"
#include "../support/GuiTestMain.h"
#include "PdfInspector.h"
#include "PdfPrinter.h"
#include "printing/PrintPreview.h"
#include "printing/Tprintform.h"
#include "support/ErrorOf.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using namespace struktur;
using namespace struktur::test;

class TestPrintPreview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void pagesAreThosePrinted_data();
    void pagesAreThosePrinted();
    void printingFromThePreview();
    void fieldsAreCheckedAsForPrinting();

private:
    QStringList wordsBetween(qint32 from, qint32 to) const;

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<PdfPrinter> m_pdf;
    std::unique_ptr<QTextEdit> m_document;
    std::unique_ptr<Tprintform> m_form;
};

void TestPrintPreview::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    const QString programdir = m_folder->filePath(QStringLiteral("Kvarnolt æøå"));
    QVERIFY(QDir().mkpath(programdir + QStringLiteral("/Options")));
    QVERIFY(QDir().mkpath(m_folder->filePath(QStringLiteral("pdf"))));
    qputenv("KVARNOLT_DIR", programdir.toUtf8());
    m_pdf = std::make_unique<PdfPrinter>(m_folder->filePath(QStringLiteral("pdf")));
    // Long paragraphs, so that pages end inside a paragraph as well as between two.
    QString html;
    int word = 0;
    for (int paragraph = 0; paragraph < 40; ++paragraph) {
        html += QStringLiteral("<p>");
        for (int i = 0; i < 10 + paragraph % 7 * 9; ++i)
            html += (i % 5 == 0 ? QStringLiteral("<b>ord%1</b> ") : QStringLiteral("ord%1 ")).arg(++word);
        html += QStringLiteral("</p>");
    }
    m_document = std::make_unique<QTextEdit>();
    m_document->setHtml(html);
    m_form = std::make_unique<Tprintform>(programdir);
    m_form->setDocumentControl(m_document.get());
    m_form->setPrinter(m_pdf->printer);
}

void TestPrintPreview::cleanup()
{
    m_form.reset();
    m_document.reset();
    m_pdf.reset();
}

QStringList TestPrintPreview::wordsBetween(qint32 from, qint32 to) const
{
    QTextCursor cursor(m_document->document());
    cursor.setPosition(from);
    cursor.setPosition(to < 0 ? m_document->document()->characterCount() - 1 : to, QTextCursor::KeepAnchor);
    static const QRegularExpression blanks(QStringLiteral("[\\s\\x{2029}]+"));
    return cursor.selectedText().split(blanks, Qt::SkipEmptyParts);
}

void TestPrintPreview::pagesAreThosePrinted_data()
{
    QTest::addColumn<QStringList>("margins");
    QTest::newRow("defaults") << QStringList { u"2,5"_qs, u"1"_qs, u"2"_qs, u"1,5"_qs };
    QTest::newRow("wide margins") << QStringList { u"6"_qs, u"5,5"_qs, u"7"_qs, u"6.5"_qs };
}

void TestPrintPreview::pagesAreThosePrinted()
{
    QFETCH(QStringList, margins);
    QLineEdit* const fields[] = { m_form->Edit1, m_form->Edit2, m_form->Edit3, m_form->Edit4 };
    for (int i = 0; i < 4; ++i)
        fields[i]->setText(margins[i]);

    PrintPreview* preview = m_form->visKnapClick();
    QVERIFY(preview);
    const int pages = preview->pageCount();
    const QList<qint32> starts = preview->pageStarts();
    QVERIFY(pages >= 2);
    QCOMPARE(starts.size(), pages);
    preview->close();

    m_form->printKnapClick();
    QCOMPARE(m_pdf->printed().size(), 1);
    const PdfInspector printed(m_pdf->printed().first());
    QCOMPARE(printed.pageCount(), pages);
    for (int page = 0; page < pages; ++page) {
        QStringList words;
        for (const PdfWord& word : printed.words(page + 1))
            words.append(word.text);
        const QStringList expected = wordsBetween(starts[page], page + 1 < pages ? starts[page + 1] : -1);
        QCOMPARE(words.first(), expected.first());
        QCOMPARE(words.last(), expected.last());
        QCOMPARE(words, expected);
    }
}

void TestPrintPreview::printingFromThePreview()
{
    m_form->show();
    m_form->Edit5->setText(u"2"_qs);
    PrintPreview* preview = m_form->visKnapClick();
    QVERIFY(preview);
    QCOMPARE(preview->windowTitle(), u"Vis udskrift"_qs);
    QVERIFY(m_form->visKnap->isVisible());
    preview->findChild<QAction*>(u"lastPage"_qs)->trigger();
    QCOMPARE(preview->currentPage(), preview->pageCount());
    QTest::mouseClick(preview->printButton, Qt::LeftButton);
    QCOMPARE(m_pdf->printed().size(), 2); // two copies, each its own job, as "Print" does
    QVERIFY(!m_form->isVisible());
}

void TestPrintPreview::fieldsAreCheckedAsForPrinting()
{
    {
        DialogScript script;
        m_form->Edit2->clear();
        QCOMPARE(m_form->visKnapClick(), nullptr);
        QCOMPARE(script.texts(), QStringList { u"Der mangler en værdi, prøv igen!"_qs });
        m_form->StandardClick();
    }
    m_form->Edit3->setText(u"1,2,3"_qs);
    QCOMPARE(errorOf([this] { m_form->visKnapClick(); }), u"'1,2,3' is not a valid floating point value"_qs);
    QCOMPARE(errorOf([this] { m_form->printKnapClick(); }), u"'1,2,3' is not a valid floating point value"_qs);
    QVERIFY(m_pdf->printed().isEmpty());
}

STRUKTUR_GUI_TEST_MAIN(TestPrintPreview)
#include "test_printpreview.moc"
