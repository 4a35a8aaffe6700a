// SPDX-License-Identifier: GPL-3.0-or-later
// File-name construction, the document path rule and the method choices, without widgets.
#include "elements/ElementFileNames.h"
#include "elements/InsertMethods.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur::elements;

class TestElementNames : public QObject {
    Q_OBJECT

private:
    static void touch(const QString& path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private Q_SLOTS:
    void constructedNameSkipsExistingDocuments_data()
    {
        QTest::addColumn<int>("elementCount");
        QTest::addColumn<QStringList>("documents");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty tree, empty folder") << 0 << QStringList() << "dokument0";
        QTest::newRow("5 elements, 5 and 6 taken") << 5 << QStringList { "dokument5", "dokument6" } << "dokument7";
        QTest::newRow("5 elements, only 6 taken") << 5 << QStringList { "dokument6" } << "dokument5";
        QTest::newRow("free numbers below the count are not used") << 3 << QStringList { "dokument3" } << "dokument4";
        QTest::newRow("other documents do not count")
            << 2 << QStringList { "dokument2x", "Dokument2", "dokument02" } << "dokument2";
        QTest::newRow("a folder of that name is taken") << 1 << QStringList { "dokument1/" } << "dokument2";
        QTest::newRow("large numbers are plain decimal") << 123456 << QStringList() << "dokument123456";
    }
    void constructedNameSkipsExistingDocuments()
    {
        QFETCH(int, elementCount);
        QFETCH(QStringList, documents);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Æblerne på øen/tekstfiler/"));
        QVERIFY(QDir().mkpath(folder));
        for (const QString& name : documents) {
            if (name.endsWith(u'/'))
                QVERIFY(QDir().mkpath(folder + name.chopped(1) + QStringLiteral(".rtf")));
            else
                touch(folder + name + QStringLiteral(".rtf"));
        }
        QCOMPARE(constructedFileName(elementCount, folder), expected);
    }

    void emptyDocumentFolderIsTheCurrentFolder()
    {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        touch(QStringLiteral("dokument0.rtf"));
        const QString name = constructedFileName(0, QString());
        const bool exists = pathExists(documentPath(QString(), QStringLiteral("dokument0")));
        QDir::setCurrent(previous);
        QCOMPARE(name, QStringLiteral("dokument1"));
        QVERIFY(exists);
    }

    void documentPathIsFolderNameAndExtension_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("expected");
        QTest::newRow("usual") << "/s/tekstfiler/"
                               << "dokument3"
                               << "/s/tekstfiler/dokument3.rtf";
        QTest::newRow("no structure loaded") << ""
                                             << "navn"
                                             << "navn.rtf";
        QTest::newRow("typed extension stays") << "/s/"
                                               << "a.rtf"
                                               << "/s/a.rtf.rtf";
        QTest::newRow("typed folder stays") << "/s/"
                                            << "under/ærø"
                                            << "/s/under/ærø.rtf";
    }
    void documentPathIsFolderNameAndExtension()
    {
        QFETCH(QString, folder);
        QFETCH(QString, fileName);
        QFETCH(QString, expected);
        QCOMPARE(documentPath(folder, fileName), expected);
    }

    void fileNameReportTexts()
    {
        QCOMPARE(
            fileNameReport(QStringLiteral("ø.rtf"), true), QStringLiteral("Filnavnet:\rø.rtf\reksisterer allerede!"));
        QCOMPARE(fileNameReport(QStringLiteral("x"), false), QStringLiteral("Filnavnet:\rx\reksisterer ikke!"));
    }

    void methodChoicesMapOntoAttachModes_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("mode"); // -1: the mode stays as it was
        QTest::newRow("0 last on the line") << 0 << int(naAdd);
        QTest::newRow("1 first on the line") << 1 << int(naAddFirst);
        QTest::newRow("2 before") << 2 << int(naInsert);
        QTest::newRow("3 last child") << 3 << int(naAddChild);
        QTest::newRow("4 first child") << 4 << int(naAddChildFirst);
        QTest::newRow("5 top level, moves only") << 5 << -1;
        QTest::newRow("outside below") << -1 << -1;
        QTest::newRow("outside above") << 6 << -1;
    }
    void methodChoicesMapOntoAttachModes()
    {
        QFETCH(int, choice);
        QFETCH(int, mode);
        const auto result = attachModeForChoice(choice);
        QCOMPARE(result ? int(*result) : -1, mode);
        QCOMPARE(insertMethodCaptions().size(), 6);
        QCOMPARE(insertMethodCaptions()[topLevelChoice], QStringLiteral("Indsæt som grundelement"));
    }

    void iconChoiceStaysWithinTheNine_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("choice");
        QTest::newRow("first") << 0 << 0;
        QTest::newRow("last") << 8 << 8;
        QTest::newRow("9 from a data file shows Mappe") << 9 << 8;
        QTest::newRow("none") << -1 << 0;
    }
    void iconChoiceStaysWithinTheNine()
    {
        QFETCH(int, icon);
        QFETCH(int, choice);
        QCOMPARE(iconChoiceFor(icon), choice);
    }
};

QTEST_GUILESS_MAIN(TestElementNames)
#include "test_element_names.moc"
