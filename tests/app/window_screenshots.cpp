// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the program's four windows for the documentation, each at 600 x 600 outer pixels
// (the main window's first size and minimum) where it can be resized, and at its minimum size:
//   window_screenshots <folder> [<large structure folder>]
// writes mainform-projects.png, mainform-structure.png, mainform-structure-menu.png (the tree's
// context menu), editform-600.png, editform-minimum.png, mappeform.png and printform.png into
// the folder; with a second folder (struktur.txt and data.txt, e.g. a million elements) also
// mainform-structure-large.png, that structure loaded and fully expanded.
#include "app/Instances.h"
#include "app/Tmainform.h"
#include "editor/TeditForm.h"
#include "elements/StructurePage.h"
#include "folders/FolderListBox.h"
#include "folders/TmappeForm.h"
#include "model/TStruktur.h"
#include "printing/Tprintform.h"
#include "ui/ActionUpdates.h"
#include "ui/Application.h"
#include "ui/HintLine.h"
#include "ui/VisualStyle.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

namespace {

using namespace struktur;

// The outer size the screenshots stand for, and the frame the windows' designed figures assume
// around their client area; under Xvfb without a window manager the client is all there is.
constexpr QSize outer600(600, 600);
constexpr QSize designedFrame(16, 38);

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void registerStructure(const QString& programdir, const QString& name, const QString& folder)
{
    const QString lines = folder + QStringLiteral("/struktur.txt\r\n") + folder + QStringLiteral("/data.txt\r\n")
        + folder + QStringLiteral("/tekstfiler/\r\n");
    writeFile(programdir + QLatin1Char('/') + name + QStringLiteral(".txt"), lines.toLatin1());
}

void writeStructure(const QString& folder)
{
    // Windows-1252 bytes, as the structure files are stored; one line longer than the pane.
    writeFile(folder + QStringLiteral("/struktur.txt"),
        "Pumpestation\r\n\tSikkerhed\r\n\t\tF\xF8r arbejdet\r\n\t\tAdvarsler\r\n\tVedligeholdelse\r\n"
        "\t\tVentiler\r\n\t\t\tUdskiftning af pakninger og kontrol af sp\xE6ndeb\xE5nd\r\n\t\t\tTrykpr\xF8vning\r\n"
        "\t\tPumper\r\n\t\tM\xE5leudstyr\r\n\tOfte stillede sp\xF8rgsm\xE5l\r\nBilag\r\n\tTegninger\r\n");
    writeFile(folder + QStringLiteral("/data.txt"),
        "8pumpestation\r\n1sikkerhed\r\n4dokument2\r\n6advarsler\r\n0vedligehold\r\n8ventiler\r\n"
        "2pakninger\r\n2trykproeve\r\n3pumper\r\n3maaleudstyr\r\n5spoergsmaal\r\n8bilag\r\n7tegninger\r\n");
    writeFile(folder + QStringLiteral("/tekstfiler/ventiler.rtf"),
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}{\\f1 Arial;}}\\f0\\fs20 Ventilerne efterses hvert kvartal.\\par"
        "\\f1\\fs24\\b Tryk\\b0  afl\\'e6ses f\\'f8r og efter.\\par}");
}

bool shoot(QWidget* window, const QString& path)
{
    ActionUpdates::instance().requestUpdate();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    return window->grab().save(path);
}

} // namespace

int main(int argc, char** argv)
{
    Application app(argc, argv);
    if (argc < 2) {
        qWarning("usage: window_screenshots <folder>");
        return 2;
    }
    // The folder chooser moves the working folder when it is created.
    const QDir output(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    QTemporaryDir scratch;
    const QString programdir = scratch.filePath(QStringLiteral("Kvarnolt"));
    const QString structures = scratch.filePath(QStringLiteral("Hjælpetekster"));
    const QString pumps = structures + QStringLiteral("/Pumpestation");
    registerStructure(programdir, QStringLiteral("Pumpestation"), pumps);
    registerStructure(programdir, QStringLiteral("Kundeservice"), structures + QStringLiteral("/Kundeservice"));
    writeStructure(pumps);
    writeFile(structures + QStringLiteral("/Kundeservice/struktur.txt"), "Forside\r\n");
    writeFile(structures + QStringLiteral("/Kundeservice/data.txt"), "0forside\r\n");
    qputenv("KVARNOLT_DIR", programdir.toUtf8());
    applyVisualStyle(app);
    createWindows();
    bool saved = true;

    // The projects page with one structure clicked and the pointer on the folder field.
    mainform->resize(outer600 - designedFrame);
    mainform->show();
    QCoreApplication::processEvents();
    auto* list = mainform->findChild<QListWidget*>(QStringLiteral("strukturboks"));
    const auto rows = list->findItems(QStringLiteral("Pumpestation.txt"), Qt::MatchExactly);
    if (!rows.isEmpty())
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(rows.first()).center());
    auto* folderField = mainform->findChild<QLineEdit*>(QStringLiteral("strukturmappeEdit"));
    QTest::mouseMove(folderField);
    saved = shoot(mainform, output.filePath(QStringLiteral("mainform-projects.png"))) && saved;

    // The structure page with the structure loaded and one element clicked.
    TStruktur* tree = mainform->Struktur;
    tree->setStrukturfile(pumps + QStringLiteral("/struktur.txt"));
    tree->setDatafile(pumps + QStringLiteral("/data.txt"));
    tree->setInfomappe(pumps + QStringLiteral("/tekstfiler/"));
    tree->HentStruktur();
    tree->FullExpand();
    mainform->bog->setCurrentWidget(mainform->side2);
    mainform->structurePage->setInfoLabel(QStringLiteral("Strukturnavn: Pumpestation.txt"));
    QCoreApplication::processEvents();
    const QModelIndex valves = tree->model()
                                   ->match(tree->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("Ventiler"), 1,
                                       Qt::MatchExactly | Qt::MatchRecursive)
                                   .value(0);
    tree->setCurrentIndex(valves);
    mainform->structurePage->StrukturClick();
    saved = shoot(mainform, output.filePath(QStringLiteral("mainform-structure.png"))) && saved;

    // The tree's context menu, opened over another element than the selected one and drawn
    // onto the window where it opens, with the pointer on "Ryk ud".
    const QModelIndex pumpElement = tree->model()
                                        ->match(tree->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("Pumper"),
                                            1, Qt::MatchExactly | Qt::MatchRecursive)
                                        .value(0);
    // Near the row's left end, so that the whole menu fits on the window.
    const QPoint point(12, tree->visualRect(pumpElement).center().y());
    QContextMenuEvent request(QContextMenuEvent::Mouse, point, tree->viewport()->mapToGlobal(point));
    QCoreApplication::sendEvent(tree->viewport(), &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu && QTest::qWaitForWindowExposed(menu)) {
        for (QAction* item : menu->actions()) {
            if (item->objectName() == QLatin1String("Arykud")) {
                menu->setActiveAction(item);
                HintLine::instance().showMessage(longHint(item->property(hintProperty).toString()));
            }
        }
        ActionUpdates::instance().requestUpdate();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QImage window = mainform->grab().toImage();
        {
            QPainter painter(&window);
            painter.drawPixmap(mainform->mapFromGlobal(menu->pos()), menu->grab());
        }
        menu->close();
        saved = window.save(output.filePath(QStringLiteral("mainform-structure-menu.png"))) && saved;
    } else {
        saved = false;
    }

    // The editor with the clicked element's document, at 600 x 600 and at its minimum.
    editForm->show();
    editForm->resize(outer600 - designedFrame);
    editForm->infoTekst->moveCursor(QTextCursor::Start);
    editForm->XYinfo();
    saved = shoot(editForm, output.filePath(QStringLiteral("editform-600.png"))) && saved;
    editForm->resize(editForm->minimumSize());
    saved = shoot(editForm, output.filePath(QStringLiteral("editform-minimum.png"))) && saved;
    editForm->hide();

    // The two fixed-size windows.
    mappeForm->dirBox->setDirectory(structures);
    mappeForm->show();
    QTest::keyClicks(mappeForm->findChild<QLineEdit*>(QStringLiteral("mappeEdit")), QStringLiteral("/Reservedele"));
    saved = shoot(mappeForm, output.filePath(QStringLiteral("mappeform.png"))) && saved;
    mappeForm->hide();
    printform->show();
    saved = shoot(printform, output.filePath(QStringLiteral("printform.png"))) && saved;
    printform->hide();

    if (argc > 2) {
        const QString large = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
        tree->setStrukturfile(large + QStringLiteral("/struktur.txt"));
        tree->setDatafile(large + QStringLiteral("/data.txt"));
        tree->setInfomappe(large + QStringLiteral("/tekstfiler/"));
        tree->HentStruktur();
        tree->FullExpand();
        mainform->structurePage->setInfoLabel(QStringLiteral("Strukturnavn: Stor.txt"));
        tree->setCurrentIndex(tree->model()->index(0, 0));
        mainform->structurePage->StrukturClick();
        QTest::keyClick(tree, Qt::Key_PageDown);
        saved = shoot(mainform, output.filePath(QStringLiteral("mainform-structure-large.png"))) && saved;
    }

    destroyWindows();
    return saved ? 0 : 1;
}
