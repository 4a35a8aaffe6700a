// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>

class QWidget;

namespace struktur {

/// A window's outer rectangle kept as it is when it shares any part with one of the screens;
/// otherwise moved (size kept) onto the screen nearest to it, as far inside as it fits.
QRect placeOnScreens(const QRect& outer, const QList<QRect>& screens);

/// The available areas of all screens.
QList<QRect> availableScreenAreas();

/// Gives a top-level window this outer rectangle (frame included, as far as the frame is known).
void setOuterGeometry(QWidget& window, const QRect& outer);

} // namespace struktur
