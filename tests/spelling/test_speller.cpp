// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Error.h"
#include "spelling/Speller.h"
#include "spelling/SpellingWords.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur;
using namespace struktur::spelling;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QString checkedWords(const QString& text)
{
    QStringList words;
    for (const WordSpan& span : wordsToCheck(text))
        words.append(text.mid(span.start, span.length));
    return words.join(u'|');
}

} // namespace

class TestSpeller : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void checkedWords_data();
    void checkedWords();
    void wordUnderPosition();
    void danishWords_data();
    void danishWords();
    void suggestionsAreLimitedAndDecoded();
    void dictionaryInItsOwnEncoding();
    void missingDictionary();
    void personalWordList();
    void addedWordsKeepTheFile();
    void aListThatCannotBeWrittenIsReported();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSpeller::init()
{
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/stavning-æøå-XXXXXX"));
    QVERIFY(m_dir->isValid());
    qunsetenv("DICPATH");
}

void TestSpeller::checkedWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("words");
    // clang-format off
    QTest::newRow("plain") << u"Huset er  rødt."_qs << u"Huset|er|rødt"_qs;
    QTest::newRow("digits") << u"side 12 og 3D-print, v2"_qs << u"side|og"_qs;
    QTest::newRow("capitals") << u"EU og DSB kører, A og I"_qs << u"og|kører|og"_qs;
    QTest::newRow("web and mail") << u"se https://eksempel.dk/sti www.dr.dk mig@post.dk her"_qs << u"se|her"_qs;
    QTest::newRow("joiners") << u"e-mail, rød-grøn og Andersen's -bindestreg-"_qs << u"e-mail|rød-grøn|og|Andersen's|bindestreg"_qs;
    QTest::newRow("abbreviation") << u"f.eks. i alt"_qs << u"f.eks.|i|alt"_qs;
    QTest::newRow("sentence end") << u"slut.Ny"_qs << u"slut.Ny"_qs;
    QTest::newRow("too long") << QString(101, u'a') + u" kort"_qs << u"kort"_qs;
    QTest::newRow("empty") << QString() << QString();
    // clang-format on
}

void TestSpeller::checkedWords()
{
    QFETCH(QString, text);
    QFETCH(QString, words);
    QCOMPARE(::checkedWords(text), words);
}

void TestSpeller::wordUnderPosition()
{
    const QString text = u"et husset her"_qs;
    QCOMPARE(wordAt(text, 3), (WordSpan { 3, 6 }));
    QCOMPARE(wordAt(text, 9), (WordSpan { 3, 6 })); // just after the word
    QCOMPARE(wordAt(u"se www.dr.dk nu"_qs, 5).length, 0);
    QCOMPARE(wordAt(u"  "_qs, 1).length, 0);
}

void TestSpeller::danishWords_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("correct");
    QTest::newRow("huset") << u"huset"_qs << true;
    QTest::newRow("husset") << u"husset"_qs << false;
    QTest::newRow("Ærø") << u"Ærø"_qs << true;
    QTest::newRow("København") << u"København"_qs << true;
    QTest::newRow("f.eks.") << u"f.eks."_qs << true;
    QTest::newRow("not in the encoding") << u"hus\u4e2d"_qs << false;
}

void TestSpeller::danishWords()
{
    QFETCH(QString, word);
    QFETCH(bool, correct);
    const Speller speller(findDanishDictionary());
    QVERIFY2(speller.isValid(), "the Danish dictionary (hunspell-da) is installed by scripts/install-deps.sh");
    QCOMPARE(speller.isCorrect(word), correct);
    QCOMPARE(speller.isCorrect(word), correct); // the remembered answer
}

void TestSpeller::suggestionsAreLimitedAndDecoded()
{
    const Speller speller(findDanishDictionary());
    const QStringList six = speller.suggestions(u"husset"_qs, 6);
    QVERIFY(!six.isEmpty());
    QVERIFY(six.size() <= 6);
    QCOMPARE(six.first(), u"huset"_qs);
    QCOMPARE(speller.suggestions(u"husset"_qs, 1), QStringList { u"huset"_qs });
    QVERIFY(speller.suggestions(u"ærø"_qs, 6).contains(u"Ærø"_qs));
}

void TestSpeller::dictionaryInItsOwnEncoding()
{
    writeBytes(path(u"da_DK.aff"_qs), "SET ISO8859-1\nTRY abelrsø\n");
    writeBytes(path(u"da_DK.dic"_qs), "2\nbl\xE5\x62\xE6r\n\xF8l\n");
    qputenv("DICPATH", (QDir::tempPath() + u"/findes-ikke:"_qs + m_dir->path()).toUtf8());
    const Speller speller(findDanishDictionary());
    QVERIFY(speller.isValid());
    QVERIFY(speller.isCorrect(u"blåbær"_qs));
    QVERIFY(speller.isCorrect(u"øl"_qs));
    QVERIFY(!speller.isCorrect(u"blabær"_qs));
    QCOMPARE(speller.suggestions(u"blåbar"_qs, 6).value(0), u"blåbær"_qs);
}

void TestSpeller::missingDictionary()
{
    qputenv("DICPATH", m_dir->path().toUtf8());
    QCOMPARE(findDanishDictionary(), QString());
    Speller speller(findDanishDictionary());
    QVERIFY(!speller.isValid());
    QVERIFY(!speller.isCorrect(u"huset"_qs));
    QVERIFY(speller.suggestions(u"husset"_qs, 6).isEmpty());
    writeBytes(path(u"da_DK.aff"_qs), "SET UTF-8\n"); // one file of the two is not enough
    QCOMPARE(findDanishDictionary(), QString());
}

void TestSpeller::personalWordList()
{
    const QString list = path(u"ordbog.txt"_qs);
    QCOMPARE(readWordList(list), QStringList()); // no file, no words
    // UTF-8 with its mark, a blank line, a line of two words, blanks around a word, CR only.
    writeBytes(list, "\xEF\xBB\xBFStrukturkonstrukt\xC3\xB8ren\r\n\r\nto ord\r\n  husset  \rKvarnolt\n");
    QCOMPARE(readWordList(list), (QStringList { u"Strukturkonstruktøren"_qs, u"husset"_qs, u"Kvarnolt"_qs }));

    Speller speller(findDanishDictionary());
    QVERIFY(!speller.isCorrect(u"husset"_qs));
    speller.usePersonalWords(list);
    QVERIFY(speller.isCorrect(u"husset"_qs));
    QVERIFY(speller.isCorrect(u"Strukturkonstruktøren"_qs));
    QVERIFY(!speller.isCorrect(u"to ord"_qs));
    speller.ignore(u"Xyzzy"_qs);
    QVERIFY(speller.isCorrect(u"Xyzzy"_qs));
    QVERIFY(!speller.personalWords().contains(u"Xyzzy"_qs));
}

void TestSpeller::addedWordsKeepTheFile()
{
    const QString list = path(u"ordbog.txt"_qs);
    writeBytes(list, "husset\n\nto ord\n");
    Speller speller(findDanishDictionary());
    speller.usePersonalWords(list);
    speller.addPersonalWord(u"blåbærgrød"_qs);
    speller.addPersonalWord(u"husset"_qs); // already there: the file stays as it is
    speller.addPersonalWord(u"  "_qs);
    // Every earlier line is kept; the file follows the usual rules (Windows-1252, CR LF).
    QCOMPARE(fileBytes(list), QByteArray("husset\r\n\r\nto ord\r\nbl\xE5\x62\xE6rgr\xF8\x64\r\n"));
    QVERIFY(speller.isCorrect(u"blåbærgrød"_qs));

    Speller fresh(findDanishDictionary());
    fresh.usePersonalWords(list);
    QVERIFY(fresh.isCorrect(u"blåbærgrød"_qs));

    // A word that Windows-1252 cannot hold makes the file UTF-8 rather than losing it.
    fresh.addPersonalWord(u"Łódź"_qs);
    QVERIFY(fileBytes(list).startsWith("\xEF\xBB\xBF"));
    QVERIFY(readWordList(list).contains(u"Łódź"_qs));
}

void TestSpeller::aListThatCannotBeWrittenIsReported()
{
    // A folder where the list should be cannot be read as a list, and nothing is written there.
    const QString list = path(u"ordbog.txt"_qs);
    QVERIFY(QDir().mkpath(list));
    Speller speller(findDanishDictionary());
    speller.usePersonalWords(list);
    bool threw = false;
    try {
        speller.addPersonalWord(u"husset"_qs);
    } catch (const Error&) {
        threw = true;
    }
    QVERIFY(threw);
    QVERIFY(speller.isCorrect(u"husset"_qs)); // still accepted for this run
    QVERIFY(QFileInfo(list).isDir());
}

QTEST_GUILESS_MAIN(TestSpeller)
#include "test_speller.moc"
