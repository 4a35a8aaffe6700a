// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>

namespace struktur::rtf {

/// Draws an enhanced metafile (the picture form Word stores as \emfblip) into an image of
/// `size` pixels: its common records — mapping modes, window and viewport, world transforms,
/// pens, brushes, fonts, lines, rectangles, ellipses, polygons and Bézier curves in both point
/// sizes, paths, text and embedded bitmaps — through QPainter. Returns a null image for data that
/// is not an enhanced metafile or draws nothing this understands. Records are bounded by the
/// data; a damaged record ends the drawing.
QImage drawEnhancedMetafile(QByteArrayView data, QSize size);

} // namespace struktur::rtf
