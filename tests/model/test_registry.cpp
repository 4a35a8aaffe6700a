// SPDX-License-Identifier: GPL-3.0-or-later
// The registry of structures: where the registry files are, which entries there are, what an
// entry resolves to, and the rules for new entries and for deleting a structure's files.
#include "../support/ErrorOf.h"
#include "model/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur;
using struktur::test::errorOf;

namespace {

const QString sep = QDir::separator();

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_work;
    QString work(const QString& relative) const { return native(m_work.filePath(relative)); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        qputenv("HOME", QFile::encodeName(m_work.filePath("hjem")));
        QDir().mkpath(m_work.filePath("hjem"));
    }

    void registryFileIsTheEntryInTheProgramFolder()
    {
        QCOMPARE(registry::registryFilePath(native("/p/Kvarnolt"), "Hjælp.txt"), native("/p/Kvarnolt/Hjælp.txt"));
        // The entry is taken as it is: nothing is cleaned or added.
        QCOMPARE(registry::registryFilePath(native("/p"), " a b .txt"), native("/p/ a b .txt"));
    }

    void entriesAreTheTextFilesDirectlyInTheFolder()
    {
        const QString dir = work("entries");
        for (const char* name : { "Æble.txt", "brugere.txt", ".skjult.txt", " mellemrum .txt", "to.txt.txt", "STOR.TXT",
                 ".txt", "noter.dat", "txt" })
            writeBytes(dir + sep + QString::fromUtf8(name), "");
        QDir().mkpath(dir + sep + "mappe.txt");
        writeBytes(dir + sep + "under" + sep + "dybt.txt", "");

        const QStringList entries = registry::registryEntries(dir);
        QCOMPARE(QSet<QString>(entries.begin(), entries.end()),
            QSet<QString>(
                { "Æble.txt", "brugere.txt", ".skjult.txt", " mellemrum .txt", "to.txt.txt", "STOR.TXT", ".txt" }));
        // Name order whatever the folder's own order, A to Z without regard to case.
        QVERIFY(entries.indexOf("brugere.txt") < entries.indexOf("STOR.TXT"));
        QVERIFY(entries.indexOf("STOR.TXT") < entries.indexOf("to.txt.txt"));

        QCOMPARE(registry::registryEntries(work("no such folder")), QStringList());
    }

    void registryLinesOutsideTheFileAreAnError()
    {
        const QStringList lines { "a", "", "c" };
        QCOMPARE(registry::registryLine(lines, 0), QStringLiteral("a"));
        QCOMPARE(registry::registryLine(lines, 1), QString());
        QCOMPARE(registry::registryLine(lines, 2), QStringLiteral("c"));
        QCOMPARE(errorOf([&] { registry::registryLine(lines, 3); }), QStringLiteral("List index out of bounds (3)"));
        QCOMPARE(errorOf([&] { registry::registryLine({}, 0); }), QStringLiteral("List index out of bounds (0)"));
        QCOMPARE(errorOf([&] { registry::registryLine(lines, -1); }), QStringLiteral("List index out of bounds (-1)"));
    }

    void entriesResolveToTheirThreePaths()
    {
        const QString dir = work("resolve");
        writeBytes(dir + sep + "Hjælp.txt", "/s/struktur.txt\r\n/s/data.txt\r\n/s/tekstfiler/\r\novertallig\r\n");
        const registry::StructurePaths paths = registry::resolveEntry(dir, "Hjælp.txt");
        QCOMPARE(paths.structureFile, QStringLiteral("/s/struktur.txt"));
        QCOMPARE(paths.dataFile, QStringLiteral("/s/data.txt"));
        QCOMPARE(paths.documentFolder, QStringLiteral("/s/tekstfiler/"));

        // A built-in entry needs no registry file; its own file, when there is one, is not read.
        writeBytes(dir + sep + "Information.txt", "kort\r\n");
        QCOMPARE(registry::resolveEntry(dir, "Information.txt").structureFile,
            dir + sep + "Information" + sep + "struktur.txt");

        writeBytes(dir + sep + "kort.txt", "/s/struktur.txt\r\n/s/data.txt\r\n");
        QCOMPARE(
            errorOf([&] { registry::resolveEntry(dir, "kort.txt"); }), QStringLiteral("List index out of bounds (2)"));
        QVERIFY(errorOf([&] { registry::resolveEntry(dir, "mangler.txt"); }).startsWith("Cannot open file"));
    }

    void aNewStructureLivesInItsFolder()
    {
        const registry::StructurePaths paths = registry::pathsForFolder(native("/Data/Ny"));
        QCOMPARE(paths.structureFile, native("/Data/Ny/struktur.txt"));
        QCOMPARE(paths.dataFile, native("/Data/Ny/data.txt"));
        QCOMPARE(paths.documentFolder, native("/Data/Ny/tekstfiler/"));
        // The folder as typed: a trailing separator is doubled, not removed.
        QCOMPARE(registry::pathsForFolder(native("/Data/")).dataFile, native("/Data//data.txt"));
    }

    void folderLevelsRunFromTheFirstFolderDown_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("levels");
        QTest::newRow("absolute") << native("/Data/Hjælp/Ny")
                                  << QStringList { native("/Data"), native("/Data/Hjælp"), native("/Data/Hjælp/Ny") };
        QTest::newRow("relative") << native("A/B") << QStringList { "A", native("A/B") };
        QTest::newRow("trailing separator") << native("A/B/") << QStringList { "A", native("A/B"), native("A/B/") };
        QTest::newRow("one level") << "Ny" << QStringList { "Ny" };
        QTest::newRow("empty") << "" << QStringList {};
    }
    void folderLevelsRunFromTheFirstFolderDown()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, levels);
        QCOMPARE(registry::folderLevels(text), levels);
    }

    void duplicatesFoldOnlyAToZ_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("exists");
        QTest::newRow("same name") << "Hjælp" << QStringList { "Hjælp.txt" } << true;
        QTest::newRow("A to Z folded") << "ny" << QStringList { "NY.txt" } << true;
        QTest::newRow("extension folded") << "ny" << QStringList { "a.txt", "Ny.TXT" } << true;
        QTest::newRow("Æ is not folded") << "æble" << QStringList { "Æble.txt" } << false;
        QTest::newRow("Ø is not folded") << "Øl" << QStringList { "øl.txt" } << false;
        QTest::newRow("empty list") << "ny" << QStringList {} << false;
        QTest::newRow("prefix only") << "ny" << QStringList { "nyt.txt" } << false;
    }
    void duplicatesFoldOnlyAToZ()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, entries);
        QFETCH(bool, exists);
        QCOMPARE(registry::doFileExists(name, entries), exists);
    }

    void builtInEntriesHaveFixedPaths_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("folder");
        QTest::newRow("Information") << "Information.txt"
                                     << "Information";
        QTest::newRow("Enhedsinformation") << "Enhedsinformation.txt"
                                           << "Enhedsinformation";
        QTest::newRow("lower case is ordinary") << "information.txt"
                                                << "";
        QTest::newRow("other") << "Hjælp.txt"
                               << "";
    }
    void builtInEntriesHaveFixedPaths()
    {
        QFETCH(QString, entry);
        QFETCH(QString, folder);
        const QString programdir = work("prog");
        const auto paths = registry::builtInPaths(programdir, entry);
        QCOMPARE(paths.has_value(), !folder.isEmpty());
        if (!paths)
            return;
        const QString base = programdir + sep + folder + sep;
        QCOMPARE(paths->structureFile, base + "struktur.txt");
        QCOMPARE(paths->dataFile, base + "data.txt");
        QCOMPARE(paths->documentFolder, base + "tekstfiler" + sep);
    }

    void unsafeDocumentFoldersAreNeverEmptied_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("empty line") << "" << false;
        QTest::newRow("blank line") << "   " << false;
        QTest::newRow("root") << native(QDir::rootPath()) << false;
        QTest::newRow("home") << native(QDir::homePath()) + sep << false;
        QTest::newRow("program folder") << work("prog") << false;
        QTest::newRow("program folder, other spelling") << work("prog/./") << false;
        QTest::newRow("document folder") << work("prog/Hjælp/tekstfiler/") << true;
    }
    void unsafeDocumentFoldersAreNeverEmptied()
    {
        QFETCH(QString, folder);
        QFETCH(bool, allowed);
        QDir().mkpath(work("prog/Hjælp/tekstfiler"));
        QCOMPARE(registry::mayEmptyFolder(folder, work("prog")), allowed);
    }

    void emptyingAFolderDeletesItsFilesOnly()
    {
        const QString dir = work("tom");
        for (const char* name : { "a.rtf", ".skjult", "æ ø.txt" })
            writeBytes(dir + sep + QString::fromUtf8(name), "x");
        writeBytes(dir + sep + "under" + sep + "bliver.rtf", "x");
        registry::deleteFilesIn(dir + sep);
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList { "under" });
        QVERIFY(QFileInfo::exists(dir + sep + "under" + sep + "bliver.rtf"));
        registry::deleteFilesIn(work("no such folder"));
    }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "test_registry.moc"
