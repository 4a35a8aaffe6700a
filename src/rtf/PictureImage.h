// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Properties.h"

#include <QImage>

namespace struktur::rtf {

/// Pictures are shown at 96 pixels per inch.
constexpr double kTwipsPerPixel = 15.0;
/// No side of a picture is shown larger than this, in pixels.
constexpr int kMaxImageSide = 4000;

/// The picture as an image: a metafile drawn at the size it is shown (its goal size, else
/// \picw/\pich), PNG or JPEG decoded within a bounded allocation. Null when it cannot be shown.
QImage pictureImage(const Picture& picture);

} // namespace struktur::rtf
