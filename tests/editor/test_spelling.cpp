// SPDX-License-Identifier: GPL-3.0-or-later
// Spell checking in the document editor, driven as the user drives it.
#include "../support/DialogScript.h"
#include "../support/GuiTestMain.h"
#include "../support/TempProgramFolder.h"
#include "editor/SpellChecking.h"
#include "editor/SpellHighlighter.h"
#include "editor/TeditForm.h"
#include "spelling/Speller.h"
#include "ui/HintLine.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

using namespace struktur;
using struktur::test::DialogScript;
using struktur::test::TempProgramFolder;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

/// The underlined words of the whole document, "|"-separated.
QString underlinedWords(const TeditForm& form)
{
    QStringList words;
    const QTextDocument* document = form.infoTekst->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (const auto& [start, length] : form.spellChecking().highlighter().underlined(block))
            words.append(block.text().mid(start, length));
    }
    return words.join(u'|');
}

QStringList menuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts.append(action->isSeparator() ? u"-"_qs : action->text().section(u'\t', 0, 0));
    return texts;
}

} // namespace

class TestSpelling : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void misspeltWordsAreUnderlined();
    void savedDocumentIsUnchanged();
    void popupMenuOrder();
    void suggestionReplacesTheWord();
    void addAndIgnore();
    void actionStateIsKept();
    void missingDictionaryGivesOneHint();
    void largeDocumentIsCheckedInSlices();
    void loadedDocumentIsCheckedAsItIsLaidOut();

private:
    std::unique_ptr<TeditForm> createForm(const QString& dictionary);
    QPoint pointAt(int position) const;
    void setText(const QString& text);

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<TeditForm> m_form;
};

void TestSpelling::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_folder->createFolders();
    m_form = createForm(spelling::findDanishDictionary());
    QVERIFY2(m_form->spellChecking().speller(),
        "the Danish dictionary (hunspell-da) is installed by scripts/install-deps.sh");
}

void TestSpelling::cleanup()
{
    m_form.reset();
    m_folder.reset();
}

std::unique_ptr<TeditForm> TestSpelling::createForm(const QString& dictionary)
{
    auto form = std::make_unique<TeditForm>(m_folder->path());
    form->spellChecking().useDictionary(dictionary);
    form->resize(600, 400);
    form->show();
    return form;
}

void TestSpelling::setText(const QString& text)
{
    m_form->infoTekst->setPlainText(text);
    m_form->spellChecking().highlighter().finish();
}

QPoint TestSpelling::pointAt(int position) const
{
    QTextCursor cursor(m_form->infoTekst->document());
    cursor.setPosition(position);
    return m_form->infoTekst->cursorRect(cursor).center() + QPoint(2, 0);
}

void TestSpelling::misspeltWordsAreUnderlined()
{
    setText(u"Huset er rødt og husset er grønt.\nSe www.husset.dk, EU, 12husset og ABCD.\nhusset"_qs);
    QCOMPARE(underlinedWords(*m_form), u"husset|husset"_qs);
    // Typing goes on being checked; the underline never enters the text's own formats.
    QTextCursor cursor(m_form->infoTekst->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(u" og bilen kørrer"_qs);
    QTRY_COMPARE(underlinedWords(*m_form), u"husset|husset|kørrer"_qs);
    for (QTextBlock block = m_form->infoTekst->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            QCOMPARE(it.fragment().charFormat().underlineStyle(), QTextCharFormat::NoUnderline);
    }
}

void TestSpelling::savedDocumentIsUnchanged()
{
    const QString source = m_folder->path() + u"/kilde.rtf"_qs;
    writeFile(source,
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"
        "\\pard\\f0\\fs20 Et \\b husset\\b0  med \\cf1\\ul fejll\\ulnone\\cf0  og \\i korrekt\\i0  tekst.\\par}");
    m_form->spellChecking().Astavning->trigger(); // off
    m_form->loadDocument(source);
    const QString withoutChecking = m_folder->path() + u"/uden.rtf"_qs;
    m_form->saveDocument(withoutChecking);

    m_form->spellChecking().Astavning->trigger(); // on
    m_form->loadDocument(source);
    m_form->spellChecking().highlighter().finish();
    QCOMPARE(underlinedWords(*m_form), u"husset|fejll"_qs);
    QVERIFY(!m_form->infoTekst->document()->isModified());
    QVERIFY(!m_form->infoTekst->document()->isUndoAvailable());
    const QString withChecking = m_folder->path() + u"/med.rtf"_qs;
    m_form->saveDocument(withChecking);
    QCOMPARE(readFile(withChecking), readFile(withoutChecking));
}

void TestSpelling::popupMenuOrder()
{
    setText(u"Et husset står her"_qs);
    QMenu* menu = m_form->popupMenuAt(pointAt(4));
    QVERIFY(menu);
    const QStringList texts = menuTexts(menu);
    const QStringList standard
        = { u"Annuller"_qs, u"-"_qs, u"Klip"_qs, u"Kopier"_qs, u"Indsæt"_qs, u"-"_qs, u"Vælg alt"_qs, u"Slet"_qs };
    const qsizetype suggestions = texts.indexOf(u"Tilføj til ordbog"_qs);
    QVERIFY2(suggestions >= 1 && suggestions <= 6, qPrintable(texts.join(u", ")));
    QCOMPARE(texts.first(), u"huset"_qs);
    const QStringList spellingItems { u"Tilføj til ordbog"_qs, u"Ignorer"_qs, u"-"_qs };
    QCOMPARE(texts.mid(suggestions), spellingItems + standard);
    delete menu;

    // A correct word, a blank and checking switched off give the menu of today.
    QMenu* plain = m_form->popupMenuAt(pointAt(12));
    QCOMPARE(plain->objectName(), u"PopupEdit"_qs);
    QCOMPARE(menuTexts(plain), standard);
    m_form->spellChecking().Astavning->trigger();
    QCOMPARE(m_form->popupMenuAt(pointAt(4)), plain);
}

void TestSpelling::suggestionReplacesTheWord()
{
    setText(u"Et husset står her"_qs);
    m_form->infoTekst->document()->setModified(false);
    QMenu* menu = m_form->popupMenuAt(pointAt(5));
    menu->actions().first()->trigger();
    delete menu;
    QCOMPARE(m_form->infoTekst->toPlainText(), u"Et huset står her"_qs);
    QTRY_COMPARE(underlinedWords(*m_form), QString());
    m_form->infoTekst->undo(); // one step back to the word as it was
    QCOMPARE(m_form->infoTekst->toPlainText(), u"Et husset står her"_qs);
}

void TestSpelling::addAndIgnore()
{
    const QString wordList = m_folder->optionsFile(u"ordbog.txt"_qs);
    setText(u"Kvarnolt og husset"_qs);
    QCOMPARE(underlinedWords(*m_form), u"Kvarnolt|husset"_qs);

    QMenu* menu = m_form->popupMenuAt(pointAt(2));
    for (QAction* action : menu->actions()) {
        if (action->text() == u"Tilføj til ordbog"_qs)
            action->trigger();
    }
    delete menu;
    QCOMPARE(readFile(wordList), QByteArray("Kvarnolt\r\n"));
    QTRY_COMPARE(underlinedWords(*m_form), u"husset"_qs);

    menu = m_form->popupMenuAt(pointAt(14));
    for (QAction* action : menu->actions()) {
        if (action->text() == u"Ignorer"_qs)
            action->trigger();
    }
    delete menu;
    QTRY_COMPARE(underlinedWords(*m_form), QString());
    QCOMPARE(readFile(wordList), QByteArray("Kvarnolt\r\n")); // ignoring is for this run only

    // The next run knows the added word, not the ignored one.
    m_form.reset();
    m_form = createForm(spelling::findDanishDictionary());
    setText(u"Kvarnolt og husset"_qs);
    QCOMPARE(underlinedWords(*m_form), u"husset"_qs);
}

void TestSpelling::actionStateIsKept()
{
    const QString stateFile = m_folder->optionsFile(u"stavning.txt"_qs);
    QAction* action = m_form->spellChecking().Astavning;
    QCOMPARE(action->text(), u"Stavekontrol"_qs);
    QCOMPARE(action->shortcut(), QKeySequence(Qt::Key_F7));
    QVERIFY(action->isChecked()); // on by default
    QCOMPARE(m_form->findChild<QToolButton*>(u"stavningKnap"_qs)->defaultAction(), action);
    QVERIFY(!QFile::exists(stateFile)); // written only when switched

    setText(u"husset"_qs);
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form->infoTekst, Qt::Key_F7);
    QVERIFY(!action->isChecked());
    QCOMPARE(underlinedWords(*m_form), QString());
    QCOMPARE(readFile(stateFile), QByteArray("0\r\n"));

    m_form.reset();
    m_form = createForm(spelling::findDanishDictionary());
    QVERIFY(!m_form->spellChecking().Astavning->isChecked());
    setText(u"husset"_qs);
    QCOMPARE(underlinedWords(*m_form), QString());
    m_form->spellChecking().Astavning->trigger();
    QCOMPARE(readFile(stateFile), QByteArray("1\r\n"));
    QTRY_COMPARE(underlinedWords(*m_form), u"husset"_qs);

    // A file that says neither leaves checking on.
    writeFile(stateFile, "ja\r\n");
    QVERIFY(SpellChecking::readState(stateFile));
    writeFile(stateFile,
        "\xEF\xBB\xBF"
        "0\n");
    QVERIFY(!SpellChecking::readState(stateFile));
}

void TestSpelling::missingDictionaryGivesOneHint()
{
    m_form.reset();
    DialogScript script; // any message box would be recorded here
    m_form = createForm(QString());
    const QString message = u"Der er ingen dansk ordbog: stavekontrollen er slået fra"_qs;
    QCOMPARE(HintLine::instance().current(), message);
    QVERIFY(!m_form->spellChecking().Astavning->isChecked());
    QVERIFY(!QFile::exists(m_folder->optionsFile(u"stavning.txt"_qs))); // the user's choice stays
    setText(u"husset"_qs);
    QCOMPARE(underlinedWords(*m_form), QString());
    m_form->spellChecking().Astavning->trigger(); // switching it on again only repeats the hint
    QVERIFY(!m_form->spellChecking().Astavning->isChecked());
    QCOMPARE(HintLine::instance().current(), message);
    QVERIFY(script.shown.isEmpty());
}

void TestSpelling::largeDocumentIsCheckedInSlices()
{
    // About half a megabyte: the first slice covers what is visible; the rest follows from the event loop.
    QString text;
    for (int i = 0; i < 10000; ++i)
        text += u"Linje med et husset ord og mere korrekt dansk tekst.\n"_qs;
    m_form->infoTekst->setPlainText(text);
    SpellHighlighter& highlighter = m_form->spellChecking().highlighter();
    QVERIFY(highlighter.isBusy()); // nothing is checked while the text is set
    QTRY_VERIFY(!highlighter.underlined(m_form->infoTekst->document()->begin()).isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!highlighter.isBusy(), 30000);
    const QTextBlock last = m_form->infoTekst->document()->lastBlock().previous();
    QCOMPARE(highlighter.underlined(last).size(), 1);
}

void TestSpelling::loadedDocumentIsCheckedAsItIsLaidOut()
{
    // A document loaded whole is laid out lazily by Qt; the checking must neither force that
    // layout nor lose its underlines or text in paragraphs laid out after they were checked.
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 6000; ++i)
        rtf += "Linje med et husset ord og mere korrekt dansk tekst, som er lang nok til at fylde en hel "
               "linje.\\par\r\n";
    rtf += "Sidste linje med fejll.}";
    const QString path = m_folder->path() + u"/lang.rtf"_qs;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(rtf);
    file.close();
    m_form->loadDocument(path);
    QTextDocument& document = *m_form->infoTekst->document();
    SpellHighlighter& highlighter = m_form->spellChecking().highlighter();
    QTRY_VERIFY(!highlighter.underlined(document.begin()).isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!highlighter.isBusy(), 60000);
    const QTextBlock last = document.lastBlock();
    QCOMPARE(highlighter.underlined(last).size(), 1);
    QVERIFY(last.layout()->lineCount() > 0);
    QCOMPARE(last.layout()->formats().size(), 1);
    const QTextBlock middle = document.findBlockByNumber(3000);
    QVERIFY(middle.layout()->lineCount() > 0);
    QCOMPARE(middle.layout()->formats().size(), 1);
}

STRUKTUR_GUI_TEST_MAIN(TestSpelling)
#include "test_spelling.moc"
