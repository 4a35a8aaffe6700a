// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextCharFormat>

class QTextEdit;

/// The selection attributes of a rich-text control: the character format at the caret (or of
/// the selection), read with the document's defaults filled in, and changes merged into the
/// selection (or into the format of the next typed text when nothing is selected).
namespace struktur::selection {

/// The character format of the first selected character, or the format at the caret.
QTextCharFormat format(const QTextEdit& edit);
QFont font(const QTextEdit& edit);
/// Sizes are whole points: kept in twentieths of a point, read back with the remainder dropped.
int pointSize(const QTextEdit& edit);
/// The text colour, with "no colour set" resolved to the control's text colour.
QColor color(const QTextEdit& edit);

/// Every character-format change goes through here.
void merge(QTextEdit& edit, const QTextCharFormat& format);
void setFaceName(QTextEdit& edit, const QString& faceName);
void setPointSize(QTextEdit& edit, int points);
void setColor(QTextEdit& edit, const QColor& color);

/// True when the caret's paragraph is a bulleted list item.
bool hasBullets(const QTextEdit& edit);
/// Bullets off for the selected paragraphs when the caret's paragraph has them, else on.
void toggleBullets(QTextEdit& edit);

} // namespace struktur::selection
