// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Properties.h"

#include <QColor>

namespace struktur::rtf {

/// A paragraph's shading: the pattern colour (black unless given) over the background colour
/// (white unless given) in the share \shading gives. Invalid when the paragraph has none.
QColor shadingColor(const ParaProps& para, const Tables& tables);

} // namespace struktur::rtf
