// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace struktur {

class Error;

/// The program's one error display: a box captioned with the executable's name, a stop icon and
/// OK, showing the message with a full stop appended when its last character's code is above
/// that of the full stop. The program then goes on.
void showError(const QString& message);
void showError(const Error& error);

/// The text the error box shows for a message (the full-stop rule).
QString errorBoxText(const QString& message);

/// The error box caption: the executable's file name without extension.
QString applicationTitle();

} // namespace struktur
