// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the main window on its structure page with the search bar open and results for
// "ventil" from captions and documents, into a PNG file:
//   search_screenshot <output.png> [width height]
#include "app/Instances.h"
#include "app/Tmainform.h"
#include "elements/SearchBar.h"
#include "elements/StructurePage.h"
#include "model/TStruktur.h"
#include "ui/Application.h"
#include "ui/VisualStyle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

int main(int argc, char** argv)
{
    using namespace struktur;
    Application app(argc, argv);
    if (argc < 2) {
        qWarning("usage: search_screenshot <output.png> [width height]");
        return 2;
    }
    // The folder chooser moves the working folder when it is created.
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QTemporaryDir scratch;
    qputenv("KVARNOLT_DIR", scratch.filePath(QStringLiteral("Kvarnolt")).toUtf8());
    applyVisualStyle(app);
    createWindows();

    const QString folder = scratch.filePath(QStringLiteral("Pumpestation/"));
    QDir().mkpath(folder + QStringLiteral("tekstfiler"));
    // Windows-1252 bytes, as the structure files are stored.
    writeFile(folder + QStringLiteral("struktur.txt"),
        "Pumpestation\r\n\tSikkerhed\r\n\t\tF\xF8r arbejdet\r\n\t\tAdvarsler\r\n\tVedligeholdelse\r\n"
        "\t\tVentiler\r\n\t\t\tUdskiftning af pakninger\r\n\t\t\tTrykpr\xF8vning\r\n\t\tPumper\r\n"
        "\t\tM\xE5leudstyr\r\n\tOfte stillede sp\xF8rgsm\xE5l\r\nBilag\r\n\tTegninger\r\n");
    writeFile(folder + QStringLiteral("data.txt"),
        "8pumpestation\r\n1sikkerhed\r\n4dokument2\r\n6advarsler\r\n0vedligehold\r\n8ventiler\r\n"
        "2pakninger\r\n2trykproeve\r\n3pumper\r\n3maaleudstyr\r\n5spoergsmaal\r\n8bilag\r\n7tegninger\r\n");
    writeFile(
        folder + QStringLiteral("tekstfiler/ventiler.rtf"), "{\\rtf1\\ansi Ventilerne efterses hvert kvartal.\\par}");
    writeFile(folder + QStringLiteral("tekstfiler/pumper.rtf"),
        "{\\rtf1\\ansi Pumpen har en kontra{\\b ventil} i bunden, som skal renses efter hver s\\'e6son.\\par}");
    writeFile(folder + QStringLiteral("tekstfiler/advarsler.rtf"),
        "{\\rtf1\\ansi Luk altid for hoved{\\i ventilen} f\\'f8r et filter skiftes.\\par}");

    TStruktur* tree = mainform->Struktur;
    tree->setStrukturfile(folder + QStringLiteral("struktur.txt"));
    tree->setDatafile(folder + QStringLiteral("data.txt"));
    tree->setInfomappe(folder + QStringLiteral("tekstfiler/"));
    tree->HentStruktur();
    tree->FullExpand();
    mainform->bog->setCurrentWidget(mainform->side2);
    mainform->structurePage->setInfoLabel(QStringLiteral("Strukturnavn: Pumpestation.txt"));
    const int width = argc > 3 ? QByteArray(argv[2]).toInt() : 760;
    const int height = argc > 3 ? QByteArray(argv[3]).toInt() : 600;
    mainform->resize(width, height);
    mainform->show();
    QCoreApplication::processEvents();

    mainform->structurePage->findChild<QAction*>(QStringLiteral("Asoeg"))->trigger();
    auto* bar = mainform->structurePage->findChild<SearchBar*>();
    QTest::keyClicks(mainform->structurePage->findChild<QLineEdit*>(QStringLiteral("soegEdit")), QStringLiteral("ventil"));
    QTest::qWait(300);
    for (int i = 0; i < 100 && (bar->isSearchPending() || bar->isReadingDocuments()); ++i)
        QTest::qWait(20);
    bar->nextResult();
    bar->nextResult();
    mainform->structurePage->updateActions();
    QCoreApplication::processEvents();
    const bool saved = mainform->grab().save(output);
    destroyWindows();
    return saved ? 0 : 1;
}
