// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace struktur {

/// The copies field's filter: keeps only the digits "0" to "9".
QString IntegerKon(const QString& S);

/// The margin fields' filter: keeps the digits, "," and "." (either is the decimal separator).
QString Floatkon(const QString& S);

/// Converts a margin text to a number: optional blanks, an optional sign, digits with at most one
/// decimal separator ("," or "." whatever the locale), an optional exponent, optional blanks. A
/// lone separator is 0. Throws "'%s' is not a valid floating point value" for anything else,
/// including a value beyond the range of long double.
long double marginValue(const QString& text);

/// Converts the copies text (digits, leading zeros allowed) to a 32-bit integer. Throws
/// "'%s' is not a valid integer value" when it is not one or does not fit.
qint32 copiesValue(const QString& text);

} // namespace struktur
