// SPDX-License-Identifier: GPL-3.0-or-later
// struktur spell on a constructed structure.
#include "support/CliRun.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur::test;

namespace {

QByteArray rtf(const QByteArray& body)
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\pard\\f0\\fs20 " + body + "\\par}";
}

} // namespace

class TestSpellCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void listsMisspeltWordsInTreeOrder();
    void nothingMisspeltExitsZero();
    void errorsExitTwo();

private:
    CliRun run(const QStringList& arguments, const QString& dicPath = QString());
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QStringList spellArguments() const
    {
        return { u"spell"_qs, path(u"struktur.txt"_qs), path(u"data.txt"_qs), path(u"tekstfiler"_qs) };
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSpellCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/stavning-æøå-XXXXXX"));
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(path(u"Kvarnolt/Options"_qs)));
    QVERIFY(QDir().mkpath(path(u"tekstfiler"_qs)));
    QVERIFY(putBytes(path(u"Kvarnolt/Options/ordbog.txt"_qs), "Kvarnolt\r\n"));
    QVERIFY(putBytes(path(u"struktur.txt"_qs), "Indledning\r\n\tKapitel \xE6\xF8\xE5\r\n\t\tAfsnit\r\nBilag\r\n"));
    QVERIFY(putBytes(path(u"data.txt"_qs), "0dok0\r\n3dok1\r\n9dok2\r\n1dok3\r\n"));
    QVERIFY(putBytes(path(u"tekstfiler/dok0.rtf"_qs), rtf("Huset i Kvarnolt er r\\'f8dt, se www.husset.dk.")));
    QVERIFY(putBytes(path(u"tekstfiler/dok1.rtf"_qs), rtf("Et \\b husset\\b0  og et hus\\i set\\i0 , EU og 12husset.")));
    // dok2 is missing; dok3 is plain text, as the editor would load it.
    QVERIFY(putBytes(path(u"tekstfiler/dok3.rtf"_qs), "Bilag med husset og ordet xqzvkw."));
}

CliRun TestSpellCli::run(const QStringList& arguments, const QString& dicPath)
{
    // A null dictionary path leaves the variable unset: the system's dictionaries.
    CliOptions options;
    options.environment = { { u"KVARNOLT_DIR"_qs, path(u"Kvarnolt"_qs) }, { u"DICPATH"_qs, dicPath } };
    return runCli(arguments, options);
}

void TestSpellCli::listsMisspeltWordsInTreeOrder()
{
    const CliRun result = run(spellArguments());
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 1);
    const QStringList lines = result.out.split(u'\n');
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], u"Indledning \u203a Kapitel æøå  [3dok1]"_qs);
    QCOMPARE(lines[1], u"    husset  2  huset"_qs); // across a formatting run too
    QCOMPARE(lines[2], u"Bilag  [1dok3]"_qs);
    QCOMPARE(lines[3], u"    husset  1  huset"_qs);
    QVERIFY2(lines[4].startsWith(u"    xqzvkw  1  "_qs), qPrintable(lines[4]));
    QCOMPARE(lines[5], QString());
}

void TestSpellCli::nothingMisspeltExitsZero()
{
    QVERIFY(putBytes(path(u"tekstfiler/dok1.rtf"_qs), rtf("Alt er stavet rigtigt.")));
    QVERIFY(putBytes(path(u"tekstfiler/dok3.rtf"_qs), "Og her med."));
    const CliRun result = run(spellArguments());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QString());
}

void TestSpellCli::errorsExitTwo()
{
    const CliRun usage = run({ u"spell"_qs, path(u"struktur.txt"_qs) });
    QCOMPARE(usage.exitCode, 2);
    QVERIFY(usage.err.contains(u"spell STRUKTURFIL DATAFIL DOKUMENTMAPPE"_qs));

    const CliRun noFolder = run({ u"spell"_qs, path(u"struktur.txt"_qs), path(u"data.txt"_qs), path(u"ingen"_qs) });
    QCOMPARE(noFolder.exitCode, 2);
    QVERIFY(noFolder.err.startsWith(u"Dokumentmappen findes ikke"_qs));

    const CliRun noStructure = run({ u"spell"_qs, path(u"ingen.txt"_qs), path(u"data.txt"_qs), path(u"tekstfiler"_qs) });
    QCOMPARE(noStructure.exitCode, 2);
    QVERIFY(noStructure.err.startsWith(u"Strukturfilen findes ikke"_qs));

    const CliRun noDictionary = run(spellArguments(), path(u"tekstfiler"_qs));
    QCOMPARE(noDictionary.exitCode, 2);
    QVERIFY(noDictionary.err.contains(u"ingen dansk ordbog"_qs));
    QCOMPARE(noDictionary.out, QString());
}

QTEST_GUILESS_MAIN(TestSpellCli)
#include "test_spell_cli.moc"
