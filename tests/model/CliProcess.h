// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

namespace struktur::test {

struct CliRun {
    int exitCode = -1; ///< -1 when the tool crashed, was killed or did not end in time
    QString out;
    QString err;
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool putBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

/// Every name in `folder`, hidden ones included.
inline QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

/// Prepares `process` to run the command-line tool, with `prefix` (such as a command that
/// changes the user) before it.
inline void prepareCli(QProcess& process, const QStringList& arguments, const QStringList& prefix = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"XDG_RUNTIME_DIR"_qs);
    environment.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    environment.insert(u"QT_LOGGING_RULES"_qs, u"qt.qpa.*=false"_qs);
    process.setProcessEnvironment(environment);
    if (prefix.isEmpty()) {
        process.setProgram(QStringLiteral(STRUKTUR_CLI));
        process.setArguments(arguments);
        return;
    }
    process.setProgram(prefix.first());
    process.setArguments(prefix.mid(1) + QStringList { QStringLiteral(STRUKTUR_CLI) } + arguments);
}

inline CliRun runCli(const QStringList& arguments, const QStringList& prefix = {})
{
    QProcess process;
    prepareCli(process, arguments, prefix);
    process.start();
    CliRun result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    // Qt's remark on a missing runtime folder is no output of the tool.
    const QStringList errors = QString::fromUtf8(process.readAllStandardError()).split(u'\n');
    for (const QString& line : errors) {
        if (!line.startsWith(u"QStandardPaths: "_qs))
            result.err += line + u'\n';
    }
    result.err.chop(1);
    return result;
}

/// A structure of `count` elements on three levels, as another program might have written it:
/// lines ended by LF alone, so that a save (CR LF) always gives different bytes.
inline QByteArray structureWithLf(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        bytes += QByteArray(i % 3, '\t');
        bytes += "Element \xE6\xF8\xE5 " + QByteArray::number(i) + '\n';
    }
    return bytes;
}

inline QByteArray dataWithLf(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray::number(i % 9) + "dokument" + QByteArray::number(i) + '\n';
    return bytes;
}

/// The same bytes as a save writes them.
inline QByteArray withCrLf(QByteArray bytes) { return bytes.replace("\n", "\r\n"); }

} // namespace struktur::test
