// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real main window offscreen over a large structure, as a user does, and times each
// step until the tree has painted: loading it with "Indlæs struktur", "Udfold strukturen", Home,
// End, Page Down, Page Up, collapsing and expanding one element, "Sammenfold strukturen".
//   bench_structure_view [FOLDER]    FOLDER holds struktur.txt and data.txt (bench_structure --write);
//                                    without it, bench_structure beside this program writes 1M nested.
// Prints wall and CPU milliseconds for each step, and the process's resident size after it.
#include "app/Instances.h"
#include "app/Tmainform.h"
#include "model/TStruktur.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/VisualStyle.h"

#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <ctime>
#include <functional>

namespace {

using namespace struktur;

/// Notes that a widget painted.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return -1;
}

/// Runs one step and the events it causes, until the tree's rows have painted.
void step(const char* name, PaintWatch& watch, const std::function<void()>& action)
{
    QCoreApplication::processEvents();
    watch.painted = false;
    QElapsedTimer wall;
    wall.start();
    const double cpu = cpuSeconds();
    action();
    // A key that changes nothing (Home on the first row) paints nothing by itself.
    qobject_cast<QWidget*>(watch.parent())->update();
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const double wallMs = double(wall.nsecsElapsed()) / 1e6;
    const double cpuMs = (cpuSeconds() - cpu) * 1e3;
    std::printf("%-32s %9.1f ms wall %9.1f ms CPU %8.1f MB resident\n", name, wallMs, cpuMs, residentMegabytes());
    std::fflush(stdout);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    QTemporaryDir scratch;
    QString folder = argc > 1 ? QDir(QString::fromLocal8Bit(argv[1])).absolutePath() : scratch.filePath(QStringLiteral("Stor"));
    if (argc < 2) {
        QDir().mkpath(folder);
        const int written = QProcess::execute(QCoreApplication::applicationDirPath() + QStringLiteral("/bench_structure"),
            { QStringLiteral("--write"), folder, QStringLiteral("1000000"), QStringLiteral("nested") });
        if (written != 0)
            qFatal("bench_structure --write failed");
    }
    QDir().mkpath(folder + QStringLiteral("/tekstfiler"));
    const QString programdir = scratch.filePath(QStringLiteral("Kvarnolt"));
    QDir().mkpath(programdir);
    writeFile(programdir + QStringLiteral("/Stor.txt"),
        (folder + QStringLiteral("/struktur.txt\r\n") + folder + QStringLiteral("/data.txt\r\n") + folder
            + QStringLiteral("/tekstfiler/\r\n"))
            .toUtf8());
    qputenv("KVARNOLT_DIR", programdir.toUtf8());
    applyVisualStyle(app);
    // A message box would stop the run: it is printed and answered.
    Dialogs::setResponder([](const Dialogs::Request& request) {
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        return request.kind == Dialogs::Kind::AskYesNo || request.kind == Dialogs::Kind::AskYesNoCancel
            ? Dialogs::Answer::No
            : Dialogs::Answer::Ok;
    });
    createWindows();
    mainform->resize(584, 562);
    mainform->show();
    QCoreApplication::processEvents();

    TStruktur* tree = mainform->Struktur;
    auto* watch = new PaintWatch;
    watch->setParent(tree->viewport());
    tree->viewport()->installEventFilter(watch);
    auto* list = mainform->findChild<QListWidget*>(QStringLiteral("strukturboks"));
    const auto rows = list->findItems(QStringLiteral("Stor.txt"), Qt::MatchExactly);
    if (rows.isEmpty())
        qFatal("the structure is not listed");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(rows.first()).center());
    auto* load = mainform->findChild<QAbstractButton*>(QStringLiteral("redigerKnap"));
    auto* expandAll = mainform->findChild<QToolButton*>(QStringLiteral("ToolButton1"));
    auto* collapseAll = mainform->findChild<QToolButton*>(QStringLiteral("ToolButton4"));
    if (!load || !expandAll || !collapseAll)
        qFatal("a button is missing");

    step("Indlæs struktur (tree shown)", *watch, [&] { QTest::mouseClick(load, Qt::LeftButton); });
    std::printf("  %d elements loaded\n", tree->elementCount());
    mainform->activateWindow();
    tree->setFocus();
    const auto key = [&](const char* name, Qt::Key which) {
        step(name, *watch, [&] { QTest::keyClick(tree, which); });
    };
    key("Home", Qt::Key_Home);
    key("expand one element (Right)", Qt::Key_Right);
    key("collapse it again (Left)", Qt::Key_Left);
    step("Udfold strukturen", *watch, [&] { QTest::mouseClick(expandAll, Qt::LeftButton); });
    key("Home", Qt::Key_Home);
    key("End", Qt::Key_End);
    key("Page Up", Qt::Key_PageUp);
    key("Home", Qt::Key_Home);
    key("Page Down", Qt::Key_PageDown);
    key("Down", Qt::Key_Down);
    key("Home", Qt::Key_Home);
    key("collapse one element (Left)", Qt::Key_Left);
    key("expand it again (Right)", Qt::Key_Right);
    step("Sammenfold strukturen", *watch, [&] { QTest::mouseClick(collapseAll, Qt::LeftButton); });
    destroyWindows();
    return 0;
}
