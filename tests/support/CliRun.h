// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <utility>

namespace struktur::test {

struct CliRun {
    int exitCode = -1; ///< -1 when the program crashed, was killed or did not end in time
    QString out;
    QString err;
};

struct CliOptions {
    /// A command (such as one that changes the user) that runs the program.
    QStringList prefix;
    QString workingDirectory;
    /// Standard output goes to this file instead of `CliRun::out`.
    QString outputFile;
    /// Variables to set; a null value removes the variable.
    QList<std::pair<QString, QString>> environment;
    int timeoutMs = 60000;
    /// Leaves out Qt's remark on a runtime folder that another user owns, for a program run as
    /// another user; it is no output of the program.
    bool ignoreRuntimeRemarks = false;
};

/// The variables that leave a program without any display.
inline QList<std::pair<QString, QString>> withoutDisplay()
{
    return { { u"DISPLAY"_qs, QString() }, { u"WAYLAND_DISPLAY"_qs, QString() }, { u"QT_QPA_PLATFORM"_qs, QString() } };
}

/// Prepares `process` to run `program` with `arguments`: offscreen, Qt's platform remarks off,
/// and a private runtime folder so that Qt does not remark on a missing one.
inline void prepareProgram(QProcess& process, const QString& program, const QStringList& arguments, const CliOptions& options = {})
{
    static const QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_RUNTIME_DIR"_qs, runtime.path());
    environment.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    environment.insert(u"QT_LOGGING_RULES"_qs, u"qt.qpa.*=false"_qs);
    for (const auto& [name, value] : options.environment) {
        if (value.isNull())
            environment.remove(name);
        else
            environment.insert(name, value);
    }
    process.setProcessEnvironment(environment);
    if (!options.workingDirectory.isEmpty())
        process.setWorkingDirectory(options.workingDirectory);
    if (!options.outputFile.isEmpty())
        process.setStandardOutputFile(options.outputFile);
    if (options.prefix.isEmpty()) {
        process.setProgram(program);
        process.setArguments(arguments);
        return;
    }
    process.setProgram(options.prefix.first());
    process.setArguments(options.prefix.mid(1) + QStringList { program } + arguments);
}

inline CliRun runProgram(const QString& program, const QStringList& arguments, const CliOptions& options = {})
{
    QProcess process;
    prepareProgram(process, program, arguments, options);
    process.start();
    CliRun result;
    if (!process.waitForFinished(options.timeoutMs))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    if (options.ignoreRuntimeRemarks) {
        QStringList lines = result.err.split(u'\n');
        lines.removeIf([](const QString& line) { return line.startsWith(u"QStandardPaths: "_qs); });
        result.err = lines.join(u'\n');
    }
    return result;
}

#ifdef STRUKTUR_CLI
inline void prepareCli(QProcess& process, const QStringList& arguments, const CliOptions& options = {})
{
    prepareProgram(process, QStringLiteral(STRUKTUR_CLI), arguments, options);
}

/// Runs the command-line tool.
inline CliRun runCli(const QStringList& arguments, const CliOptions& options = {})
{
    return runProgram(QStringLiteral(STRUKTUR_CLI), arguments, options);
}
#endif

} // namespace struktur::test
