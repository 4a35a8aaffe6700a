// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/FontSizes.h"

#include <QTest>

using namespace struktur::fontsizes;

Q_DECLARE_METATYPE(BitmapFont)

class TestFontSizes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pointSizeOfBitmapFont_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("leading");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("points");
        QTest::newRow("9.75 rounds up") << 16 << 3 << 96 << 10;
        QTest::newRow("7.5 goes to the even 8") << 13 << 3 << 96 << 8;
        QTest::newRow("exactly 9") << 14 << 2 << 96 << 9;
        QTest::newRow("8.5 goes to the even 8") << 17 << 0 << 144 << 8;
        QTest::newRow("9.5 goes to the even 10") << 19 << 0 << 144 << 10;
        QTest::newRow("7.8 at 120 dpi") << 16 << 3 << 120 << 8;
        QTest::newRow("no leading at 72 dpi") << 11 << 0 << 72 << 11;
        QTest::newRow("huge cell does not overflow") << 1'000'000'000 << 0 << 96 << 750'000'000;
    }
    void pointSizeOfBitmapFont()
    {
        QFETCH(int, height);
        QFETCH(int, leading);
        QFETCH(int, dpi);
        QFETCH(int, points);
        QCOMPARE(pointSize({ height, leading }, dpi), points);
    }

    void bitmapFaceListsEachSizeOnceAscending_data()
    {
        QTest::addColumn<QList<BitmapFont>>("fonts");
        QTest::addColumn<QList<int>>("sizes");
        // At 96 dpi an em of 8 pixels is 6 points, 11 is 8 (8.25), 13 is 10 (9.75), 16 is 12.
        QTest::newRow("none") << QList<BitmapFont> {} << QList<int> {};
        QTest::newRow("8, 10 and 10 again")
            << QList<BitmapFont> { { 13, 2 }, { 16, 3 }, { 15, 2 } } << QList<int> { 8, 10 };
        QTest::newRow("descending order")
            << QList<BitmapFont> { { 19, 3 }, { 16, 3 }, { 13, 2 }, { 10, 2 } } << QList<int> { 6, 8, 10, 12 };
        QTest::newRow("mixed order") << QList<BitmapFont> { { 16, 3 }, { 10, 2 }, { 19, 3 }, { 13, 2 }, { 10, 2 } }
                                     << QList<int> { 6, 8, 10, 12 };
    }
    void bitmapFaceListsEachSizeOnceAscending()
    {
        QFETCH(QList<BitmapFont>, fonts);
        QFETCH(QList<int>, sizes);
        QCOMPARE(bitmapFaceSizes(fonts, 96), sizes);
    }
};

QTEST_GUILESS_MAIN(TestFontSizes)
#include "test_fontsizes.moc"
