// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTextListFormat>

namespace struktur::rtf {

/// The number `n` in a list's numbering style: 3, c, C, iii or III.
QString itemNumber(QTextListFormat::Style style, int n);

/// The label a reader sees before a list item: a bullet, or the number with its prefix and suffix.
QString listLabel(QTextListFormat::Style style, int number, const QString& prefix, const QString& suffix);

} // namespace struktur::rtf
