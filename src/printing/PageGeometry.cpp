// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageGeometry.h"

#include <cmath>

namespace struktur {
namespace {

constexpr long double centimetresPerInch = 2.54L;
constexpr qint32 twipsPerInch = 1440;

long double inInches(long double margin, TRichTextMeasurements unit)
{
    return unit == TRichTextMeasurements::rtmCentimetres ? margin / centimetresPerInch : margin;
}

// Multiplies in 32 bits (wrapping as the hardware does) and then divides, truncating toward zero.
qint32 pixelsToTwips(qint32 pixels, qint32 pixelsPerInch)
{
    if (pixelsPerInch <= 0)
        return 0;
    const auto product = static_cast<qint32>(static_cast<quint32>(pixels) * static_cast<quint32>(twipsPerInch));
    return product / pixelsPerInch;
}

} // namespace

qint32 roundToInt32(long double value)
{
    if (!std::isfinite(value))
        return 0;
    const long double lower = std::floor(value);
    const long double fraction = value - lower;
    long double rounded = lower;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(lower, 2.0L) != 0))
        rounded = lower + 1;
    constexpr long double wrap = 4294967296.0L;
    long double low = std::fmod(rounded, wrap);
    if (low < 0)
        low += wrap;
    return static_cast<qint32>(static_cast<quint32>(low));
}

PageRect pageRectangle(const PrinterMetrics& printer, Margins margins, TRichTextMeasurements unit)
{
    const long double left = inInches(margins.left, unit);
    const long double right = inInches(margins.right, unit);
    const long double top = inInches(margins.top, unit);
    const long double bottom = inInches(margins.bottom, unit);
    // Wrapping 32-bit sums, like the rounded products they are made of.
    const auto sum = [](qint32 a, qint32 b, qint32 c) {
        return static_cast<qint32>(static_cast<quint32>(a) - static_cast<quint32>(b) - static_cast<quint32>(c));
    };
    PageRect rect;
    rect.left = sum(roundToInt32(printer.pixelsX * left), printer.leftSpace, 0);
    rect.top = sum(roundToInt32(printer.pixelsY * top), printer.topSpace, 0);
    rect.right = sum(printer.paperWidth, roundToInt32(printer.pixelsX * right), printer.leftSpace);
    rect.bottom = sum(printer.paperHeight, roundToInt32(printer.pixelsY * bottom), printer.topSpace);
    return rect;
}

TwipsRect pageAreaInTwips(const PageRect& page, const PrinterMetrics& printer)
{
    if (page.isEmpty())
        return { 0, 0, pixelsToTwips(printer.pageWidth, printer.pixelsX),
            pixelsToTwips(printer.pageHeight, printer.pixelsY) };
    return { pixelsToTwips(page.left, printer.pixelsX), pixelsToTwips(page.top, printer.pixelsY),
        pixelsToTwips(page.right, printer.pixelsX), pixelsToTwips(page.bottom, printer.pixelsY) };
}

} // namespace struktur
