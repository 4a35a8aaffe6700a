// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tool killed at random moments of a save: every file is whole afterwards,
// old or new, and nothing temporary is left beside it.
#include "CliProcess.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <signal.h>

using namespace struktur::test;

namespace {

/// True while the process `pid` holds a file of `folder` that has no name yet: the new file
/// of a save, being written.
bool isWritingInto(qint64 pid, const QString& folder)
{
    const QString fds = u"/proc/%1/fd"_qs.arg(pid);
    const QString prefix = folder + u"/#"_qs;
    for (const QFileInfo& fd : QDir(fds).entryInfoList(QDir::Files | QDir::System)) {
        if (fd.symLinkTarget().startsWith(prefix))
            return true;
    }
    return false;
}

/// True while the process runs; its state is only brought up to date by waiting on it.
bool isRunning(QProcess& process)
{
    process.waitForFinished(0);
    return process.state() == QProcess::Running;
}

/// Starts the tool, waits until it writes its first new file into `folder`, then kills it
/// after `delay` milliseconds (when it is still running). With a negative delay it is not
/// killed and the time from its first new file to its last one's replacing the target is
/// returned, in milliseconds: the write phase.
qint64 runAndKill(const QStringList& arguments, const QString& folder, int delay)
{
    QProcess process;
    prepareCli(process, arguments);
    process.start();
    if (!process.waitForStarted())
        return -1;
    const qint64 pid = process.processId();
    while (isRunning(process) && !isWritingInto(pid, folder))
        QThread::usleep(200);
    QElapsedTimer writing;
    writing.start();
    qint64 written = -1;
    if (delay >= 0) {
        QThread::msleep(delay);
        if (isRunning(process))
            ::kill(pid_t(pid), SIGKILL);
    } else {
        while (isRunning(process) && isWritingInto(pid, folder))
            QThread::usleep(200);
        written = writing.elapsed();
    }
    process.waitForFinished(60000);
    return delay >= 0 ? writing.elapsed() : written;
}

/// Counts the temporary files a kill left in `folder` (at most one: the moment between naming
/// a new file and renaming it is one system call) and dates them back, so that the next save
/// takes them for stale ones.
int markLeftovers(const QString& folder, QSet<QString>& seen)
{
    int count = 0;
    const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
    for (const QString& name : folderEntries(folder)) {
        if (!name.startsWith(u'.') || seen.contains(name))
            continue;
        seen.insert(name);
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(old, QFileDevice::FileModificationTime);
        ++count;
    }
    return count;
}

/// How often to kill each save: a few dozen by default, so that the test stays short;
/// STRUKTUR_KILLS asks for more.
int killCount(int fallback)
{
    const int asked = qEnvironmentVariableIntValue("STRUKTUR_KILLS");
    return asked > 0 ? asked : fallback;
}

/// A moment in the write phase of `duration` milliseconds, or just after it.
int killPoint(qint64 duration) { return int(duration * 1.1 * QRandomGenerator::global()->generateDouble()); }

QByteArray documentOfMegabytes(int megabytes)
{
    QByteArray bytes
        = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}\n";
    const QByteArray paragraph
        = "\\pard\\f0\\fs20 Et afsnit med \\b fed\\b0 , \\cf1 r\\'f8d\\cf0  og \\f1 anden\\f0  skrift "
          "om \\'e6bler og p\\'e6rer.\\par\n";
    while (bytes.size() < megabytes * 1024 * 1024)
        bytes += paragraph;
    return bytes + '}';
}

} // namespace

class TestSavingKills : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedResaveLeavesAWholePair();
    void killedRtfresaveLeavesAWholeDocument();
};

void TestSavingKills::killedResaveLeavesAWholePair()
{
    constexpr int elements = 300000;
    const int kills = killCount(40);
    QTemporaryDir dir;
    const QString structure = dir.filePath(u"struktur.txt"_qs);
    const QString data = dir.filePath(u"data.txt"_qs);
    const QByteArray oldStructure = structureWithLf(elements);
    const QByteArray oldData = dataWithLf(elements);
    const QByteArray newStructure = withCrLf(oldStructure);
    const QByteArray newData = withCrLf(oldData);
    const QStringList arguments { u"resave"_qs, structure, data };
    QVERIFY(putBytes(structure, oldStructure));
    QVERIFY(putBytes(data, oldData));
    const qint64 duration = runAndKill(arguments, dir.path(), -1);
    QVERIFY(duration >= 0);
    QCOMPARE(fileBytes(structure), newStructure);

    QSet<QString> seen;
    int leftOver = 0;
    int oldPairs = 0;
    int newPairs = 0;
    int mixedPairs = 0;
    int finishedByLoad = 0;
    for (int kill = 0; kill < kills; ++kill) {
        QVERIFY(putBytes(structure, oldStructure));
        QVERIFY(putBytes(data, oldData));
        runAndKill(arguments, dir.path(), killPoint(duration));
        // Each file is whole, old or new; which of the two it is, is returned.
        bool newDataFile = false;
        bool newStructureFile = false;
        const auto check = [&](const QString& moment) {
            const QByteArray structureNow = fileBytes(structure);
            const QByteArray dataNow = fileBytes(data);
            newDataFile = dataNow == newData;
            newStructureFile = structureNow == newStructure;
            if (!newStructureFile && structureNow != oldStructure)
                return u"kill %1, %2: a structure file of %3 bytes"_qs.arg(kill).arg(moment).arg(structureNow.size());
            if (!newDataFile && dataNow != oldData)
                return u"kill %1, %2: a data file of %3 bytes"_qs.arg(kill).arg(moment).arg(dataNow.size());
            return QString();
        };
        QString fault = check(u"on disk"_qs);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        if (newStructureFile != newDataFile)
            ++mixedPairs;
        // A save killed after its commitment is finished by the next load.
        if (QFileInfo::exists(dir.filePath(u".struktur.txt.pair"_qs))) {
            QCOMPARE(runCli({ u"show"_qs, structure, data }).exitCode, 0);
            ++finishedByLoad;
            fault = check(u"loaded"_qs);
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
        }
        QVERIFY2(newStructureFile == newDataFile, qPrintable(u"kill %1: a mixed pair after loading"_qs.arg(kill)));
        leftOver += markLeftovers(dir.path(), seen);
        ++(newStructureFile ? newPairs : oldPairs);
    }
    qInfo("%d kills in a write phase of %lld ms: %d old pairs, %d new pairs, %d mixed pairs on disk (all finished by "
          "the next load, which finished %d saves), %d temporary files left",
        kills, duration, oldPairs, newPairs, mixedPairs, finishedByLoad, leftOver);
    // What a kill left is removed by the next save.
    QVERIFY(putBytes(structure, oldStructure));
    QCOMPARE(runAndKill(arguments, dir.path(), -1) >= 0, true);
    QCOMPARE(folderEntries(dir.path()).join(u", "_qs), u"data.txt, struktur.txt"_qs);
}

void TestSavingKills::killedRtfresaveLeavesAWholeDocument()
{
    const int kills = killCount(5);
    QTemporaryDir dir;
    const QString source = dir.filePath(u"kilde.rtf"_qs);
    const QString document = dir.filePath(u"dokument.rtf"_qs);
    const QByteArray old = documentOfMegabytes(10);
    QVERIFY(putBytes(source, old));
    QVERIFY(putBytes(document, old));
    const QStringList arguments { u"rtfresave"_qs, source, document };
    const qint64 duration = runAndKill(arguments, dir.path(), -1);
    QVERIFY(duration >= 0);
    const QByteArray written = fileBytes(document);
    QVERIFY(written != old);

    QSet<QString> seen;
    int leftOver = 0;
    int kept = 0;
    int replaced = 0;
    for (int kill = 0; kill < kills; ++kill) {
        QVERIFY(putBytes(document, old));
        runAndKill(arguments, dir.path(), killPoint(duration));
        const QByteArray now = fileBytes(document);
        QVERIFY2(
            now == old || now == written, qPrintable(u"kill %1: a document of %2 bytes"_qs.arg(kill).arg(now.size())));
        (now == old ? kept : replaced) += 1;
        leftOver += markLeftovers(dir.path(), seen);
    }
    qInfo("%d kills in a write phase of %lld ms: %d documents kept, %d replaced, %d temporary files left", kills,
        duration, kept, replaced, leftOver);
    runAndKill(arguments, dir.path(), -1);
    QCOMPARE(folderEntries(dir.path()).join(u", "_qs), u"dokument.rtf, kilde.rtf"_qs);
}

QTEST_GUILESS_MAIN(TestSavingKills)
#include "test_saving_kills.moc"
