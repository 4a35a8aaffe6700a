// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/FolderPaths.h"

#include <QDir>
#include <QTest>

using namespace struktur::folders;

namespace {

// Rows are written with "/"; they are turned into the platform's separator.
QString native(const char* path) { return QDir::toNativeSeparators(QString::fromUtf8(path)); }

} // namespace

class TestFolderPaths : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parentStopsAtTheRoot_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("parent");
        QTest::newRow("two levels") << native("/Data/Old") << native("/Data");
        QTest::newRow("directly below the root") << native("/Old") << native("/");
        QTest::newRow("the root is its own parent") << native("/") << native("/");
        QTest::newRow("Danish names") << native("/Hjælp/Æble æøå") << native("/Hjælp");
#ifdef Q_OS_WIN
        QTest::newRow("drive root") << QStringLiteral("C:\\Old") << QStringLiteral("C:\\");
        QTest::newRow("drive root itself") << QStringLiteral("C:\\") << QStringLiteral("C:\\");
#endif
    }
    void parentStopsAtTheRoot()
    {
        QFETCH(QString, folder);
        QFETCH(QString, parent);
        QCOMPARE(parentFolder(folder), parent);
    }

    void chainRunsFromTheRootDown()
    {
        QCOMPARE(folderChain(native("/a/bø/c")),
            QStringList({ native("/"), native("/a"), native("/a/bø"), native("/a/bø/c") }));
        QCOMPARE(folderChain(native("/")), QStringList({ native("/") }));
    }

    void normalFormHasNoTrailingSeparator_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("trailing separator") << native("/Data/") << native("/Data");
        QTest::newRow("dot segments") << native("/Data/./x/../Ny") << native("/Data/Ny");
        QTest::newRow("root kept") << native("/") << native("/");
        QTest::newRow("empty stays empty") << QString() << QString();
    }
    void normalFormHasNoTrailingSeparator()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(normalFolder(path), folder);
    }

    void composedPathInsertsNoSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("name without separator") << native("/Data") << "Proj" << native("/DataProj");
        QTest::newRow("name with separator") << native("/Data") << native("/Proj") << native("/Data/Proj");
        QTest::newRow("root ends in a separator") << native("/") << "Proj" << native("/Proj");
        QTest::newRow("no name") << native("/Data") << "" << native("/Data");
    }
    void composedPathInsertsNoSeparator()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(composedPath(folder, name), path);
    }

    void volumeIsTheLongestRootThatHoldsTheFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("volume");
        QTest::newRow("inside a mount") << native("/work/a") << native("/work");
        QTest::newRow("the mount itself") << native("/work") << native("/work");
        QTest::newRow("nested mount") << native("/work/mnt/x") << native("/work/mnt");
        QTest::newRow("same prefix is not inside") << native("/workshop") << native("/");
        QTest::newRow("root") << native("/") << native("/");
    }
    void volumeIsTheLongestRootThatHoldsTheFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, volume);
        QCOMPARE(volumeRootOf(folder, { native("/"), native("/work"), native("/work/mnt") }), volume);
        QCOMPARE(volumeRootOf(folder, { native("/work/mnt") }).isEmpty(), !folder.startsWith(native("/work/mnt")));
    }
};

QTEST_GUILESS_MAIN(TestFolderPaths)
#include "test_folder_paths.moc"
