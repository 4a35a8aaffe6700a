// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace struktur {

/// Moves a top-level window whose frame lies on no screen onto the nearest screen, so that a
/// position saved on another display set-up cannot hide it. A window on some screen stays put.
void keepOnScreen(QWidget& window);

} // namespace struktur
