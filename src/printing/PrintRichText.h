// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PageGeometry.h"

#include <QList>
#include <QString>
#include <functional>

class QPainter;
class QTextDocument;
class QTextEdit;

namespace struktur {

class Printer;

/// The page rectangle kept on a rich-text control between print runs (empty until the first run
/// that sets one).
PageRect pageRect(const QTextEdit& edit);
void setPageRect(QTextEdit& edit, const PageRect& rect);

/// Lays `document` out page by page into `page` (the whole printable area when it is empty) on
/// `canvas`, calling `newPage` between two pages, as printing does; returns the first character
/// position of each page. Stops early when the layout refuses (a canvas without an open page).
QList<qint32> renderPages(QPainter& canvas, const PrinterMetrics& metrics, const PageRect& page,
    const QTextDocument& document, const std::function<void()>& newPage);

/// Prints the control's whole document as one job named `caption`: page by page into the
/// control's page rectangle, or over the whole printable area when that is empty. Printer errors
/// propagate; the job is dropped when one comes half-way.
void printDocument(Printer& printer, QTextEdit& edit, const QString& caption);

/// Prints `document` itself as one job named `caption` into `page` (the whole printable area when
/// it is empty), laying that document out for the printer instead of a copy: for a document that
/// is shown nowhere (the command line's), which saves the copy, about a sixth of the work.
void printDocument(Printer& printer, QTextDocument& document, const PageRect& page, const QString& caption);

/// Prints the document of `Edit` `Copies` times on the default printer, each copy as its own job
/// with an empty name, inside margins measured from the paper's edges in the unit
/// `RichTextMeasurement` names (rtmNone keeps the page rectangle of an earlier run). Pending
/// events are processed after the page rectangle is set and after each copy. Copies of 0 or less
/// print nothing. Always returns true; printer errors propagate as struktur::Error.
bool PrintRichText(QTextEdit* Edit, long double RTLeftMargin, long double RTRightMargin, long double RTTopMargin,
    long double RTBottomMargin, TRichTextMeasurements RichTextMeasurement, qint32 Copies);

/// The same on a given printer object.
bool PrintRichText(Printer& printer, QTextEdit* Edit, long double RTLeftMargin, long double RTRightMargin,
    long double RTTopMargin, long double RTBottomMargin, TRichTextMeasurements RichTextMeasurement, qint32 Copies);

} // namespace struktur
