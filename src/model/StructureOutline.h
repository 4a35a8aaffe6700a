// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ElementTree.h"

#include <QStringList>

namespace struktur {

/// A readable form of a tree, one element a line in pre-order: two spaces per level, the text,
/// two spaces and the element data string in square brackets ("[]" for an element without).
QStringList outline(const ElementTree& tree);

} // namespace struktur
