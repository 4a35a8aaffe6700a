// SPDX-License-Identifier: GPL-3.0-or-later
// The hint line: which hint counts for the widget under the pointer, and when it is reported.
#include "support/GuiTestMain.h"
#include "ui/HintLine.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QToolButton>
#include <QToolTip>

using namespace struktur;

class TestHintLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void longPart_data();
    void longPart();
    void nearestParentWithHintCounts();
    void toolButtonTakesItsActionsHint();
    void followsThePointerAcrossWidgets();
    void menuShowsTheHintOfTheItemUnderThePointer();
    void hintsAreNoTooltips();
};

void TestHintLine::longPart_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no bar: whole hint") << "Gem strukturen"
                                        << "Gem strukturen";
    QTest::newRow("short and long") << "Gem|Gem strukturen"
                                    << "Gem strukturen";
    QTest::newRow("only the first bar splits") << "a|b|c"
                                               << "b|c";
    QTest::newRow("empty short part") << "|Udfold strukturen"
                                      << "Udfold strukturen";
    QTest::newRow("empty long part") << "Slet|"
                                     << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestHintLine::longPart()
{
    QFETCH(QString, hint);
    QFETCH(QString, shown);
    QCOMPARE(longHint(hint), shown);
}

void TestHintLine::nearestParentWithHintCounts()
{
    QWidget window;
    auto* panel = new QWidget(&window);
    auto* inner = new QWidget(panel);
    auto* label = new QLabel(inner);
    setHint(panel, QStringLiteral("Panelets hjælp"));
    QCOMPARE(effectiveHint(label, {}), QStringLiteral("Panelets hjælp"));
    setHint(inner, QStringLiteral("Indre|Den indre hjælp"));
    QCOMPARE(effectiveHint(label, {}), QStringLiteral("Indre|Den indre hjælp"));
    QCOMPARE(effectiveHint(&window, {}), QString());
    QCOMPARE(effectiveHint(nullptr, {}), QString());
}

void TestHintLine::toolButtonTakesItsActionsHint()
{
    QWidget window;
    auto* button = new QToolButton(&window);
    auto* action = new QAction(QStringLiteral("Gem"), &window);
    setHint(action, QStringLiteral("Gem strukturen"));
    button->setDefaultAction(action);
    QCOMPARE(ownHint(button), QStringLiteral("Gem strukturen"));
    setHint(button, QStringLiteral("Egen hjælp"));
    QCOMPARE(ownHint(button), QStringLiteral("Egen hjælp"));
}

void TestHintLine::followsThePointerAcrossWidgets()
{
    QWidget window;
    window.resize(400, 200);
    auto* layout = new QHBoxLayout(&window);
    auto* withHint = new QLabel(QStringLiteral("Tekst"));
    auto* withoutHint = new QLabel(QStringLiteral("Tom"));
    auto* plain = new QLabel(QStringLiteral("Filnavn"));
    for (QLabel* label : { withHint, withoutHint, plain }) {
        label->setMinimumSize(80, 80);
        layout->addWidget(label);
    }
    setHint(&window, QStringLiteral("Vindue|Vinduets hjælp"));
    setHint(withHint, QStringLiteral("Tekst|Elementets tekst"));
    setHint(plain, QStringLiteral("Indsæt konstrueret filnavn"));
    plain->setEnabled(false); // a disabled control still tells what it would do
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QSignalSpy changes(&HintLine::instance(), &HintLine::hintChanged);
    QTest::mouseMove(withHint, QPoint(10, 10));
    QCOMPARE(HintLine::instance().current(), QStringLiteral("Elementets tekst"));
    QTest::mouseMove(withHint, QPoint(20, 20));
    QTest::mouseMove(withoutHint, QPoint(10, 10));
    QCOMPARE(HintLine::instance().current(), QStringLiteral("Vinduets hjælp"));
    QTest::mouseMove(plain, QPoint(10, 10));
    QCOMPARE(HintLine::instance().current(), QStringLiteral("Indsæt konstrueret filnavn"));

    QCOMPARE(changes.size(), 3); // a move inside one widget reports nothing new
    QCOMPARE(changes.at(0).at(0).toString(), QStringLiteral("Elementets tekst"));
    QCOMPARE(changes.at(2).at(0).toString(), QStringLiteral("Indsæt konstrueret filnavn"));

    window.hide();
    QCOMPARE(HintLine::instance().current(), QString());
}

void TestHintLine::menuShowsTheHintOfTheItemUnderThePointer()
{
    QMenu menu;
    QAction* cut = menu.addAction(QStringLiteral("Klip"));
    setHint(cut, QStringLiteral("Klip|Klipper det markerede til udklipsholderen"));
    QAction* copy = menu.addAction(QStringLiteral("Kopier"));
    setHint(copy, QStringLiteral("Kopier|Kopierer det markerede"));
    menu.popup(QPoint(50, 50));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));

    QTest::mouseMove(&menu, menu.actionGeometry(copy).center());
    QCOMPARE(HintLine::instance().current(), QStringLiteral("Kopierer det markerede"));
    QTest::mouseMove(&menu, menu.actionGeometry(cut).center());
    QCOMPARE(HintLine::instance().current(), QStringLiteral("Klipper det markerede til udklipsholderen"));
    menu.close();
}

void TestHintLine::hintsAreNoTooltips()
{
    QWidget window;
    auto* button = new QToolButton(&window);
    auto* action = new QAction(QStringLiteral("Gem"), &window);
    setHint(action, QStringLiteral("Gem|Gem strukturen"));
    button->setDefaultAction(action);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(button, &help);
    QVERIFY(!QToolTip::isVisible());
}

STRUKTUR_GUI_TEST_MAIN(TestHintLine)
#include "test_hintline.moc"
