// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AtomicFile.h"
#include "platform/TextFile.h"
#include "support/ErrorOf.h"
#include "support/SmallDisk.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur;
using struktur::test::errorOf;
using struktur::test::SmallDisk;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestAtomicFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replacesTheFileWholeAndLeavesNothingElse();
    void twoFilesAreCommittedTogether();
    void interruptedCommitsAreFinishedOrOutdated_data();
    void interruptedCommitsAreFinishedOrOutdated();
    void staleTemporaryFilesAreRemoved();
    void refusalsNameTheFileAndTheReason_data();
    void refusalsNameTheFileAndTheReason();
    void fullDiskSavesAllOrKeepsTheOldFile_data();
    void fullDiskSavesAllOrKeepsTheOldFile();
};

void TestAtomicFile::replacesTheFileWholeAndLeavesNothingElse()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"æøå.txt"_qs);
    writeFileAtomically(path, "first");
    QCOMPARE(contents(path), QByteArray("first"));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QFile::Permissions permissions = QFile::permissions(path);
    textfile::writeLines(path, { u"Åse"_qs, u"Ødis"_qs });
    QCOMPARE(contents(path),
        QByteArray("\xC5se\r\n\xD8"
                   "dis\r\n"));
    // The old file's permissions are kept.
    QCOMPARE(QFile::permissions(path), permissions);
    writeFileAtomically(path, "");
    QCOMPARE(contents(path), QByteArray());
    QCOMPARE(entries(dir.path()), QStringList { u"æøå.txt"_qs });
}

void TestAtomicFile::twoFilesAreCommittedTogether()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"data.txt"_qs);
    put(path, "old");
    const QString second = dir.filePath(u"struktur.txt"_qs);
    PendingFile data(path);
    PendingFile structure(second);
    data.write("1a\r\n");
    structure.write("A\r\n");
    commitTogether(data, structure);
    QCOMPARE(contents(path), QByteArray("1a\r\n"));
    QCOMPARE(contents(second), QByteArray("A\r\n"));
    QCOMPARE(entries(dir.path()), (QStringList { u"data.txt"_qs, u"struktur.txt"_qs }));
}

void TestAtomicFile::interruptedCommitsAreFinishedOrOutdated_data()
{
    QTest::addColumn<QByteArrayList>("left");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("structure");
    // What a kill at each moment of a commit leaves under the pair names, and what the
    // next load reads.
    QTest::newRow("before the commitment") << QByteArrayList { "data" } << QByteArray("old data")
                                           << QByteArray("old structure");
    QTest::newRow("committed, nothing replaced") << QByteArrayList { "data", "struktur" } << QByteArray("new data")
                                                 << QByteArray("new structure");
    QTest::newRow("between the replacements") << QByteArrayList { "struktur" } << QByteArray("new data")
                                              << QByteArray("new structure");
}

void TestAtomicFile::interruptedCommitsAreFinishedOrOutdated()
{
    QFETCH(QByteArrayList, left);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, structure);
    QTemporaryDir dir;
    const QString dataPath = dir.filePath(u"data.txt"_qs);
    const QString structurePath = dir.filePath(u"struktur.txt"_qs);
    put(dataPath, left.contains("data") ? "old data" : "new data");
    put(structurePath, "old structure");
    const auto leave = [&] {
        for (const QByteArray& name : left) {
            put(dir.filePath(u".%1.txt.pair"_qs.arg(QString::fromLatin1(name))),
                "new " + (name == "data" ? name : "structure"));
        }
    };
    leave();
    completeInterruptedCommit(dataPath, structurePath);
    QCOMPARE(contents(dataPath), data);
    QCOMPARE(contents(structurePath), structure);

    // A commit made while such files are left (no load came between) outdates them: it is
    // never finished with an older file, and nothing is left beside the pair.
    leave();
    PendingFile newData(dataPath);
    PendingFile newStructure(structurePath);
    newData.write("newer data");
    newStructure.write("newer structure");
    commitTogether(newData, newStructure);
    QCOMPARE(contents(dataPath), QByteArray("newer data"));
    QCOMPARE(contents(structurePath), QByteArray("newer structure"));
    QCOMPARE(entries(dir.path()), (QStringList { u"data.txt"_qs, u"struktur.txt"_qs }));
    completeInterruptedCommit(dataPath, structurePath);
    QCOMPARE(contents(structurePath), QByteArray("newer structure"));
}

void TestAtomicFile::staleTemporaryFilesAreRemoved()
{
    // What a killed save left; a young one may be another save's, running now.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"struktur.txt"_qs);
    const QStringList names { u".struktur.txt.3eu47561wk.tmp"_qs, u".struktur.txt.young.tmp"_qs,
        u".struktur.txt.Not-Ours.tmp"_qs, u".data.txt.3eu47561wk.tmp"_qs };
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (name != u".struktur.txt.young.tmp"_qs)
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }
    writeFileAtomically(path, "A\r\n");
    QCOMPARE(entries(dir.path()),
        (QStringList { u".data.txt.3eu47561wk.tmp"_qs, u".struktur.txt.Not-Ours.tmp"_qs, u".struktur.txt.young.tmp"_qs,
            u"struktur.txt"_qs }));
}

void TestAtomicFile::refusalsNameTheFileAndTheReason_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing folder") << u"ingen mappe/struktur.txt"_qs << u"No such file or directory"_qs;
    QTest::newRow("a folder") << u"mappe"_qs << u"Is a directory"_qs;
    QTest::newRow("below a file") << u"fil.txt/struktur.txt"_qs << u"Not a directory"_qs;
}

void TestAtomicFile::refusalsNameTheFileAndTheReason()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(u"mappe"_qs);
    put(dir.filePath(u"fil.txt"_qs), "fil");
    const QString path = dir.filePath(target);
    QCOMPARE(errorOf([&] { writeFileAtomically(path, "x"); }),
        u"Cannot create file \"%1\". %2"_qs.arg(QDir::toNativeSeparators(path), reason));
    QCOMPARE(entries(dir.path()), (QStringList { u"fil.txt"_qs, u"mappe"_qs }));
    QCOMPARE(contents(dir.filePath(u"fil.txt"_qs)), QByteArray("fil"));
}

void TestAtomicFile::fullDiskSavesAllOrKeepsTheOldFile_data()
{
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<qint64>("size");
    for (const qint64 freeBytes : { 8 * 1024, 64 * 1024 }) {
        for (const qint64 size :
            { 1, 4095, 4096, 8192, 12 * 1024, 14 * 1024, 16 * 1024, 16 * 1024 + 1, 40 * 1024, 300 * 1024 })
            QTest::addRow("%lld free, %lld bytes", freeBytes, size) << freeBytes << size;
    }
}

void TestAtomicFile::fullDiskSavesAllOrKeepsTheOldFile()
{
    QFETCH(qint64, freeBytes);
    QFETCH(qint64, size);
    SmallDisk disk(512);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.skipReason()));
    const QString path = disk.filePath(u"tekst.rtf"_qs);
    const QByteArray old(5000, 'o');
    put(path, old);
    QVERIFY(disk.fillLeaving(freeBytes));
    const QByteArray bytes(size, 'n');
    const QString error = errorOf([&] { writeFileAtomically(path, bytes); });
    if (error.isEmpty()) {
        QCOMPARE(contents(path), bytes);
        QVERIFY2(size <= freeBytes, "more was saved than the disk could hold");
    } else {
        QCOMPARE(error, u"Cannot create file \"%1\". No space left on device"_qs.arg(path));
        QCOMPARE(contents(path), old);
        QVERIFY2(size + 4096 > freeBytes, qPrintable(error));
    }
    QCOMPARE(entries(disk.path()), (QStringList { u"filler"_qs, u"tekst.rtf"_qs }));
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "test_atomicfile.moc"
