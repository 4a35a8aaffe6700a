// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Where an inserted or moved element goes relative to a reference element R.
enum TNodeAttachMode {
    naAdd, ///< last among R's siblings (last top-level element when R is top-level)
    naAddFirst, ///< first among R's siblings
    naAddChild, ///< last child of R
    naAddChildFirst, ///< first child of R
    naInsert, ///< directly before R, under R's parent
};
