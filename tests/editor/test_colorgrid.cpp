// SPDX-License-Identifier: GPL-3.0-or-later
#include "../support/GuiTestMain.h"
#include "editor/TColorGrid.h"

#include <QSignalSpy>
#include <QTest>

using struktur::TColorGrid;

namespace {

QPoint centreOf(const TColorGrid& grid, int index) { return grid.squareRect(index).center(); }

} // namespace

class TestColorGrid : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void colourMapsToTheFirstExactSquare_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("index");
        QTest::newRow("black") << QColor(0, 0, 0) << 0;
        QTest::newRow("maroon") << QColor(128, 0, 0) << 1;
        QTest::newRow("silver") << QColor(192, 192, 192) << 7;
        QTest::newRow("grey") << QColor(128, 128, 128) << 8;
        QTest::newRow("red") << QColor(255, 0, 0) << 9;
        QTest::newRow("white") << QColor(255, 255, 255) << 15;
        QTest::newRow("alpha is not a colour") << QColor(0, 0, 255, 40) << 12;
        QTest::newRow("almost red") << QColor(254, 0, 0) << -1;
        QTest::newRow("sky blue") << QColor(166, 202, 240) << -1;
        QTest::newRow("no colour") << QColor() << -1;
    }
    void colourMapsToTheFirstExactSquare()
    {
        QFETCH(QColor, color);
        QFETCH(int, index);
        QCOMPARE(TColorGrid::colorToIndex(color), index);
    }

    void pressesChooseForegroundAndBackground()
    {
        TColorGrid grid;
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy clicks(&grid, &TColorGrid::clicked);

        QTest::mouseClick(&grid, Qt::LeftButton, {}, centreOf(grid, 5));
        QCOMPARE(grid.foregroundIndex(), 5);
        QCOMPARE(grid.foregroundColor(), QColor(128, 0, 128));
        QCOMPARE(clicks.count(), 1);

        QTest::mouseClick(&grid, Qt::RightButton, {}, centreOf(grid, 10));
        QCOMPARE(grid.backgroundIndex(), 10);
        QCOMPARE(grid.foregroundIndex(), 5);
        QCOMPARE(clicks.count(), 2);

        // The bottom-right corner is the last square, row 3 column 3.
        QTest::mouseClick(&grid, Qt::LeftButton, {}, QPoint(grid.width() - 1, grid.height() - 1));
        QCOMPARE(grid.foregroundIndex(), 15);
    }

    void draggingMovesTheForegroundAndReleaseOutsideIsNoClick()
    {
        TColorGrid grid;
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy clicks(&grid, &TColorGrid::clicked);
        QTest::mousePress(&grid, Qt::LeftButton, {}, centreOf(grid, 0));
        QMouseEvent move(QEvent::MouseMove, centreOf(grid, 6), grid.mapToGlobal(centreOf(grid, 6)), Qt::NoButton,
            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&grid, &move);
        QCOMPARE(grid.foregroundIndex(), 6);
        QTest::mouseRelease(&grid, Qt::LeftButton, {}, QPoint(grid.width() + 20, 5));
        QCOMPARE(grid.foregroundIndex(), 6);
        QCOMPARE(clicks.count(), 0);

        // The right button raises the click wherever it is released.
        QTest::mousePress(&grid, Qt::RightButton, {}, centreOf(grid, 3));
        QTest::mouseRelease(&grid, Qt::RightButton, {}, QPoint(-10, -10));
        QCOMPARE(clicks.count(), 1);
    }

    void marksFollowTheChoices()
    {
        TColorGrid grid;
        grid.setForegroundIndex(4);
        grid.setBackgroundIndex(4);
        const QImage both = grid.grab().toImage();
        grid.setBackgroundIndex(15);
        const QImage apart = grid.grab().toImage();
        grid.setForegroundIndex(-1);
        QCOMPARE(grid.foregroundIndex(), -1);
        QVERIFY(!grid.foregroundColor().isValid());
        grid.setBackgroundIndex(16);
        QCOMPARE(grid.backgroundIndex(), -1);
        const QImage none = grid.grab().toImage();
        // Square 4 carries a mark in the first two pictures and none in the last.
        const QRect square = grid.squareRect(4).adjusted(2, 2, -2, -2);
        QVERIFY(both.copy(square) != none.copy(square));
        QVERIFY(apart.copy(square) != none.copy(square));
        QVERIFY(both.copy(square) != apart.copy(square));
    }
};

STRUKTUR_GUI_TEST_MAIN(TestColorGrid)
#include "test_colorgrid.moc"
