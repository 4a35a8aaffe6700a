// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QStringList>

/// The 16 × 16 picture of an element icon index: 0 to 8 as the icon table, 9 (which a data file
/// may give) as the last, "Mappe"; an empty icon for anything else (an element without icon).
QIcon elementIcon(int index);

/// The names under which the nine icons are offered, in index order.
QStringList elementIconNames();
