// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QTextStream>

namespace struktur::cli {

/// One subcommand of `struktur`: returns the process's exit code.
using CommandFunction = int (*)(const QStringList& arguments, QTextStream& out, QTextStream& err);

/// Registers a subcommand at static-initialisation time; each cmd_*.cpp file holds one or more.
struct CommandRegistration {
    CommandRegistration(const char* name, const char* usage, CommandFunction function);
};

} // namespace struktur::cli
