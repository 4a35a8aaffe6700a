// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's find and replace bar, driven through its keys and buttons.
#include "../support/GuiTestMain.h"
#include "../support/TempProgramFolder.h"
#include "editor/FindBar.h"
#include "editor/TeditForm.h"
#include "ui/HintLine.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

using namespace struktur;
using struktur::test::TempProgramFolder;

class TestFindBar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void keysOpenAndClose();
    void findsWithTheOptions_data();
    void findsWithTheOptions();
    void nextAndPreviousWrapAround();
    void findsAcrossFormattingRuns();
    void replaceOneThenAll();
    void replaceAllIsOneUndoStep();
    void hitsAreHighlightedNotFormatted();

private:
    FindBar& bar() const { return m_form->findBar(); }
    QString selected() const { return m_form->infoTekst->textCursor().selectedText(); }
    int selectionStart() const { return m_form->infoTekst->textCursor().selectionStart(); }
    void search(const QString& text, bool matchCase = false, bool wholeWords = false);

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<TeditForm> m_form;
};

void TestFindBar::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_folder->createFolders();
    m_form = std::make_unique<TeditForm>(m_folder->path());
    m_form->resize(600, 400);
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    m_form->infoTekst->setFocus();
}

void TestFindBar::cleanup()
{
    m_form.reset();
    m_folder.reset();
}

void TestFindBar::search(const QString& text, bool matchCase, bool wholeWords)
{
    bar().openFind();
    bar().findField->setText(text);
    bar().matchCase->setChecked(matchCase);
    bar().wholeWords->setChecked(wholeWords);
}

void TestFindBar::keysOpenAndClose()
{
    m_form->infoTekst->setPlainText(u"Ærø og ærø"_qs);
    QTextCursor cursor = m_form->infoTekst->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    m_form->infoTekst->setTextCursor(cursor);

    QTest::keyClick(m_form->infoTekst, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(bar().isVisible());
    QVERIFY(bar().findField->hasFocus());
    QCOMPARE(bar().findField->text(), u"Ærø"_qs); // the selection is what is searched for
    QVERIFY(!bar().replaceField->isVisible());

    QTest::keyClick(bar().findField, Qt::Key_Escape);
    QVERIFY(!bar().isVisible());
    QVERIFY(m_form->infoTekst->hasFocus());

    QTest::keyClick(m_form->infoTekst, Qt::Key_H, Qt::ControlModifier);
    QVERIFY(bar().isVisible());
    QVERIFY(bar().replaceField->isVisible());
    QVERIFY(bar().replaceAllButton->isVisible());

    // F3 and Shift+F3 work from the document too.
    m_form->infoTekst->setFocus();
    QTest::keyClick(m_form->infoTekst, Qt::Key_F3);
    QCOMPARE(selectionStart(), 7);
    QTest::keyClick(m_form->infoTekst, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(selectionStart(), 0);
}

void TestFindBar::findsWithTheOptions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<QList<int>>("hits");
    const QString document = u"Hus, hus og HUSE. Æble æble"_qs;
    QTest::newRow("any case") << u"hus"_qs << false << false << QList<int> { 0, 5, 12 };
    QTest::newRow("case") << u"hus"_qs << true << false << QList<int> { 5 };
    QTest::newRow("whole words") << u"hus"_qs << false << true << QList<int> { 0, 5 };
    QTest::newRow("both") << u"HUS"_qs << true << true << QList<int> {};
    QTest::newRow("Danish letters") << u"ÆBLE"_qs << false << false << QList<int> { 18, 23 };
}

void TestFindBar::findsWithTheOptions()
{
    QFETCH(QString, text);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWords);
    QFETCH(QList<int>, hits);
    m_form->infoTekst->setPlainText(u"Hus, hus og HUSE. Æble æble"_qs);
    search(text, matchCase, wholeWords);
    QList<int> found;
    while (bar().findNext() && !found.contains(selectionStart()))
        found.append(selectionStart());
    QCOMPARE(found, hits);
    if (hits.isEmpty())
        QCOMPARE(HintLine::instance().current(), u"Teksten \"%1\" blev ikke fundet"_qs.arg(text));
}

void TestFindBar::nextAndPreviousWrapAround()
{
    m_form->infoTekst->setPlainText(u"a ord b ord c"_qs);
    search(u"ord"_qs);
    QTest::mouseClick(bar().nextButton, Qt::LeftButton);
    QCOMPARE(selectionStart(), 2);
    QTest::mouseClick(bar().nextButton, Qt::LeftButton);
    QCOMPARE(selectionStart(), 8);
    QTest::mouseClick(bar().nextButton, Qt::LeftButton);
    QCOMPARE(selectionStart(), 2);
    QCOMPARE(HintLine::instance().current(), u"Søgningen fortsatte fra begyndelsen"_qs);
    QTest::mouseClick(bar().previousButton, Qt::LeftButton);
    QCOMPARE(selectionStart(), 8);
    QCOMPARE(HintLine::instance().current(), u"Søgningen fortsatte fra slutningen"_qs);
}

void TestFindBar::findsAcrossFormattingRuns()
{
    m_form->infoTekst->setHtml(u"<p>Et <b>stru</b><i>ktur</i> og strukturkort</p>"_qs);
    search(u"struktur"_qs, false, true);
    QVERIFY(bar().findNext());
    QCOMPARE(selected(), u"struktur"_qs);
    QCOMPARE(selectionStart(), 3);
    QVERIFY(bar().findNext()); // "strukturkort" is no whole word: back to the same hit
    QCOMPARE(selectionStart(), 3);
    bar().wholeWords->setChecked(false);
    QVERIFY(bar().findNext());
    QCOMPARE(selectionStart(), 15);
}

void TestFindBar::replaceOneThenAll()
{
    m_form->infoTekst->setPlainText(u"kat, Kat og katte"_qs);
    bar().openReplace();
    bar().findField->setText(u"kat"_qs);
    bar().replaceField->setText(u"hund"_qs);
    bar().wholeWords->setChecked(true);
    QTest::mouseClick(bar().replaceButton, Qt::LeftButton); // finds the first hit
    QCOMPARE(m_form->infoTekst->toPlainText(), u"kat, Kat og katte"_qs);
    QTest::mouseClick(bar().replaceButton, Qt::LeftButton); // replaces it, goes to the next
    QCOMPARE(m_form->infoTekst->toPlainText(), u"hund, Kat og katte"_qs);
    QCOMPARE(selected(), u"Kat"_qs);
    QCOMPARE(bar().replaceAll(), 1);
    QCOMPARE(m_form->infoTekst->toPlainText(), u"hund, hund og katte"_qs);
    QCOMPARE(HintLine::instance().current(), u"1 forekomst er erstattet"_qs);
}

void TestFindBar::replaceAllIsOneUndoStep()
{
    m_form->infoTekst->setHtml(u"<p>ord <b>ord</b> x<i>ord</i>x ord</p><p>ordord</p>"_qs);
    const QString before = m_form->infoTekst->toPlainText();
    bar().openReplace();
    bar().findField->setText(u"ord"_qs);
    bar().replaceField->setText(u"ordet"_qs); // contains what it replaces: no endless loop
    QTest::mouseClick(bar().replaceAllButton, Qt::LeftButton);
    QCOMPARE(m_form->infoTekst->toPlainText(), u"ordet ordet xordetx ordet\nordetordet"_qs);
    QCOMPARE(HintLine::instance().current(), u"6 forekomster er erstattet"_qs);
    // The replacement keeps the format of what it replaced.
    QTextCursor bold(m_form->infoTekst->document());
    bold.setPosition(8);
    QVERIFY(bold.charFormat().font().bold());
    m_form->infoTekst->undo();
    QCOMPARE(m_form->infoTekst->toPlainText(), before);

    bar().findField->setText(u"findes ikke"_qs);
    QCOMPARE(bar().replaceAll(), 0);
    QCOMPARE(HintLine::instance().current(), u"Teksten blev ikke fundet; intet er erstattet"_qs);
}

void TestFindBar::hitsAreHighlightedNotFormatted()
{
    m_form->infoTekst->setPlainText(u"ord og ord"_qs);
    search(u"ord"_qs);
    QTRY_COMPARE(m_form->infoTekst->extraSelections().size(), 2);
    QVERIFY(!m_form->infoTekst->document()->isUndoAvailable());
    bar().closeBar();
    QVERIFY(m_form->infoTekst->extraSelections().isEmpty());
}

STRUKTUR_GUI_TEST_MAIN(TestFindBar)
#include "test_findbar.moc"
