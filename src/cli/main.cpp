// SPDX-License-Identifier: GPL-3.0-or-later
// struktur: works on structures and documents without the window.
#include "Command.h"

#include "platform/Version.h"

#include <QApplication>
#include <QFileDevice>

#include <cerrno>
#include <cstring>

#include <cstdio>
#include <map>
#include <memory>
#include <optional>

namespace struktur::cli {
namespace {

struct Entry {
    const char* usage;
    CommandFunction function;
    Needs needs;
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

void printUsage(QTextStream& stream)
{
    stream << "Brug: struktur KOMMANDO ...\n";
    for (const auto& [name, entry] : commands())
        stream << "  struktur " << entry.usage << '\n';
}

/// Answers --help and --version in place of a subcommand, before any application object
/// exists; returns the exit code, or nothing for every other first argument.
std::optional<int> answerOption(int argc, char** argv)
{
    if (argc < 2)
        return std::nullopt;
    const QByteArrayView option(argv[1]);
    QTextStream out(stdout);
    if (option == "--help" || option == "-h") {
        printUsage(out);
        out << "  struktur --help | --version\n"
               "Programmappen er $HOME/Kvarnolt, eller mappen i miljøvariablen KVARNOLT_DIR. Se struktur(1).\n";
    } else if (option == "--version") {
        out << "struktur " << struktur::programVersion() << '\n';
    } else {
        return std::nullopt;
    }
    out.flush();
    return out.status() == QTextStream::Ok && std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

CommandRegistration::CommandRegistration(const char* name, const char* usage, CommandFunction function, Needs needs)
{
    commands()[QString::fromLatin1(name)] = Entry{usage, function, needs};
}

} // namespace struktur::cli

int main(int argc, char** argv)
{
    using namespace struktur::cli;
    if (const std::optional<int> answered = answerOption(argc, argv))
        return *answered;
    qtHandler = qInstallMessageHandler(filterQtMessages);
    auto found = argc < 2 ? commands().end() : commands().find(QString::fromLocal8Bit(argv[1]));
    const bool gui = found == commands().end() || found->second.needs == Needs::Gui;
    // Without a display the GUI application runs offscreen.
    if (gui && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app
        = gui ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Qt's own options (-platform …) may stand before the subcommand; the GUI application took them.
    if (found == commands().end())
        found = commands().find(QCoreApplication::arguments().value(1));
    if (found == commands().end()) {
        printUsage(err);
        return 2;
    }
    const QStringList arguments = QCoreApplication::arguments().mid(2);
    const int status = found->second.function(arguments, out, err);
    // What the command printed counts only when it reached its target: a full disk must not end
    // in success. A write straight to the device may have failed already, and what the device
    // still holds is written only by flushing it (which would also clear that earlier error).
    auto* device = qobject_cast<QFileDevice*>(out.device());
    QString reason;
    if (device && device->error() != QFileDevice::NoError)
        reason = device->errorString();
    out.flush();
    if (reason.isEmpty() && device && !device->flush())
        reason = device->errorString();
    errno = 0;
    if (reason.isEmpty() && (out.status() != QTextStream::Ok || std::fflush(stdout) != 0 || std::ferror(stdout)))
        reason = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QStringLiteral("Unknown error");
    if (!reason.isEmpty()) {
        err << "Cannot write to standard output. " << reason << '\n';
        return 2;
    }
    return status;
}
