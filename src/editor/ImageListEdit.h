// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace struktur {

/// The fifteen 16 × 16 images of the edit and format actions (0–13) and the print button (14).
class ImageListEdit {
public:
    static constexpr int count = 15;
    static constexpr int printImage = 14;

    /// The image at `index`; a null icon outside 0–14.
    static QIcon image(int index);
};

} // namespace struktur
