// SPDX-License-Identifier: GPL-3.0-or-later
#include "../support/GuiTestMain.h"
#include "editor/EditActionList.h"
#include "ui/HintLine.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

using struktur::EditActionList;

namespace {

/// A window like the main window: one-line fields and a list whose target is the focused field.
struct FieldWindow {
    FieldWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(rich);
        rich->setReadOnly(true);
        list = new EditActionList(&window, [this]() -> QWidget* {
            QWidget* focused = window.focusWidget();
            return qobject_cast<QLineEdit*>(focused) ? focused : nullptr;
        });
    }
    QWidget window;
    QLineEdit* first = new QLineEdit;
    QLineEdit* second = new QLineEdit;
    QTextEdit* rich = new QTextEdit;
    EditActionList* list = nullptr;
};

} // namespace

class TestEditActionList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void actionsCarryTheirCaptionsHintsKeysAndImages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("image");
        QTest::newRow("cut") << "EditCut1"
                             << "Klip"
                             << "Klipper valgte tekst ud og anbringer det på klipbordet"
                             << "Ctrl+X" << true;
        QTest::newRow("copy") << "EditCopy1"
                              << "Kopier"
                              << "Kopierer valgte og anbringer det på klipbordet"
                              << "Ctrl+C" << true;
        QTest::newRow("paste") << "EditPaste1"
                               << "Indsæt"
                               << "Indsæt fra klipbord"
                               << "Ctrl+V" << true;
        QTest::newRow("select all") << "EditSelectAll1"
                                    << "Vælg alt"
                                    << "Vælger hele dokumentet"
                                    << "Ctrl+A" << false;
        QTest::newRow("undo") << "EditUndo1"
                              << "Annuller"
                              << "Annuller sidste handling"
                              << "Ctrl+Z" << true;
        QTest::newRow("delete") << "EditDelete1"
                                << "Slet"
                                << "Slet valgte del fra dokumentet"
                                << "Del" << true;
        QTest::newRow("bold") << "RichEditBold1"
                              << "Fed"
                              << "Fed skrift"
                              << "Ctrl+B" << true;
        QTest::newRow("italic") << "RichEditItalic1"
                                << "Kursiv"
                                << "Kursiv tekst"
                                << "Ctrl+I" << true;
        QTest::newRow("underline") << "RichEditUnderline1"
                                   << "Understreg"
                                   << "Understreg tekst"
                                   << "Ctrl+U" << true;
        QTest::newRow("bullets") << "RichEditBullets1"
                                 << "Prik"
                                 << "Indsæt prik før aktuelle linie"
                                 << "" << true;
        QTest::newRow("left") << "RichEditAlignLeft1"
                              << "Venstrestil"
                              << "Venstrestiller teksten"
                              << "" << true;
        QTest::newRow("right") << "RichEditAlignRight1"
                               << "Højrestil"
                               << "Højrestiller teksten"
                               << "" << true;
        QTest::newRow("centre") << "RichEditAlignCenter1"
                                << "Centrer"
                                << "Centrerer teksten"
                                << "" << true;
        QTest::newRow("other program") << "AgoEdit"
                                       << "Rediger i andet program"
                                       << "Rediger i andet program"
                                       << "" << true;
    }
    void actionsCarryTheirCaptionsHintsKeysAndImages()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QFETCH(QString, key);
        QFETCH(bool, image);
        FieldWindow w;
        QCOMPARE(w.list->actions().size(), 14);
        auto* action = w.window.findChild<QAction*>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->property(struktur::hintProperty).toString(), hint);
        QCOMPARE(action->shortcut().toString(QKeySequence::PortableText), key);
        QCOMPARE(!action->icon().isNull(), image);
        QVERIFY(w.window.actions().contains(action));
    }

    void clipboardActionsWorkOnTheFocusedField()
    {
        FieldWindow w;
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        w.second->setFocus();
        w.list->updateActions();
        QVERIFY(!w.list->EditSelectAll1->isEnabled());
        QVERIFY(!w.list->EditUndo1->isEnabled());

        QTest::keyClicks(w.second, QStringLiteral("blåbær"));
        w.list->updateActions();
        QVERIFY(w.list->EditSelectAll1->isEnabled());
        QVERIFY(w.list->EditUndo1->isEnabled());
        QVERIFY(!w.list->EditCopy1->isEnabled());
        QVERIFY(!w.list->EditDelete1->isEnabled());

        w.list->EditSelectAll1->trigger();
        QCOMPARE(w.second->selectedText(), QStringLiteral("blåbær"));
        w.list->updateActions();
        QVERIFY(w.list->EditCopy1->isEnabled());
        QVERIFY(w.list->EditCut1->isEnabled());
        w.list->EditCut1->trigger();
        QCOMPARE(w.second->text(), QString());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("blåbær"));
        w.list->updateActions();
        QVERIFY(w.list->EditPaste1->isEnabled());

        w.first->setFocus();
        w.list->EditPaste1->trigger();
        QCOMPARE(w.first->text(), QStringLiteral("blåbær"));
        QCOMPARE(w.second->text(), QString());

        w.first->setSelection(0, 3);
        w.list->updateActions();
        w.list->EditDelete1->trigger();
        QCOMPARE(w.first->text(), QStringLiteral("bær"));
        w.list->updateActions();
        w.list->EditUndo1->trigger();
        QCOMPARE(w.first->text(), QStringLiteral("blåbær"));
    }

    void formatActionsStayDisabledWithoutARichTextTarget()
    {
        FieldWindow w;
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        for (QWidget* focus : { static_cast<QWidget*>(w.first), static_cast<QWidget*>(w.rich) }) {
            focus->setFocus();
            w.list->updateActions();
            for (QAction* action : { w.list->RichEditBold1, w.list->RichEditItalic1, w.list->RichEditUnderline1,
                     w.list->RichEditBullets1, w.list->RichEditAlignLeft1, w.list->RichEditAlignRight1,
                     w.list->RichEditAlignCenter1, w.list->AgoEdit }) {
                QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
                QVERIFY2(!action->isChecked(), qPrintable(action->objectName()));
            }
        }
        // Nothing but a field is a target: a read-only rich-text control gets no clipboard action.
        w.rich->setPlainText(QStringLiteral("tekst"));
        w.rich->selectAll();
        w.list->updateActions();
        QVERIFY(!w.list->EditCopy1->isEnabled());
        QVERIFY(!w.list->EditSelectAll1->isEnabled());
    }

    void popupItemsMirrorTheirActions()
    {
        FieldWindow w;
        const QStringList names { "Annuller1", "N1", "Klip1", "Kopier1", "Indst1", "N2", "Vlgalt1", "Slet1" };
        QMenu* menu = w.list->createPopupMenu(&w.window, QStringLiteral("PopupEdit"), names);
        QCOMPARE(menu->objectName(), QStringLiteral("PopupEdit"));
        const QList<QAction*> items = menu->actions();
        QCOMPARE(items.size(), 8);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(items[i]->objectName(), names[i]);
        QVERIFY(items[1]->isSeparator());
        QVERIFY(items[5]->isSeparator());
        QCOMPARE(items[2]->text(),
            QStringLiteral("Klip\t") + QKeySequence(QStringLiteral("Ctrl+X")).toString(QKeySequence::NativeText));
        QCOMPARE(items[6]->text().section(QLatin1Char('\t'), 0, 0), QStringLiteral("Vælg alt"));
        QCOMPARE(
            items[7]->property(struktur::hintProperty).toString(), QStringLiteral("Slet valgte del fra dokumentet"));
        QVERIFY(items[2]->icon().cacheKey() == w.list->EditCut1->icon().cacheKey());

        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        w.first->setFocus();
        w.first->setText(QStringLiteral("æble"));
        w.list->updateActions();
        QVERIFY(items[6]->isEnabled());
        QVERIFY(!items[3]->isEnabled());
        items[6]->trigger();
        QCOMPARE(w.first->selectedText(), QStringLiteral("æble"));
        QVERIFY(items[3]->isEnabled());
    }
};

STRUKTUR_GUI_TEST_MAIN(TestEditActionList)
#include "test_editactionlist.moc"
