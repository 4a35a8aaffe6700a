// SPDX-License-Identifier: GPL-3.0-or-later
// Times loading, saving and sorting generated structures of 10k, 100k and 1M elements against
// the budgets, beside `wc -l` and a plain read of the same file as the floor.
#include "model/ElementModel.h"
#include "model/ElementOrder.h"
#include "model/StructureFile.h"
#include "model/StructureStorage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace struktur;

namespace {

enum class Shape { Nested, Flat };

/// Writes a structure of `count` elements: with Nested, groups of about a hundred siblings on
/// three levels (a large help structure); with Flat, every element at the top level (the worst
/// case for sorting). Texts vary in case and use Danish letters.
void generate(const QString& structurePath, const QString& dataPath, int count, Shape shape)
{
    QByteArray structure;
    QByteArray data;
    structure.reserve(qsizetype(count) * 32);
    data.reserve(qsizetype(count) * 16);
    static const char* const words[] = { "Kapitel", "afsnit", "Bilag", "\xC6" "ble", "\xF8" "l", "\xC5" "en", "oversigt", "Indledning" };
    quint32 seed = 12345;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        // Each top-level element has 100 children with 100 children each.
        const int place = i % 10101;
        const int level = shape == Shape::Flat || place == 0 ? 0 : ((place - 1) % 101 == 0 ? 1 : 2);
        structure.append(level, '\t');
        structure += words[(seed >> 16) % 8];
        structure += ' ';
        structure += QByteArray::number((seed >> 8) % 100000);
        structure += "\r\n";
        data += QByteArray::number(i % 9);
        data += "dokument";
        data += QByteArray::number(i);
        data += "\r\n";
    }
    for (const auto& [path, bytes] : { std::pair { structurePath, structure }, std::pair { dataPath, data } }) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }
}

double seconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

/// The peak resident size in MB since the last reset.
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double wcSeconds(const QString& path)
{
    return seconds([&] {
        QProcess wc;
        wc.start(QStringLiteral("wc"), { QStringLiteral("-l"), path });
        wc.waitForFinished();
    });
}

double readSeconds(const QString& path)
{
    return seconds([&] {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            (void)file.readAll().size();
    });
}

void measure(const QTemporaryDir& dir, int count, Shape shape)
{
    const QString structurePath = dir.filePath(QStringLiteral("struktur-%1.txt").arg(count));
    const QString dataPath = dir.filePath(QStringLiteral("data-%1.txt").arg(count));
    generate(structurePath, dataPath, count, shape);
    const double floorWc = wcSeconds(structurePath) + wcSeconds(dataPath);
    const double floorRead = readSeconds(structurePath) + readSeconds(dataPath);

    resetPeak();
    ElementModel model;
    const double load = seconds([&] {
        model.rebuild([&](ElementTree& tree) { loadStructure(tree, structurePath, dataPath, true); });
    });
    const double loadPeak = peakMegabytes();
    resetPeak();
    const double resident = peakMegabytes();
    const double save = seconds([&] { saveStructure(model.tree(), structurePath, dataPath, true); });
    const double savePeak = peakMegabytes();
    const double encode = seconds([&] {
        (void)structurefile::structureBytes(model.tree()).size();
        (void)structurefile::dataBytes(model.tree()).size();
    });
    resetPeak();
    const ElementOrder order;
    const double sort = seconds([&] { model.sortElements(order); });
    const double sortPeak = peakMegabytes();
    const double peak = std::max({ loadPeak, savePeak, sortPeak });
    std::printf("  (resident after load %.1f MB; peaks: load %.1f, save %.1f, sort %.1f MB; encoding alone %.3f s)\n",
        resident, loadPeak, savePeak, sortPeak, encode);
    const bool million = count >= 1000000;
    std::printf("%-7s %8d  load %6.3f s%s  save %6.3f s%s  sort %6.3f s%s  peak %6.1f MB%s  wc -l %6.3f s  read %6.3f s\n",
        shape == Shape::Flat ? "flat" : "nested", int(model.tree().size()), load,
        million ? (load <= 1.0 ? " (ok)" : " (OVER 1.0)") : "", save, million ? (save <= 0.5 ? " (ok)" : " (OVER 0.5)") : "",
        sort, million ? (sort <= 2.0 ? " (ok)" : " (OVER 2.0)") : "", peak,
        million ? (peak <= 300 ? " (ok)" : " (OVER 300)") : "", floorWc, floorRead);
    QFile::remove(structurePath);
    QFile::remove(dataPath);
}

/// `--write FOLDER [COUNT] [nested|flat]` writes one generated structure as FOLDER/struktur.txt and
/// FOLDER/data.txt and measures nothing, for the whole-process and window benchmarks.
int writeOnly(const QStringList& arguments)
{
    const QString folder = arguments.value(0);
    bool valid = !folder.isEmpty();
    const int count = arguments.size() > 1 ? arguments[1].toInt(&valid) : 1000000;
    const QString shape = arguments.value(2, QStringLiteral("nested"));
    if (!valid || count < 0 || (shape != QLatin1String("nested") && shape != QLatin1String("flat"))) {
        std::fprintf(stderr, "usage: bench_structure --write FOLDER [COUNT] [nested|flat]\n");
        return 2;
    }
    generate(folder + QStringLiteral("/struktur.txt"), folder + QStringLiteral("/data.txt"), count,
        shape == QLatin1String("flat") ? Shape::Flat : Shape::Nested);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.value(0) == QLatin1String("--write"))
        return writeOnly(arguments.mid(1));
    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("no temporary folder");
    std::printf("structure + data file, locale %s; budgets at 1M: load 1.0 s, save 0.5 s, sort 2 s, peak 300 MB\n",
        qPrintable(ElementOrder().locale().name()));
    for (const int count : { 10000, 100000, 1000000 })
        measure(dir, count, Shape::Nested);
    if (argc < 2 || qstrcmp(argv[1], "--nested-only") != 0)
        measure(dir, 1000000, Shape::Flat);
    return 0;
}
