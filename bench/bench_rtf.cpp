// SPDX-License-Identifier: GPL-3.0-or-later
// RTF throughput on generated rich-edit-style documents of 1, 10 and 50 MB: the reader alone (its
// plain text streamed to nowhere), reader to a plain-text string, reader into a QTextDocument,
// writer; and unrtf (when installed) on the same files as the peer.
// --write FOLDER keeps what the writer produced; --size MB runs that one size; --write-sample FILE
// writes the generated document of that size (default 10 MB) and exits.
#include "GeneratedRtf.h"
#include "rtf/Rtf.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>

#include <cstdio>
#include <ctime>

#include <sys/resource.h>

namespace {

// CPU time, so that other work on a shared machine does not count against us (or the peer).
qint64 cpuNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double childCpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double megabytesPerSecond(qsizetype bytes, qint64 nanoseconds)
{
    return nanoseconds > 0 ? double(bytes) / 1e6 / (double(nanoseconds) / 1e9) : 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir folder;
    // --write FOLDER keeps what the writer produced (rtf-N.rtf per size), to compare across changes.
    QString writeFolder;
    const QStringList arguments = app.arguments();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--write")); at >= 0 && at + 1 < arguments.size())
        writeFolder = arguments[at + 1];
    // --size MB runs that one size (for profiling) instead of 1, 10 and 50 MB.
    QList<qsizetype> sizes { 1, 10, 50 };
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--size")); at >= 0 && at + 1 < arguments.size())
        sizes = { qMax<qsizetype>(1, arguments[at + 1].toLongLong()) };
    // --write-sample FILE: the generated document alone, for whole-process timing from outside.
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--write-sample")); at >= 0 && at + 1 < arguments.size()) {
        const QByteArray rtf = bench::generateRtf(sizes.size() == 1 ? sizes[0] * 1000 * 1000 : 10 * 1000 * 1000);
        QFile out(arguments[at + 1]);
        return out.open(QIODevice::WriteOnly) && out.write(rtf) == rtf.size() ? 0 : 2;
    }
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    std::printf("budgets: reader >= 250 MB/s, 10 MB into a document <= 1 s, writer >= 100 MB/s\n");
    std::printf("(CPU time of this process; unrtf's CPU time as the peer)\n");
    std::printf("%8s %12s %14s %14s %14s %14s %16s\n", "size", "reader MB/s", "plain MB/s", "document s", "writer MB/s", "written MB",
        "unrtf --text s");
    for (const qsizetype megabytes : sizes) {
        const QByteArray rtf = bench::generateRtf(megabytes * 1000 * 1000);
        qint64 start = cpuNanoseconds();
        qsizetype streamed = 0;
        struktur::rtf::plainText(rtf, [&streamed](QStringView piece) { streamed += piece.size(); });
        const qint64 readerNs = cpuNanoseconds() - start;

        start = cpuNanoseconds();
        const QString text = struktur::rtf::plainText(rtf);
        const qint64 plainNs = cpuNanoseconds() - start;

        QTextDocument document;
        start = cpuNanoseconds();
        struktur::rtf::read(rtf, document);
        const qint64 documentNs = cpuNanoseconds() - start;

        start = cpuNanoseconds();
        const QByteArray written = struktur::rtf::write(document);
        const qint64 writeNs = cpuNanoseconds() - start;
        if (!writeFolder.isEmpty()) {
            QFile out(QDir(writeFolder).filePath(QStringLiteral("rtf-%1.rtf").arg(megabytes)));
            if (!out.open(QIODevice::WriteOnly) || out.write(written) != written.size())
                return 2;
        }

        double peerSeconds = -1;
        if (!unrtf.isEmpty()) {
            const QString path = folder.filePath(QStringLiteral("bench-%1.rtf").arg(megabytes));
            QFile file(path);
            if (file.open(QIODevice::WriteOnly) && file.write(rtf) == rtf.size()) {
                file.close();
                QProcess peer;
                peer.setStandardOutputFile(QProcess::nullDevice());
                peer.setStandardErrorFile(QProcess::nullDevice());
                const double before = childCpuSeconds();
                peer.start(unrtf, { QStringLiteral("--text"), path });
                if (peer.waitForFinished(600000))
                    peerSeconds = childCpuSeconds() - before;
            }
        }
        std::printf("%6lld MB %12.1f %14.1f %14.3f %14.1f %14.1f %16.3f\n", static_cast<long long>(megabytes),
            megabytesPerSecond(rtf.size(), readerNs), megabytesPerSecond(rtf.size(), plainNs), double(documentNs) / 1e9,
            megabytesPerSecond(written.size(), writeNs), double(written.size()) / 1e6, peerSeconds);
        if (text.isEmpty() || streamed != text.size() || document.isEmpty())
            return 1;
    }
    return 0;
}
