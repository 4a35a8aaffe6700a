// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/CliRun.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur::test;

class TestStrukturCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void showPrintsTheTree();
    void showReportsBrokenFiles_data();
    void showReportsBrokenFiles();
    void resaveKeepsValidFilesAndRefusesBrokenOnes();
    void checkReportsFindings();
    void wrongArgumentsShowUsage();
    void staysQuietWithoutDesktopSession();

private:
    enum class Session { Desktop, None };
    CliRun run(const QStringList& arguments, Session session = Session::Desktop);
    QString path(const QString& name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStrukturCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/struktur-æøå-XXXXXX"));
    QVERIFY(m_dir->isValid());
    qputenv("KVARNOLT_DIR", m_dir->filePath(QStringLiteral("Kvarnolt")).toUtf8());
    QVERIFY(putBytes(path(u"struktur.txt"_qs), "Indledning\r\n\tKapitel \xE6\xF8\xE5\r\n\t\tAfsnit\r\nBilag\r\n"));
    QVERIFY(putBytes(path(u"data.txt"_qs), "0dokument0\r\n3dokument1\r\n9dokument2\r\n1dokument0\r\n"));
}

CliRun TestStrukturCli::run(const QStringList& arguments, Session session)
{
    CliOptions options;
    if (session == Session::None) {
        options.environment = withoutDisplay();
        options.environment.append({ u"XDG_RUNTIME_DIR"_qs, QString() });
    }
    return runCli(arguments, options);
}

void TestStrukturCli::showPrintsTheTree()
{
    const CliRun withData = run({ u"show"_qs, path(u"struktur.txt"_qs), path(u"data.txt"_qs) });
    QCOMPARE(withData.exitCode, 0);
    QCOMPARE(withData.out,
        u"Indledning  [0dokument0]\n  Kapitel æøå  [3dokument1]\n    Afsnit  [9dokument2]\nBilag  [1dokument0]\n"_qs);
    const CliRun withoutData = run({ u"show"_qs, path(u"struktur.txt"_qs) });
    QCOMPARE(withoutData.exitCode, 0);
    QCOMPARE(withoutData.out, u"Indledning  []\n  Kapitel æøå  []\n    Afsnit  []\nBilag  []\n"_qs);
}

void TestStrukturCli::showReportsBrokenFiles_data()
{
    QTest::addColumn<QByteArray>("structure");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("level") << QByteArray("A\r\n\t\tB\r\n") << QByteArray("0a\r\n0b\r\n") << "A  []\n"
                           << "Invalid level (2) for item \"B\"\n";
    QTest::newRow("too few data lines") << QByteArray("A\r\nB\r\nC\r\n") << QByteArray("0a\r\n0b\r\n")
                                        << "A  [0a]\nB  [0b]\nC  []\n" << "List index out of bounds (2)\n";
    QTest::newRow("not a digit") << QByteArray("A\r\nB\r\n") << QByteArray("0a\r\nxb\r\n") << "A  [0a]\nB  [xb]\n"
                                 << "'x' is not a valid integer value\n";
    QTest::newRow("no data file") << QByteArray("A\r\n") << QByteArray() << "A  []\n" << "Datafilen findes ikke: %1\n";
}

void TestStrukturCli::showReportsBrokenFiles()
{
    QFETCH(QByteArray, structure);
    QFETCH(QByteArray, data);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QVERIFY(putBytes(path(u"struktur.txt"_qs), structure));
    if (data.isEmpty())
        QFile::remove(path(u"data.txt"_qs));
    else
        QVERIFY(putBytes(path(u"data.txt"_qs), data));
    const CliRun result = run({ u"show"_qs, path(u"struktur.txt"_qs), path(u"data.txt"_qs) });
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, out);
    if (err.contains(u"%1"_qs))
        err = err.arg(path(u"data.txt"_qs));
    QCOMPARE(result.err, err);
}

void TestStrukturCli::resaveKeepsValidFilesAndRefusesBrokenOnes()
{
    const QByteArray structure = fileBytes(path(u"struktur.txt"_qs));
    const QByteArray data = fileBytes(path(u"data.txt"_qs));
    const CliRun saved = run({ u"resave"_qs, path(u"struktur.txt"_qs), path(u"data.txt"_qs) });
    QCOMPARE(saved.exitCode, 0);
    QCOMPARE(fileBytes(path(u"struktur.txt"_qs)), structure);
    QCOMPARE(fileBytes(path(u"data.txt"_qs)), data);

    // A broken pair is never rewritten from its partial reading.
    QVERIFY(putBytes(path(u"data.txt"_qs), "0a\r\n"));
    const CliRun refused = run({ u"resave"_qs, path(u"struktur.txt"_qs), path(u"data.txt"_qs) });
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains(u"List index out of bounds (1)"_qs), qPrintable(refused.err));
    QCOMPARE(fileBytes(path(u"struktur.txt"_qs)), structure);
    QCOMPARE(fileBytes(path(u"data.txt"_qs)), QByteArray("0a\r\n"));
}

void TestStrukturCli::checkReportsFindings()
{
    const QString documents = path(u"tekstfiler"_qs);
    QVERIFY(QDir().mkpath(documents));
    QVERIFY(putBytes(documents + u"/dokument0.rtf"_qs, "{\\rtf1 }"));
    QVERIFY(putBytes(documents + u"/dokument2.rtf"_qs, "{\\rtf1 }"));
    QVERIFY(putBytes(documents + u"/overset.rtf"_qs, "{\\rtf1 }"));
    const CliRun findings = run({ u"check"_qs, path(u"struktur.txt"_qs), path(u"data.txt"_qs), documents });
    QCOMPARE(findings.exitCode, 1);
    QCOMPARE(findings.out.split(u'\n', Qt::SkipEmptyParts),
        QStringList({ u"Dokumentet mangler: dokument1.rtf (linje 2 \"Kapitel æøå\")"_qs,
            u"Ikon 9 uden for 0-8: linje 3 \"Afsnit\""_qs,
            u"Dokumentet dokument0.rtf bruges af flere elementer: linje 1, 4"_qs,
            u"Dokumentet bruges ikke af noget element: overset.rtf"_qs }));

    QVERIFY(putBytes(path(u"struktur.txt"_qs), "Indledning\r\n\tKapitel\r\n"));
    QVERIFY(putBytes(path(u"data.txt"_qs), "0dokument0\r\n3dokument2\r\n"));
    QFile::remove(documents + u"/overset.rtf"_qs);
    const CliRun clean = run({ u"check"_qs, path(u"struktur.txt"_qs), path(u"data.txt"_qs), documents });
    QCOMPARE(clean.out, u"Strukturen er i orden: 2 elementer.\n"_qs);
    QCOMPARE(clean.exitCode, 0);

    QVERIFY(putBytes(path(u"struktur.txt"_qs), "Indledning\r\n\t\t\tKapitel\r\n"));
    const CliRun broken = run({ u"check"_qs, path(u"struktur.txt"_qs), path(u"data.txt"_qs), documents });
    QCOMPARE(broken.exitCode, 1);
    QVERIFY2(broken.out.startsWith(u"Invalid level (3) for item \"Kapitel\"\n"_qs), qPrintable(broken.out));
}

void TestStrukturCli::wrongArgumentsShowUsage()
{
    for (const QStringList& arguments : { QStringList{ u"show"_qs }, QStringList{ u"resave"_qs, u"a"_qs },
             QStringList{ u"check"_qs, u"a"_qs, u"b"_qs } }) {
        const CliRun result = run(arguments);
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(result.err.startsWith(u"Brug: struktur "_qs + arguments.first()), qPrintable(result.err));
    }
    const CliRun missing = run({ u"show"_qs, path(u"findes-ikke.txt"_qs) });
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.err.startsWith(u"Strukturfilen findes ikke: "_qs));
}

// A run from a plain terminal or a script has no runtime folder and no display; the standard
// error stream then carries the tool's own messages only.
void TestStrukturCli::staysQuietWithoutDesktopSession()
{
    const CliRun shown = run({ u"show"_qs, path(u"struktur.txt"_qs) }, Session::None);
    QCOMPARE(shown.exitCode, 0);
    QCOMPARE(shown.err, QString());
    QVERIFY(shown.out.startsWith(u"Indledning"_qs));
}

QTEST_GUILESS_MAIN(TestStrukturCli)
#include "test_struktur_cli.moc"
