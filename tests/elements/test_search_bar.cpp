// SPDX-License-Identifier: GPL-3.0-or-later
// The search bar under the element tree, driven from the keyboard as a user drives it.
#include "StructurePageFixture.h"
#include "elements/SearchBar.h"
#include "support/GuiTestMain.h"

#include <QLabel>
#include <QListView>
#include <QTextCursor>

using namespace struktur;
using namespace struktur::test;

class TestSearchBar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_page = std::make_unique<StructurePageFixture>(); }
    void cleanup() { m_page.reset(); }

    void ctrlFOpensAndEscapeCloses();
    void resultsFollowTheTypedText_data();
    void resultsFollowTheTypedText();
    void f3ChoosesResultsAsAClickWouldAndSelectsTheHit();
    void aSavedDocumentIsSearchedAgain();
    void captionsAnswerWhileALargeFolderIsRead();

private:
    SearchBar* bar() const { return m_page->page->findChild<SearchBar*>(); }
    QLineEdit* field() const { return m_page->control<QLineEdit>(u"soegEdit"_qs); }
    QListView* results() const { return m_page->control<QListView>(u"soegListe"_qs); }
    QModelIndex result(int row) const { return results()->model()->index(row, 0); }
    QString count() const { return m_page->control<QLabel>(u"soegAntal"_qs)->text(); }
    /// Every result line: the path, and " | " and the snippet for a document match.
    QStringList resultLines() const;
    void openBar() const;
    void search(const QString& text) const;

    std::unique_ptr<StructurePageFixture> m_page;
};

QStringList TestSearchBar::resultLines() const
{
    QStringList lines;
    for (int row = 0; row < results()->model()->rowCount(); ++row) {
        const QModelIndex item = result(row);
        QString line = item.data().toString();
        const QString hit = item.data(Qt::UserRole + 2).toString();
        if (!hit.isEmpty())
            line += u" | "_qs + item.data(Qt::UserRole + 1).toString() + u'*' + hit + u'*'
                + item.data(Qt::UserRole + 3).toString();
        lines.append(line);
    }
    return lines;
}

void TestSearchBar::openBar() const
{
    m_page->tree->setFocus();
    QTest::keyClick(m_page->tree, Qt::Key_F, Qt::ControlModifier);
    StructurePageFixture::settle();
}

/// Types the text and waits for the documents behind it to be read.
void TestSearchBar::search(const QString& text) const
{
    StructurePageFixture::type(field(), text);
    QTRY_VERIFY(!bar()->isSearchPending() && !bar()->isReadingDocuments());
    StructurePageFixture::settle();
}

void TestSearchBar::ctrlFOpensAndEscapeCloses()
{
    QVERIFY(!bar()->isVisible());
    openBar();
    QVERIFY(bar()->isVisible());
    QVERIFY(field()->hasFocus());
    auto* inDocuments = m_page->control<QCheckBox>(u"dokumentCheck"_qs);
    auto* caseSensitive = m_page->control<QCheckBox>(u"storeSmaaCheck"_qs);
    QCOMPARE(inDocuments->text(), u"Også i dokumenter"_qs);
    QVERIFY(inDocuments->isChecked());
    QCOMPARE(caseSensitive->text(), u"Skeln mellem store og små bogstaver"_qs);
    QVERIFY(!caseSensitive->isChecked());

    QTest::keyClick(field(), Qt::Key_Escape);
    QVERIFY(!bar()->isVisible());
    // The tool button opens it too.
    m_page->click(u"soegKnap"_qs);
    QVERIFY(bar()->isVisible());
}

void TestSearchBar::resultsFollowTheTypedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("inDocuments");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("countText");

    QTest::newRow("captions in tree order")
        << u"kapitel"_qs << true << false << QStringList { u"Indhold › Kapitel Æble"_qs, u"Indhold › Kapitel Øre"_qs }
        << u"2 elementer"_qs;
    QTest::newRow("caption and document, Danish letters folded")
        << u"æBLE"_qs << true << false << QStringList { u"Indhold › Kapitel Æble | *Æble*r fra Fyn"_qs }
        << u"1 element"_qs;
    QTest::newRow("document only") << u"fyn"_qs << true << false
                                   << QStringList { u"Indhold › Kapitel Æble | Æbler fra *Fyn*"_qs } << u"1 element"_qs;
    QTest::newRow("documents left out") << u"fyn"_qs << false << false << QStringList() << u"Ingen elementer"_qs;
    QTest::newRow("case sensitive") << u"Afsnit"_qs << true << true
                                    << QStringList { u"Indhold › Kapitel Æble › Afsnit A | *Afsnit*tets tekst"_qs,
                                           u"Indhold › Kapitel Æble › Afsnit B"_qs }
                                    << u"2 elementer"_qs;
    QTest::newRow("case sensitive Danish letters")
        << u"æble"_qs << true << true << QStringList() << u"Ingen elementer"_qs;
}

void TestSearchBar::resultsFollowTheTypedText()
{
    QFETCH(QString, text);
    QFETCH(bool, inDocuments);
    QFETCH(bool, caseSensitive);
    QFETCH(QStringList, lines);
    openBar();
    m_page->setTicked(u"dokumentCheck"_qs, inDocuments);
    m_page->setTicked(u"storeSmaaCheck"_qs, caseSensitive);
    search(text);
    QCOMPARE(resultLines(), lines);
    QFETCH(QString, countText);
    QCOMPARE(count(), countText);
}

void TestSearchBar::f3ChoosesResultsAsAClickWouldAndSelectsTheHit()
{
    m_page->writeDocument(u"afsnitA"_qs, u"Om kapitlet: et KAPITEL for sig"_qs);
    openBar();
    search(u"kapitel"_qs);
    QCOMPARE(resultLines().size(), 3);

    // Enter goes to the first result: the tree, the fields and the editor as after a click on it.
    QTest::keyClick(field(), Qt::Key_Return);
    StructurePageFixture::settle();
    QCOMPARE(m_page->tree->selectedText(), u"Kapitel Æble"_qs);
    QCOMPARE(m_page->tekstEdit()->text(), u"Kapitel Æble"_qs);
    QCOMPARE(m_page->dataEdit()->text(), u"kapitel1"_qs);
    QCOMPARE(m_page->editorText(), u"Æbler fra Fyn"_qs);

    QTest::keyClick(field(), Qt::Key_F3);
    StructurePageFixture::settle();
    QCOMPARE(m_page->tree->selectedText(), u"Afsnit A"_qs);
    QCOMPARE(m_page->dataEdit()->text(), u"afsnitA"_qs);
    // The first hit in the document is selected, whatever its case.
    QCOMPARE(m_page->editor->infoTekst->textCursor().selectedText(), u"KAPITEL"_qs);

    QTest::keyClick(field(), Qt::Key_F3);
    QCOMPARE(m_page->tree->selectedText(), u"Kapitel Øre"_qs);
    QTest::keyClick(field(), Qt::Key_F3);
    QCOMPARE(m_page->tree->selectedText(), u"Kapitel Æble"_qs);
    QTest::keyClick(field(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(m_page->tree->selectedText(), u"Kapitel Øre"_qs);
    QCOMPARE(results()->currentIndex().row(), 2);

    // A click on a result chooses it as well, and a collapsed branch opens to show it.
    m_page->tree->FullCollapse();
    QTest::mouseClick(results()->viewport(), Qt::LeftButton, {}, results()->visualRect(result(1)).center());
    StructurePageFixture::settle();
    QCOMPARE(m_page->tree->selectedText(), u"Afsnit A"_qs);
    QVERIFY(m_page->tree->isExpanded(m_page->indexOf(u"Kapitel Æble"_qs)));
}

void TestSearchBar::aSavedDocumentIsSearchedAgain()
{
    openBar();
    search(u"overskrift"_qs);
    QCOMPARE(count(), u"Ingen elementer"_qs);

    // Edit Afsnit A's document and save it with Rediger, as the page does.
    m_page->clickElement(u"Afsnit A"_qs);
    m_page->typeDocument(u"Ny overskrift"_qs);
    m_page->click(u"Button3"_qs);
    bar()->open();
    search(u"overskrift"_qs);
    QCOMPARE(resultLines(), QStringList { u"Indhold › Kapitel Æble › Afsnit A | Ny *overskrift*"_qs });
}

void TestSearchBar::captionsAnswerWhileALargeFolderIsRead()
{
    // A structure of 2,000 elements, each with a 30 kB document that mentions "pumpe" at its end.
    const QString folder = m_page->folder + u"store dokumenter/"_qs;
    QVERIFY(QDir().mkpath(folder));
    const QByteArray filler = QByteArray("{\\rtf1\\ansi ") + QByteArray(30000, 'x') + " pumpe\\par}";
    m_page->tree->elementModel()->rebuild([&](ElementTree& tree) {
        for (int i = 0; i < 2000; ++i) {
            Element* element = tree.append(tree.root(), QStringLiteral("Element %1").arg(i));
            element->hasData = true;
            element->data = QStringLiteral("0d%1").arg(i);
            StructurePageFixture::write(folder + element->fileName() + u".rtf"_qs, filler);
        }
    });
    m_page->tree->setInfomappe(folder);

    openBar();
    StructurePageFixture::type(field(), u"element 19"_qs);
    // Caption results are there as soon as the search runs, before the documents are read.
    QTRY_VERIFY(!bar()->isSearchPending());
    QCOMPARE(count(), u"111 elementer"_qs);
    QVERIFY(bar()->isReadingDocuments());
    QVERIFY(bar()->progressText().startsWith(u"Læser dokumenter: "_qs));
    QTest::keyClick(field(), Qt::Key_9);
    QTRY_COMPARE(count(), u"11 elementer"_qs);
    QCOMPARE(resultLines().first(), u"Element 199"_qs);

    // Once the folder is read, document results follow.
    StructurePageFixture::type(field(), u"pumpe"_qs);
    QTRY_COMPARE_WITH_TIMEOUT(count(), u"2000 elementer"_qs, 30000);
    QTRY_VERIFY(!bar()->isReadingDocuments());
    QCOMPARE(bar()->progressText(), QString());
}

STRUKTUR_GUI_TEST_MAIN(TestSearchBar)
#include "test_search_bar.moc"
