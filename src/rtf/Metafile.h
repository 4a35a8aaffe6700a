// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>

namespace struktur::rtf {

/// Draws a Windows metafile (the picture form Word and WordPad store as \wmetafile) into an image
/// of `size` pixels: its common records — window origin and extent, pens, brushes, fonts, lines,
/// rectangles, ellipses, polygons, text and embedded bitmaps — through QPainter. Returns a null
/// image for data that is not a metafile or draws nothing this understands. Records are bounded
/// by the data; a damaged record ends the drawing.
QImage drawMetafile(QByteArrayView data, QSize size);

} // namespace struktur::rtf
