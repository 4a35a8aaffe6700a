// SPDX-License-Identifier: GPL-3.0-or-later
// Search: a caption query over a 1,000,000-element structure; reading 10,000 documents of about
// 10 kB into the text cache on two threads; then a query over captions and documents.
// --keep FOLDER writes the structure, data file and documents there (for timing `struktur find`).
#include "model/ElementTree.h"
#include "model/StructureStorage.h"
#include "search/DocumentTextCache.h"
#include "search/StructureSearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace struktur;
using namespace struktur::search;

namespace {

const char* const words[]
    = { "struktur", "element", "dokument", "tekst", "afsnit", "mappe", "side", "liste", "tabel", "billede", "og",
          "i", "på", "med", "til", "rød", "blåbær", "pumpe", "motor", "filter", "kabel", "relæ" };

QString caption(QRandomGenerator& random)
{
    QString text;
    const int count = 2 + int(random.bounded(4));
    for (int i = 0; i < count; ++i) {
        if (i)
            text += u' ';
        text += QString::fromUtf8(words[random.bounded(int(std::size(words)))]);
    }
    return text;
}

/// About `size` bytes of rich-edit-style RTF, formatting runs inside the paragraphs.
QByteArray document(QRandomGenerator& random, qsizetype size)
{
    static const char* rtfWords[] = { "struktur", "element", "dokument", "tekst", "afsnit", "mappe", "side",
        "liste", "tabel", "billede", "og", "i", "p\\'e5", "med", "til", "r\\'f8d", "bl\\'e5b\\'e6r", "pumpe",
        "motor", "filter" };
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}\r\n"
                     "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    while (out.size() < size) {
        const quint32 pick = random.bounded(100);
        const char* word = rtfWords[random.bounded(int(std::size(rtfWords)))];
        if (pick < 5)
            out += QByteArray("\\b ") + word + "\\b0 ";
        else if (pick < 7)
            out += "\\par\r\n";
        else
            out += QByteArray(word) + ' ';
    }
    return out + "\\par\r\n}\r\n";
}

// CPU time of this thread, so that other work on a shared machine does not count against us.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Timing {
    double wallMs;
    double cpuMs;
};

/// The medians of `runs` timings of `work`, wall and CPU, in milliseconds.
template <typename Work> Timing median(int runs, Work work)
{
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpu = threadCpuMs();
        work();
        cpus.push_back(threadCpuMs() - cpu);
        walls.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return { walls[walls.size() / 2], cpus[cpus.size() / 2] };
}

void captionQueries()
{
    QRandomGenerator random(7);
    ElementTree tree;
    Element* parent = tree.root();
    for (int i = 0; i < 1'000'000; ++i) {
        if (i % 1000 == 0)
            parent = tree.append(tree.root(), caption(random));
        tree.append(parent, caption(random));
    }
    // A word that is rare, one that is everywhere, and a Danish one that needs case folding.
    for (const char* query : { "xyzzy", "MOTOR", "BLÅBÆR" }) {
        const TextMatcher matcher(QString::fromUtf8(query), CaseSensitivity::Insensitive);
        size_t hits = 0;
        const Timing timing = median(7, [&] { hits = searchTree(tree, matcher).size(); });
        std::printf("captions of %lld elements, \"%s\": %.1f ms wall, %.1f ms CPU, %zu hits (budget 50 ms)\n",
            static_cast<long long>(tree.size()), query, timing.wallMs, timing.cpuMs, hits);
    }
}

void documentQueries(const QString& folder)
{
    QRandomGenerator random(11);
    ElementTree tree;
    QDir().mkpath(folder + QStringLiteral("/dokumenter"));
    qint64 bytes = 0;
    for (int i = 0; i < 10'000; ++i) {
        Element* element = tree.append(tree.root(), caption(random));
        element->hasData = true;
        element->data = QStringLiteral("0dokument%1").arg(i);
        QFile file(documentFilePath(folder + QStringLiteral("/dokumenter"), element));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(file.fileName()));
        const QByteArray rtf = document(random, 10'000);
        bytes += rtf.size();
        file.write(rtf);
    }
    saveStructure(tree, folder + QStringLiteral("/struktur.txt"), folder + QStringLiteral("/data.txt"), true);

    const QString documents = folder + QStringLiteral("/dokumenter");
    const QStringList paths = documentFilePaths(documents, tree);
    DocumentTextCache cache;
    QElapsedTimer timer;
    timer.start();
    cache.refresh(paths, 2);
    std::printf("read and cached %lld documents, %.1f MB of RTF, on 2 threads: %.0f ms (budget 2000 ms)\n",
        static_cast<long long>(paths.size()), double(bytes) / 1e6, double(timer.nsecsElapsed()) / 1e6);
    timer.restart();
    cache.refresh(paths, 2);
    std::printf("looked again at the same documents, none changed: %.0f ms\n", double(timer.nsecsElapsed()) / 1e6);

    const DocumentTextSource source = [&](const Element* element) {
        return cache.cached(documentFilePath(documents, element));
    };
    for (const char* query : { "xyzzy", "BLÅBÆR PUMPE", "motor" }) {
        const TextMatcher matcher(QString::fromUtf8(query), CaseSensitivity::Insensitive);
        size_t hits = 0;
        const Timing timing = median(7, [&] { hits = searchTree(tree, matcher, source).size(); });
        std::printf("captions and documents, \"%s\": %.1f ms wall, %.1f ms CPU, %zu hits (budget 100 ms)\n", query,
            timing.wallMs, timing.cpuMs, hits);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    captionQueries();
    const qsizetype keep = arguments.indexOf(QStringLiteral("--keep"));
    if (keep > 0 && keep + 1 < arguments.size()) {
        documentQueries(arguments[keep + 1]);
        return 0;
    }
    QTemporaryDir folder;
    documentQueries(folder.path());
    return 0;
}
