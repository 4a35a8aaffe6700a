// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace struktur {

/// Converts a decimal integer as the platform's string-to-integer conversion does: leading
/// blanks, an optional sign, decimal digits (or "$"/"0x" and hexadecimal digits), nothing after,
/// within 32 bits. Throws "'%s' is not a valid integer value" otherwise.
int toInteger(const QString& text);

} // namespace struktur
