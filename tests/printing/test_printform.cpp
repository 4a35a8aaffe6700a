// SPDX-License-Identifier: GPL-3.0-or-later
// The print window driven as the user drives it, printing to PDF files.
#include "support/ErrorOf.h"
#include "../support/DialogScript.h"
#include "PdfPrinter.h"
#include "platform/Error.h"
#include "printing/PrintRichText.h"
#include "printing/Tprintform.h"
#include "ui/ErrorDisplay.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using namespace struktur;
using namespace struktur::test;

class TestPrintform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void windowAsDesigned();
    void filtersWhatIsTyped_data();
    void filtersWhatIsTyped();
    void caretGoesToTheEnd();
    void filtersWhatIsPasted_data();
    void filtersWhatIsPasted();
    void emptyFieldIsReported_data();
    void emptyFieldIsReported();
    void refusedValuesPrintNothing_data();
    void refusedValuesPrintNothing();
    void standardRestoresTheDefaults();
    void printsCopiesAndHides_data();
    void printsCopiesAndHides();
    void loneCommaIsAZeroMargin();
    void cancelHides();
    void positionIsKept();
    void brokenOptionsFileIsReported_data();
    void brokenOptionsFileIsReported();
    void positionOffEveryScreenIsBroughtBack();
    void unwritableOptionsFileIsReported();

private:
    QString optionsPath() const { return m_programdir + QStringLiteral("/Options/printoptions.txt"); }
    void writeOptions(const QByteArray& bytes) const;
    std::unique_ptr<Tprintform> createForm();

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_programdir;
    std::unique_ptr<PdfPrinter> m_pdf;
    std::unique_ptr<QTextEdit> m_document;
};

void TestPrintform::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_programdir = m_folder->filePath(QStringLiteral("Kvarnolt æøå"));
    QVERIFY(QDir().mkpath(m_programdir + QStringLiteral("/Options")));
    QVERIFY(QDir().mkpath(m_folder->filePath(QStringLiteral("pdf"))));
    qputenv("KVARNOLT_DIR", m_programdir.toUtf8());
    m_pdf = std::make_unique<PdfPrinter>(m_folder->filePath(QStringLiteral("pdf")));
    m_document = std::make_unique<QTextEdit>();
    m_document->setPlainText(QStringLiteral("Dokumentet der udskrives, med æøå."));
}

void TestPrintform::cleanup()
{
    m_document.reset();
    m_pdf.reset();
}

void TestPrintform::writeOptions(const QByteArray& bytes) const
{
    QFile file(optionsPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::unique_ptr<Tprintform> TestPrintform::createForm()
{
    auto form = std::make_unique<Tprintform>(m_programdir);
    form->setDocumentControl(m_document.get());
    form->setPrinter(m_pdf->printer);
    return form;
}

void TestPrintform::windowAsDesigned()
{
    const auto form = createForm();
    QCOMPARE(form->windowTitle(), QStringLiteral("Udskriv dokument"));
    QCOMPARE(form->objectName(), QStringLiteral("printform"));
    QCOMPARE(form->minimumSize(), QSize(323, 233));
    QCOMPARE(form->maximumSize(), QSize(323, 233));
    QVERIFY(!(form->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(form->optfil(), optionsPath());
    const QStringList texts { form->Edit1->text(), form->Edit2->text(), form->Edit3->text(), form->Edit4->text(),
        form->Edit5->text() };
    QCOMPARE(texts, QStringList({ "2,5", "1", "2", "1,5", "1" }));

    // Tab order: the margins top to bottom, then the buttons, the copies field last.
    const QList<QWidget*> order { form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Button1, form->lukKnap,
        form->printKnap, form->Edit5 };
    for (qsizetype i = 0; i + 1 < order.size(); ++i) {
        QWidget* next = order[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        QCOMPARE(next->objectName(), order[i + 1]->objectName());
    }
}

void TestPrintform::filtersWhatIsTyped_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    QTest::newRow("margin with comma") << 1 << "2,5" << "2,5";
    QTest::newRow("margin with point") << 2 << "2.5" << "2.5";
    QTest::newRow("margin with letters") << 3 << "1x,5 cm" << "1,5";
    QTest::newRow("margin with minus") << 4 << "-3" << "3";
    QTest::newRow("copies with comma") << 5 << "2,5" << "25";
    QTest::newRow("copies with letters") << 5 << "a1b2" << "12";
}

void TestPrintform::filtersWhatIsTyped()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    const auto form = createForm();
    QLineEdit* const edits[] = { form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit5 };
    QLineEdit* edit = edits[field - 1];
    edit->clear();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), kept);
    QCOMPARE(edit->cursorPosition(), kept.size());
}

void TestPrintform::caretGoesToTheEnd()
{
    const auto form = createForm();
    form->Edit1->setText(QStringLiteral("25"));
    form->Edit1->setCursorPosition(1);
    QTest::keyClicks(form->Edit1, QStringLiteral(","));
    QCOMPARE(form->Edit1->text(), QStringLiteral("2,5"));
    QCOMPARE(form->Edit1->cursorPosition(), 3);
    // A refused character typed in the middle also leaves the caret at the end.
    form->Edit5->setText(QStringLiteral("12"));
    form->Edit5->setCursorPosition(0);
    QTest::keyClicks(form->Edit5, QStringLiteral("x"));
    QCOMPARE(form->Edit5->text(), QStringLiteral("12"));
    QCOMPARE(form->Edit5->cursorPosition(), 2);
}

void TestPrintform::filtersWhatIsPasted_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");

    QTest::newRow("margin with unit") << 4 << "1,5 cm" << "1,5";
    QTest::newRow("copies with unit") << 5 << "3 stk" << "3";
    QTest::newRow("copies with letters in a row") << 5 << "ab12" << "12";
    QTest::newRow("copies with letters between") << 5 << "a1b2" << "12";
}

void TestPrintform::filtersWhatIsPasted()
{
    QFETCH(int, field);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    const auto form = createForm();
    QLineEdit* const edits[] = { form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit5 };
    QLineEdit* edit = edits[field - 1];
    QApplication::clipboard()->setText(pasted);
    edit->selectAll();
    QTest::keySequence(edit, QKeySequence::Paste);
    QCOMPARE(edit->text(), kept);
    QCOMPARE(edit->cursorPosition(), kept.size());
}

void TestPrintform::emptyFieldIsReported_data()
{
    QTest::addColumn<int>("field");
    for (int field = 1; field <= 5; ++field)
        QTest::addRow("Edit%d", field) << field;
}

void TestPrintform::emptyFieldIsReported()
{
    QFETCH(int, field);
    const auto form = createForm();
    form->show();
    QLineEdit* const edits[] = { form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit5 };
    edits[field - 1]->clear();
    DialogScript dialogs;
    form->printKnap->click();
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown.first().kind, Dialogs::Kind::Inform);
    QCOMPARE(dialogs.shown.first().text, QStringLiteral("Der mangler en værdi, prøv igen!"));
    QVERIFY(form->isVisible());
    QVERIFY(m_pdf->printed().isEmpty());
}

void TestPrintform::refusedValuesPrintNothing_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    QTest::newRow("two commas") << 3 << "1,2,3" << "'1,2,3' is not a valid floating point value";
    QTest::newRow("comma and point") << 1 << "1,2.5" << "'1,2.5' is not a valid floating point value";
    QTest::newRow("copies too large") << 5 << "2147483648" << "'2147483648' is not a valid integer value";
}

void TestPrintform::refusedValuesPrintNothing()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    const auto form = createForm();
    form->show();
    QLineEdit* const edits[] = { form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit5 };
    edits[field - 1]->setText(text);
    QCOMPARE(edits[field - 1]->text(), text); // the filter lets it through
    QCOMPARE(errorOf([&] { form->printKnapClick(); }), message);
    QVERIFY(form->isVisible());
    QVERIFY(m_pdf->printed().isEmpty());
}

void TestPrintform::standardRestoresTheDefaults()
{
    const auto form = createForm();
    for (QLineEdit* edit : { form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit5 })
        edit->setText(QStringLiteral("9"));
    form->Button1->click();
    const QStringList texts { form->Edit1->text(), form->Edit2->text(), form->Edit3->text(), form->Edit4->text(),
        form->Edit5->text() };
    QCOMPARE(texts, QStringList({ "2,5", "1", "2", "1,5", "1" }));
}

void TestPrintform::printsCopiesAndHides_data()
{
    QTest::addColumn<QString>("copies");
    QTest::addColumn<int>("jobs");
    QTest::newRow("default") << "1" << 1;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("none") << "0" << 0;
}

void TestPrintform::printsCopiesAndHides()
{
    QFETCH(QString, copies);
    QFETCH(int, jobs);
    const auto form = createForm();
    form->show();
    form->Edit5->setText(copies);
    form->printKnap->click();
    QVERIFY(!form->isVisible());
    QCOMPARE(m_pdf->printed().size(), jobs);
    // The fields keep their values for the next time.
    QCOMPARE(form->Edit5->text(), copies);
}

void TestPrintform::loneCommaIsAZeroMargin()
{
    const auto form = createForm();
    form->Edit1->setText(QStringLiteral(","));
    form->printKnapClick();
    QCOMPARE(m_pdf->printed().size(), 1);
    QCOMPARE(pageRect(*m_document).left, -m_pdf->printer.metrics().leftSpace);
}

void TestPrintform::cancelHides()
{
    const auto form = createForm();
    form->show();
    form->Edit2->setText(QStringLiteral("3"));
    form->lukKnap->click();
    QVERIFY(!form->isVisible());
    QVERIFY(m_pdf->printed().isEmpty());
    form->show();
    QCOMPARE(form->Edit2->text(), QStringLiteral("3"));
}

void TestPrintform::positionIsKept()
{
    {
        DialogScript dialogs;
        const auto form = createForm();
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(form->pos(), QPoint(0, 0));
        form->move(200, 120);
        form->GemOpt();
    }
    QFile file(optionsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("120\r\n200\r\n"));
    file.close();
    const auto again = createForm();
    QCOMPARE(again->pos(), QPoint(200, 120));
}

void TestPrintform::brokenOptionsFileIsReported_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("one line") << QByteArray("120\r\n") << "List index out of bounds (1)" << QPoint(0, 120);
    QTest::newRow("empty") << QByteArray() << "List index out of bounds (0)" << QPoint(0, 0);
    QTest::newRow("bad top") << QByteArray("x\r\n200\r\n") << "'x' is not a valid integer value" << QPoint(0, 0);
    QTest::newRow("bad left") << QByteArray("120\r\n2,5\r\n") << "'2,5' is not a valid integer value"
                              << QPoint(0, 120);
    QTest::newRow("extra lines are ignored") << QByteArray("120\n200\nfoo\n") << QString() << QPoint(200, 120);
}

void TestPrintform::brokenOptionsFileIsReported()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QFETCH(QPoint, position);
    writeOptions(content);
    DialogScript dialogs;
    const auto form = createForm();
    if (message.isEmpty()) {
        QVERIFY(dialogs.shown.isEmpty());
    } else {
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.first().kind, Dialogs::Kind::Error);
        QCOMPARE(dialogs.shown.first().text, errorBoxText(message));
    }
    QCOMPARE(form->pos(), position);
    // The window is complete and works despite the error.
    form->Edit5->setText(QStringLiteral("2"));
    form->printKnapClick();
    QCOMPARE(m_pdf->printed().size(), 2);
}

void TestPrintform::positionOffEveryScreenIsBroughtBack()
{
    writeOptions("30000\r\n-30000\r\n");
    const auto form = createForm();
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    QVERIFY2(screen.intersects(QRect(form->pos(), form->size())),
        qPrintable(QStringLiteral("%1,%2").arg(form->x()).arg(form->y())));
}

void TestPrintform::unwritableOptionsFileIsReported()
{
    const auto form = createForm();
    QVERIFY(QDir(m_programdir + QStringLiteral("/Options")).removeRecursively());
    const QString message = errorOf([&] { form->GemOpt(); });
    QVERIFY2(message.startsWith(QStringLiteral("Cannot create file \"%1\".").arg(optionsPath())), qPrintable(message));
}

QTEST_MAIN(TestPrintform)
#include "test_printform.moc"
