// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <optional>

namespace struktur {

/// The text the program prints for --help (or -h) and --version among `arguments` (without
/// the program's own name), or nothing when it should start its windows as usual. It needs no
/// application object, so it is asked before one that needs a display exists; every other
/// argument is left to Qt, as before.
std::optional<QString> commandLineAnswer(const QStringList& arguments);

} // namespace struktur
