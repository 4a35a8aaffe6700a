// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace struktur {

/// The unit of the four margins handed to PrintRichText.
enum class TRichTextMeasurements : quint8 {
    rtmNone = 0, ///< margins ignored, the control's page rectangle stays as it is
    rtmInches = 1,
    rtmCentimetres = 2,
};

/// What a printer tells about its page, in device pixels.
struct PrinterMetrics {
    qint32 pixelsX = 0; ///< pixels per inch, horizontally
    qint32 pixelsY = 0; ///< pixels per inch, vertically
    qint32 leftSpace = 0; ///< from the paper's left edge to the printable area
    qint32 topSpace = 0; ///< from the paper's top edge to the printable area
    qint32 pageWidth = 0; ///< width of the printable area
    qint32 pageHeight = 0; ///< height of the printable area
    qint32 paperWidth = 0; ///< width of the whole sheet
    qint32 paperHeight = 0; ///< height of the whole sheet
};

/// The four margins of a print run, in the unit of a TRichTextMeasurements.
struct Margins {
    long double left = 0;
    long double right = 0;
    long double top = 0;
    long double bottom = 0;
};

/// A page rectangle in printer pixels relative to the printable area's top-left corner, with
/// exclusive right and bottom edges. Empty (Right <= Left or Bottom <= Top) means the whole
/// printable area.
struct PageRect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const PageRect&, const PageRect&) = default;
};

/// The nearest integer to `value`, ties to even, reduced to its low 32 bits (two's complement).
/// A value that is not finite gives 0.
qint32 roundToInt32(long double value);

/// The page rectangle for margins measured from the paper's four edges. Every margin is scaled
/// to pixels in extended precision and rounded half to even; the right and bottom edges are
/// measured from the paper's right and bottom edges, so all four margins come out on paper as
/// asked. The result may be empty or reach outside the printable area (negative Left or Top when
/// a margin is smaller than the printer's unprintable strip).
PageRect pageRectangle(const PrinterMetrics& printer, Margins margins, TRichTextMeasurements unit);

/// The area a print job fills, in twips (1/1440 inch): the page rectangle, or the whole
/// printable area when it is empty, each edge by 32-bit arithmetic that multiplies first and
/// then divides, truncating toward zero.
struct TwipsRect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};
TwipsRect pageAreaInTwips(const PageRect& page, const PrinterMetrics& printer);

} // namespace struktur
