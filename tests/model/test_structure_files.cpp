// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ErrorOf.h"
#include "TreeText.h"
#include "model/StructureStorage.h"
#include "platform/Error.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur;
using struktur::test::treeText;

using struktur::test::errorOf;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestStructureFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void readingStructureLines_data();
    void readingStructureLines();
    void pairingDataLines_data();
    void pairingDataLines();
    void savedBytes_data();
    void savedBytes();
    void encodingFollowsTheTextFileRules_data();
    void encodingFollowsTheTextFileRules();
    void validFilesSurviveLoadAndSave_data();
    void validFilesSurviveLoadAndSave();
    void saveWithoutPathsWritesNothing_data();
    void saveWithoutPathsWritesNothing();
    void failedSaveKeepsBothOldFiles_data();
    void failedSaveKeepsBothOldFiles();
    void loadReportsMissingFiles();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStructureFiles::initTestCase()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("KVARNOLT_DIR", m_dir->filePath(QStringLiteral("Kvarnolt")).toUtf8());
}

void TestStructureFiles::init()
{
    // Each test gets a fresh structure folder with Danish letters in its name.
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/struktur-æøå-XXXXXX"));
    QVERIFY(m_dir->isValid());
}

void TestStructureFiles::readingStructureLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("error");

    QTest::newRow("three levels") << QByteArray("A\r\n\tB\r\n\t\tC\r\n\tD\r\nE\r\n") << "A | .B | ..C | .D | E" << "";
    QTest::newRow("climbs several levels") << QByteArray("A\r\n\tB\r\n\t\tC\r\nD\r\n\tE\r\n") << "A | .B | ..C | D | .E"
                                           << "";
    QTest::newRow("indented first line is top-level") << QByteArray("\t\tA\r\n\tB\r\n") << "A | .B" << "";
    QTest::newRow("two levels deeper stops") << QByteArray("A\r\n\t\tB\r\nC\r\n") << "A"
                                             << "Invalid level (2) for item \"B\"";
    QTest::newRow("error after several elements") << QByteArray("A\r\n\tB\r\n\t\t\t\tC  \r\n") << "A | .B"
                                                  << "Invalid level (4) for item \"C  \"";
    QTest::newRow("spaces count as levels") << QByteArray("A\r\n\tB\r\n  C\r\n") << "A | .B | ..C" << "";
    QTest::newRow("tab space tab is level three") << QByteArray("A\r\n\tB\r\n\t\tC\r\n\t \tD\r\n") << "A | .B | ..C | ...D"
                                                  << "";
    QTest::newRow("leading blank of a text becomes a level") << QByteArray("A\r\n B\r\n") << "A | .B" << "";
    QTest::newRow("leading blanks of the first line are lost") << QByteArray("  A\r\n") << "A" << "";
    QTest::newRow("trailing blanks kept") << QByteArray("A \t\r\n") << "A \t" << "";
    QTest::newRow("two final breaks add an empty element") << QByteArray("A\r\n\tB\r\n\r\n") << "A | .B | " << "";
    QTest::newRow("no final break loses nothing") << QByteArray("A\r\n\tB") << "A | .B" << "";
    QTest::newRow("lone CR and LF") << QByteArray("A\r\tB\nC") << "A | .B | C" << "";
    QTest::newRow("empty file") << QByteArray() << "" << "";
    QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF\xC3\x86" "ble\r\n\t\xC3\x98" "l og \xC3\xA5\r\n")
                                     << u"Æble | .Øl og å"_qs << "";
    QTest::newRow("same bytes without mark are cp1252") << QByteArray("\xC3\x86" "ble\r\n") << u"Ã†ble"_qs << "";
    QTest::newRow("cp1252 danish") << QByteArray("\xC6" "ble\r\n\t\xD8" "l \xE5\r\n") << u"Æble | .Øl å"_qs << "";
}

void TestStructureFiles::readingStructureLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, tree);
    QFETCH(QString, error);
    ElementTree read;
    QCOMPARE(errorOf([&] { structurefile::readStructureFile(bytes, read); }), error);
    QCOMPARE(treeText(read), tree);
    // Lines built in memory read by the same rules.
    ElementTree fromLines;
    QCOMPARE(errorOf([&] { structurefile::readStructure(textfile::splitLines(textfile::decode(bytes)), fromLines); }), error);
    QCOMPARE(treeText(fromLines), tree);
    for (Element* element = read.first(); element; element = read.next(element)) {
        QVERIFY(!element->hasData);
        QCOMPARE(element->icon, 0);
    }
}

void TestStructureFiles::pairingDataLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("error");

    // The structure is always A, its child B, and C.
    QTest::newRow("one line each") << QByteArray("3dokument5\r\n0\r\n8x\r\n") << "A=3dokument5/3 | .B=0/0 | C=8x/8" << "";
    QTest::newRow("extra lines ignored") << QByteArray("1a\r\n2b\r\n3c\r\n4d\r\n") << "A=1a/1 | .B=2b/2 | C=3c/3" << "";
    QTest::newRow("kept whole, icon from first digit") << QByteArray("12abc\r\n9abc\r\n0\r\n")
                                                       << "A=12abc/1 | .B=9abc/9 | C=0/0" << "";
    QTest::newRow("empty line gives icon 0") << QByteArray("1a\r\n\r\n2c\r\n") << "A=1a/1 | .B=/0 | C=2c/2" << "";
    QTest::newRow("too few lines") << QByteArray("1a\r\n2b\r\n") << "A=1a/1 | .B=2b/2 | C=-/0"
                                   << "List index out of bounds (2)";
    QTest::newRow("no lines") << QByteArray() << "A=-/0 | .B=-/0 | C=-/0" << "List index out of bounds (0)";
    QTest::newRow("letter first") << QByteArray("1a\r\nx3abc\r\n2c\r\n") << "A=1a/1 | .B=x3abc/0 | C=-/0"
                                  << "'x' is not a valid integer value";
    QTest::newRow("blank first") << QByteArray(" 3abc\r\n2b\r\n2c\r\n") << "A= 3abc/0 | .B=-/0 | C=-/0"
                                 << "' ' is not a valid integer value";
    QTest::newRow("non-ascii digit") << QByteArray("\xEF\xBB\xBF\xD9\xA3" "a\r\n2b\r\n2c\r\n")
                                     << u"A=\u0663a/0 | .B=-/0 | C=-/0"_qs << u"'\u0663' is not a valid integer value"_qs;
}

void TestStructureFiles::pairingDataLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, tree);
    QFETCH(QString, error);
    ElementTree read;
    test::readTree(read, QStringLiteral("A\n\tB\nC"));
    QCOMPARE(errorOf([&] { structurefile::applyDataFile(bytes, read); }), error);
    QCOMPARE(treeText(read, true), tree);
    ElementTree fromLines;
    test::readTree(fromLines, QStringLiteral("A\n\tB\nC"));
    QCOMPARE(errorOf([&] { structurefile::applyDataLines(textfile::splitLines(textfile::decode(bytes)), fromLines); }), error);
    QCOMPARE(treeText(fromLines, true), tree);
}

void TestStructureFiles::savedBytes_data()
{
    QTest::addColumn<QString>("structure");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QByteArray>("structureBytes");
    QTest::addColumn<QByteArray>("dataBytes");

    QTest::newRow("three levels in cp1252")
        << u"Æble\n\tØl\n\t\tÅ\n\tB\nC"_qs << "0a\n1b\n2c\n3d\n8e"
        << QByteArray("\xC6" "ble\r\n\t\xD8" "l\r\n\t\t\xC5\r\n\tB\r\nC\r\n") << QByteArray("0a\r\n1b\r\n2c\r\n3d\r\n8e\r\n");
    QTest::newRow("element without data is 0") << "A\n\tB" << "" << QByteArray("A\r\n\tB\r\n") << QByteArray("0\r\n0\r\n");
    QTest::newRow("empty tree gives empty files") << "" << "" << QByteArray() << QByteArray();
    QTest::newRow("text beyond cp1252 as utf-8 with mark")
        << u"Ωmega\n\tæ"_qs << u"1Ω"_qs << QByteArray("\xEF\xBB\xBF\xCE\xA9" "mega\r\n\t\xC3\xA6\r\n")
        << QByteArray("\xEF\xBB\xBF" "1\xCE\xA9" "\r\n0\r\n");
    // In Windows-1252 these would begin with the bytes of a byte-order mark and read back wrong.
    QTest::newRow("first text like a utf-16 mark") << u"þÿ\n\tA"_qs << u"ÿþ"_qs
                                                 << QByteArray("\xEF\xBB\xBF\xC3\xBE\xC3\xBF\r\n\tA\r\n")
                                                 << QByteArray("\xEF\xBB\xBF\xC3\xBF\xC3\xBE\r\n0\r\n");
    QTest::newRow("first text like a utf-8 mark") << u"ï»¿x"_qs << ""
                                                << QByteArray("\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBFx\r\n")
                                                << QByteArray("0\r\n");
}

void TestStructureFiles::savedBytes()
{
    QFETCH(QString, structure);
    QFETCH(QString, data);
    QFETCH(QByteArray, structureBytes);
    QFETCH(QByteArray, dataBytes);
    ElementTree tree;
    test::readTree(tree, structure);
    const QStringList lines = textfile::splitLines(data);
    qsizetype n = 0;
    for (Element* element = tree.first(); element && n < lines.size(); element = tree.next(element), ++n) {
        element->data = lines[n];
        element->hasData = true;
    }
    QVERIFY(saveStructure(tree, path(u"struktur.txt"_qs), path(u"data.txt"_qs), true));
    QCOMPARE(fileBytes(path(u"struktur.txt"_qs)), structureBytes);
    QCOMPARE(fileBytes(path(u"data.txt"_qs)), dataBytes);
}

void TestStructureFiles::encodingFollowsTheTextFileRules_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("none") << QStringList();
    QTest::newRow("cp1252 with its high letters") << QStringList{ u"Æble €"_qs, u""_qs, u"\u0081‰ÿ"_qs };
    QTest::newRow("beyond cp1252") << QStringList{ u"a"_qs, u"Ω"_qs };
    QTest::newRow("mark-like text after the first line") << QStringList{ u"a"_qs, u"ÿþ"_qs };
}

void TestStructureFiles::encodingFollowsTheTextFileRules()
{
    QFETCH(QStringList, lines);
    QCOMPARE(structurefile::encodeLines(lines), textfile::encode(lines));
}

void TestStructureFiles::validFilesSurviveLoadAndSave_data()
{
    QTest::addColumn<QByteArray>("structureBytes");
    QTest::addColumn<QByteArray>("dataBytes");

    QTest::newRow("nested") << QByteArray("Indledning\r\n\tKapitel \xE6\xF8\xE5\r\n\t\tAfsnit\r\n\tSlut\r\nBilag\r\n")
                            << QByteArray("0dokument0\r\n3dokument1\r\n8dokument2\r\n1d\r\n2e\r\n");
    QTest::newRow("irregular data lines stay") << QByteArray("A\r\n\tB\r\nC\r\n") << QByteArray("12abc\r\n9abc\r\n\r\n");
    QTest::newRow("utf-8 beyond cp1252") << QByteArray("\xEF\xBB\xBF\xCE\xA9" "\r\n") << QByteArray("\xEF\xBB\xBF" "1\xCE\xA9" "\r\n");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestStructureFiles::validFilesSurviveLoadAndSave()
{
    QFETCH(QByteArray, structureBytes);
    QFETCH(QByteArray, dataBytes);
    const QString structurePath = path(u"struktur.txt"_qs);
    const QString dataPath = path(u"data.txt"_qs);
    writeBytes(structurePath, structureBytes);
    writeBytes(dataPath, dataBytes);
    ElementTree tree;
    QCOMPARE(loadStructure(tree, structurePath, dataPath, true), LoadResult::Loaded);
    QVERIFY(saveStructure(tree, structurePath, dataPath, true));
    QCOMPARE(fileBytes(structurePath), structureBytes);
    QCOMPARE(fileBytes(dataPath), dataBytes);
}

void TestStructureFiles::saveWithoutPathsWritesNothing_data()
{
    QTest::addColumn<bool>("hasStructurePath");
    QTest::addColumn<bool>("hasDataPath");
    QTest::addColumn<bool>("dataOn");
    QTest::addColumn<bool>("written");

    QTest::newRow("no structure path") << false << true << true << false;
    QTest::newRow("no data path with data on") << true << false << true << false;
    QTest::newRow("no structure path with data off") << false << true << false << false;
    QTest::newRow("data off needs no data path") << true << false << false << true;
}

void TestStructureFiles::saveWithoutPathsWritesNothing()
{
    QFETCH(bool, hasStructurePath);
    QFETCH(bool, hasDataPath);
    QFETCH(bool, dataOn);
    QFETCH(bool, written);
    ElementTree tree;
    test::readTree(tree, QStringLiteral("A"));
    const QString structurePath = path(u"struktur.txt"_qs);
    const QString dataPath = path(u"data.txt"_qs);
    QCOMPARE(saveStructure(tree, hasStructurePath ? structurePath : QString(), hasDataPath ? dataPath : QString(), dataOn),
        written);
    QCOMPARE(QFile::exists(structurePath), written);
    QVERIFY(!QFile::exists(dataPath));
}

void TestStructureFiles::failedSaveKeepsBothOldFiles_data()
{
    QTest::addColumn<bool>("badStructurePath");
    QTest::newRow("data file cannot be created") << false;
    QTest::newRow("structure file cannot be created") << true;
}

void TestStructureFiles::failedSaveKeepsBothOldFiles()
{
    QFETCH(bool, badStructurePath);
    const QString structurePath = path(u"struktur.txt"_qs);
    const QString dataPath = path(u"data.txt"_qs);
    const QString missing = path(u"mangler/fil.txt"_qs);
    writeBytes(structurePath, "Gammel\r\n");
    writeBytes(dataPath, "0gammel\r\n");
    ElementTree tree;
    test::readTree(tree, QStringLiteral("Ny\n\tNyere"));
    const QString error = errorOf([&] {
        saveStructure(tree, badStructurePath ? missing : structurePath, badStructurePath ? dataPath : missing, true);
    });
    QVERIFY2(error.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(missing)), qPrintable(error));
    QCOMPARE(fileBytes(structurePath), QByteArray("Gammel\r\n"));
    QCOMPARE(fileBytes(dataPath), QByteArray("0gammel\r\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList({ u"data.txt"_qs, u"struktur.txt"_qs }));
}

void TestStructureFiles::loadReportsMissingFiles()
{
    const QString structurePath = path(u"struktur.txt"_qs);
    const QString dataPath = path(u"data.txt"_qs);
    ElementTree tree;
    test::readTree(tree, QStringLiteral("Gammel"));
    QCOMPARE(loadStructure(tree, structurePath, dataPath, true), LoadResult::NoStructureFile);
    QVERIFY(tree.isEmpty());

    writeBytes(structurePath, "A\r\n\tB\r\n");
    QCOMPARE(loadStructure(tree, structurePath, dataPath, true), LoadResult::NoDataFile);
    QCOMPARE(treeText(tree, true), QStringLiteral("A=-/0 | .B=-/0"));

    // A folder where the data file should be is no data file.
    QVERIFY(QDir(m_dir->path()).mkdir(u"data.txt"_qs));
    QCOMPARE(loadStructure(tree, structurePath, dataPath, true), LoadResult::NoDataFile);
    QCOMPARE(loadStructure(tree, structurePath, QString(), false), LoadResult::Loaded);
    QCOMPARE(treeText(tree), QStringLiteral("A | .B"));
}

QTEST_GUILESS_MAIN(TestStructureFiles)
#include "test_structure_files.moc"
