// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Error.h"
#include "platform/AtomicFile.h"
#include "platform/OptionsFile.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur;

class TestTextFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readingRules_data();
    void readingRules();
    void leadingBlanksAreCounted_data();
    void leadingBlanksAreCounted();
    void writingRules_data();
    void writingRules();
    void fileErrorsNameTheFullPath_data();
    void fileErrorsNameTheFullPath();
    void failedWriteKeepsOldFile();
    void readingOptionsFiles_data();
    void readingOptionsFiles();
};

void TestTextFile::readingRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lone cr and lf") << QByteArray("a\rb\nc") << QStringList{"a", "b", "c"};
    QTest::newRow("no final break") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("two final breaks") << QByteArray("a\r\n\r\n") << QStringList{"a", ""};
    QTest::newRow("lf cr is two breaks") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("nul ends text") << QByteArray("a\r\nb\0c\r\nd", 10) << QStringList{"a", "b"};
    QTest::newRow("cp1252") << QByteArray("\xe6\xf8\xe5\x80\x96") << QStringList{u"æøå€–"_qs};
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF\xC3\xA6\xC3\xB8\xC3\xA5\r\n") << QStringList{u"æøå"_qs};
    QTest::newRow("utf16le bom") << QByteArray("\xFF\xFE" "a\0\r\0\n\0\xe6\0", 10) << QStringList{"a", u"æ"_qs};
    QTest::newRow("utf16be bom") << QByteArray("\xFE\xFF\0a\0\n\0\xe6", 8) << QStringList{"a", u"æ"_qs};
    QTest::newRow("utf16 odd byte dropped") << QByteArray("\xFF\xFE" "a\0b", 5) << QStringList{"a"};
    QTest::newRow("utf16 nul") << QByteArray("\xFF\xFE" "a\0\0\0b\0", 8) << QStringList{"a"};
    QTest::newRow("utf8 second mark is text") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QStringList{u"\uFEFFx"_qs};
    QTest::newRow("utf16le second mark is text") << QByteArray("\xFF\xFE\xFF\xFEx\0", 6) << QStringList{u"\uFEFFx"_qs};
    QTest::newRow("utf16be second mark is text") << QByteArray("\xFE\xFF\xFE\xFF\0x", 6) << QStringList{u"\uFEFFx"_qs};
    QTest::newRow("blank lines kept") << QByteArray("\r\n\r\nx") << QStringList{"", "", "x"};
    QTest::newRow("one break alone") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("one line with lf") << QByteArray("abc\n") << QStringList{"abc"};
    QTest::newRow("cr then crlf") << QByteArray("a\r\r\n") << QStringList{"a", ""};
    QTest::newRow("lf cr at the end") << QByteArray("a\n\r") << QStringList{"a", ""};
}

void TestTextFile::readingRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(textfile::splitLines(textfile::decode(bytes)), lines);
    // Reading a file cuts its last line apart from the others: the same lines come out.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"linjer.txt"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QCOMPARE(textfile::readLines(path), lines);
    // Cutting without a list of lines gives the same lines, each a proper string of its own
    // although they share their characters: changing one leaves the next as it was.
    QStringList cut;
    textfile::forEachLine(bytes, textfile::LeadingBlanks::Kept, [&cut](QString line, int blanks) {
        QCOMPARE(blanks, 0);
        QCOMPARE(line.utf16()[line.size()], u'\0');
        cut.append(std::move(line));
    });
    QCOMPARE(cut, lines);
    if (cut.size() > 1) {
        cut[0].append(u"xyz"_qs);
        cut[0].resize(cut[0].size() + 40, u'!');
        QCOMPARE(cut[1], lines[1]);
    }
    // Read in pieces, a line end, a CR LF or a mark may fall across two: still the same lines.
    for (const qsizetype piece : {1, 2, 3, 1000}) {
        QStringList pieced;
        textfile::forEachLineOfFile(path, textfile::LeadingBlanks::Kept, [&pieced](QString line, int) {
            QCOMPARE(line.utf16()[line.size()], u'\0');
            pieced.append(std::move(line));
        }, piece);
        QCOMPARE(pieced, lines);
    }
}

void TestTextFile::leadingBlanksAreCounted_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("cut");

    QTest::newRow("tabs and spaces mixed") << QByteArray("a\r\n\t \tb \t\r\n  c") << "0:a|3:b \t|2:c";
    QTest::newRow("blank lines") << QByteArray("\t\t\r\n\r\n \n") << "2:|0:|1:";
    QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF\t\xC3\xA6\r\n") << u"1:æ"_qs;
    QTest::newRow("utf-16 with mark") << QByteArray("\xFF\xFE\t\0 \0x\0", 8) << "2:x";
    QTest::newRow("nul ends the blanks too") << QByteArray("\t\0\tx", 4) << "1:";
}

void TestTextFile::leadingBlanksAreCounted()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, cut);
    QStringList parts;
    textfile::forEachLine(bytes, textfile::LeadingBlanks::Counted,
        [&parts](QString line, int blanks) { parts.append(QString::number(blanks) + u':' + line); });
    QCOMPARE(parts.join(u'|'), cut);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"niveauer.txt"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    for (const qsizetype piece : {1, 2, 1000}) {
        QStringList pieced;
        textfile::forEachLineOfFile(path, textfile::LeadingBlanks::Counted,
            [&pieced](QString line, int blanks) { pieced.append(QString::number(blanks) + u':' + line); }, piece);
        QCOMPARE(pieced.join(u'|'), cut);
    }
}

void TestTextFile::writingRules_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("none") << QStringList() << QByteArray();
    QTest::newRow("crlf after every line") << QStringList{"a", "", "b"} << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("danish in cp1252") << QStringList{u"Æble€"_qs} << QByteArray("\xc6" "ble\x80\r\n");
    QTest::newRow("outside cp1252 gives utf8 with mark")
        << QStringList{u"a"_qs, u"Ωmega"_qs} << QByteArray("\xEF\xBB\xBF" "a\r\n\xCE\xA9mega\r\n");
    QTest::newRow("text that looks like a utf16 mark") << QStringList{u"ÿþx"_qs}
                                                        << QByteArray("\xEF\xBB\xBF\xC3\xBF\xC3\xBEx\r\n");
    QTest::newRow("text that looks like a utf8 mark") << QStringList{u"ï»¿"_qs}
                                                       << QByteArray("\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBF\r\n");
    QTest::newRow("text starting with a mark character")
        << QStringList{u"\uFEFFa"_qs} << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a\r\n");
    QTest::newRow("mark-like text later is plain") << QStringList{"a", u"ÿþ"_qs} << QByteArray("a\r\n\xFF\xFE\r\n");
}

void TestTextFile::writingRules()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    QCOMPARE(textfile::encode(lines), bytes);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"fil æ.txt"_qs);
    textfile::writeLines(path, lines);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
    QCOMPARE(textfile::readLines(path), lines);
}

void TestTextFile::fileErrorsNameTheFullPath_data()
{
    QTest::addColumn<bool>("writing");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("named");

    // Paths are relative to a current folder "nu" inside the temporary folder.
    QTest::newRow("missing file") << false << "<dir>/mangler.txt" << "<dir>/mangler.txt";
    QTest::newRow("missing file, relative") << false << u"mangler æ.txt"_qs << u"<dir>/nu/mangler æ.txt"_qs;
    QTest::newRow("relative with dots") << false << "./under/../mangler.txt" << "<dir>/nu/mangler.txt";
    QTest::newRow("missing folder") << true << "<dir>/mangler/fil.txt" << "<dir>/mangler/fil.txt";
    QTest::newRow("missing folder, relative") << true << "mangler/fil.txt" << "<dir>/nu/mangler/fil.txt";
    QTest::newRow("relative above the current folder") << true << "../mangler/fil.txt" << "<dir>/mangler/fil.txt";
}

void TestTextFile::fileErrorsNameTheFullPath()
{
    QFETCH(bool, writing);
    QFETCH(QString, path);
    QFETCH(QString, named);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("nu")));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.filePath(QStringLiteral("nu"))));
    const auto restore = qScopeGuard([&] { QDir::setCurrent(before); });
    path.replace(QStringLiteral("<dir>"), dir.path());
    named.replace(QStringLiteral("<dir>"), dir.path());
    const QString prefix = writing ? QStringLiteral("Cannot create file \"%1\". ") : QStringLiteral("Cannot open file \"%1\". ");
    try {
        if (writing)
            textfile::writeLines(path, { "x" });
        else
            textfile::readLines(path);
        QFAIL("no error");
    } catch (const Error& e) {
        QVERIFY2(e.message().startsWith(prefix.arg(QDir::toNativeSeparators(named))), qPrintable(e.message()));
        // The system's reason follows the path.
        QVERIFY2(e.message().size() > prefix.arg(named).size(), qPrintable(e.message()));
    }
    if (writing)
        return;
    try {
        textfile::forEachLineOfFile(path, textfile::LeadingBlanks::Kept, [](QString, int) {});
        QFAIL("no error");
    } catch (const Error& e) {
        QVERIFY2(e.message().startsWith(prefix.arg(QDir::toNativeSeparators(named))), qPrintable(e.message()));
    }
}

void TestTextFile::failedWriteKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("gammel.txt");
    textfile::writeLines(path, {"gammel"});
    {
        PendingFile pending(path);
        pending.write("ny\r\n");
        // Dropped without commit, as when a later step of a save fails.
    }
    QCOMPARE(textfile::readLines(path), QStringList{"gammel"});
}

void TestTextFile::readingOptionsFiles_data()
{
    QTest::addColumn<QByteArray>("bytes"); // "<folder>" puts a folder where the file would be
    QTest::addColumn<bool>("read");
    QTest::addColumn<QList<int>>("applied");
    QTest::addColumn<QString>("error");

    QTest::newRow("two values") << QByteArray("120\r\n-200\r\n9\r\n") << true << QList<int>{ 120, -200 } << "";
    QTest::newRow("no file") << QByteArray() << false << QList<int>{} << "";
    QTest::newRow("a folder is no file") << QByteArray("<folder>") << false << QList<int>{} << "";
    QTest::newRow("short") << QByteArray("120\r\n") << true << QList<int>{ 120 } << "List index out of bounds (1)";
    QTest::newRow("bad second line") << QByteArray("120\r\n2,5\r\n") << true << QList<int>{ 120 }
                                     << "'2,5' is not a valid integer value";
}

void TestTextFile::readingOptionsFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, read);
    QFETCH(QList<int>, applied);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"printoptions.txt"_qs);
    if (bytes == "<folder>") {
        QVERIFY(QDir(dir.path()).mkdir(u"printoptions.txt"_qs));
    } else if (!bytes.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QList<int> values;
    bool result = false;
    QString message;
    try {
        result = readOptionsFile(path, 2, [&values](int line, int value) {
            QCOMPARE(line, values.size());
            values.append(value);
        });
    } catch (const Error& e) {
        message = e.message();
        result = true;
    }
    QCOMPARE(message, error);
    QCOMPARE(result, read);
    QCOMPARE(values, applied);
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "test_textfile.moc"
