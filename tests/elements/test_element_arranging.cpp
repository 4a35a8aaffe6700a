// SPDX-License-Identifier: GPL-3.0-or-later
// Arranging elements with the mouse, the Enter key, and the file-name buttons "Fn" and "Inf"
// on the structure page, acting on a real structure.
#include "StructurePageFixture.h"
#include "support/GuiTestMain.h"

using namespace struktur;
using namespace struktur::test;

namespace {

const QStringList originalTree = StructurePageFixture::treeLines;

QString lines(std::initializer_list<int> order, std::initializer_list<std::pair<int, int>> indents = {})
{
    QStringList result;
    for (const int line : order)
        result.append(originalTree[line]);
    for (const auto& [row, level] : indents)
        result[row] = QString(2 * level, u' ') + result[row].trimmed();
    return result.join(u'\n');
}

} // namespace

class TestElementArranging : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_page = std::make_unique<StructurePageFixture>(); }
    void cleanup() { m_page.reset(); }

    void mouseMovesByTheMethod_data();
    void mouseMovesByTheMethod();
    void enterInsertsANewElement_data();
    void enterInsertsANewElement();
    void fnConstructsAFreeName_data();
    void fnConstructsAFreeName();
    void infReportsWhetherTheDocumentExists_data();
    void infReportsWhetherTheDocumentExists();
    void withoutAStructureDocumentsAreInTheCurrentFolder();

private:
    StructurePageFixture& page() { return *m_page; }
    std::unique_ptr<StructurePageFixture> m_page;
};

void TestElementArranging::mouseMovesByTheMethod_data()
{
    QTest::addColumn<bool>("arranging");
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("onto");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("modified");
    const QString unchanged = originalTree.join(u'\n');
    QTest::newRow("0 last on the line") << true << QList<int> { 0 } << "Afsnit A"
                                        << "Bilag" << lines({ 0, 1, 3, 4, 5, 2 }, { { 5, 0 } }) << true;
    QTest::newRow("1 first on the line") << true << QList<int> { 1 } << "Afsnit A"
                                         << "Kapitel Øre" << lines({ 0, 2, 1, 3, 4, 5 }, { { 1, 1 } }) << true;
    QTest::newRow("2 before") << true << QList<int> { 2 } << "Afsnit A"
                              << "Bilag" << lines({ 0, 1, 3, 4, 2, 5 }, { { 4, 0 } }) << true;
    QTest::newRow("3 last child") << true << QList<int> { 3 } << "Afsnit A"
                                  << "Kapitel Øre" << lines({ 0, 1, 3, 4, 2, 5 }, { { 4, 2 } }) << true;
    QTest::newRow("4 first child") << true << QList<int> { 4 } << "Afsnit A"
                                   << "Afsnit B" << lines({ 0, 1, 3, 2, 4, 5 }, { { 3, 3 } }) << true;
    QTest::newRow("5 to the front of the top level") << true << QList<int> { 5 } << "Afsnit B"
                                                     << "Afsnit A" << lines({ 3, 0, 1, 2, 4, 5 }, { { 0, 0 } }) << true;
    QTest::newRow("5 after 3 still to the front") << true << QList<int> { 3, 5 } << "Kapitel Øre"
                                                  << "Bilag" << lines({ 4, 0, 1, 2, 3, 5 }, { { 0, 0 } }) << true;
    QTest::newRow("moves also without arranging ticked")
        << false << QList<int> { 0 } << "Afsnit A"
        << "Bilag" << lines({ 0, 1, 3, 4, 5, 2 }, { { 5, 0 } }) << true;
    QTest::newRow("onto its own descendant: refused, still modified") << true << QList<int> { 3 } << "Kapitel Æble"
                                                                      << "Afsnit B" << unchanged << true;
    QTest::newRow("2 onto the next sibling: already there") << true << QList<int> { 2 } << "Afsnit A"
                                                            << "Afsnit B" << unchanged << true;
    QTest::newRow("the first element is not picked up") << true << QList<int> { 0 } << "Indhold"
                                                        << "Bilag" << unchanged << false;
}

void TestElementArranging::mouseMovesByTheMethod()
{
    QFETCH(bool, arranging);
    QFETCH(QList<int>, choices);
    QFETCH(QString, from);
    QFETCH(QString, onto);
    QFETCH(QString, expected);
    QFETCH(bool, modified);
    auto& p = page();
    p.setTicked("flytmodeBox", arranging);
    for (const int choice : choices)
        p.chooseMethod(choice);
    p.dragElement(from, onto);

    QCOMPARE(p.treeText(), expected);
    QCOMPARE(p.tree->Modified(), modified);
    QCOMPARE(p.enabled("Agem"), modified);
    QCOMPARE(p.enabled("Areload"), modified);
    QCOMPARE(p.read(p.structureFile()), StructurePageFixture::structureBytes); // moves are never saved on their own
    if (!modified)
        return;
    p.click("SpeedButton3");
    QCOMPARE(p.treeText(), originalTree.join(u'\n'));
}

void TestElementArranging::enterInsertsANewElement_data()
{
    QTest::addColumn<bool>("autoName");
    QTest::addColumn<bool>("inFileNameField");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("presentDocuments");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("writtenDocument");
    const QString end = originalTree.join(u'\n') + u'\n';
    QTest::newRow("text field") << false << false << ""
                                << "Ny"
                                << "eget" << QStringList() << end + "Ny  [0eget]"
                                << "eget";
    QTest::newRow("file-name field") << false << true << ""
                                     << "Ny"
                                     << "eget" << QStringList() << end + "Ny  [0eget]"
                                     << "eget";
    QTest::newRow("auto name replaces the typed name") << true << false << ""
                                                       << "Ny"
                                                       << "skrevet" << QStringList() << end + "Ny  [0dokument6]"
                                                       << "dokument6";
    QTest::newRow("auto name skips existing documents")
        << true << true << ""
        << "Ny"
        << "" << QStringList { "dokument6", "dokument7" } << end + "Ny  [0dokument8]"
        << "dokument8";
    QTest::newRow("with a selection Enter inserts, it does not edit")
        << false << false << "Bilag"
        << "Bilag 2"
        << "bilag2" << QStringList() << end + "Bilag 2  [8bilag2]"
        << "bilag2";
    QTest::newRow("empty text: no element, the document is still written")
        << false << false << ""
        << ""
        << "løs" << QStringList() << originalTree.join(u'\n') << "løs";
}

void TestElementArranging::enterInsertsANewElement()
{
    QFETCH(bool, autoName);
    QFETCH(bool, inFileNameField);
    QFETCH(QString, selected);
    QFETCH(QString, text);
    QFETCH(QString, fileName);
    QFETCH(QStringList, presentDocuments);
    QFETCH(QString, expected);
    QFETCH(QString, writtenDocument);
    auto& p = page();
    for (const QString& name : presentDocuments)
        p.writeDocument(name, QStringLiteral("findes"));
    p.setTicked("autoNavn", autoName);
    if (!selected.isEmpty())
        p.clickElement(selected);
    p.type(p.tekstEdit(), text);
    p.type(p.dataEdit(), fileName);
    p.typeDocument(QStringLiteral("Skrevet før Enter"));
    QTest::keyClick(inFileNameField ? p.dataEdit() : p.tekstEdit(), Qt::Key_Return);
    p.settle();

    QVERIFY(p.dialogs.shown.isEmpty());
    QCOMPARE(p.treeText(), expected);
    QCOMPARE(p.documentText(writtenDocument), QStringLiteral("Skrevet før Enter"));
    QVERIFY(p.tekstEdit()->text().isEmpty() && p.dataEdit()->text().isEmpty() && p.editorText().isEmpty());
    for (const QString& name : presentDocuments)
        QCOMPARE(p.documentText(name), QStringLiteral("findes"));
}

void TestElementArranging::fnConstructsAFreeName_data()
{
    QTest::addColumn<QString>("deleted"); // an element deleted first, with its subtree
    QTest::addColumn<QStringList>("presentDocuments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("six elements") << "" << QStringList() << "dokument6";
    QTest::newRow("6 and 7 present") << "" << QStringList { "dokument6", "dokument7" } << "dokument8";
    QTest::newRow("only 7 present") << "" << QStringList { "dokument7" } << "dokument6";
    QTest::newRow("below the count is never used") << "" << QStringList { "dokument6" } << "dokument7";
    QTest::newRow("after a delete the count drops") << "Bilag" << QStringList() << "dokument5";
    QTest::newRow("but not onto an existing document") << "Kapitel Æble" << QStringList { "dokument3" } << "dokument4";
}

void TestElementArranging::fnConstructsAFreeName()
{
    QFETCH(QString, deleted);
    QFETCH(QStringList, presentDocuments);
    QFETCH(QString, expected);
    auto& p = page();
    for (const QString& name : presentDocuments)
        p.writeDocument(name, QStringLiteral("findes"));
    if (!deleted.isEmpty()) {
        p.clickElement(deleted);
        p.click("ToolButton7");
    }
    p.type(p.dataEdit(), QStringLiteral("erstattes"));
    p.click("fnKnap");
    QCOMPARE(p.dataEdit()->text(), expected);
    QVERIFY(!QFileInfo::exists(p.documentFile(expected))); // constructing writes nothing
}

void TestElementArranging::infReportsWhetherTheDocumentExists_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty field") << ""
                                 << "Der er ikke noget aktuelt filnavn!";
    QTest::newRow("exists") << "kapitel1"
                            << "Filnavnet:\rkapitel1.rtf\reksisterer allerede!";
    QTest::newRow("does not exist") << "nyt æble"
                                    << "Filnavnet:\rnyt æble.rtf\reksisterer ikke!";
    QTest::newRow("a typed extension gets a second one") << "kapitel1.rtf"
                                                         << "Filnavnet:\rkapitel1.rtf.rtf\reksisterer ikke!";
}

void TestElementArranging::infReportsWhetherTheDocumentExists()
{
    QFETCH(QString, fileName);
    QFETCH(QString, message);
    auto& p = page();
    p.type(p.dataEdit(), fileName);
    p.click("checkKnap");
    QCOMPARE(p.dialogs.texts(), QStringList { message });
    QCOMPARE(p.dialogs.shown.first().kind, Dialogs::Kind::Inform);
    QCOMPARE(p.dialogs.shown.first().caption, QStringLiteral("Information"));
    QCOMPARE(p.dataEdit()->text(), fileName);
    QCOMPARE(p.treeText(), originalTree.join(u'\n'));
}

void TestElementArranging::withoutAStructureDocumentsAreInTheCurrentFolder()
{
    auto& p = page();
    const QString working = p.program.path() + QStringLiteral("/Arbejdsmappe æø");
    QVERIFY(QDir().mkpath(working));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(working));
    p.tree->Clear();
    p.tree->setStrukturfile(QString());
    p.tree->setDatafile(QString());
    p.tree->setInfomappe(QString());
    p.write(working + QStringLiteral("/dokument0.rtf"), "{\\rtf1 nul\\par}");

    p.setTicked("autoNavn", true);
    p.type(p.tekstEdit(), QStringLiteral("Løst element"));
    QTest::keyClick(p.tekstEdit(), Qt::Key_Return);
    p.type(p.dataEdit(), QStringLiteral("dokument0"));
    p.click("checkKnap");
    QDir::setCurrent(previous);

    QCOMPARE(p.treeText(), QStringLiteral("Løst element  [0dokument1]"));
    QVERIFY(QFileInfo::exists(working + QStringLiteral("/dokument1.rtf")));
    QCOMPARE(p.dialogs.texts(), QStringList { QStringLiteral("Filnavnet:\rdokument0.rtf\reksisterer allerede!") });
}

STRUKTUR_GUI_TEST_MAIN(TestElementArranging)
#include "test_element_arranging.moc"
