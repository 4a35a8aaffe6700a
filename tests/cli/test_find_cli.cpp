// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/CliRun.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur::test;

class TestFindCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void printsMatchesInTreeOrder_data();
    void printsMatchesInTreeOrder();
    void failuresExitWithTwo_data();
    void failuresExitWithTwo();

private:
    CliRun run(const QStringList& arguments);
    QString path(const QString& name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFindCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/find-æøå-XXXXXX"));
    QVERIFY(m_dir->isValid());
    qputenv("KVARNOLT_DIR", m_dir->filePath(QStringLiteral("Kvarnolt")).toUtf8());
    // Windows-1252 captions: "Ventiler" under "Vedligeholdelse", "Ærme" and a last element without data.
    QVERIFY(putBytes(path(u"struktur.txt"_qs), "Vedligeholdelse\r\n\tVentiler\r\n\tPumper\r\n\xC6rme\r\nBilag\r\n"));
    QVERIFY(putBytes(path(u"data.txt"_qs), "0vedl\r\n1ventiler\r\n2pumper\r\n3aerme\r\n4bilag\r\n"));
    QVERIFY(QDir().mkpath(path(u"dokumenter"_qs)));
    QVERIFY(putBytes(path(u"dokumenter/ventiler.rtf"_qs), "{\\rtf1\\ansi Ventilerne skal {\\b efter}ses hvert \\'e5r.\\par}"));
    QVERIFY(putBytes(path(u"dokumenter/pumper.rtf"_qs), "{\\rtf1\\ansi Pumpen har en VENTIL i bunden.\\par}"));
    QVERIFY(putBytes(path(u"dokumenter/aerme.rtf"_qs), "{\\rtf1\\ansi \\'e6rmet efterses ikke.\\par}"));
    // vedl.rtf and bilag.rtf are missing: those elements are searched by their captions only.
}

CliRun TestFindCli::run(const QStringList& arguments)
{
    CliOptions options;
    options.workingDirectory = m_dir->path();
    return runCli(QStringList { u"find"_qs } + arguments, options);
}

void TestFindCli::printsMatchesInTreeOrder_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");

    const QString docs = u"dokumenter"_qs;
    QTest::newRow("captions only") << QStringList { u"struktur.txt"_qs, u"data.txt"_qs, u"ventil"_qs } << 0
                                   << u"Vedligeholdelse › Ventiler  [1ventiler]\n"_qs;
    QTest::newRow("captions and documents, options after the text")
        << QStringList { u"struktur.txt"_qs, u"data.txt"_qs, u"ventil"_qs, u"--dokumenter"_qs, docs } << 0
        << u"Vedligeholdelse › Ventiler  [1ventiler]\n"
           "    Ventilerne skal efterses hvert år.\n"
           "Vedligeholdelse › Pumper  [2pumper]\n"
           "    Pumpen har en VENTIL i bunden.\n"_qs;
    QTest::newRow("hit across formatting, options first")
        << QStringList { u"--dokumenter"_qs, docs, u"struktur.txt"_qs, u"data.txt"_qs, u"EFTERSES"_qs } << 0
        << u"Vedligeholdelse › Ventiler  [1ventiler]\n"
           "    Ventilerne skal efterses hvert år.\n"
           "Ærme  [3aerme]\n"
           "    ærmet efterses ikke.\n"_qs;
    QTest::newRow("Danish letters fold") << QStringList { u"struktur.txt"_qs, u"data.txt"_qs, u"æRM"_qs } << 0
                                         << u"Ærme  [3aerme]\n"_qs;
    QTest::newRow("case sensitive") << QStringList {
        u"struktur.txt"_qs, u"--store-og-smaa"_qs, u"data.txt"_qs, u"VENTIL"_qs, u"--dokumenter"_qs, docs
    } << 0 << u"Vedligeholdelse › Pumper  [2pumper]\n    Pumpen har en VENTIL i bunden.\n"_qs;
    QTest::newRow("element without document") << QStringList { u"struktur.txt"_qs, u"data.txt"_qs, u"bilag"_qs,
        u"--dokumenter"_qs, docs } << 0 << u"Bilag  [4bilag]\n"_qs;
    QTest::newRow("nothing matched") << QStringList { u"struktur.txt"_qs, u"data.txt"_qs, u"kompressor"_qs,
        u"--dokumenter"_qs, docs } << 1
                                     << QString();
    QTest::newRow("a text starting with dashes after --")
        << QStringList { u"struktur.txt"_qs, u"data.txt"_qs, u"--"_qs, u"--x"_qs } << 1 << QString();
}

void TestFindCli::printsMatchesInTreeOrder()
{
    QFETCH(QStringList, arguments);
    const CliRun result = run(arguments);
    QCOMPARE(result.err, QString());
    QFETCH(QString, out);
    QFETCH(int, exitCode);
    QCOMPARE(result.out, out);
    QCOMPARE(result.exitCode, exitCode);
}

void TestFindCli::failuresExitWithTwo_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing structure file")
        << QStringList { u"ingen.txt"_qs, u"data.txt"_qs, u"x"_qs } << u"Strukturfilen findes ikke"_qs;
    QTest::newRow("missing data file") << QStringList { u"struktur.txt"_qs, u"ingen.txt"_qs, u"x"_qs }
                                       << u"Datafilen findes ikke"_qs;
    QTest::newRow("missing document folder") << QStringList { u"struktur.txt"_qs, u"data.txt"_qs, u"x"_qs,
        u"--dokumenter"_qs, u"ingen"_qs } << u"Dokumentmappen findes ikke"_qs;
    QTest::newRow("document folder is a file") << QStringList { u"struktur.txt"_qs, u"data.txt"_qs, u"x"_qs,
        u"--dokumenter"_qs, u"data.txt"_qs } << u"Dokumentmappen findes ikke"_qs;
    QTest::newRow("no text") << QStringList { u"struktur.txt"_qs, u"data.txt"_qs } << u"Brug: struktur find"_qs;
    QTest::newRow("empty text") << QStringList { u"struktur.txt"_qs, u"data.txt"_qs, QString() }
                                << u"Brug: struktur find"_qs;
    QTest::newRow("unknown option") << QStringList { u"struktur.txt"_qs, u"data.txt"_qs, u"x"_qs, u"--alle"_qs }
                                    << u"Brug: struktur find"_qs;
    QTest::newRow("folder option without folder")
        << QStringList { u"struktur.txt"_qs, u"data.txt"_qs, u"x"_qs, u"--dokumenter"_qs } << u"Brug: struktur find"_qs;
}

void TestFindCli::failuresExitWithTwo()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const CliRun result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QString());
    QVERIFY2(result.err.startsWith(message), qPrintable(result.err));
}

QTEST_GUILESS_MAIN(TestFindCli)
#include "test_find_cli.moc"
