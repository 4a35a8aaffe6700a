// SPDX-License-Identifier: GPL-3.0-or-later
// The structure page's element commands acting on a real structure: insert, edit, delete,
// automatic saving and sorting, save and reload, the action rules, and element documents.
#include "StructurePageFixture.h"
#include "support/SmallDisk.h"
#include "support/GuiTestMain.h"

#include <QAction>
#include <QClipboard>
#include <QPushButton>
#include <QSplitter>
#include "ui/WrappingToolBar.h"
#include <QToolButton>

using namespace struktur;
using namespace struktur::test;

namespace {

const QStringList originalTree = StructurePageFixture::treeLines;

/// The original tree with `line` put in front of the line at `before` (or at the end with -1).
QString withLine(int before, const QString& line)
{
    QStringList lines = originalTree;
    lines.insert(before < 0 ? lines.size() : before, line);
    return lines.join(u'\n');
}

} // namespace

class TestElementEditing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_page = std::make_unique<StructurePageFixture>(); }
    void cleanup() { m_page.reset(); }

    void controlsStartInTheirDesignedStates();
    void insertPlacesByEachMethod_data();
    void insertPlacesByEachMethod();
    void firstInsertIntoAnEmptyTreeIgnoresTheMethod_data();
    void firstInsertIntoAnEmptyTreeIgnoresTheMethod();
    void insertIsRefused_data();
    void insertIsRefused();
    void editAsksWhenTheFileNamesDiffer_data();
    void editAsksWhenTheFileNamesDiffer();
    void editOfIconNineStoresTheLastIcon();
    void deleteAsksByThePlaceOfTheElement_data();
    void deleteAsksByThePlaceOfTheElement();
    void autoSaveAndSortDecideWhatIsWritten_data();
    void autoSaveAndSortDecideWhatIsWritten();
    void saveAndReloadFollowUnsavedChanges();
    void saveAndReloadWithoutAStructure();
    void actionRulesFollowFieldsAndSelection_data();
    void actionRulesFollowFieldsAndSelection();
    void clickLoadsTheElementAndItsDocument();
    void failedDocumentWriteKeepsTheFields();
    void documentOnAFullDiskIsKept();
    void failedAutoSaveLeavesTheTreeModified_data();
    void failedAutoSaveLeavesTheTreeModified();
    void pastedLineBreaksCannotSplitTheFiles();

private:
    StructurePageFixture& page() { return *m_page; }
    std::unique_ptr<StructurePageFixture> m_page;
};

void TestElementEditing::controlsStartInTheirDesignedStates()
{
    auto& p = page();
    QVERIFY(p.control<QCheckBox>("gemCheck")->isChecked());
    QVERIFY(!p.control<QCheckBox>("sorterCheck")->isChecked());
    QVERIFY(!p.control<QCheckBox>("autoNavn")->isChecked());
    QVERIFY(!p.control<QCheckBox>("flytmodeBox")->isChecked());
    QVERIFY(p.control<QRadioButton>("ikonBox0")->isChecked());
    QVERIFY(p.control<QRadioButton>("flytBox0")->isChecked());
    QCOMPARE(p.control<QRadioButton>("flytBox2")->text(), QStringLiteral("Indsæt på linie før"));
    QCOMPARE(p.control<QRadioButton>("ikonBox8")->text(), QStringLiteral("Mappe"));
    QCOMPARE(p.tree->Flytmode(), naAdd);
    QVERIFY(p.control("leftPane")->width() >= 292);
    QCOMPARE(p.page->infoLabel(), QStringLiteral("Strukturnavn: "));

    // The tool bar from the left: separator, expand, collapse, separator, sort, separator,
    // delete, save, reload, undo, redo, separator, search, export.
    QStringList order;
    for (QAction* item : p.control<WrappingToolBar>("ToolBar1")->actions()) {
        auto* button = qobject_cast<QToolButton*>(p.control<WrappingToolBar>("ToolBar1")->widgetForAction(item));
        order.append(item->isSeparator() ? QStringLiteral("|") : button->objectName());
    }
    QCOMPARE(order.join(u' '),
        QStringLiteral("| ToolButton1 ToolButton4 | ToolButton5 | ToolButton7 SpeedButton1 SpeedButton3 FortrydKnap GentagKnap | soegKnap EksportKnap"));
    QCOMPARE(p.control<QToolButton>("SpeedButton1")->text(), QStringLiteral("Gem"));
    QCOMPARE(p.control<QToolButton>("SpeedButton3")->text(), QStringLiteral("Genindlæs"));
    QCOMPARE(p.control<QPushButton>("Button4")->text(), QStringLiteral("Klargør"));
    QCOMPARE(p.control<QPushButton>("Button5")->text(), QStringLiteral("Indsæt"));
    QCOMPARE(p.control<QPushButton>("Button3")->text(), QStringLiteral("Rediger"));
    QCOMPARE(p.control("Button5")->property("hint").toString(), QStringLiteral("Indsæt som nyt element"));
}

void TestElementEditing::insertPlacesByEachMethod_data()
{
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<QString>("selected"); // empty: no element selected
    QTest::addColumn<QString>("expected");
    const QString line = QStringLiteral("Ny  [4ny]");
    const QString child = QStringLiteral("  Ny  [4ny]");
    const QString grandchild = QStringLiteral("    Ny  [4ny]");
    const QString leaf = QStringLiteral("      Ny  [4ny]");
    QTest::newRow("0 last on the line") << QList<int> { 0 } << "Afsnit A" << withLine(4, grandchild);
    QTest::newRow("1 first on the line") << QList<int> { 1 } << "Afsnit B" << withLine(2, grandchild);
    QTest::newRow("2 before") << QList<int> { 2 } << "Afsnit B" << withLine(3, grandchild);
    QTest::newRow("3 last child") << QList<int> { 3 } << "Afsnit A" << withLine(3, leaf);
    QTest::newRow("4 first child") << QList<int> { 4 } << "Kapitel Æble" << withLine(2, grandchild);
    QTest::newRow("0 at the top level") << QList<int> { 0 } << "Bilag" << withLine(-1, line);
    QTest::newRow("5 right after start places by 0") << QList<int> { 5 } << "Afsnit A" << withLine(4, grandchild);
    QTest::newRow("5 keeps the method chosen before") << QList<int> { 3, 5 } << "Afsnit A" << withLine(3, leaf);
    QTest::newRow("no selection, 0: at the first element's level") << QList<int> { 0 } << "" << withLine(-1, line);
    QTest::newRow("no selection, 3: under the first element") << QList<int> { 3 } << "" << withLine(5, child);
    QTest::newRow("no selection, 2: before the first element") << QList<int> { 2 } << "" << withLine(0, line);
}

void TestElementEditing::insertPlacesByEachMethod()
{
    QFETCH(QList<int>, choices);
    QFETCH(QString, selected);
    QFETCH(QString, expected);
    auto& p = page();
    for (const int choice : choices)
        p.chooseMethod(choice);
    if (!selected.isEmpty())
        p.clickElement(selected);
    p.type(p.tekstEdit(), QStringLiteral("Ny"));
    p.type(p.dataEdit(), QStringLiteral("ny"));
    p.chooseIcon(4);
    p.typeDocument(QStringLiteral("Nyt element om ål"));
    p.click("Button5");

    QCOMPARE(p.treeText(), expected);
    QCOMPARE(p.tree->selectedText(), selected); // the selection does not follow the new element
    QCOMPARE(p.documentText(QStringLiteral("ny")), QStringLiteral("Nyt element om ål"));
    QVERIFY(p.tekstEdit()->text().isEmpty() && p.dataEdit()->text().isEmpty() && p.editorText().isEmpty());
    QVERIFY(p.tekstEdit()->hasFocus());
    QVERIFY(!p.tree->Modified()); // "Auto gem" wrote it at once
}

void TestElementEditing::firstInsertIntoAnEmptyTreeIgnoresTheMethod_data()
{
    QTest::addColumn<int>("choice");
    for (int choice = 0; choice < 6; ++choice)
        QTest::addRow("choice %d", choice) << choice;
}

void TestElementEditing::firstInsertIntoAnEmptyTreeIgnoresTheMethod()
{
    QFETCH(int, choice);
    auto& p = page();
    p.write(p.structureFile(), {});
    p.write(p.dataFile(), {});
    p.tree->HentStruktur();
    p.chooseMethod(choice);
    p.type(p.tekstEdit(), QStringLiteral("Første"));
    p.type(p.dataEdit(), QStringLiteral("første"));
    p.click("Button5");
    QCOMPARE(p.treeText(), QStringLiteral("Første  [0første]"));
    QCOMPARE(p.read(p.structureFile()), QByteArray("F\xF8rste\r\n"));
    QCOMPARE(p.read(p.dataFile()), QByteArray("0f\xF8rste\r\n"));
}

void TestElementEditing::insertIsRefused_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty file name") << ""
                                     << "Der mangler et filnavn!";
    QTest::newRow("document exists") << "kapitel1"
                                     << "Filnavnet:\rkapitel1\reksisterer allerede!";
    QTest::newRow("a folder has the document's name") << "mappe"
                                                      << "Filnavnet:\rmappe\reksisterer allerede!";
}

void TestElementEditing::insertIsRefused()
{
    QFETCH(QString, fileName);
    QFETCH(QString, message);
    auto& p = page();
    QDir().mkpath(p.documents + QStringLiteral("mappe.rtf"));
    p.type(p.tekstEdit(), QStringLiteral("Afvist"));
    p.type(p.dataEdit(), fileName);
    p.typeDocument(QStringLiteral("Må ikke gå tabt"));
    p.click("Button5");

    QCOMPARE(p.dialogs.texts(), QStringList { message });
    QCOMPARE(p.dialogs.shown.first().kind, Dialogs::Kind::InformIcon);
    QCOMPARE(p.treeText(), originalTree.join(u'\n'));
    QCOMPARE(p.tekstEdit()->text(), QStringLiteral("Afvist"));
    QCOMPARE(p.dataEdit()->text(), fileName);
    QCOMPARE(p.editorText(), QStringLiteral("Må ikke gå tabt"));
    QCOMPARE(p.documentText(QStringLiteral("kapitel1")), QStringLiteral("Æbler fra Fyn"));
    QVERIFY(!p.tree->Modified());
}

void TestElementEditing::editAsksWhenTheFileNamesDiffer_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("expectedLine"); // the edited element's line; empty: unchanged
    QTest::addColumn<QString>("writtenDocument"); // empty: none
    QTest::newRow("same name") << "afsnitA" << true << false << "    Afsnit Å  [5afsnitA]"
                               << "afsnitA";
    QTest::newRow("other name, No") << "andet" << false << true << ""
                                    << "";
    QTest::newRow("other name, Yes") << "andet" << true << true << "    Afsnit Å  [5andet]"
                                     << "andet";
    QTest::newRow("onto an existing document, Yes") << "kapitel1" << true << true << "    Afsnit Å  [5kapitel1]"
                                                    << "kapitel1";
    QTest::newRow("letter case counts") << "AfsnitA" << false << true << ""
                                        << "";
    QTest::newRow("emptied name, Yes") << "" << true << true << "    Afsnit Å  [5]"
                                       << "";
}

void TestElementEditing::editAsksWhenTheFileNamesDiffer()
{
    QFETCH(QString, fileName);
    QFETCH(bool, answerYes);
    QFETCH(bool, asked);
    QFETCH(QString, expectedLine);
    QFETCH(QString, writtenDocument);
    auto& p = page();
    const QStringList documentsBefore = QDir(p.documents).entryList(QDir::Files);
    p.clickElement(QStringLiteral("Afsnit A"));
    QCOMPARE(p.editorText(), QStringLiteral("Afsnittets tekst"));
    p.type(p.tekstEdit(), QStringLiteral("Afsnit Å"));
    p.type(p.dataEdit(), fileName);
    p.chooseIcon(5);
    p.typeDocument(QStringLiteral("Rettet tekst"));
    p.dialogs.answers = { answerYes ? Dialogs::Answer::Yes : Dialogs::Answer::No };
    p.click("Button3");

    if (asked)
        QCOMPARE(p.dialogs.texts(),
            QStringList { QStringLiteral("Filnavnene er forskellige.\rSkal valgte element alligevel overskrives?") });
    else
        QVERIFY(p.dialogs.shown.isEmpty());
    QStringList expected = originalTree;
    if (!expectedLine.isEmpty())
        expected[2] = expectedLine;
    QCOMPARE(p.treeText(), expected.join(u'\n'));
    if (writtenDocument.isEmpty()) {
        QCOMPARE(QDir(p.documents).entryList(QDir::Files), documentsBefore);
        QCOMPARE(p.documentText(QStringLiteral("kapitel1")), QStringLiteral("Æbler fra Fyn"));
    } else {
        QCOMPARE(p.documentText(writtenDocument), QStringLiteral("Rettet tekst"));
    }
    if (writtenDocument != QStringLiteral("afsnitA")) // the old name's document is left alone
        QCOMPARE(p.documentText(QStringLiteral("afsnitA")), QStringLiteral("Afsnittets tekst"));
    // Answering No changes nothing, the fields included; going on clears them.
    QCOMPARE(p.tekstEdit()->text().isEmpty(), !expectedLine.isEmpty());
}

void TestElementEditing::editOfIconNineStoresTheLastIcon()
{
    auto& p = page();
    p.clickElement(QStringLiteral("Kapitel Øre"));
    QVERIFY(p.control<QRadioButton>("ikonBox8")->isChecked());
    QCOMPARE(p.dataEdit()->text(), QStringLiteral("kapitel2"));
    p.click("Button3");
    QVERIFY(p.dialogs.shown.isEmpty());
    QVERIFY(p.read(p.dataFile()).contains("\r\n8kapitel2\r\n"));
}

void TestElementEditing::deleteAsksByThePlaceOfTheElement_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("first element: only its subtree goes")
        << "Indhold" << true << "Skal hele strukturen slettes?" << QStringList { originalTree[5] };
    QTest::newRow("parent") << "Kapitel Æble" << true << "Skal elementet Kapitel Æble med underelementer slettes?"
                            << QStringList { originalTree[0], originalTree[4], originalTree[5] };
    QTest::newRow("leaf") << "Afsnit B" << true << "Skal elementet Afsnit B slettes?"
                          << originalTree.mid(0, 3) + originalTree.mid(4);
    QTest::newRow("leaf, No") << "Afsnit B" << false << "Skal elementet Afsnit B slettes?" << originalTree;
}

void TestElementEditing::deleteAsksByThePlaceOfTheElement()
{
    QFETCH(QString, element);
    QFETCH(bool, answerYes);
    QFETCH(QString, question);
    QFETCH(QStringList, remaining);
    auto& p = page();
    p.clickElement(element);
    p.dialogs.answers = { answerYes ? Dialogs::Answer::Yes : Dialogs::Answer::No };
    p.click("ToolButton7");

    QCOMPARE(p.dialogs.texts(), QStringList { question });
    QCOMPARE(p.dialogs.shown.first().caption, QStringLiteral("Spørgsmål"));
    QCOMPARE(p.treeText(), remaining.join(u'\n'));
    QCOMPARE(p.tree->Modified(), answerYes);
    QCOMPARE(p.tekstEdit()->text().isEmpty(), answerYes);
    // Deleting never saves and never removes documents.
    QCOMPARE(p.read(p.structureFile()), StructurePageFixture::structureBytes);
    QCOMPARE(p.documentText(QStringLiteral("kapitel1")), QStringLiteral("Æbler fra Fyn"));
}

void TestElementEditing::autoSaveAndSortDecideWhatIsWritten_data()
{
    QTest::addColumn<bool>("edit"); // false: insert
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<bool>("sort");
    QTest::addColumn<QByteArray>("structure"); // what the structure file holds afterwards
    QTest::addColumn<bool>("modified");
    const QByteArray original = StructurePageFixture::structureBytes;
    const QByteArray inserted = "Indhold\r\n\tKapitel \xC6"
                                "ble\r\n\t\tAfsnit A\r\n\t\tAfsnit B\r\n\t\tAaa\r\n\tKapitel \xD8re\r\nBilag\r\n";
    const QByteArray edited = "Indhold\r\n\tKapitel \xC6"
                              "ble\r\n\t\tAfsnit A\r\n\t\tAaa\r\n\tKapitel \xD8re\r\nBilag\r\n";
    QTest::newRow("insert, auto save") << false << true << false << inserted << false;
    QTest::newRow("insert, auto save and sort") << false << true << true << original << true;
    QTest::newRow("insert, sort") << false << false << true << original << true;
    QTest::newRow("insert, neither") << false << false << false << original << true;
    QTest::newRow("edit, auto save") << true << true << false << edited << false;
    QTest::newRow("edit, auto save and sort") << true << true << true << original << true;
    QTest::newRow("edit, neither") << true << false << false << original << true;
}

void TestElementEditing::autoSaveAndSortDecideWhatIsWritten()
{
    QFETCH(bool, edit);
    QFETCH(bool, autoSave);
    QFETCH(bool, sort);
    QFETCH(QByteArray, structure);
    QFETCH(bool, modified);
    auto& p = page();
    p.setTicked("gemCheck", autoSave);
    p.setTicked("sorterCheck", sort);
    p.clickElement(edit ? QStringLiteral("Afsnit B") : QStringLiteral("Afsnit A"));
    p.type(p.tekstEdit(), QStringLiteral("Aaa"));
    p.type(p.dataEdit(), QStringLiteral("aaa"));
    p.chooseIcon(0);
    p.click(edit ? "Button3" : "Button5");

    QCOMPARE(p.read(p.structureFile()), structure);
    QCOMPARE(p.tree->Modified(), modified);
    QCOMPARE(p.enabled("Agem"), modified);
    if (sort) // sorted at every level, new element first among its siblings
        QCOMPARE(p.treeText().section(u'\n', 0, 2),
            QStringLiteral("Bilag  [8bilag]\nIndhold  [0indhold]\n  Kapitel Æble  [1kapitel1]"));
    if (structure != StructurePageFixture::structureBytes)
        QVERIFY(p.read(p.dataFile()).contains("\r\n0aaa\r\n"));
    else
        QCOMPARE(p.read(p.dataFile()), StructurePageFixture::dataBytes);
}

void TestElementEditing::saveAndReloadFollowUnsavedChanges()
{
    auto& p = page();
    QVERIFY(!p.enabled("Agem") && !p.enabled("Areload"));

    p.clickElement(QStringLiteral("Afsnit B"));
    p.click("ToolButton7");
    QVERIFY(p.enabled("Agem") && p.enabled("Areload"));
    p.type(p.tekstEdit(), QStringLiteral("halvfærdig"));
    p.click("SpeedButton3");
    QCOMPARE(p.treeText(), originalTree.join(u'\n'));
    QVERIFY(p.tekstEdit()->text().isEmpty());
    QVERIFY(!p.enabled("Agem") && !p.enabled("Areload"));

    p.click("ToolButton5");
    QVERIFY(p.enabled("Agem") && p.enabled("Areload"));
    QCOMPARE(p.read(p.structureFile()), StructurePageFixture::structureBytes); // sorting does not save
    p.click("SpeedButton1");
    QVERIFY(!p.enabled("Agem"));
    QCOMPARE(p.read(p.structureFile()),
        QByteArray("Bilag\r\nIndhold\r\n\tKapitel \xC6"
                   "ble\r\n\t\tAfsnit A\r\n\t\tAfsnit B\r\n\tKapitel \xD8re\r\n"));
    QCOMPARE(
        p.read(p.dataFile()), QByteArray("8bilag\r\n0indhold\r\n1kapitel1\r\n2afsnitA\r\n3afsnitB\r\n9kapitel2\r\n"));

    // Collapsing and expanding change nothing that is saved.
    p.click("ToolButton4");
    QVERIFY(!p.tree->isExpanded(p.indexOf(QStringLiteral("Indhold"))));
    p.click("ToolButton1");
    QVERIFY(p.tree->isExpanded(p.indexOf(QStringLiteral("Kapitel Æble"))));
    QVERIFY(!p.tree->Modified());
}

void TestElementEditing::saveAndReloadWithoutAStructure()
{
    auto& p = page();
    p.tree->setStrukturfile(QString());
    p.clickElement(QStringLiteral("Bilag"));
    p.click("ToolButton7");
    p.click("SpeedButton1"); // writes nothing and leaves the changes unsaved
    QVERIFY(p.tree->Modified());
    QCOMPARE(p.read(p.dataFile()), StructurePageFixture::dataBytes);

    p.tree->setStrukturfile(p.folder + QStringLiteral("mangler.txt"));
    p.click("SpeedButton3"); // a missing structure file empties the tree
    QVERIFY(p.tree->isEmpty());
}

void TestElementEditing::actionRulesFollowFieldsAndSelection_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("enabled"); // the enabled ones of Aclear Ainsert Arediger Aslet
    QTest::newRow("nothing") << ""
                             << ""
                             << ""
                             << "";
    QTest::newRow("a blank is text") << ""
                                     << " "
                                     << ""
                                     << "Aclear Ainsert";
    QTest::newRow("file name only") << ""
                                    << ""
                                    << "navn"
                                    << "Aclear";
    QTest::newRow("selection and text") << "Bilag"
                                        << "Bilag"
                                        << ""
                                        << "Aclear Ainsert Arediger Aslet";
    QTest::newRow("selection, file name only") << "Bilag"
                                               << ""
                                               << "bilag"
                                               << "Aclear";
}

void TestElementEditing::actionRulesFollowFieldsAndSelection()
{
    QFETCH(QString, selected);
    QFETCH(QString, text);
    QFETCH(QString, fileName);
    QFETCH(QString, enabled);
    auto& p = page();
    if (!selected.isEmpty())
        p.clickElement(selected);
    p.type(p.tekstEdit(), text);
    p.type(p.dataEdit(), fileName);
    QStringList actual;
    for (const char* name : { "Aclear", "Ainsert", "Arediger", "Aslet" })
        if (p.enabled(QLatin1String(name)))
            actual.append(QLatin1String(name));
    QCOMPARE(actual.join(u' '), enabled);
    QCOMPARE(p.control("Button3")->isEnabled(), enabled.contains(QStringLiteral("Arediger")));
    QCOMPARE(p.control("ToolButton7")->isEnabled(), enabled.contains(QStringLiteral("Aslet")));
}

void TestElementEditing::clickLoadsTheElementAndItsDocument()
{
    auto& p = page();
    p.clickElement(QStringLiteral("Kapitel Æble"));
    QCOMPARE(p.tekstEdit()->text(), QStringLiteral("Kapitel Æble"));
    QCOMPARE(p.dataEdit()->text(), QStringLiteral("kapitel1"));
    QVERIFY(p.control<QRadioButton>("ikonBox1")->isChecked());
    QCOMPARE(p.editorText(), QStringLiteral("Æbler fra Fyn"));
    QCOMPARE(p.page->currentDocumentPath(), p.documentFile(QStringLiteral("kapitel1")));

    p.clickElement(QStringLiteral("Afsnit B")); // no document: the editor stays empty
    QCOMPARE(p.dataEdit()->text(), QStringLiteral("afsnitB"));
    QVERIFY(p.editorText().isEmpty());

    // A document written on insert is loaded again by a click.
    p.click("Button4");
    p.type(p.tekstEdit(), QStringLiteral("Tillæg"));
    p.type(p.dataEdit(), QStringLiteral("tillæg"));
    p.typeDocument(QStringLiteral("Øvrige oplysninger"));
    p.click("Button5");
    p.clickElement(QStringLiteral("Tillæg"));
    QCOMPARE(p.editorText(), QStringLiteral("Øvrige oplysninger"));

    // Arranging: a click empties the fields and the editor and loads nothing.
    p.setTicked("flytmodeBox", true);
    p.clickElement(QStringLiteral("Kapitel Æble"));
    QVERIFY(p.tekstEdit()->text().isEmpty() && p.dataEdit()->text().isEmpty() && p.editorText().isEmpty());

    // An element without an element data string has no file name and no document, even when
    // a file is at the bare ".rtf" path.
    p.setTicked("flytmodeBox", false);
    p.write(p.documents + QStringLiteral(".rtf"), "{\\rtf1 forkert\\par}");
    QFile::remove(p.dataFile());
    p.tree->HentStruktur();
    p.tree->FullExpand();
    p.chooseIcon(6);
    p.clickElement(QStringLiteral("Afsnit A"));
    QCOMPARE(p.tekstEdit()->text(), QStringLiteral("Afsnit A"));
    QVERIFY(p.dataEdit()->text().isEmpty() && p.editorText().isEmpty());
    QVERIFY(p.control<QRadioButton>("ikonBox0")->isChecked());
}

void TestElementEditing::failedDocumentWriteKeepsTheFields()
{
    auto& p = page();
    QVERIFY(QDir(p.documents).removeRecursively());
    p.type(p.tekstEdit(), QStringLiteral("Uden mappe"));
    p.type(p.dataEdit(), QStringLiteral("tabt"));
    p.typeDocument(QStringLiteral("Vigtig tekst"));
    p.click("Button5");

    QCOMPARE(p.dialogs.shown.size(), 1);
    QCOMPARE(p.dialogs.shown.first().kind, Dialogs::Kind::Error);
    QVERIFY2(p.dialogs.shown.first().text.startsWith(QStringLiteral("Cannot create file \"")),
        qPrintable(p.dialogs.shown.first().text));
    // The tree was changed (and saved) before the document was written; the fields stay.
    QVERIFY(p.treeText().endsWith(QStringLiteral("Uden mappe  [0tabt]")));
    QVERIFY(p.read(p.dataFile()).endsWith("0tabt\r\n"));
    QCOMPARE(p.tekstEdit()->text(), QStringLiteral("Uden mappe"));
    QCOMPARE(p.editorText(), QStringLiteral("Vigtig tekst"));
}

void TestElementEditing::documentOnAFullDiskIsKept()
{
    test::SmallDisk disk(256);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.skipReason()));
    auto& p = page();
    p.tree->setInfomappe(disk.path() + QStringLiteral("/"));
    const QString document = disk.filePath(QStringLiteral("afsnitB.rtf"));
    QByteArray old = "{\\rtf1\\ansi ";
    while (old.size() < 12 * 1024)
        old += "Et langt afsnit om \\'e6bler.\\par ";
    old += '}';
    p.write(document, old);
    QVERIFY(disk.fillLeaving(8 * 1024));
    p.clickElement(QStringLiteral("Afsnit B"));
    QVERIFY(p.editorText().startsWith(QStringLiteral("Et langt afsnit om æbler.")));
    QTest::keyClicks(p.editor->infoTekst, QStringLiteral("Mere tekst. "));
    const QString typed = p.editorText();
    p.click("Button3");

    QCOMPARE(p.dialogs.shown.size(), 1);
    QCOMPARE(p.dialogs.shown.first().text,
        QStringLiteral("Cannot create file \"%1\". No space left on device.").arg(document));
    QCOMPARE(p.read(document), old);
    QCOMPARE(p.editorText(), typed);
    QCOMPARE(QDir(disk.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
        (QStringList{ QStringLiteral("afsnitB.rtf"), QStringLiteral("filler") }));
}

void TestElementEditing::failedAutoSaveLeavesTheTreeModified_data()
{
    QTest::addColumn<bool>("edit"); // false: insert
    QTest::newRow("insert") << false;
    QTest::newRow("edit") << true;
}

void TestElementEditing::failedAutoSaveLeavesTheTreeModified()
{
    QFETCH(bool, edit);
    auto& p = page();
    // The structure's folder has gone: no file can be made there.
    const QString gone = p.folder + QStringLiteral("flyttet/");
    p.tree->setStrukturfile(gone + QStringLiteral("struktur.txt"));
    p.tree->setDatafile(gone + QStringLiteral("data.txt"));
    p.clickElement(QStringLiteral("Afsnit B"));
    p.type(p.tekstEdit(), QStringLiteral("Ændret"));
    if (!edit)
        p.type(p.dataEdit(), QStringLiteral("nyt"));
    p.click(edit ? "Button3" : "Button5");

    QCOMPARE(p.dialogs.shown.size(), 1);
    QCOMPARE(p.dialogs.shown.first().text,
        QStringLiteral("Cannot create file \"%1data.txt\". No such file or directory.").arg(gone));
    QVERIFY(p.tree->Modified());
    QVERIFY(p.enabled("Agem"));

    // Once the fault is gone, "Gem" saves the change.
    QVERIFY(QDir().mkpath(gone));
    p.click("SpeedButton1");
    QVERIFY(!p.tree->Modified());
    QVERIFY(p.read(gone + QStringLiteral("struktur.txt")).contains("\t\t\xC6ndret\r\n"));
}

void TestElementEditing::pastedLineBreaksCannotSplitTheFiles()
{
    auto& p = page();
    p.clickElement(QStringLiteral("Bilag"));
    for (QLineEdit* field : { p.tekstEdit(), p.dataEdit() }) {
        QApplication::clipboard()->setText(QStringLiteral("to\r\nlinjer\0ende"));
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(p.dataEdit()->text(), QStringLiteral("to  linjer ende"));
    p.click("Button5");
    QCOMPARE(p.read(p.dataFile()), StructurePageFixture::dataBytes + "8to  linjer ende\r\n");
    p.tree->HentStruktur(); // the files still pair line by line
    QVERIFY(p.treeText().endsWith(QStringLiteral("to  linjer ende  [8to  linjer ende]")));
    QVERIFY(QFileInfo::exists(p.documentFile(QStringLiteral("to  linjer ende"))));
}

STRUKTUR_GUI_TEST_MAIN(TestElementEditing)
#include "test_element_editing.moc"
