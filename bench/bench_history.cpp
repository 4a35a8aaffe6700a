// SPDX-License-Identifier: GPL-3.0-or-later
// Times undoing and redoing the sort of a structure of a million elements, and the memory its
// step keeps, against the budgets (each at most 0.3 s and 20 MB).
#include "model/ElementModel.h"
#include "model/ElementOrder.h"
#include "model/StructureDocument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <ctime>
#include <functional>

using namespace struktur;

namespace {

enum class Shape { Nested, Flat };

/// A tree of `count` elements: groups of a hundred siblings on three levels, or all at the top.
void build(ElementTree& tree, int count, Shape shape)
{
    static const char* const words[] = { "Kapitel", "afsnit", "Bilag", "Æble", "øl", "Åen", "oversigt", "Indledning" };
    quint32 seed = 12345;
    Element* levels[3] = { tree.root(), nullptr, nullptr };
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int place = i % 10101;
        const int level = shape == Shape::Flat || place == 0 ? 0 : ((place - 1) % 101 == 0 ? 1 : 2);
        const QString text = QString::fromUtf8(words[(seed >> 16) % 8]) + u' ' + QString::number((seed >> 8) % 100000);
        Element* added = tree.append(level == 0 ? tree.root() : levels[level], text);
        if (level < 2)
            levels[level + 1] = added;
        added->hasData = true;
        added->icon = qint16(i % 9);
        added->data = QString::number(i % 9) + QStringLiteral("dokument") + QString::number(i);
    }
}

/// Wall and CPU seconds of `work`: the machine is shared, so CPU time is the steadier figure.
struct Timing {
    double wall;
    double cpu;
};

double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

Timing seconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    const double cpuStart = cpuSeconds();
    timer.start();
    work();
    return { double(timer.nsecsElapsed()) / 1e9, cpuSeconds() - cpuStart };
}

/// A line of /proc/self/status in MB: VmRSS (resident now) or VmHWM (peak since the last reset).
double statusMegabytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').first().toDouble() / 1024;
    }
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

const char* verdict(double value, double budget) { return value <= budget ? "(ok)" : "(OVER)"; }

void measure(int count, Shape shape)
{
    StructureDocument document;
    document.model()->rebuild([&](ElementTree& tree) { build(tree, count, shape); });
    const double before = statusMegabytes("VmRSS:");
    const Timing sort = seconds([&] { document.sort(); });
    // What the history keeps once the sort's own working memory is given back.
    const double kept = statusMegabytes("VmRSS:") - before;
    resetPeak();
    const double resident = statusMegabytes("VmRSS:");
    const Timing undo = seconds([&] { document.undo(); });
    const double undoExtra = statusMegabytes("VmHWM:") - resident;
    resetPeak();
    const Timing redo = seconds([&] { document.redo(); });
    const double redoExtra = statusMegabytes("VmHWM:") - resident;
    std::printf(
        "%-6s %8d  sort %6.3f s (cpu %5.3f)  undo %6.3f s (cpu %5.3f) %s  redo %6.3f s (cpu %5.3f) %s\n"
        "                 resident after the sort +%5.1f MB  extra while undoing %5.1f MB %s, redoing %5.1f MB %s\n",
        shape == Shape::Flat ? "flat" : "nested", int(document.tree().size()), sort.wall, sort.cpu, undo.wall, undo.cpu,
        verdict(undo.cpu, 0.3), redo.wall, redo.cpu, verdict(redo.cpu, 0.3), kept, undoExtra, verdict(undoExtra, 20),
        redoExtra, verdict(redoExtra, 20));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::printf("undo and redo of a sort; budgets at 1M: each 0.3 s and 20 MB extra\n");
    measure(1000000, Shape::Nested);
    measure(1000000, Shape::Flat);
    return 0;
}
