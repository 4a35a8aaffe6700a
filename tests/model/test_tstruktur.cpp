// SPDX-License-Identifier: GPL-3.0-or-later
#include "TreeText.h"
#include "model/ElementIcons.h"
#include "model/ElementModel.h"
#include "model/TStruktur.h"
#include "model/TreeLines.h"
#include "platform/Error.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>

using namespace struktur;
using struktur::test::treeText;

Q_DECLARE_METATYPE(TNodeAttachMode)

namespace {

using Path = QList<int>;

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

/// A shown tree as the structure page sets it up: data on, every press and release handed to
/// MusDown and MusUp.
class Fixture {
public:
    explicit Fixture(const QString& folder)
    {
        tree.setDataOn(true);
        tree.setStrukturfile(folder + u"/struktur.txt"_qs);
        tree.setDatafile(folder + u"/data.txt"_qs);
        tree.setInfomappe(folder + u"/tekstfiler/"_qs);
        QObject::connect(&tree, &TStruktur::mousePressed, &tree, [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { tree.MusDown(x, y); });
        QObject::connect(&tree, &TStruktur::mouseReleased, &tree,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { tree.MusUp(x, y, somGrundnode); });
        tree.resize(300, 400);
    }

    void load(const QString& structure)
    {
        tree.elementModel()->rebuild([&](ElementTree& built) { test::readTree(built, structure); });
        tree.FullExpand();
    }
    void show()
    {
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
    }
    QModelIndex index(const Path& rows) const
    {
        QModelIndex index;
        for (const int row : rows)
            index = tree.model()->index(row, 0, index);
        return index;
    }
    void select(const Path& rows)
    {
        if (!rows.isEmpty())
            tree.selectionModel()->select(index(rows), QItemSelectionModel::ClearAndSelect);
    }
    QPoint pointOf(const Path& rows) const { return tree.visualRect(index(rows)).center(); }
    QString text() const { return treeText(tree.elementModel()->tree()); }
    QString textWithData() const { return treeText(tree.elementModel()->tree(), true); }

    TStruktur tree;
    bool somGrundnode = false;
};

} // namespace

class TestTStruktur : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void insertPlacement_data();
    void insertPlacement();
    void insertedElementData();
    void changeIsSortedSavedOrMarked_data();
    void changeIsSortedSavedOrMarked();
    void emptyTextOrNoSelectionChangesNothing();
    void deleteRemovesSubtree();
    void infoFilnavn_data();
    void infoFilnavn();
    void loadOutcomes();
    void saveNeedsBothPaths();
    void pickingUpSetsHandPointer();
    void mouseMoves_data();
    void mouseMoves();
    void movedOnlyChildLeavesNoExpandButton();
    void clickSignal();
    void inPlaceEditMarksModifiedAndCleans();
    void viewSettings();
    void linesJoinElementsToParentsAndSiblings();
    void deepStructureExpandsWithoutCrash();
    void expandingAgainShowsExpandedDescendants();
    void onlyLeavesNeverHaveChildren();

private:
    QString folder() const { return m_dir->path(); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestTStruktur::init()
{
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/struktur-æøå-XXXXXX"));
    QVERIFY(m_dir->isValid());
    qputenv("KVARNOLT_DIR", m_dir->filePath(QStringLiteral("Kvarnolt")).toUtf8());
}

void TestTStruktur::insertPlacement_data()
{
    QTest::addColumn<QString>("structure");
    QTest::addColumn<Path>("selected");
    QTest::addColumn<TNodeAttachMode>("mode");
    QTest::addColumn<QString>("tree");

    QTest::newRow("empty tree ignores the mode") << "" << Path{} << naAddChild << "N";
    QTest::newRow("no selection: at the first element") << "A\nB\nC" << Path{} << naAdd << "A | B | C | N";
    QTest::newRow("no selection: child of the first") << "A\n\tA1\nB\nC" << Path{} << naAddChild << "A | .A1 | .N | B | C";
    QTest::newRow("at the selection") << "A\nB\nC" << Path{ 2 } << naInsert << "A | B | N | C";
    QTest::newRow("first child of the selection") << "A\nB\n\tB1" << Path{ 1 } << naAddChildFirst << "A | B | .N | .B1";
    QTest::newRow("first among the selection's siblings") << "A\nB\n\tB1\n\tB2" << Path{ 1, 1 } << naAddFirst
                                                         << "A | B | .N | .B1 | .B2";
}

void TestTStruktur::insertPlacement()
{
    QFETCH(QString, structure);
    QFETCH(Path, selected);
    QFETCH(TNodeAttachMode, mode);
    QFETCH(QString, tree);
    Fixture fixture(folder());
    fixture.load(structure);
    fixture.select(selected);
    const QString selectedBefore = fixture.tree.selectedText();
    fixture.tree.setFlytmode(mode);
    fixture.tree.NyNode(QStringLiteral("N"), QStringLiteral("dokument"), 0, false, false);
    QCOMPARE(fixture.text(), tree);
    // Successive inserts go to the same place: the new element is not selected.
    QCOMPARE(fixture.tree.selectedText(), selectedBefore);
    QCOMPARE(fixture.tree.hasSelection(), !selected.isEmpty());
}

void TestTStruktur::insertedElementData()
{
    Fixture fixture(folder());
    fixture.tree.NyNode(QStringLiteral("\tKapitel\r\n1"), QStringLiteral("dokument5"), 3, false, false);
    QCOMPARE(fixture.textWithData(), QStringLiteral("Kapitel  1=3dokument5/3"));
    fixture.select({ 0 });
    QCOMPARE(fixture.tree.SelectedData(), QStringLiteral("dokument5"));
    QCOMPARE(fixture.tree.selectedIcon(), 3);

    fixture.tree.RedigerNode(QStringLiteral("Bilag"), QString(), 8, false, false);
    QCOMPARE(fixture.textWithData(), QStringLiteral("Bilag=8/8"));
    QCOMPARE(fixture.tree.SelectedData(), QString());

    fixture.tree.setDataOn(false);
    fixture.tree.setFlytmode(naAddChild);
    fixture.tree.NyNode(QStringLiteral("Uden data"), QStringLiteral("x"), 2, false, false);
    QCOMPARE(fixture.textWithData(), QStringLiteral("Bilag=8/8 | .Uden data=-/-1"));
    QCOMPARE(fixture.tree.SelectedData(), QString());
}

void TestTStruktur::changeIsSortedSavedOrMarked_data()
{
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("sorter");
    QTest::addColumn<bool>("gem");
    QTest::addColumn<bool>("paths");
    QTest::addColumn<bool>("modifiedBefore");
    QTest::addColumn<bool>("modifiedAfter");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("tree");

    for (const bool edit : { false, true }) {
        const char* op = edit ? "edit" : "insert";
        const QString changed = edit ? u"b | a | c"_qs : u"b | d | c | a2"_qs;
        const QString sorted = edit ? u"a | b | c"_qs : u"a2 | b | c | d"_qs;
        QTest::addRow("%s: sort wins over save", op) << edit << true << true << true << false << true << false << sorted;
        QTest::addRow("%s: save", op) << edit << false << true << true << true << false << true << changed;
        QTest::addRow("%s: save without paths keeps set", op) << edit << false << true << false << true << true << false << changed;
        // Nothing was written, so the change is not the saved state.
        QTest::addRow("%s: save without paths marks", op) << edit << false << true << false << false << true << false << changed;
        QTest::addRow("%s: neither marks", op) << edit << false << false << true << false << true << false << changed;
    }
}

void TestTStruktur::changeIsSortedSavedOrMarked()
{
    QFETCH(bool, edit);
    QFETCH(bool, sorter);
    QFETCH(bool, gem);
    QFETCH(bool, paths);
    QFETCH(bool, modifiedBefore);
    QFETCH(bool, modifiedAfter);
    QFETCH(bool, written);
    QFETCH(QString, tree);
    Fixture fixture(folder());
    if (!paths)
        fixture.tree.setStrukturfile(QString());
    fixture.load(QStringLiteral("b\nd\nc"));
    fixture.select({ 1 });
    fixture.tree.setModified(modifiedBefore);
    if (edit)
        fixture.tree.RedigerNode(QStringLiteral("a"), QStringLiteral("ny"), 1, sorter, gem);
    else
        fixture.tree.NyNode(QStringLiteral("a2"), QStringLiteral("ny"), 1, sorter, gem);
    QCOMPARE(fixture.tree.Modified(), modifiedAfter);
    QCOMPARE(QFile::exists(fixture.tree.Strukturfile()), written);
    QCOMPARE(QFile::exists(fixture.tree.Datafile()), written);
    QCOMPARE(fixture.text(), tree);
}

void TestTStruktur::emptyTextOrNoSelectionChangesNothing()
{
    Fixture fixture(folder());
    fixture.load(QStringLiteral("A\nB"));
    fixture.tree.NyNode(QString(), QStringLiteral("x"), 1, true, true);
    fixture.tree.RedigerNode(QStringLiteral("Ny"), QStringLiteral("x"), 1, false, false);
    fixture.select({ 1 });
    fixture.tree.RedigerNode(QString(), QStringLiteral("x"), 1, false, false);
    QCOMPARE(fixture.textWithData(), QStringLiteral("A=-/0 | B=-/0"));
    QVERIFY(!fixture.tree.Modified());
    QVERIFY(!QFile::exists(fixture.tree.Strukturfile()));
}

void TestTStruktur::deleteRemovesSubtree()
{
    Fixture fixture(folder());
    fixture.load(QStringLiteral("A\nB\n\tB1\n\t\tB2\nC"));
    fixture.select({ 1 });
    QVERIFY(fixture.tree.selectedHasChildren());
    QVERIFY(!fixture.tree.selectedIsFirst());
    fixture.tree.SletNode();
    QCOMPARE(fixture.text(), QStringLiteral("A | C"));
    QCOMPARE(fixture.tree.elementCount(), 2);
    QVERIFY(fixture.tree.Modified());
}

void TestTStruktur::infoFilnavn_data()
{
    QTest::addColumn<Path>("selected");
    QTest::addColumn<QString>("path");

    QTest::newRow("nothing selected") << Path{} << "";
    QTest::newRow("top-level") << Path{ 0 } << "/S/tekstfiler//Kapitel.txt";
    QTest::newRow("child gets its parent's text") << Path{ 0, 0 } << "/S/tekstfiler//KapitelIndledning.txt";
    QTest::newRow("only the parent, not further up") << Path{ 0, 0, 0 } << "/S/tekstfiler//IndledningAfsnit æ.txt";
}

void TestTStruktur::infoFilnavn()
{
    QFETCH(Path, selected);
    QFETCH(QString, path);
    Fixture fixture(folder());
    fixture.tree.setInfomappe(QStringLiteral("/S/tekstfiler/"));
    fixture.load(QStringLiteral("Kapitel\n\tIndledning\n\t\tAfsnit æ"));
    fixture.select(selected);
    QCOMPARE(fixture.tree.InfoFilnavn(QStringLiteral("txt")), path);
}

void TestTStruktur::loadOutcomes()
{
    Fixture fixture(folder());
    fixture.load(QStringLiteral("Gammel"));
    fixture.tree.setModified(true);
    QVERIFY(!fixture.tree.HentStruktur());
    QVERIFY(fixture.tree.isEmpty());
    QVERIFY(fixture.tree.Modified());

    writeBytes(fixture.tree.Strukturfile(), "A\r\n\tB\r\n");
    QVERIFY(!fixture.tree.HentStruktur());
    QCOMPARE(fixture.textWithData(), QStringLiteral("A=-/0 | .B=-/0"));
    QVERIFY(fixture.tree.Modified());

    writeBytes(fixture.tree.Datafile(), "3a\r\n");
    QVERIFY_THROWS_EXCEPTION(Error, fixture.tree.HentStruktur());
    QCOMPARE(fixture.textWithData(), QStringLiteral("A=3a/3 | .B=-/0"));
    QVERIFY(fixture.tree.Modified());
    QVERIFY(fixture.tree.updatesEnabled());

    writeBytes(fixture.tree.Strukturfile(), "A\r\n\t\tB\r\n");
    QVERIFY_THROWS_EXCEPTION(Error, fixture.tree.HentStruktur());
    QCOMPARE(fixture.textWithData(), QStringLiteral("A=-/0"));
    QVERIFY(fixture.tree.Modified());

    writeBytes(fixture.tree.Strukturfile(), "A\r\n\tB\r\n");
    writeBytes(fixture.tree.Datafile(), "3a\r\n4b\r\n");
    QVERIFY(fixture.tree.HentStruktur());
    QCOMPARE(fixture.textWithData(), QStringLiteral("A=3a/3 | .B=4b/4"));
    QVERIFY(!fixture.tree.Modified());
}

void TestTStruktur::saveNeedsBothPaths()
{
    Fixture fixture(folder());
    fixture.load(QStringLiteral("A"));
    fixture.tree.setModified(true);
    fixture.tree.setDatafile(QString());
    QVERIFY(!fixture.tree.GemStruktur());
    QVERIFY(fixture.tree.Modified());
    QVERIFY(!QFile::exists(fixture.tree.Strukturfile()));
}

void TestTStruktur::pickingUpSetsHandPointer()
{
    Fixture fixture(folder());
    fixture.load(QStringLiteral("A\nB"));
    fixture.show();
    QWidget* client = fixture.tree.viewport();
    QTest::mousePress(client, Qt::LeftButton, {}, fixture.pointOf({ 0 }));
    QVERIFY(!fixture.tree.isPickedUp());
    QVERIFY(!client->testAttribute(Qt::WA_SetCursor));
    QTest::mouseRelease(client, Qt::LeftButton, {}, fixture.pointOf({ 0 }));

    QTest::mousePress(client, Qt::LeftButton, {}, fixture.pointOf({ 1 }));
    QVERIFY(fixture.tree.isPickedUp());
    QCOMPARE(client->cursor().shape(), Qt::PointingHandCursor);
    // A second press while an element is held drops it.
    fixture.tree.MusDown(fixture.pointOf({ 1 }).x(), fixture.pointOf({ 1 }).y());
    QVERIFY(!fixture.tree.isPickedUp());
    QCOMPARE(client->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseRelease(client, Qt::LeftButton, {}, fixture.pointOf({ 0 }));
    QCOMPARE(fixture.text(), QStringLiteral("A | B"));
    QVERIFY(!fixture.tree.Modified());
}

void TestTStruktur::mouseMoves_data()
{
    QTest::addColumn<Path>("pressed");
    QTest::addColumn<Path>("released");
    QTest::addColumn<TNodeAttachMode>("mode");
    QTest::addColumn<bool>("somGrundnode");
    QTest::addColumn<QString>("tree");
    QTest::addColumn<bool>("modified");

    const QString unchanged = u"A | .A1 | ..A1a | B | C"_qs;
    QTest::newRow("release over itself") << Path{ 1 } << Path{ 1 } << naAdd << false << unchanged << false;
    QTest::newRow("release over empty space") << Path{ 1 } << Path{} << naAdd << false << unchanged << false;
    QTest::newRow("child of another") << Path{ 2 } << Path{ 0 } << naAddChild << false << "A | .A1 | ..A1a | .C | B" << true;
    QTest::newRow("onto own descendant") << Path{ 0, 0 } << Path{ 0, 0, 0 } << naAdd << false << unchanged << true;
    QTest::newRow("as the first top-level element") << Path{ 0, 0, 0 } << Path{ 2 } << naAddChild << true
                                                    << "A1a | A | .A1 | B | C" << true;
    QTest::newRow("insert before the following element") << Path{ 1 } << Path{ 2 } << naInsert << false << unchanged << true;
    QTest::newRow("first element cannot be picked up") << Path{ 0 } << Path{ 2 } << naAddChild << false << unchanged << false;
}

void TestTStruktur::mouseMoves()
{
    QFETCH(Path, pressed);
    QFETCH(Path, released);
    QFETCH(TNodeAttachMode, mode);
    QFETCH(bool, somGrundnode);
    QFETCH(QString, tree);
    QFETCH(bool, modified);
    Fixture fixture(folder());
    fixture.load(QStringLiteral("A\n\tA1\n\t\tA1a\nB\nC"));
    fixture.show();
    fixture.tree.setFlytmode(mode);
    fixture.somGrundnode = somGrundnode;
    const QPoint from = fixture.pointOf(pressed);
    const QPoint to = released.isEmpty() ? QPoint(10, fixture.tree.viewport()->height() - 5) : fixture.pointOf(released);
    const QString pressedText = fixture.tree.elementModel()->data(fixture.index(pressed)).toString();
    QWidget* client = fixture.tree.viewport();
    QTest::mousePress(client, Qt::LeftButton, {}, from);
    QTest::mouseMove(client, to);
    QTest::mouseRelease(client, Qt::LeftButton, {}, to);
    QCOMPARE(fixture.text(), tree);
    QCOMPARE(fixture.tree.Modified(), modified);
    QVERIFY(!fixture.tree.isPickedUp());
    QCOMPARE(client->cursor().shape(), Qt::ArrowCursor);
    // The moved element keeps the selection its press gave it, and shows.
    QCOMPARE(fixture.tree.selectedText(), pressedText);
    const QModelIndex selected = fixture.tree.selectionModel()->selectedRows().value(0);
    for (QModelIndex up = selected.parent(); up.isValid(); up = up.parent())
        QVERIFY(fixture.tree.isExpanded(up));
}

void TestTStruktur::movedOnlyChildLeavesNoExpandButton()
{
    Fixture fixture(folder());
    fixture.load(QStringLiteral("A\n\tA1\nB"));
    fixture.tree.collapseAll();
    fixture.tree.expand(fixture.index({ 0 }));
    fixture.show();
    fixture.tree.MusDown(fixture.pointOf({ 0, 0 }).x(), fixture.pointOf({ 0, 0 }).y());
    fixture.tree.MusUp(fixture.pointOf({ 1 }).x(), fixture.pointOf({ 1 }).y(), false);
    fixture.tree.setFlytmode(naAddChild);
    fixture.tree.MusDown(fixture.pointOf({ 1 }).x(), fixture.pointOf({ 1 }).y());
    fixture.tree.MusUp(fixture.pointOf({ 0 }).x(), fixture.pointOf({ 0 }).y(), false);
    QCOMPARE(fixture.text(), QStringLiteral("A | .B | A1"));
    fixture.tree.MusDown(fixture.pointOf({ 0, 0 }).x(), fixture.pointOf({ 0, 0 }).y());
    fixture.tree.MusUp(fixture.pointOf({ 1 }).x(), fixture.pointOf({ 1 }).y(), false);
    QCOMPARE(fixture.text(), QStringLiteral("A | A1 | .B"));
    QVERIFY(!fixture.tree.model()->hasChildren(fixture.index({ 0 })));
    QVERIFY(!fixture.tree.isExpanded(fixture.index({ 0 })));
    QVERIFY(fixture.tree.isExpanded(fixture.index({ 1 })));
}

void TestTStruktur::clickSignal()
{
    Fixture fixture(folder());
    fixture.load(QStringLiteral("A\nB\nC"));
    fixture.show();
    QSignalSpy clicks(&fixture.tree, &TStruktur::treeClicked);
    QSignalSpy presses(&fixture.tree, &TStruktur::mousePressed);
    QWidget* client = fixture.tree.viewport();
    QTest::mouseClick(client, Qt::LeftButton, {}, fixture.pointOf({ 1 }));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(presses.count(), 1);
    QCOMPARE(presses.at(0).at(2).toInt(), fixture.pointOf({ 1 }).x());
    QCOMPARE(presses.at(0).at(3).toInt(), fixture.pointOf({ 1 }).y());
    QCOMPARE(fixture.tree.selectedText(), QStringLiteral("B"));
    // Dragging is arranging, not clicking; and it does not pull the selection along.
    QTest::mousePress(client, Qt::LeftButton, {}, fixture.pointOf({ 2 }));
    QTest::mouseMove(client, fixture.pointOf({ 0 }));
    QTest::mouseRelease(client, Qt::LeftButton, {}, fixture.pointOf({ 0 }));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(fixture.tree.selectedText(), QStringLiteral("C"));
    // Other buttons are reported but neither select nor click.
    for (const Qt::MouseButton button : { Qt::RightButton, Qt::MiddleButton })
        QTest::mouseClick(client, button, {}, fixture.pointOf({ 0 }));
    QCOMPARE(presses.count(), 4);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(fixture.tree.selectedText(), QStringLiteral("C"));
    // Both presses of a double click (press, release, double click, release) are reported;
    // the second one is no further click.
    QTest::mouseClick(client, Qt::LeftButton, {}, fixture.pointOf({ 1 }));
    QTest::mouseDClick(client, Qt::LeftButton, {}, fixture.pointOf({ 1 }));
    QTest::mouseRelease(client, Qt::LeftButton, {}, fixture.pointOf({ 1 }));
    QCOMPARE(presses.count(), 6);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(fixture.tree.selectedText(), QStringLiteral("B"));
}

void TestTStruktur::inPlaceEditMarksModifiedAndCleans()
{
    Fixture fixture(folder());
    fixture.load(QStringLiteral("A\nB"));
    fixture.show();
    QWidget* client = fixture.tree.viewport();
    QTest::mouseClick(client, Qt::LeftButton, {}, fixture.pointOf({ 1 }));
    QTest::qWait(QApplication::styleHints()->mouseDoubleClickInterval() + 50);
    // A click on the text of the selected element opens the editor.
    QTest::mouseClick(client, Qt::LeftButton, {}, fixture.pointOf({ 1 }));
    QTRY_VERIFY(fixture.tree.findChild<QLineEdit*>());
    auto* editor = fixture.tree.findChild<QLineEdit*>();
    editor->setText(QStringLiteral(" \tNyt\nnavn"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(fixture.text(), QStringLiteral("A | Nyt navn"));
    QVERIFY(fixture.tree.Modified());
}

void TestTStruktur::linesJoinElementsToParentsAndSiblings()
{
    // Rows 16 high, 19 wide columns: the first top-level element joins nothing above it; a last
    // child ends at its middle; an ancestor with a following sibling passes its line through.
    const QRect topLevel(0, 0, 19, 16);
    BranchPlace first;
    first.joinsAbove = false;
    first.hasNextSibling = true;
    first.hasChildren = true;
    first.expanded = true;
    const BranchLines firstLines = branchLines(first, topLevel, 19);
    QCOMPARE(firstLines.lines, (QList<QLine>{ QLine(9, 8, 9, 15), QLine(9, 8, 18, 8) }));
    QCOMPARE(firstLines.box, QRect(5, 4, 9, 9));
    QVERIFY(firstLines.expanded);

    BranchPlace lastChild;
    lastChild.ancestorContinues = { true, false };
    const BranchLines childLines = branchLines(lastChild, QRect(0, 32, 57, 16), 19);
    QCOMPARE(childLines.lines, (QList<QLine>{ QLine(47, 32, 47, 40), QLine(47, 40, 56, 40), QLine(9, 32, 9, 47) }));
    QVERIFY(childLines.box.isNull());

    // The view draws them: the top-level line passes the last child of the first element.
    Fixture fixture(folder());
    fixture.load(QStringLiteral("A\n\tA1\n\tA2\nB"));
    fixture.show();
    const QImage picture = fixture.tree.viewport()->grab().toImage();
    const QRect a2 = fixture.tree.visualRect(fixture.index({ 0, 1 }));
    const int topColumn = a2.left() - 2 * fixture.tree.indentation() + fixture.tree.indentation() / 2;
    const QColor base = fixture.tree.palette().color(QPalette::Base);
    const auto drawn = [&](int x, int y) { return picture.pixelColor(x, y) != base || picture.pixelColor(x, y + 1) != base; };
    QVERIFY(drawn(topColumn, a2.top() + 1));
    QVERIFY(drawn(topColumn, a2.bottom() - 2));
    const QRect b = fixture.tree.visualRect(fixture.index({ 1 }));
    QVERIFY(!drawn(topColumn, b.bottom() - 2));
}

void TestTStruktur::viewSettings()
{
    Fixture fixture(folder());
    QCOMPARE(fixture.tree.objectName(), QStringLiteral("Struktur"));
    QCOMPARE(fixture.tree.indentation(), 19);
    QCOMPARE(fixture.tree.font().pointSize(), 8);
    QCOMPARE(fixture.tree.font().families().value(0), QStringLiteral("Tahoma"));
    QVERIFY(fixture.tree.rootIsDecorated());
    const QPalette colours = fixture.tree.palette();
    QCOMPARE(colours.color(QPalette::Inactive, QPalette::Highlight), colours.color(QPalette::Active, QPalette::Highlight));
    TStruktur fresh;
    QVERIFY(!fresh.DataOn());
    QVERIFY(!fresh.Modified());
    QCOMPARE(fresh.Flytmode(), naAdd);
    QVERIFY(fresh.Strukturfile().isEmpty() && fresh.Datafile().isEmpty());

    fixture.load(QStringLiteral("A\nB"));
    ElementModel* model = fixture.tree.elementModel();
    model->setData(model->element(fixture.index({ 0 })), true, QStringLiteral("9x"), 9);
    model->setData(model->element(fixture.index({ 1 })), false, QString(), -1);
    const auto picture = [](const QVariant& decoration) { return decoration.value<QIcon>().pixmap(16).toImage(); };
    QCOMPARE(picture(model->data(fixture.index({ 0 }), Qt::DecorationRole)), elementIcon(8).pixmap(16).toImage());
    QVERIFY(model->data(fixture.index({ 1 }), Qt::DecorationRole).value<QIcon>().isNull());
    for (int index = 0; index < 9; ++index) {
        QCOMPARE(elementIcon(index).pixmap(16).size(), QSize(16, 16));
        for (int other = 0; other < index; ++other)
            QVERIFY2(elementIcon(index).pixmap(16).toImage() != elementIcon(other).pixmap(16).toImage(), "pictures must differ");
    }
    QCOMPARE(elementIconNames().size(), 9);
}

void TestTStruktur::deepStructureExpandsWithoutCrash()
{
    // One level per line is a valid file; the view must neither overflow its stack nor hang.
    Fixture fixture(folder());
    fixture.tree.elementModel()->rebuild([](ElementTree& built) {
        Element* parent = built.root();
        for (int level = 0; level < 100000; ++level)
            parent = built.append(parent, QStringLiteral("x"));
    });
    fixture.show();
    fixture.tree.FullExpand();
    QCoreApplication::processEvents();
    fixture.tree.AlphaSort();
    QCoreApplication::processEvents();
    QModelIndex index = fixture.index({ 0 });
    for (int level = 0; level < 999; ++level)
        index = fixture.tree.model()->index(0, 0, index);
    QVERIFY(fixture.tree.isExpanded(index));
    QVERIFY(!fixture.tree.isExpanded(fixture.tree.model()->index(0, 0, index)));
    fixture.tree.FullCollapse();
    QVERIFY(!fixture.tree.isExpanded(fixture.index({ 0 })));
}

/// The rows the view shows, top to bottom, each as its text.
static QString shownRows(const TStruktur& tree)
{
    QStringList rows;
    for (QModelIndex row = tree.model()->index(0, 0); row.isValid(); row = tree.indexBelow(row))
        rows.append(row.data().toString());
    return rows.join(u' ');
}

void TestTStruktur::expandingAgainShowsExpandedDescendants()
{
    // Collapsing an element keeps its descendants expanded; expanding it again (by key, by its
    // expand box, by a double click) shows them as they were, in one layout.
    Fixture fixture(folder());
    fixture.load(u"A\n\tB\n\t\tC\n\tD\n\t\tF\nE"_qs);
    fixture.show();
    QCOMPARE(shownRows(fixture.tree), u"A B C D F E"_qs);
    fixture.tree.setCurrentIndex(fixture.index({ 0 }));
    QTest::keyClick(&fixture.tree, Qt::Key_Left);
    QCOMPARE(shownRows(fixture.tree), u"A E"_qs);
    QTest::keyClick(&fixture.tree, Qt::Key_Right);
    QCOMPARE(shownRows(fixture.tree), u"A B C D F E"_qs);
    QTest::keyClick(&fixture.tree, Qt::Key_Left);

    // The expand box expands without selecting and is reported as a press like any other.
    fixture.tree.setCurrentIndex(fixture.index({ 1 }));
    fixture.tree.selectionModel()->select(fixture.index({ 1 }), QItemSelectionModel::ClearAndSelect);
    QList<int> pressedAt;
    QObject::connect(&fixture.tree, &TStruktur::mousePressed, &fixture.tree,
        [&pressedAt](Qt::MouseButton, Qt::KeyboardModifiers, int x, int) { pressedAt.append(x); });
    const QRect row = fixture.tree.visualRect(fixture.index({ 0 }));
    const QPoint box(row.left() - fixture.tree.indentation() / 2, row.center().y());
    QTest::mouseClick(fixture.tree.viewport(), Qt::LeftButton, {}, box);
    QCOMPARE(shownRows(fixture.tree), u"A B C D F E"_qs);
    QCOMPARE(fixture.tree.selectedText(), u"E"_qs);
    QCOMPARE(pressedAt, QList<int> { box.x() });
    fixture.tree.collapse(fixture.index({ 0 }));
    QTest::mouseDClick(fixture.tree.viewport(), Qt::LeftButton, {}, fixture.pointOf({ 0 }));
    QCOMPARE(shownRows(fixture.tree), u"A B C D F E"_qs);
}

void TestTStruktur::onlyLeavesNeverHaveChildren()
{
    // Expanding everything stores only elements with children; a leaf that gains a child can be
    // expanded like any other.
    Fixture fixture(folder());
    fixture.load(u"A\n\tB\nC"_qs);
    fixture.show();
    const auto never = [&](const Path& rows) { return bool(fixture.index(rows).flags() & Qt::ItemNeverHasChildren); };
    QVERIFY(!never({ 0 }));
    QVERIFY(never({ 0, 0 }));
    QVERIFY(never({ 1 }));
    fixture.select({ 1 });
    fixture.tree.setFlytmode(naAddChild);
    fixture.tree.NyNode(u"D"_qs, u"d"_qs, 1, false, false);
    QVERIFY(!never({ 1 }));
    fixture.tree.expand(fixture.index({ 1 }));
    QCOMPARE(shownRows(fixture.tree), u"A B C D"_qs);
}

QTEST_MAIN(TestTStruktur)
#include "test_tstruktur.moc"
