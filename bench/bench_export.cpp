// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing a large structure: 10,000 elements with a 5 kB document each, as a help site and as
// a PDF book. Writes the structure into a folder (kept when given, so that the command-line tool
// can be timed on it) and times both exports in this process.
#include "export/SiteWriter.h"
#include "model/StructureStorage.h"
#include "printing/PdfBook.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

using namespace struktur;

namespace {

const char* const words[] = { "struktur", "element", "dokument", "bog", "kapitel", "afsnit", "tekst", "æble", "øre",
    "år", "hjælp", "side", "mappe", "fil", "gem", "indsæt", "rediger", "slet", "træ", "læser", "forfatter", "værktøj",
    "udskrift", "søgning", "overskrift", "tabel", "liste", "billede" };

QByteArray rtfWord(const char* word)
{
    QByteArray out;
    for (const QChar c : QString::fromUtf8(word)) {
        if (c.unicode() < 0x80)
            out += char(c.unicode());
        else
            out += "\\'" + QByteArray::number(c.unicode(), 16);
    }
    return out;
}

/// An RTF document of about `size` bytes: paragraphs of words, some bold or italic.
QByteArray document(int number, int size)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\pard\\f0\\fs20 ";
    quint32 state = quint32(number) * 2654435761u + 1;
    int inParagraph = 0;
    while (rtf.size() < size) {
        state = state * 1664525u + 1013904223u;
        const QByteArray word = rtfWord(words[(state >> 8) % (sizeof words / sizeof *words)]);
        if ((state >> 20) % 17 == 0)
            rtf += "\\b " + word + "\\b0  ";
        else if ((state >> 20) % 19 == 0)
            rtf += "\\i " + word + "\\i0  ";
        else
            rtf += word + ' ';
        if (++inParagraph > 60 + int((state >> 4) % 40)) {
            rtf += "\\par ";
            inParagraph = 0;
        }
    }
    return rtf + "\\par}";
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const QString documents = folder + QStringLiteral("/dokumenter");
    QDir().mkpath(documents);

    // 100 chapters of 99 sections each: 10,000 elements, each with its document.
    ElementTree tree;
    int number = 0;
    const auto add = [&](Element* parent, const QString& text) {
        Element* element = tree.append(parent, text);
        element->data = QStringLiteral("2dokument%1").arg(number);
        element->hasData = true;
        element->icon = 2;
        write(documents + QStringLiteral("/dokument%1.rtf").arg(number), document(number, 5000));
        ++number;
        return element;
    };
    for (int chapter = 0; chapter < 100; ++chapter) {
        Element* parent = add(tree.root(), QStringLiteral("Kapitel %1 om æbler").arg(chapter + 1));
        for (int section = 0; section < 99; ++section)
            add(parent, QStringLiteral("Afsnit %1.%2").arg(chapter + 1).arg(section + 1));
    }
    saveStructure(tree, folder + QStringLiteral("/struktur.txt"), folder + QStringLiteral("/data.txt"), true);
    std::printf("structure: %lld elements, documents of 5 kB in %s\n", qlonglong(tree.size()), qPrintable(documents));

    const publish::Publication publication(tree, documents, QStringLiteral("Ydelsesprøve"));
    QElapsedTimer timer;
    double cpu = cpuSeconds();
    timer.start();
    publish::exportSite(publication, folder + QStringLiteral("/side"), publish::Replace::Yes);
    std::printf("html site: %.2f s wall, %.2f s CPU (budget 5 s for the whole process)\n", timer.elapsed() / 1000.0,
        cpuSeconds() - cpu);
    cpu = cpuSeconds();
    timer.start();
    publish::exportBook(
        publication, folder + QStringLiteral("/bog.pdf"), publish::Replace::Yes, publish::defaultBookMargins());
    std::printf("pdf book: %.2f s wall, %.2f s CPU (budget 10 s for the whole process)\n", timer.elapsed() / 1000.0,
        cpuSeconds() - cpu);
    return 0;
}
