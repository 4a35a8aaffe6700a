// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AttachMode.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace struktur::elements {

/// The captions of the six insert and move methods, in the order of their choices.
QStringList insertMethodCaptions();

/// The choice that places moved elements in front of the tree's first element.
inline constexpr int topLevelChoice = 5;

/// The attach mode a method choice sets. The top-level choice, and any index outside the five
/// attach choices, sets none: the earlier mode stays and keeps placing inserted elements.
std::optional<TNodeAttachMode> attachModeForChoice(int choice);

/// The number of element icons offered for choice.
inline constexpr int iconChoiceCount = 9;

/// The icon choice shown for an element's icon index: indexes beyond the nine choices (9 is
/// accepted from data files) show the last one, negative ones the first.
int iconChoiceFor(int iconIndex);

} // namespace struktur::elements
