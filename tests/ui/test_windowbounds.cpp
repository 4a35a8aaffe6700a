// SPDX-License-Identifier: GPL-3.0-or-later
// Window bounds as the options files keep them, and keeping saved positions reachable.
#include "support/GuiTestMain.h"
#include "ui/WindowBounds.h"

#include <QWidget>

using namespace struktur;

class TestWindowBounds : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void placeOnScreen_data();
    void placeOnScreen();
    void outerSizeBelowMinimumIsRaised_data();
    void outerSizeBelowMinimumIsRaised();
    void outerFiguresHoldOnceShown();
};

void TestWindowBounds::placeOnScreen_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QPoint>("placed");
    const QList<QRect> one { QRect(0, 0, 1920, 1080) };
    // A second screen left of the first, as Windows reports it: negative coordinates.
    const QList<QRect> two { QRect(0, 0, 1920, 1080), QRect(-1280, 0, 1280, 1024) };
    QTest::newRow("inside stays") << QRect(20, 10, 800, 700) << one << QPoint(20, 10);
    QTest::newRow("partly off to the right stays") << QRect(1800, 10, 800, 700) << one << QPoint(1800, 10);
    QTest::newRow("bottom half off stays") << QRect(100, 900, 800, 700) << one << QPoint(100, 900);
    QTest::newRow("title bar above the screen moves down") << QRect(100, -50, 800, 700) << one << QPoint(100, 0);
    QTest::newRow("far right moves in") << QRect(5000, 100, 800, 700) << one << QPoint(1120, 100);
    QTest::newRow("far below moves up") << QRect(100, 4000, 800, 700) << one << QPoint(100, 380);
    QTest::newRow("only a sliver showing moves in") << QRect(1900, 100, 800, 700) << one << QPoint(1120, 100);
    QTest::newRow("on a negative screen stays") << QRect(-1000, 20, 600, 600) << two << QPoint(-1000, 20);
    QTest::newRow("a removed left screen brings it back") << QRect(-1000, 20, 600, 600) << one << QPoint(0, 20);
    QTest::newRow("larger than the screen keeps its top-left in")
        << QRect(-3000, -3000, 2500, 1500) << one << QPoint(0, 0);
    QTest::newRow("no screens: unchanged") << QRect(-9000, 5, 600, 600) << QList<QRect> {} << QPoint(-9000, 5);
}

void TestWindowBounds::placeOnScreen()
{
    QFETCH(QRect, frame);
    QFETCH(QList<QRect>, screens);
    QFETCH(QPoint, placed);
    const QRect result = struktur::placeOnScreen(frame, screens);
    QCOMPARE(result.topLeft(), placed);
    QCOMPARE(result.size(), frame.size());
}

void TestWindowBounds::outerSizeBelowMinimumIsRaised_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QSize>("outer");
    QTest::newRow("both fine") << 800 << 700 << QSize(800, 700);
    QTest::newRow("narrow") << 300 << 700 << QSize(600, 700);
    QTest::newRow("low") << 800 << 10 << QSize(800, 600);
    QTest::newRow("negative") << -5 << -5 << QSize(600, 600);
    QTest::newRow("exactly the minimum") << 600 << 600 << QSize(600, 600);
}

void TestWindowBounds::outerSizeBelowMinimumIsRaised()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QSize, outer);
    QWidget window;
    WindowBounds bounds(&window, QSize(600, 600), QSize(16, 38));
    bounds.setWidth(width);
    bounds.setHeight(height);
    QCOMPARE(QSize(bounds.width(), bounds.height()), outer);
}

void TestWindowBounds::outerFiguresHoldOnceShown()
{
    QWidget window;
    auto* bounds = new WindowBounds(&window, QSize(411, 312), QSize(16, 38));
    bounds->setTop(30);
    bounds->setLeft(40);
    bounds->setWidth(500);
    bounds->setHeight(400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    QCOMPARE(window.frameGeometry().size(), QSize(500, 400));
    QCOMPARE(QSize(bounds->width(), bounds->height()), QSize(500, 400));
    QCOMPARE(QPoint(bounds->left(), bounds->top()), QPoint(40, 30));

    window.resize(10, 10);
    QCoreApplication::processEvents();
    QVERIFY(window.frameGeometry().width() >= 411);
    QVERIFY(window.frameGeometry().height() >= 312);
}

STRUKTUR_GUI_TEST_MAIN(TestWindowBounds)
#include "test_windowbounds.moc"
