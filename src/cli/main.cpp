// SPDX-License-Identifier: GPL-3.0-or-later
// struktur: works on structures and documents without the window.
#include "Command.h"

#include <QApplication>

#include <map>

namespace struktur::cli {
namespace {

struct Entry {
    const char* usage;
    CommandFunction function;
};

std::map<QString, Entry>& commands()
{
    static std::map<QString, Entry> table;
    return table;
}

QtMessageHandler qtHandler = nullptr;

/// Qt reports from its own start-up that a runtime folder is missing when no desktop session
/// runs; that says nothing about the command, so only the tool's own messages reach the user.
void filterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("QStandardPaths: ")))
        return;
    if (qtHandler)
        qtHandler(type, context, message);
}

} // namespace

CommandRegistration::CommandRegistration(const char* name, const char* usage, CommandFunction function)
{
    commands()[QString::fromLatin1(name)] = Entry{usage, function};
}

} // namespace struktur::cli

int main(int argc, char** argv)
{
    using namespace struktur::cli;
    // Printing and rich text need a GUI application; without a display it runs offscreen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(filterQtMessages);
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const auto found = arguments.isEmpty() ? commands().end() : commands().find(arguments.first());
    if (found == commands().end()) {
        err << "Brug: struktur KOMMANDO ...\n";
        for (const auto& [name, entry] : commands())
            err << "  struktur " << entry.usage << '\n';
        return 2;
    }
    arguments.removeFirst();
    return found->second.function(arguments, out, err);
}
