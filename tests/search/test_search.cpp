// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ElementTree.h"
#include "search/DocumentReader.h"
#include "search/DocumentTextCache.h"
#include "search/StructureSearch.h"
#include "search/TextMatcher.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur;
using namespace struktur::search;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

/// "path [snippet]" per hit, one a line, so a failure shows the whole result.
QString hitsText(const std::vector<SearchHit>& hits)
{
    QStringList lines;
    for (const SearchHit& hit : hits)
        lines.append(
            elementPath(hit.element) + (hit.snippet ? QStringLiteral(" [") + hit.snippet->text() + u']' : QString()));
    return lines.join(u'\n');
}

Element* withData(Element* element, const QString& data)
{
    element->hasData = true;
    element->data = data;
    return element;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matching_data();
    void matching();
    void snippetShowsTheTextAroundTheHit_data();
    void snippetShowsTheTextAroundTheHit();
    void treeSearchKeepsTreeOrderAndJoinsPaths();
    void largeTreeSearchedOnTwoCoresKeepsTreeOrder();
    void documentsAreReadAsPlainText();
    void cacheRereadsChangedDocuments();
    void readerFillsTheCacheInTheBackground();
};

void TestSearch::matching_data()
{
    QTest::addColumn<QString>("needle");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("haystack");
    QTest::addColumn<int>("position");

    QTest::newRow("lower finds upper") << u"ventil"_qs << false << u"Skift VENTILEN"_qs << 6;
    QTest::newRow("Danish letters fold") << u"ÆØÅ"_qs << false << u"blåbær: æøå"_qs << 8;
    QTest::newRow("Danish letters, lower in needle") << u"smørrebrød"_qs << false << u"SMØRREBRØD"_qs << 0;
    QTest::newRow("Greek final sigma folds") << u"ΣΊΣΥΦΟΣ"_qs << false << u"ὁ σίσυφος"_qs << 2;
    QTest::newRow("every character that folds alike") << u"kelvin"_qs << false << u"\u212Aelvin"_qs << 0;
    QTest::newRow("outside the basic plane") << u"𐐨"_qs << false << u"x𐐀"_qs << 1;
    QTest::newRow("substring inside a word") << u"til"_qs << false << u"Ventilation"_qs << 3;
    QTest::newRow("sensitive keeps case apart") << u"Ventil"_qs << true << u"ventil Ventil"_qs << 7;
    QTest::newRow("sensitive Danish letters") << u"æ"_qs << true << u"Æble"_qs << -1;
    QTest::newRow("empty needle matches nothing") << QString() << false << u"tekst"_qs << -1;
    QTest::newRow("longer than haystack") << u"ventiler"_qs << false << u"ventil"_qs << -1;
    QTest::newRow("spaces are part of the text") << u"to ord"_qs << false << u"toord to  ord to ord"_qs << 14;
}

void TestSearch::matching()
{
    QFETCH(QString, needle);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, haystack);
    QFETCH(int, position);
    const TextMatcher matcher(needle, caseSensitive ? CaseSensitivity::Sensitive : CaseSensitivity::Insensitive);
    QCOMPARE(matcher.find(haystack), qsizetype(position));
}

void TestSearch::snippetShowsTheTextAroundTheHit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("hit");
    QTest::addColumn<QString>("after");

    QTest::newRow("short text whole") << u"Luk ventilen helt."_qs << u"ventil"_qs << u"Luk "_qs << u"ventil"_qs
                                      << u"en helt."_qs;
    QTest::newRow("line breaks and tabs read as one space")
        << u"Trin 1:\n\n\tLuk\tventilen\r\nog vent"_qs << u"ventil"_qs << u"Trin 1: Luk "_qs << u"ventil"_qs
        << u"en og vent"_qs;
    QTest::newRow("long text cut at words with ellipses")
        << u"aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk VENTIL llll mmmm nnnn oooo pppp qqqq rrrr ssss tttt uuuu"_qs
        << u"ventil"_qs << u"…ffff gggg hhhh iiii jjjj kkkk "_qs << u"VENTIL"_qs
        << u" llll mmmm nnnn oooo pppp qqqq…"_qs;
    QTest::newRow("hit at the very start") << u"Ventil"_qs << u"ventil"_qs << QString() << u"Ventil"_qs << QString();
}

void TestSearch::snippetShowsTheTextAroundTheHit()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    const TextMatcher matcher(needle, CaseSensitivity::Insensitive);
    const Snippet snippet = snippetAround(text, matcher.find(text), needle.size(), 30);
    QFETCH(QString, before);
    QFETCH(QString, hit);
    QFETCH(QString, after);
    QCOMPARE(snippet.before, before);
    QCOMPARE(snippet.hit, hit);
    QCOMPARE(snippet.after, after);
}

void TestSearch::treeSearchKeepsTreeOrderAndJoinsPaths()
{
    ElementTree tree;
    Element* maintenance = tree.append(tree.root(), u"Vedligeholdelse"_qs);
    withData(tree.append(maintenance, u"Ventiler"_qs), u"1ventiler"_qs);
    Element* pumps = withData(tree.append(maintenance, u"Pumper"_qs), u"2pumper"_qs);
    tree.append(pumps, u"Ventilhus"_qs);
    withData(tree.append(tree.root(), u"Bilag"_qs), u"0bilag"_qs);

    const QHash<QString, QString> documents { { u"pumper"_qs, u"Pumpen har en ventil i bunden."_qs },
        { u"ventiler"_qs, u"Ventiler skiftes årligt."_qs }, { u"bilag"_qs, u"Intet her."_qs } };
    const DocumentTextSource source = [&](const Element* element) -> std::optional<QString> {
        const auto found = documents.constFind(element->fileName());
        return found == documents.constEnd() ? std::nullopt : std::optional(*found);
    };
    const TextMatcher matcher(u"VENTIL"_qs, CaseSensitivity::Insensitive);
    QCOMPARE(hitsText(searchTree(tree, matcher, source)),
        u"Vedligeholdelse › Ventiler [Ventiler skiftes årligt.]\n"
        "Vedligeholdelse › Pumper [Pumpen har en ventil i bunden.]\n"
        "Vedligeholdelse › Pumper › Ventilhus"_qs);
    // Without documents only captions count.
    QCOMPARE(
        hitsText(searchTree(tree, matcher)), u"Vedligeholdelse › Ventiler\nVedligeholdelse › Pumper › Ventilhus"_qs);

    QCOMPARE(documentFilePaths(u"/d"_qs, tree),
        QStringList({ u"/d/ventiler.rtf"_qs, u"/d/pumper.rtf"_qs, u"/d/bilag.rtf"_qs }));
    QCOMPARE(documentFilePath(u"/d/"_qs, pumps), u"/d/pumper.rtf"_qs);
    QCOMPARE(documentFilePath(QString(), pumps), QString());
}

void TestSearch::largeTreeSearchedOnTwoCoresKeepsTreeOrder()
{
    // Large enough for the two-core search, in the shapes it cuts differently: many top-level
    // elements; one top element (with a chain of only children) over everything; and uneven halves.
    for (const int shape : { 0, 1, 2 }) {
        ElementTree tree;
        Element* top = tree.root();
        if (shape == 1) {
            top = tree.append(top, u"Indhold motor"_qs);
            top = tree.append(top, u"Kun barn"_qs);
        }
        quint32 state = 7;
        for (int branch = 0; branch < 40; ++branch) {
            Element* group = tree.append(top, u"Gruppe %1"_qs.arg(branch));
            const int size = shape == 2 && branch == 0 ? 20000 : 600;
            for (int i = 0; i < size; ++i) {
                state = state * 1664525u + 1013904223u;
                Element* leaf = tree.append(group, (state >> 24) % 5 == 0 ? u"Pumpe MOTOR %1"_qs.arg(i) : u"Ventil %1"_qs.arg(i));
                if (i % 50 == 0)
                    tree.append(leaf, u"motorens del"_qs);
            }
        }
        QVERIFY(tree.size() > 20000);
        const TextMatcher matcher(u"motor"_qs, CaseSensitivity::Insensitive);
        QStringList expected;
        for (const Element* element = tree.first(); element; element = tree.next(element)) {
            if (matcher.matches(element->text))
                expected.append(elementPath(element));
        }
        QCOMPARE(hitsText(searchTree(tree, matcher)), expected.join(u'\n'));
    }
}

void TestSearch::documentsAreReadAsPlainText()
{
    QTemporaryDir dir(QDir::tempPath() + u"/søg-æøå-XXXXXX"_qs);
    QVERIFY(dir.isValid());
    // A hit across formatting runs, an escaped Danish letter and a \uN character.
    writeBytes(dir.filePath(u"runs.rtf"_qs),
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0 Skift ven{\\b ti}l\\i len i k\\'e6lderen "
        "\\u8364?\\par}");
    writeBytes(dir.filePath(u"broken.rtf"_qs), "{\\rtf1\\ansi Halv ventil{\\b uden slut");
    writeBytes(dir.filePath(u"plain.rtf"_qs), "\xEF\xBB\xBFIkke RTF: bl\xC3\xA5 ventil");
    DocumentTextCache cache;

    const TextMatcher matcher(u"ventil"_qs, CaseSensitivity::Insensitive);
    for (const char* name : { "runs.rtf", "broken.rtf", "plain.rtf" }) {
        const std::optional<QString> text = cache.text(dir.filePath(QLatin1String(name)));
        QVERIFY2(text && matcher.matches(*text), name);
    }
    QVERIFY(
        TextMatcher(u"KÆLDEREN €"_qs, CaseSensitivity::Insensitive).matches(*cache.text(dir.filePath(u"runs.rtf"_qs))));
    QVERIFY(!cache.text(dir.filePath(u"missing.rtf"_qs)));
    // A folder where a document should be has no text either.
    QVERIFY(QDir(dir.path()).mkdir(u"folder.rtf"_qs));
    QVERIFY(!cache.text(dir.filePath(u"folder.rtf"_qs)));
}

void TestSearch::cacheRereadsChangedDocuments()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"doc.rtf"_qs);
    writeBytes(path, "{\\rtf1 gammelt navn\\par}");
    DocumentTextCache cache;
    QCOMPARE(cache.text(path), std::optional(u"gammelt navn\n"_qs));

    // Saved again with the same size: the modification time tells.
    writeBytes(path, "{\\rtf1 nyt navn!!!!\\par}");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    file.close();
    QCOMPARE(cache.cached(path), std::optional(u"gammelt navn\n"_qs));
    QVERIFY(cache.refresh({ path }, 2));
    QCOMPARE(cache.cached(path), std::optional(u"nyt navn!!!!\n"_qs));

    QVERIFY(QFile::remove(path));
    QCOMPARE(cache.text(path), std::nullopt);
}

void TestSearch::readerFillsTheCacheInTheBackground()
{
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 300; ++i) {
        paths.append(dir.filePath(QStringLiteral("d%1.rtf").arg(i)));
        writeBytes(paths.back(), "{\\rtf1 dokument " + QByteArray::number(i) + "\\par}");
    }
    DocumentTextCache cache;
    DocumentReader reader(cache);
    QSignalSpy finished(&reader, &DocumentReader::finished);
    QSignalSpy progress(&reader, &DocumentReader::progress);

    // A second start cancels the first; only the second reports finishing.
    reader.start(paths.mid(0, 150));
    reader.start(paths);
    QVERIFY(finished.wait(10000));
    QTest::qWait(50);
    QCOMPARE(finished.size(), 1);
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.back().at(0).value<qsizetype>(), qsizetype(300));
    QCOMPARE(cache.cached(paths[299]), std::optional(u"dokument 299\n"_qs));

    reader.start(paths);
    reader.cancel();
    QVERIFY(!reader.isRunning());
}

QTEST_GUILESS_MAIN(TestSearch)
#include "test_search.moc"
