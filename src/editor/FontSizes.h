// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

/// The point sizes a font face is offered in, worked out without any widget or font system.
namespace struktur::fontsizes {

/// The sizes every scalable face is offered in, ascending: 8 9 10 11 12 14 16 18 20 22 24 26 28
/// 36 48 72.
const QList<int>& standardSizes();

/// One fixed-size font of a bitmap face: its cell height and the internal leading inside it,
/// both in screen pixels.
struct BitmapFont {
    int height = 0;
    int internalLeading = 0;
};

/// The size in points of a bitmap font: (height − internal leading) × 72 ÷ dpi, rounded to the
/// nearest integer with ties going to the even neighbour (7.5 → 8, 8.5 → 8).
int pointSize(const BitmapFont& font, int dotsPerInch);

/// Puts `size` into an ascending list before its first greater entry; a size already listed is
/// not added again.
void insertSize(QList<int>& sizes, int size);

/// The sizes of a bitmap face from its fonts in whatever order they come: ascending, each once.
QList<int> bitmapFaceSizes(const QList<BitmapFont>& fonts, int dotsPerInch);

} // namespace struktur::fontsizes
