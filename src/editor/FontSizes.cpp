// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontSizes.h"

#include <cmath>

namespace struktur::fontsizes {

const QList<int>& standardSizes()
{
    static const QList<int> sizes { 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72 };
    return sizes;
}

static long double roundHalfToEven(long double value)
{
    const long double lower = std::floor(value);
    const long double fraction = value - lower;
    if (fraction > 0.5L)
        return lower + 1;
    if (fraction < 0.5L)
        return lower;
    return std::fmod(lower, 2.0L) == 0 ? lower : lower + 1;
}

int pointSize(const BitmapFont& font, int dotsPerInch)
{
    if (dotsPerInch <= 0)
        return 0;
    // The product in integers (64 bits, so no cell height overflows), the quotient in extended
    // precision.
    const long long product = (static_cast<long long>(font.height) - font.internalLeading) * 72;
    return static_cast<int>(roundHalfToEven(static_cast<long double>(product) / dotsPerInch));
}

void insertSize(QList<int>& sizes, int size)
{
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        if (sizes[i] == size)
            return;
        if (sizes[i] > size) {
            sizes.insert(i, size);
            return;
        }
    }
    sizes.append(size);
}

QList<int> bitmapFaceSizes(const QList<BitmapFont>& fonts, int dotsPerInch)
{
    QList<int> sizes;
    for (const BitmapFont& font : fonts)
        insertSize(sizes, pointSize(font, dotsPerInch));
    return sizes;
}

} // namespace struktur::fontsizes
