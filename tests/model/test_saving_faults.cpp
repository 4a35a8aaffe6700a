// SPDX-License-Identifier: GPL-3.0-or-later
// What the command-line tool's saves do on a full disk and in a folder the user cannot write.
#include "CliProcess.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace struktur::test;

namespace {

/// A small document of `size` bytes, as another program might have written it (its own
/// header, so that resaving always gives other bytes).
QByteArray documentOfSize(int size)
{
    QByteArray bytes = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    const QByteArray word = "\\'e6bler og p\\'e6rer ";
    while (bytes.size() < size)
        bytes += bytes.size() % 2000 < word.size() ? QByteArray("\\par ") : word;
    return bytes + '}';
}

} // namespace

class TestSavingFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void resaveOnAFullDiskSavesAllOrKeepsBothFiles_data();
    void resaveOnAFullDiskSavesAllOrKeepsBothFiles();
    void rtfresaveOnAFullDiskSavesAllOrKeepsTheDocument_data();
    void rtfresaveOnAFullDiskSavesAllOrKeepsTheDocument();
    void aFolderTheUserCannotWriteIsRefused();
};

void TestSavingFaults::resaveOnAFullDiskSavesAllOrKeepsBothFiles_data()
{
    QTest::addColumn<int>("elements");
    QTest::addColumn<int>("freeKilobytes");
    for (const int freeKilobytes : { 8, 16, 64 }) {
        for (const int elements : { 1, 100, 400, 700, 1000, 5000, 12000 })
            QTest::addRow("%d elements, %d KiB free", elements, freeKilobytes) << elements << freeKilobytes;
    }
}

void TestSavingFaults::resaveOnAFullDiskSavesAllOrKeepsBothFiles()
{
    QFETCH(int, elements);
    QFETCH(int, freeKilobytes);
    SmallDisk disk(1024);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.skipReason()));
    const QString structure = disk.filePath(u"struktur.txt"_qs);
    const QString data = disk.filePath(u"data.txt"_qs);
    const QByteArray oldStructure = structureWithLf(elements);
    const QByteArray oldData = dataWithLf(elements);
    QVERIFY(putBytes(structure, oldStructure));
    QVERIFY(putBytes(data, oldData));
    QVERIFY(disk.fillLeaving(qint64(freeKilobytes) * 1024));

    const CliRun result = runCli({ u"resave"_qs, structure, data });
    if (result.exitCode == 0) {
        QCOMPARE(result.out, u"Gemt: %1 elementer.\n"_qs.arg(elements));
        QCOMPARE(fileBytes(structure), withCrLf(oldStructure));
        QCOMPARE(fileBytes(data), withCrLf(oldData));
    } else {
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.startsWith(u"Cannot create file \""_qs), qPrintable(result.err));
        QVERIFY2(result.err.endsWith(u"\". No space left on device\n"_qs), qPrintable(result.err));
        QVERIFY2(result.out.isEmpty(), qPrintable(result.out));
        QCOMPARE(fileBytes(structure), oldStructure);
        QCOMPARE(fileBytes(data), oldData);
    }
    const qint64 needed = oldStructure.size() + oldData.size() + 2 * elements;
    if (needed + 8192 <= freeKilobytes * 1024)
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(folderEntries(disk.path()), (QStringList { u"data.txt"_qs, u"filler"_qs, u"struktur.txt"_qs }));
}

void TestSavingFaults::rtfresaveOnAFullDiskSavesAllOrKeepsTheDocument_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("freeKilobytes");
    for (const int freeKilobytes : { 8, 64 }) {
        for (const int size : { 1, 2000, 8000, 12000, 14000, 16000, 20000, 60000, 200000 })
            QTest::addRow("%d bytes, %d KiB free", size, freeKilobytes) << size << freeKilobytes;
    }
}

void TestSavingFaults::rtfresaveOnAFullDiskSavesAllOrKeepsTheDocument()
{
    QFETCH(int, size);
    QFETCH(int, freeKilobytes);
    SmallDisk disk(1024);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.skipReason()));
    const QString document = disk.filePath(u"dokument.rtf"_qs);
    const QByteArray old = documentOfSize(size);
    QVERIFY(putBytes(document, old));
    // What a save writes, found on a disk with room.
    QTemporaryDir roomy;
    const QString expectedPath = roomy.filePath(u"dokument.rtf"_qs);
    QCOMPARE(runCli({ u"rtfresave"_qs, document, expectedPath }).exitCode, 0);
    const QByteArray expected = fileBytes(expectedPath);
    QVERIFY(expected != old);
    QVERIFY(disk.fillLeaving(qint64(freeKilobytes) * 1024));

    const CliRun result = runCli({ u"rtfresave"_qs, document, document });
    if (result.exitCode == 0) {
        QCOMPARE(fileBytes(document), expected);
    } else {
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err, u"Cannot create file \"%1\". No space left on device\n"_qs.arg(document));
        QCOMPARE(fileBytes(document), old);
    }
    if (expected.size() + 8192 <= freeKilobytes * 1024)
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(folderEntries(disk.path()), (QStringList { u"dokument.rtf"_qs, u"filler"_qs }));
}

void TestSavingFaults::aFolderTheUserCannotWriteIsRefused()
{
    // The files themselves may be written; only no new file can be made beside them.
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther | QFile::ReadOther));
    const QString folder = dir.filePath(u"skrivebeskyttet æøå"_qs);
    QVERIFY(QDir().mkdir(folder));
    const QString structure = folder + u"/struktur.txt"_qs;
    const QString data = folder + u"/data.txt"_qs;
    const QString document = folder + u"/dokument.rtf"_qs;
    const QByteArray oldStructure = structureWithLf(300);
    const QByteArray oldData = dataWithLf(300);
    const QByteArray oldDocument = documentOfSize(3000);
    QVERIFY(putBytes(structure, oldStructure));
    QVERIFY(putBytes(data, oldData));
    QVERIFY(putBytes(document, oldDocument));
    const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther;
    for (const QString& file : { structure, data, document })
        QVERIFY(QFile::setPermissions(file, everyone));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    // Root writes every folder, so the tool then runs as the unprivileged user "nobody".
    const QStringList asUser = ::geteuid() == 0
        ? QStringList { u"setpriv"_qs, u"--reuid=65534"_qs, u"--regid=65534"_qs, u"--clear-groups"_qs }
        : QStringList {};

    CliOptions otherUser;
    otherUser.prefix = asUser;
    otherUser.ignoreRuntimeRemarks = true;
    const CliRun resave = runCli({ u"resave"_qs, structure, data }, otherUser);
    QCOMPARE(resave.exitCode, 1);
    QCOMPARE(resave.err, u"Cannot create file \"%1\". Permission denied\n"_qs.arg(data));
    const CliRun rtfresave = runCli({ u"rtfresave"_qs, document, document }, otherUser);
    QCOMPARE(rtfresave.exitCode, 1);
    QCOMPARE(rtfresave.err, u"Cannot create file \"%1\". Permission denied\n"_qs.arg(document));

    QCOMPARE(fileBytes(structure), oldStructure);
    QCOMPARE(fileBytes(data), oldData);
    QCOMPARE(fileBytes(document), oldDocument);
    QCOMPARE(folderEntries(folder), (QStringList { u"data.txt"_qs, u"dokument.rtf"_qs, u"struktur.txt"_qs }));

    // A file the user may not write, in a folder he may, is refused as well.
    QVERIFY(QFile::setPermissions(folder, QFile::permissions(folder) | QFile::WriteOther | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(document, QFile::ReadOwner | QFile::ReadOther));
    const CliRun readOnlyFile = runCli({ u"rtfresave"_qs, document, document }, otherUser);
    QCOMPARE(readOnlyFile.exitCode, 1);
    QCOMPARE(readOnlyFile.err, u"Cannot create file \"%1\". Permission denied\n"_qs.arg(document));
    QCOMPARE(fileBytes(document), oldDocument);
    QCOMPARE(folderEntries(folder), (QStringList { u"data.txt"_qs, u"dokument.rtf"_qs, u"struktur.txt"_qs }));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QTEST_GUILESS_MAIN(TestSavingFaults)
#include "test_saving_faults.moc"
