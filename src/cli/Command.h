// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QTextStream>

namespace struktur::cli {

/// One subcommand of `struktur`: returns the process's exit code.
using CommandFunction = int (*)(const QStringList& arguments, QTextStream& out, QTextStream& err);

/// What a subcommand needs of Qt. Text, files and structures need only the core; laying out
/// rich text, drawing and printing need the GUI application, whose start costs a third of a
/// short command's time.
enum class Needs { Core, Gui };

/// Registers a subcommand at static-initialisation time; each cmd_*.cpp file holds one or more.
struct CommandRegistration {
    CommandRegistration(const char* name, const char* usage, CommandFunction function, Needs needs = Needs::Gui);
};

/// Writes a text in pieces: a stream holds and encodes what it is given at once, which for a
/// text of a hundred megabytes would be several copies of it.
inline void writeInPieces(QStringView text, QTextStream& out)
{
    constexpr qsizetype piece = 64 * 1024;
    for (qsizetype start = 0; start < text.size(); start += piece)
        out << text.mid(start, piece);
}

} // namespace struktur::cli
