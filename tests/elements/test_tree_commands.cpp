// SPDX-License-Identifier: GPL-3.0-or-later
// Rearranging the tree from the keyboard and the clipboard on the structure page: the Alt+arrow
// moves, cut, copy and paste of subtrees with their documents, plain text both ways, and the
// tree's context menu, driven as a user drives them on a real structure.
#include "StructurePageFixture.h"
#include "elements/SubtreeClipboard.h"
#include "model/ElementClipboard.h"
#include "support/GuiTestMain.h"
#include "ui/HintLine.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>

using namespace struktur;
using namespace struktur::test;

namespace {

const QString originalTree = StructurePageFixture::treeLines.join(u'\n');

/// "Kapitel Æble" with its subtree as a paste of a copy gives it, at a depth: the elements
/// with file names get dokument6, 7 and 8 (the tree holds six elements).
QString copiedChapter(int level)
{
    const QString in(2 * level, u' ');
    return in + QStringLiteral("Kapitel Æble  [1dokument6]\n") + in + QStringLiteral("  Afsnit A  [2dokument7]\n") + in
        + QStringLiteral("  Afsnit B  [3dokument8]");
}

QClipboard* systemClipboard() { return QGuiApplication::clipboard(); }

} // namespace

class TestTreeCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { m_page.reset(); }

    void altArrowsMoveTheSelectedElement_data();
    void altArrowsMoveTheSelectedElement();
    void keysActOnlyWhileTheTreeHasTheFocus();
    void pasteOfACopyGoesByEachInsertMethod_data();
    void pasteOfACopyGoesByEachInsertMethod();
    void copiedDocumentsStayWhenThePasteIsUndone();
    void aFailedDocumentCopyChangesNoElement();
    void cutElementsAreGreyedAndMoveOnPaste();
    void escapeOrOtherClipboardContentsCancelACut();
    void aCutPastedInsideItselfIsRefused();
    void plainTextGoesOutAndComesIn();
    void contextMenuShowsTheCommandsWithTheirKeys();
    void contextMenuExpandsAndCollapsesTheSubtree();

private:
    StructurePageFixture& page() { return *m_page; }
    QAction* action(const char* name) const { return m_page->tree->findChild<QAction*>(QLatin1String(name)); }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) const
    {
        m_page->tree->setFocus();
        QTest::keyClick(m_page->tree, Qt::Key(key), modifiers);
        m_page->settle();
    }
    bool greyed(const QString& text) const
    {
        return m_page->indexOf(text).data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::gray);
    }
    QStringList documentFiles() const { return QDir(m_page->documents).entryList(QDir::Files, QDir::Name); }
    std::unique_ptr<StructurePageFixture> m_page;
};

void TestTreeCommands::init()
{
    m_page = std::make_unique<StructurePageFixture>();
    m_page->page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_page->page.get()));
    systemClipboard()->clear();
}

void TestTreeCommands::altArrowsMoveTheSelectedElement_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected"); ///< empty: nothing happens
    // clang-format off
    QTest::newRow("up: last child") << "Afsnit B" << int(Qt::Key_Up)
        << "Indhold  [0indhold]\n  Kapitel Æble  [1kapitel1]\n    Afsnit B  [3afsnitB]\n    Afsnit A  [2afsnitA]\n  Kapitel Øre  [9kapitel2]\nBilag  [8bilag]";
    QTest::newRow("up: first child") << "Afsnit A" << int(Qt::Key_Up) << "";
    QTest::newRow("up: with its subtree") << "Kapitel Øre" << int(Qt::Key_Up)
        << "Indhold  [0indhold]\n  Kapitel Øre  [9kapitel2]\n  Kapitel Æble  [1kapitel1]\n    Afsnit A  [2afsnitA]\n    Afsnit B  [3afsnitB]\nBilag  [8bilag]";
    QTest::newRow("down: the first element moves too") << "Indhold" << int(Qt::Key_Down)
        << "Bilag  [8bilag]\nIndhold  [0indhold]\n  Kapitel Æble  [1kapitel1]\n    Afsnit A  [2afsnitA]\n    Afsnit B  [3afsnitB]\n  Kapitel Øre  [9kapitel2]";
    QTest::newRow("down: last") << "Bilag" << int(Qt::Key_Down) << "";
    QTest::newRow("right: under the one above") << "Kapitel Øre" << int(Qt::Key_Right)
        << "Indhold  [0indhold]\n  Kapitel Æble  [1kapitel1]\n    Afsnit A  [2afsnitA]\n    Afsnit B  [3afsnitB]\n    Kapitel Øre  [9kapitel2]\nBilag  [8bilag]";
    QTest::newRow("right: first child") << "Afsnit A" << int(Qt::Key_Right) << "";
    QTest::newRow("left: out after its parent") << "Afsnit A" << int(Qt::Key_Left)
        << "Indhold  [0indhold]\n  Kapitel Æble  [1kapitel1]\n    Afsnit B  [3afsnitB]\n  Afsnit A  [2afsnitA]\n  Kapitel Øre  [9kapitel2]\nBilag  [8bilag]";
    QTest::newRow("left: top level") << "Indhold" << int(Qt::Key_Left) << "";
    // clang-format on
}

void TestTreeCommands::altArrowsMoveTheSelectedElement()
{
    QFETCH(QString, element);
    QFETCH(int, key);
    QFETCH(QString, expected);
    auto& p = page();
    p.clickElement(element);
    this->key(key, Qt::AltModifier);

    QCOMPARE(p.treeText(), expected.isEmpty() ? originalTree : expected);
    // At the end of its line nothing happens at all: the key does not move the selection or fold.
    QCOMPARE(p.tree->selectedText(), element);
    QVERIFY(p.tree->isExpanded(p.indexOf(QStringLiteral("Indhold"))));
    QCOMPARE(p.tree->Modified(), !expected.isEmpty());
    QCOMPARE(p.enabled("Agem"), !expected.isEmpty());
    QCOMPARE(p.read(p.structureFile()), StructurePageFixture::structureBytes);
    if (expected.isEmpty())
        return;
    this->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(p.treeText(), originalTree);
    QVERIFY(!p.tree->Modified());
    this->key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(p.treeText(), expected);
}

void TestTreeCommands::keysActOnlyWhileTheTreeHasTheFocus()
{
    auto& p = page();
    p.clickElement(QStringLiteral("Afsnit B"));
    QCOMPARE(p.tekstEdit()->text(), QStringLiteral("Afsnit B"));
    p.tekstEdit()->setFocus();
    p.tekstEdit()->selectAll();
    QTest::keyClick(p.tekstEdit(), Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(p.tekstEdit(), Qt::Key_C, Qt::ControlModifier);
    p.settle();
    QCOMPARE(p.treeText(), originalTree);
    // The field copied its own text, not the element.
    QCOMPARE(systemClipboard()->text(), QStringLiteral("Afsnit B"));
    QVERIFY(!systemClipboard()->mimeData()->hasFormat(QLatin1String(clipboard::elementsMimeType)));
    QTest::keyClick(p.tekstEdit(), Qt::Key_V, Qt::ControlModifier);
    p.settle();
    QCOMPARE(p.treeText(), originalTree);

    // Without a selection the keys do nothing, not even the tree's own copy of a caption.
    p.tree->selectionModel()->clearSelection();
    systemClipboard()->clear();
    key(Qt::Key_C, Qt::ControlModifier);
    key(Qt::Key_Up, Qt::AltModifier);
    QVERIFY(systemClipboard()->text().isEmpty());
    QCOMPARE(p.treeText(), originalTree);
    QVERIFY(!p.tree->hasSelection());
}

void TestTreeCommands::pasteOfACopyGoesByEachInsertMethod_data()
{
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expected");
    const QString start
        = QStringLiteral("Indhold  [0indhold]\n  Kapitel Æble  [1kapitel1]\n    Afsnit A  [2afsnitA]\n    "
                         "Afsnit B  [3afsnitB]\n  Kapitel Øre  [9kapitel2]\n");
    QTest::newRow("0 last on the line") << QList<int> { 0 } << "Bilag"
                                        << start + "Bilag  [8bilag]\n" + copiedChapter(0);
    QTest::newRow("1 first on the line") << QList<int> { 1 } << "Bilag" << copiedChapter(0) + '\n' + originalTree;
    QTest::newRow("2 before") << QList<int> { 2 } << "Bilag" << start + copiedChapter(0) + "\nBilag  [8bilag]";
    QTest::newRow("3 last child") << QList<int> { 3 } << "Bilag" << start + "Bilag  [8bilag]\n" + copiedChapter(1);
    QTest::newRow("4 first child") << QList<int> { 4 } << "Indhold"
                                   << "Indhold  [0indhold]\n" + copiedChapter(1) + '\n'
            + originalTree.section(u'\n', 1);
    QTest::newRow("5 places by the method before it")
        << QList<int> { 3, 5 } << "Kapitel Øre" << start + copiedChapter(2) + "\nBilag  [8bilag]";
    QTest::newRow("into itself as a copy")
        << QList<int> { 3 } << "Kapitel Æble"
        << "Indhold  [0indhold]\n  Kapitel Æble  [1kapitel1]\n    Afsnit A  [2afsnitA]\n"
           "    Afsnit B  [3afsnitB]\n"
            + copiedChapter(2) + "\n  Kapitel Øre  [9kapitel2]\nBilag  [8bilag]";
}

void TestTreeCommands::pasteOfACopyGoesByEachInsertMethod()
{
    QFETCH(QList<int>, choices);
    QFETCH(QString, target);
    QFETCH(QString, expected);
    auto& p = page();
    for (const int choice : choices)
        p.chooseMethod(choice);
    p.clickElement(QStringLiteral("Kapitel Æble"));
    key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(p.treeText(), originalTree);
    QVERIFY(!p.tree->Modified());
    p.clickElement(target);
    key(Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(p.treeText(), expected);
    QCOMPARE(p.tree->selectedText(), target); // as after "Indsæt"
    QVERIFY(p.tree->Modified());
    QCOMPARE(p.read(p.structureFile()), StructurePageFixture::structureBytes); // not saved on its own
    // Each copy has its own document: the copied ones under the new names, the originals as they were.
    QCOMPARE(p.documentText(QStringLiteral("dokument6")), QStringLiteral("Æbler fra Fyn"));
    QCOMPARE(p.documentText(QStringLiteral("dokument7")), QStringLiteral("Afsnittets tekst"));
    QVERIFY(p.documentText(QStringLiteral("dokument8")).isNull()); // Afsnit B had none
    QCOMPARE(p.documentText(QStringLiteral("kapitel1")), QStringLiteral("Æbler fra Fyn"));
    QCOMPARE(documentFiles(), QStringList({ "afsnitA.rtf", "dokument6.rtf", "dokument7.rtf", "kapitel1.rtf" }));

    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(p.treeText(), originalTree);
    QVERIFY(!p.tree->Modified());
}

void TestTreeCommands::copiedDocumentsStayWhenThePasteIsUndone()
{
    auto& p = page();
    p.writeDocument(QStringLiteral("dokument7"), QStringLiteral("Findes i forvejen"));
    p.clickElement(QStringLiteral("Afsnit A"));
    key(Qt::Key_C, Qt::ControlModifier);
    p.clickElement(QStringLiteral("Bilag"));
    key(Qt::Key_V, Qt::ControlModifier);
    key(Qt::Key_V, Qt::ControlModifier);
    // Two pastes, two names: neither the existing dokument7 nor the first paste's name again.
    QCOMPARE(p.treeText(), originalTree + "\nAfsnit A  [2dokument6]\nAfsnit A  [2dokument8]");
    QCOMPARE(p.documentText(QStringLiteral("dokument7")), QStringLiteral("Findes i forvejen"));

    // Undo leaves the copied documents on disk, as deleting an element leaves its document;
    // redo finds them again under the names the elements carry.
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(p.treeText(), originalTree);
    QCOMPARE(p.documentText(QStringLiteral("dokument6")), QStringLiteral("Afsnittets tekst"));
    QCOMPARE(p.documentText(QStringLiteral("dokument8")), QStringLiteral("Afsnittets tekst"));
    key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(p.treeText(), originalTree + "\nAfsnit A  [2dokument6]");
    // A later paste does not take a name whose document the undone paste left.
    p.clickElement(QStringLiteral("Afsnit A"));
    key(Qt::Key_C, Qt::ControlModifier);
    p.clickElement(QStringLiteral("Bilag"));
    key(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(p.treeText().endsWith(QStringLiteral("Afsnit A  [2dokument9]")));
}

void TestTreeCommands::aFailedDocumentCopyChangesNoElement()
{
    auto& p = page();
    p.clickElement(QStringLiteral("Kapitel Æble"));
    key(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QDir(p.documents).removeRecursively());
    key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(p.dialogs.shown.size(), 1);
    QVERIFY2(p.dialogs.shown.first().text.startsWith(QStringLiteral("Cannot create file")),
        qPrintable(p.dialogs.shown.first().text));
    QCOMPARE(p.treeText(), originalTree);
    QVERIFY(!p.tree->Modified() && !p.tree->canUndo());
}

void TestTreeCommands::cutElementsAreGreyedAndMoveOnPaste()
{
    auto& p = page();
    p.clickElement(QStringLiteral("Kapitel Æble"));
    QVERIFY(!p.enabled("Aannullerklip"));
    key(Qt::Key_X, Qt::ControlModifier);
    // Still in the tree, greyed with its subtree, until pasted.
    QCOMPARE(p.treeText(), originalTree);
    QVERIFY(!p.tree->Modified() && !p.tree->canUndo());
    for (const char* text : { "Kapitel Æble", "Afsnit A", "Afsnit B" })
        QVERIFY2(greyed(QString::fromUtf8(text)), text);
    for (const char* text : { "Indhold", "Kapitel Øre", "Bilag" })
        QVERIFY2(!greyed(QString::fromUtf8(text)), text);
    QVERIFY(p.enabled("Aannullerklip"));

    p.chooseMethod(3);
    p.clickElement(QStringLiteral("Bilag"));
    key(Qt::Key_V, Qt::ControlModifier);
    // Moved, keeping its own names and documents: no copy was made.
    const QString moved
        = QStringLiteral("Indhold  [0indhold]\n  Kapitel Øre  [9kapitel2]\nBilag  [8bilag]\n"
                         "  Kapitel Æble  [1kapitel1]\n    Afsnit A  [2afsnitA]\n    Afsnit B  [3afsnitB]");
    QCOMPARE(p.treeText(), moved);
    QCOMPARE(documentFiles(), QStringList({ "afsnitA.rtf", "kapitel1.rtf" }));
    QVERIFY(!greyed(QStringLiteral("Kapitel Æble")));
    QVERIFY(p.tree->isExpanded(p.indexOf(QStringLiteral("Bilag"))));
    QVERIFY(p.tree->Modified());
    QCOMPARE(p.read(p.structureFile()), StructurePageFixture::structureBytes);
    // A cut moves once.
    QVERIFY(!p.enabled("Asaetind"));
    key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(p.treeText(), moved);

    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(p.treeText(), originalTree);
    QVERIFY(!p.tree->Modified());
}

void TestTreeCommands::escapeOrOtherClipboardContentsCancelACut()
{
    auto& p = page();
    p.clickElement(QStringLiteral("Kapitel Øre"));
    key(Qt::Key_X, Qt::ControlModifier);
    QVERIFY(greyed(QStringLiteral("Kapitel Øre")));
    key(Qt::Key_Escape);
    QVERIFY(!greyed(QStringLiteral("Kapitel Øre")));
    QVERIFY(!p.enabled("Aannullerklip"));
    // What the cut put on the clipboard is still there, now as a copy.
    p.clickElement(QStringLiteral("Bilag"));
    key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(p.treeText(), originalTree + "\nKapitel Øre  [9dokument6]");

    p.clickElement(QStringLiteral("Afsnit A"));
    key(Qt::Key_X, Qt::ControlModifier);
    QVERIFY(greyed(QStringLiteral("Afsnit A")));
    systemClipboard()->setText(QStringLiteral("Fra et andet program"));
    p.settle();
    QVERIFY(!greyed(QStringLiteral("Afsnit A")));
    p.chooseMethod(2);
    p.clickElement(QStringLiteral("Bilag"));
    key(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(p.treeText().contains(QStringLiteral("    Afsnit A  [2afsnitA]\n    Afsnit B  [3afsnitB]")));
    QVERIFY(p.treeText().contains(QStringLiteral("Fra et andet program  [0]\nBilag  [8bilag]")));

    // A cut element that is deleted is no longer cut.
    p.clickElement(QStringLiteral("Afsnit B"));
    key(Qt::Key_X, Qt::ControlModifier);
    p.click("ToolButton7");
    QVERIFY(!p.enabled("Aannullerklip"));
}

void TestTreeCommands::aCutPastedInsideItselfIsRefused()
{
    auto& p = page();
    p.chooseMethod(3);
    p.clickElement(QStringLiteral("Kapitel Æble"));
    key(Qt::Key_X, Qt::ControlModifier);
    for (const char* target : { "Afsnit A", "Kapitel Æble" }) {
        p.clickElement(QString::fromUtf8(target));
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p.treeText(), originalTree);
        QCOMPARE(HintLine::instance().current(), elements::SubtreeClipboard::refusalMessage());
        QVERIFY(!p.tree->Modified() && !p.tree->canUndo());
        QVERIFY(greyed(QStringLiteral("Kapitel Æble"))); // still cut, to be pasted elsewhere
    }
    p.clickElement(QStringLiteral("Kapitel Øre"));
    key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(p.treeText(),
        QStringLiteral(
            "Indhold  [0indhold]\n  Kapitel Øre  [9kapitel2]\n    Kapitel Æble  [1kapitel1]\n      Afsnit A  "
            "[2afsnitA]\n      Afsnit B  [3afsnitB]\nBilag  [8bilag]"));
}

void TestTreeCommands::plainTextGoesOutAndComesIn()
{
    auto& p = page();
    p.clickElement(QStringLiteral("Indhold"));
    key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(systemClipboard()->text(),
        QStringLiteral("Indhold\n\tKapitel Æble\n\t\tAfsnit A\n\t\tAfsnit B\n\tKapitel Øre\n"));

    // Text from another program, with every line indented and Danish letters: new elements
    // without documents, the first line's indentation counting as the top.
    systemClipboard()->setText(
        QStringLiteral("\t\tNy øverst\r\n\t\t\tNy under æ\r\n\r\n\t\t\t\tNy dybest å\r\n\t\tNy igen\r\n"));
    p.settle();
    p.chooseMethod(3);
    p.clickElement(QStringLiteral("Bilag"));
    key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(
        p.treeText(), originalTree + "\n  Ny øverst  [0]\n    Ny under æ  [0]\n      Ny dybest å  [0]\n  Ny igen  [0]");
    QCOMPARE(documentFiles(), QStringList({ "afsnitA.rtf", "kapitel1.rtf" }));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(p.treeText(), originalTree);

    // Blank text pastes nothing.
    systemClipboard()->setText(QStringLiteral(" \n\t\n"));
    p.settle();
    QVERIFY(!p.enabled("Asaetind"));
    key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(p.treeText(), originalTree);
}

void TestTreeCommands::contextMenuShowsTheCommandsWithTheirKeys()
{
    auto& p = page();
    p.clickElement(QStringLiteral("Bilag"));
    // The press comes first, then the menu event, which takes the release.
    const QPoint point = p.pointOf(QStringLiteral("Afsnit A"));
    QTest::mousePress(p.tree->viewport(), Qt::RightButton, {}, point);
    QContextMenuEvent request(QContextMenuEvent::Mouse, point, p.tree->viewport()->mapToGlobal(point));
    QApplication::sendEvent(p.tree->viewport(), &request);
    p.settle();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QStringLiteral("strukturMenu"));
    // The right button changes no selection and picks nothing up.
    QCOMPARE(p.tree->selectedText(), QStringLiteral("Bilag"));
    QVERIFY(!p.tree->isPickedUp());

    struct Item {
        const char* caption;
        const char* keys;
        bool enabledOnBilag;
    };
    // clang-format off
    const Item expected[] = {
        { "Flyt op", "Alt+Up", true }, { "Flyt ned", "Alt+Down", false },
        { "Ryk ind", "Alt+Right", true }, { "Ryk ud", "Alt+Left", false },
        { nullptr, nullptr, false },
        { "Klip", "Ctrl+X", true }, { "Kopiér", "Ctrl+C", true }, { "Sæt ind", "Ctrl+V", false },
        { "Annuller klip", "Esc", false },
        { nullptr, nullptr, false },
        { "Udfold", "*", false }, { "Sammenfold", "-", false },
    };
    // clang-format on
    const QList<QAction*> items = menu->actions();
    QCOMPARE(items.size(), qsizetype(std::size(expected)));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Item& e = expected[i];
        if (!e.caption) {
            QVERIFY(items[i]->isSeparator());
            continue;
        }
        QCOMPARE(items[i]->text(), QString::fromUtf8(e.caption));
        QCOMPARE(items[i]->shortcut().toString(), QString::fromUtf8(e.keys));
        QVERIFY(items[i]->isShortcutVisibleInContextMenu());
        QVERIFY2(items[i]->isEnabled() == e.enabledOnBilag, e.caption);
        QVERIFY2(!items[i]->property(hintProperty).toString().isEmpty(), e.caption);
    }

    // A command chosen in the menu acts on the selected element.
    QAction* indent = items[2];
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(indent).center());
    p.settle();
    QVERIFY(!menu->isVisible());
    QCOMPARE(p.treeText(), originalTree.section(u'\n', 0, 4) + "\n  Bilag  [8bilag]");
    QCOMPARE(p.tree->selectedText(), QStringLiteral("Bilag"));
}

void TestTreeCommands::contextMenuExpandsAndCollapsesTheSubtree()
{
    auto& p = page();
    auto expanded = [&p](const char* text) { return p.tree->isExpanded(p.indexOf(QString::fromUtf8(text))); };
    p.clickElement(QStringLiteral("Indhold"));
    action("Asammenfold")->trigger();
    QVERIFY(!expanded("Indhold") && !expanded("Kapitel Æble"));
    action("Audfold")->trigger();
    QVERIFY(expanded("Indhold") && expanded("Kapitel Æble"));
    // Collapsing reaches every level: expanding the element again shows only its children.
    action("Asammenfold")->trigger();
    p.tree->expand(p.indexOf(QStringLiteral("Indhold")));
    QVERIFY(!expanded("Kapitel Æble"));
    QCOMPARE(action("Audfold")->shortcutContext(), Qt::WidgetShortcut);
}

STRUKTUR_GUI_TEST_MAIN(TestTreeCommands)
#include "test_tree_commands.moc"
