// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Tokenizer.h"

#include <algorithm>

namespace struktur::rtf {

// Bounds on what a document can make the reader hold; beyond them content is read as plain
// text or dropped.
constexpr int kMaxFonts = 8192;
constexpr int kMaxColors = 8192;
constexpr int kMaxLists = 2048;
constexpr int kMaxLevels = 9;
constexpr int kMaxCellsPerRow = 64;
constexpr int kMaxFieldNesting = 32;
constexpr qsizetype kMaxSideText = 64 * 1024; ///< font names, instructions, list texts

/// A control word's parameter within [low, high], or `fallback` when it has none.
inline int clampParam(const Token& token, int low, int high, int fallback)
{
    return token.hasParam ? std::clamp<int>(token.param, low, high) : fallback;
}

/// A toggle (\b, \b1 on; \b0 off).
inline bool toggleOn(const Token& token) { return !token.hasParam || token.param != 0; }

} // namespace struktur::rtf
