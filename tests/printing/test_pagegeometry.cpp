// SPDX-License-Identifier: GPL-3.0-or-later
// Margins to page rectangle to twips: the arithmetic behind every print run.
#include "printing/PageGeometry.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace struktur;

Q_DECLARE_METATYPE(struktur::PageRect)
Q_DECLARE_METATYPE(struktur::TwipsRect)

namespace {

// 600 pixels per inch, a strip of 100 pixels on every side of an A4-like sheet.
PrinterMetrics printer600()
{
    PrinterMetrics metrics;
    metrics.pixelsX = metrics.pixelsY = 600;
    metrics.leftSpace = metrics.topSpace = 100;
    metrics.pageWidth = 4760;
    metrics.pageHeight = 6814;
    metrics.paperWidth = 4960;
    metrics.paperHeight = 7014;
    return metrics;
}

} // namespace

namespace QTest {
template <> char* toString(const PageRect& r)
{
    return qstrdup(QStringLiteral("(%1, %2, %3, %4)").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom).toLatin1().constData());
}
template <> char* toString(const TwipsRect& r)
{
    return qstrdup(QStringLiteral("(%1, %2, %3, %4)").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom).toLatin1().constData());
}
} // namespace QTest

class TestPageGeometry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundsHalfToEvenIntoThirtyTwoBits_data();
    void roundsHalfToEvenIntoThirtyTwoBits();
    void marginsBecomeAPageRectangle_data();
    void marginsBecomeAPageRectangle();
    void pageRectangleInTwips_data();
    void pageRectangleInTwips();
};

void TestPageGeometry::roundsHalfToEvenIntoThirtyTwoBits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");

    QTest::newRow("above half") << 590.55 << 591;
    QTest::newRow("below half") << 236.22 << 236;
    QTest::newRow("half to even down") << 2.5 << 2;
    QTest::newRow("half to even up") << 3.5 << 4;
    QTest::newRow("zero half") << 0.5 << 0;
    QTest::newRow("negative half") << -1.5 << -2;
    QTest::newRow("negative zero half") << -0.5 << 0;
    QTest::newRow("negative") << -76.4 << -76;
    QTest::newRow("low 32 bits") << 4294967301.0 << 5;
    QTest::newRow("wraps to negative") << 2147483648.0 << std::numeric_limits<int>::min();
    QTest::newRow("far beyond 64 bits") << std::ldexp(1.0, 80) + std::ldexp(1.0, 40) << 0;
    QTest::newRow("not finite") << std::numeric_limits<double>::infinity() << 0;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void TestPageGeometry::roundsHalfToEvenIntoThirtyTwoBits()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(roundToInt32(value), rounded);
}

void TestPageGeometry::marginsBecomeAPageRectangle_data()
{
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("bottom");
    QTest::addColumn<int>("unit");
    QTest::addColumn<PageRect>("expected");
    QTest::addColumn<bool>("empty");

    const int cm = int(TRichTextMeasurements::rtmCentimetres);
    const int in = int(TRichTextMeasurements::rtmInches);
    // Products 590.55, 236.22, 472.44, 354.33 rounded to 591, 236, 472, 354; the right and bottom
    // edges are measured from the paper's right and bottom edges.
    QTest::newRow("window defaults") << 2.5 << 1.0 << 2.0 << 1.5 << cm << PageRect { 491, 372, 4624, 6560 } << false;
    QTest::newRow("inches") << 1.0 << 0.5 << 1.0 << 0.5 << in << PageRect { 500, 500, 4560, 6614 } << false;
    QTest::newRow("no margins") << 0.0 << 0.0 << 0.0 << 0.0 << cm << PageRect { -100, -100, 4860, 6914 } << false;
    QTest::newRow("margin inside the strip") << 0.1 << 1.0 << 0.1 << 1.0 << cm << PageRect { -76, -76, 4624, 6678 }
                                             << false;
    QTest::newRow("left and right fill the width") << 10.5 << 10.5 << 2.0 << 2.0 << cm
                                                   << PageRect { 2380, 372, 2380, 6442 } << true;
    QTest::newRow("top and bottom overlap") << 1.0 << 1.0 << 20.0 << 20.0 << cm
                                            << PageRect { 136, 4624, 4624, 2190 } << true;
}

void TestPageGeometry::marginsBecomeAPageRectangle()
{
    QFETCH(double, left);
    QFETCH(double, right);
    QFETCH(double, top);
    QFETCH(double, bottom);
    QFETCH(int, unit);
    QFETCH(PageRect, expected);
    QFETCH(bool, empty);
    const PageRect rect = pageRectangle(printer600(), { left, right, top, bottom }, TRichTextMeasurements(unit));
    QCOMPARE(rect, expected);
    QCOMPARE(rect.isEmpty(), empty);
}

void TestPageGeometry::pageRectangleInTwips_data()
{
    QTest::addColumn<PageRect>("page");
    QTest::addColumn<TwipsRect>("twips");

    QTest::newRow("window defaults, each value truncated")
        << PageRect { 491, 372, 4624, 6560 } << TwipsRect { 1178, 892, 11097, 15744 };
    QTest::newRow("empty is the whole printable area")
        << PageRect { 2380, 372, 2380, 6442 } << TwipsRect { 0, 0, 11424, 16353 };
    QTest::newRow("never set is the whole printable area") << PageRect {} << TwipsRect { 0, 0, 11424, 16353 };
    QTest::newRow("negative truncates toward zero")
        << PageRect { -76, -76, 4624, 6678 } << TwipsRect { -182, -182, 11097, 16027 };
    QTest::newRow("32-bit product wraps") << PageRect { 1500000, 0, 1500001, 1 }
                                          << TwipsRect { -3558278, 0, -3558276, 2 };
}

void TestPageGeometry::pageRectangleInTwips()
{
    QFETCH(PageRect, page);
    QFETCH(TwipsRect, twips);
    QCOMPARE(pageAreaInTwips(page, printer600()), twips);
}

QTEST_APPLESS_MAIN(TestPageGeometry)
#include "test_pagegeometry.moc"
