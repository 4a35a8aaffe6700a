// SPDX-License-Identifier: GPL-3.0-or-later
// How long spell checking holds the window. A document of Danish text with misspelt words (about
// 10 MB of characters by default) is shown in a rich-text control of 600 x 600 pixels; then, with
// the underlining switched on, a zero-interval timer stands for the user's input: the longest gap
// between its ticks is the longest time the window did not answer. Also timed: checking the
// visible page, and the whole document.
//
//   QT_QPA_PLATFORM=offscreen bench_spelling [MEGABYTES]
#include "editor/SpellHighlighter.h"
#include "spelling/Speller.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// The main thread's CPU time: on a loaded machine the wall clock also counts other programs.
qint64 threadCpuNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

QString danishText(qsizetype characters)
{
    static const char16_t* const words[] = { u"huset", u"ventilen", u"skal", u"efterses", u"hvert", u"år", u"og",
        u"pumpen", u"har", u"en", u"motor", u"i", u"bunden", u"vedligeholdelse", u"af", u"blåbær", u"søen",
        u"husset", u"ventillen", u"efterces", u"pumppen", u"xqzvkw" };
    constexpr int count = int(std::size(words));
    QString text;
    text.reserve(characters + 200);
    unsigned state = 12345;
    int inParagraph = 0;
    while (text.size() < characters) {
        state = state * 1103515245u + 12345u;
        text += QStringView(words[(state >> 16) % count]);
        if (++inParagraph == 80) {
            text += u".\n";
            inParagraph = 0;
        } else {
            text += u' ';
        }
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 10.0;
    const QString base = struktur::spelling::findDanishDictionary();
    if (base.isEmpty()) {
        std::fprintf(stderr, "bench_spelling: no Danish dictionary (hunspell-da)\n");
        return 1;
    }
    struktur::spelling::Speller speller(base);

    QTextEdit edit;
    edit.resize(600, 600);
    edit.setPlainText(danishText(qsizetype(megabytes * 1e6)));
    edit.show();
    app.processEvents();
    // The control lays a long document out in steps from the event loop; that is the opening's
    // cost, not checking's, so it is finished here first.
    (void)edit.document()->documentLayout()->blockBoundingRect(edit.document()->lastBlock());
    app.processEvents();

    struktur::SpellHighlighter highlighter(&edit);
    highlighter.setSpeller(&speller);

    const QTextBlock first = edit.document()->firstBlock();
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    qint64 firstPageDone = -1;
    int longGaps = 0;
    qint64 lastCpuTick = threadCpuNanoseconds();
    qint64 longestCpuGap = 0;
    QTimer input;
    input.setInterval(0);
    QObject::connect(&input, &QTimer::timeout, &app, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastTick);
        if (now - lastTick > 50'000'000)
            ++longGaps;
        const qint64 cpuNow = threadCpuNanoseconds();
        longestCpuGap = std::max(longestCpuGap, cpuNow - lastCpuTick);
        lastCpuTick = cpuNow;
        lastTick = now;
        if (firstPageDone < 0 && !highlighter.underlined(first).isEmpty())
            firstPageDone = now;
        if (!highlighter.isBusy())
            app.quit();
    });
    clock.start();
    highlighter.setEnabled(true);
    input.start();
    app.exec();
    const qint64 total = clock.nsecsElapsed();

    std::printf("document: %.1f MB of text, %d paragraphs\n", megabytes, edit.document()->blockCount());
    std::printf("first page underlined after: %.1f ms\n", firstPageDone / 1e6);
    std::printf("whole document checked in: %.2f s\n", total / 1e9);
    std::printf("longest time the window did not answer: %.1f ms (budget 50 ms); %d times over 50 ms\n", longestGap / 1e6, longGaps);
    std::printf("longest work between two inputs: %.1f ms of CPU time\n", longestCpuGap / 1e6);
    return 0;
}
