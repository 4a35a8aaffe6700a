// SPDX-License-Identifier: GPL-3.0-or-later
// struktur spell on a constructed structure.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

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
    Run run(const QStringList& arguments, const QString& dicPath = QString());
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
    writeBytes(path(u"Kvarnolt/Options/ordbog.txt"_qs), "Kvarnolt\r\n");
    writeBytes(path(u"struktur.txt"_qs), "Indledning\r\n\tKapitel \xE6\xF8\xE5\r\n\t\tAfsnit\r\nBilag\r\n");
    writeBytes(path(u"data.txt"_qs), "0dok0\r\n3dok1\r\n9dok2\r\n1dok3\r\n");
    writeBytes(path(u"tekstfiler/dok0.rtf"_qs), rtf("Huset i Kvarnolt er r\\'f8dt, se www.husset.dk."));
    writeBytes(path(u"tekstfiler/dok1.rtf"_qs), rtf("Et \\b husset\\b0  og et hus\\i set\\i0 , EU og 12husset."));
    // dok2 is missing; dok3 is plain text, as the editor would load it.
    writeBytes(path(u"tekstfiler/dok3.rtf"_qs), "Bilag med husset og ordet xqzvkw.");
}

Run TestSpellCli::run(const QStringList& arguments, const QString& dicPath)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"KVARNOLT_DIR"_qs, path(u"Kvarnolt"_qs));
    const QString runtime = path(u"runtime"_qs);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    environment.insert(u"XDG_RUNTIME_DIR"_qs, runtime);
    if (dicPath.isNull())
        environment.remove(u"DICPATH"_qs);
    else
        environment.insert(u"DICPATH"_qs, dicPath);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(STRUKTUR_CLI), arguments);
    Run result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

void TestSpellCli::listsMisspeltWordsInTreeOrder()
{
    const Run result = run(spellArguments());
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
    writeBytes(path(u"tekstfiler/dok1.rtf"_qs), rtf("Alt er stavet rigtigt."));
    writeBytes(path(u"tekstfiler/dok3.rtf"_qs), "Og her med.");
    const Run result = run(spellArguments());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QString());
}

void TestSpellCli::errorsExitTwo()
{
    const Run usage = run({ u"spell"_qs, path(u"struktur.txt"_qs) });
    QCOMPARE(usage.exitCode, 2);
    QVERIFY(usage.err.contains(u"spell STRUKTURFIL DATAFIL DOKUMENTMAPPE"_qs));

    const Run noFolder = run({ u"spell"_qs, path(u"struktur.txt"_qs), path(u"data.txt"_qs), path(u"ingen"_qs) });
    QCOMPARE(noFolder.exitCode, 2);
    QVERIFY(noFolder.err.startsWith(u"Dokumentmappen findes ikke"_qs));

    const Run noStructure = run({ u"spell"_qs, path(u"ingen.txt"_qs), path(u"data.txt"_qs), path(u"tekstfiler"_qs) });
    QCOMPARE(noStructure.exitCode, 2);
    QVERIFY(noStructure.err.startsWith(u"Strukturfilen findes ikke"_qs));

    const Run noDictionary = run(spellArguments(), path(u"tekstfiler"_qs));
    QCOMPARE(noDictionary.exitCode, 2);
    QVERIFY(noDictionary.err.contains(u"ingen dansk ordbog"_qs));
    QCOMPARE(noDictionary.out, QString());
}

QTEST_GUILESS_MAIN(TestSpellCli)
#include "test_spell_cli.moc"
