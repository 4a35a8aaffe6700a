// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the projects page, with a few registered structures and one of them clicked, and the
// folder chooser into two PNG files:
//   folder_screenshots <projects.png> <mappeform.png>
#include "app/Instances.h"
#include "app/Tmainform.h"
#include "folders/FolderListBox.h"
#include "folders/TmappeForm.h"
#include "ui/Application.h"
#include "ui/VisualStyle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void registerStructure(
    const QString& programdir, const QString& name, const QString& folder, const QStringList& documents)
{
    const QString lines = folder + QStringLiteral("/struktur.txt\r\n") + folder + QStringLiteral("/data.txt\r\n")
        + folder + QStringLiteral("/tekstfiler/\r\n");
    writeFile(programdir + QLatin1Char('/') + name + QStringLiteral(".txt"), lines.toLatin1());
    writeFile(folder + QStringLiteral("/struktur.txt"), "Forside\r\n");
    writeFile(folder + QStringLiteral("/data.txt"), "0forside\r\n");
    for (const QString& document : documents)
        writeFile(folder + QStringLiteral("/tekstfiler/") + document, "{\\rtf1 x}");
}

} // namespace

int main(int argc, char** argv)
{
    using namespace struktur;
    Application app(argc, argv);
    if (argc < 3) {
        qWarning("usage: folder_screenshots <projects.png> <mappeform.png>");
        return 2;
    }
    // The folder chooser moves the working folder when it is created.
    const QString projectsOutput = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString chooserOutput = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    QTemporaryDir scratch;
    const QString programdir = scratch.filePath(QStringLiteral("Kvarnolt"));
    const QString structures = scratch.filePath(QStringLiteral("Hjælpetekster"));
    registerStructure(programdir, QStringLiteral("Pumpestation"), structures + QStringLiteral("/Pumpestation"),
        { QStringLiteral("forside.rtf"), QStringLiteral("sikkerhed.rtf"), QStringLiteral("ventiler.rtf"),
            QStringLiteral("pumper.rtf"), QStringLiteral("måleudstyr.rtf") });
    registerStructure(programdir, QStringLiteral("Kundeservice"), structures + QStringLiteral("/Kundeservice"),
        { QStringLiteral("forside.rtf") });
    registerStructure(programdir, QStringLiteral("Værktøjer"), structures + QStringLiteral("/Værktøjer"), {});
    qputenv("KVARNOLT_DIR", programdir.toUtf8());
    applyVisualStyle(app);
    createWindows();

    mainform->resize(640, 600);
    mainform->show();
    QCoreApplication::processEvents();
    auto* list = mainform->findChild<QListWidget*>(QStringLiteral("strukturboks"));
    const auto rows = list->findItems(QStringLiteral("Pumpestation.txt"), Qt::MatchExactly);
    if (!rows.isEmpty())
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(rows.first()).center());
    mainform->findChild<QLineEdit*>(QStringLiteral("navnEdit"))->setText(QStringLiteral("Reservedele"));
    mainform->findChild<QLineEdit*>(QStringLiteral("strukturmappeEdit"))
        ->setText(structures + QStringLiteral("/Reservedele"));
    QCoreApplication::processEvents();
    bool saved = mainform->grab().save(projectsOutput);

    mappeForm->dirBox->setDirectory(structures);
    mappeForm->show();
    QTest::keyClicks(mappeForm->findChild<QLineEdit*>(QStringLiteral("mappeEdit")), QStringLiteral("/Reservedele"));
    QCoreApplication::processEvents();
    saved = mappeForm->grab().save(chooserOutput) && saved;
    mappeForm->hide();
    destroyWindows();
    return saved ? 0 : 1;
}
