// SPDX-License-Identifier: GPL-3.0-or-later
// "Fortryd" and "Gentag" on the structure page: their buttons, keys and rules, driven as a user
// drives them on a real structure.
#include "StructurePageFixture.h"
#include "support/GuiTestMain.h"
#include "ui/HintLine.h"

#include <QAction>
#include <QApplication>
#include <QToolBar>
#include <QToolButton>

using namespace struktur;
using namespace struktur::test;

namespace {

const QString originalTree = StructurePageFixture::treeLines.join(u'\n');

} // namespace

class TestElementHistory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_page = std::make_unique<StructurePageFixture>(); }
    void cleanup() { m_page.reset(); }
    void actionsShowAsPicturesWithHintsAndKeys();
    void buttonsUndoAndRedoADeleteAndSelectTheElement();
    void keysActOnTheTreeButNotInTheFields();
    void movesAndSortsUndoAndSavedStateFollows();
    void reloadClearsTheHistory();

private:
    StructurePageFixture& page() { return *m_page; }
    QAction* action(const char* name) const { return m_page->page->findChild<QAction*>(QLatin1String(name)); }
    std::unique_ptr<StructurePageFixture> m_page;
};

void TestElementHistory::actionsShowAsPicturesWithHintsAndKeys()
{
    struct Expected {
        const char* action;
        const char* button;
        QString caption;
        QString hint;
        QList<QKeySequence> keys;
    };
    const Expected expected[] = {
        { "Afortryd", "FortrydKnap", QStringLiteral("Fortryd"),
            QStringLiteral("Fortryd den sidste ændring af strukturen"), { QKeySequence(QStringLiteral("Ctrl+Z")) } },
        { "Agentag", "GentagKnap", QStringLiteral("Gentag"), QStringLiteral("Gentag den ændring der blev fortrudt"),
            { QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y")) } },
    };
    for (const Expected& e : expected) {
        QAction* history = action(e.action);
        QVERIFY2(history, e.action);
        QCOMPARE(history->text(), e.caption);
        QCOMPARE(history->property(hintProperty).toString(), e.hint);
        QCOMPARE(history->shortcuts(), e.keys);
        QCOMPARE(history->shortcutContext(), Qt::WidgetWithChildrenShortcut);
        auto* button = page().control<QToolButton>(QLatin1String(e.button));
        QVERIFY2(button, e.button);
        QCOMPARE(button->defaultAction(), history);
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QVERIFY(!button->icon().isNull());
        QCOMPARE(ownHint(button), e.hint);
        QVERIFY(!history->isEnabled());
    }
}

void TestElementHistory::buttonsUndoAndRedoADeleteAndSelectTheElement()
{
    auto& p = page();
    p.clickElement(QStringLiteral("Kapitel Æble"));
    p.click("ToolButton7");
    QVERIFY(p.indexOf(QStringLiteral("Afsnit A")) == QModelIndex());
    QVERIFY(p.enabled("Afortryd") && !p.enabled("Agentag"));

    p.click("FortrydKnap");
    QCOMPARE(p.treeText(), originalTree);
    QCOMPARE(p.tree->selectedText(), QStringLiteral("Kapitel Æble"));
    QVERIFY(!p.enabled("Afortryd") && p.enabled("Agentag"));
    // Back at the loaded state: nothing to save.
    QVERIFY(!p.enabled("Agem"));

    p.click("GentagKnap");
    QVERIFY(p.indexOf(QStringLiteral("Kapitel Æble")) == QModelIndex());
    QVERIFY(!p.tree->hasSelection());
    QVERIFY(p.enabled("Agem"));
    // Undo and redo never write: the files are as loaded.
    QCOMPARE(p.read(p.structureFile()), StructurePageFixture::structureBytes);
    QCOMPARE(p.read(p.dataFile()), StructurePageFixture::dataBytes);
    // The deleted element's document stays where it was.
    QVERIFY(!p.documentText(QStringLiteral("kapitel1")).isNull());
}

void TestElementHistory::keysActOnTheTreeButNotInTheFields()
{
    auto& p = page();
    p.page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.page.get()));
    p.clickElement(QStringLiteral("Bilag"));
    p.click("ToolButton7");
    const QString afterDelete = p.treeText();

    p.type(p.tekstEdit(), QStringLiteral("skrevet"));
    QCOMPARE(QApplication::focusWidget(), p.tekstEdit());
    QTest::keyClick(p.tekstEdit(), Qt::Key_Z, Qt::ControlModifier);
    p.settle();
    QCOMPARE(p.treeText(), afterDelete);
    QVERIFY(p.tekstEdit()->text() != QStringLiteral("skrevet"));

    p.tree->setFocus();
    QTest::keyClick(p.tree, Qt::Key_Z, Qt::ControlModifier);
    p.settle();
    QCOMPARE(p.treeText(), originalTree);
    QTest::keyClick(p.tree, Qt::Key_Y, Qt::ControlModifier);
    p.settle();
    QCOMPARE(p.treeText(), afterDelete);
    QTest::keyClick(p.tree, Qt::Key_Z, Qt::ControlModifier);
    p.settle();
    QTest::keyClick(p.tree, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    p.settle();
    QCOMPARE(p.treeText(), afterDelete);
}

void TestElementHistory::movesAndSortsUndoAndSavedStateFollows()
{
    auto& p = page();
    QVERIFY(!p.enabled("Agem"));
    p.setTicked("flytmodeBox", true);
    p.chooseMethod(2);
    p.dragElement(QStringLiteral("Bilag"), QStringLiteral("Afsnit A"));
    p.setTicked("flytmodeBox", false);
    const QString moved = p.treeText();
    QVERIFY(moved != originalTree);
    p.click("ToolButton5");
    const QString sorted = p.treeText();
    QVERIFY(sorted != moved);

    p.click("FortrydKnap");
    QCOMPARE(p.treeText(), moved);
    p.click("FortrydKnap");
    QCOMPARE(p.treeText(), originalTree);
    QCOMPARE(p.tree->selectedText(), QStringLiteral("Bilag"));
    QVERIFY(!p.enabled("Agem"));
    p.click("GentagKnap");
    p.click("GentagKnap");
    QCOMPARE(p.treeText(), sorted);
    QVERIFY(p.enabled("Agem"));
}

void TestElementHistory::reloadClearsTheHistory()
{
    auto& p = page();
    p.click("ToolButton5");
    QVERIFY(p.enabled("Afortryd"));
    p.click("SpeedButton3");
    QVERIFY(!p.enabled("Afortryd") && !p.enabled("Agentag"));
    QCOMPARE(p.treeText(), originalTree);
}

STRUKTUR_GUI_TEST_MAIN(TestElementHistory)
#include "test_element_history.moc"
