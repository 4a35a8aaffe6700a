// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a generated 10 MB rich-edit-style document in the real editor window, offscreen: the
// time until the load returns, until the first page is painted, until a typed key is in the
// document, and until the whole document is laid out; and the longest the event loop was held
// while the rest was laid out.
//   bench_editor [--size MB] [--write FILE.rtf] [--screenshot FILE.png WIDTHxHEIGHT|min]
// --write keeps the generated document (for the print benchmark and its peers); --screenshot
// grabs the window right after the first page was painted.
#include "GeneratedRtf.h"
#include "editor/TeditForm.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Notes the moment the editor's page was first painted: right after the paint event it sees.
class PaintWatch : public QObject {
public:
    double wall = -1;
    double cpu = -1;
    const QElapsedTimer* clock = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && wall < 0 && !m_pending) {
            m_pending = true;
            QTimer::singleShot(0, this, [this] {
                wall = double(clock->nsecsElapsed()) / 1e9;
                cpu = cpuSeconds();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_pending = false;
};

bool laidOut(const QTextDocument& document)
{
    const QTextLayout* layout = document.lastBlock().layout();
    return layout && layout->lineCount() > 0;
}

QString argument(const QStringList& arguments, const QString& name, int index = 1)
{
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + index < arguments.size() ? arguments[at + index] : QString();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qsizetype megabytes = qMax<qsizetype>(1, argument(arguments, QStringLiteral("--size")).toLongLong());
    const qsizetype size = (arguments.contains(QStringLiteral("--size")) ? megabytes : 10) * 1000 * 1000;

    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("Options"));
    QString path = argument(arguments, QStringLiteral("--write"));
    if (path.isEmpty())
        path = folder.filePath(QStringLiteral("bench.rtf"));
    {
        const QByteArray rtf = bench::generateRtf(size);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size())
            return 2;
    }

    struktur::TeditForm form(folder.path());
    const QString screenshot = argument(arguments, QStringLiteral("--screenshot"));
    // WIDTHxHEIGHT, or "min" for the window's smallest size.
    const QString sizeText = argument(arguments, QStringLiteral("--screenshot"), 2);
    QSize windowSize(600, 600);
    if (sizeText == QLatin1String("min"))
        windowSize = form.minimumSize();
    else if (const QStringList wh = sizeText.split(QLatin1Char('x')); wh.size() == 2)
        windowSize = QSize(wh[0].toInt(), wh[1].toInt());
    form.resize(windowSize);
    form.show();
    QCoreApplication::processEvents();
    QTextEdit& edit = *form.infoTekst;
    QTextDocument& document = *edit.document();

    PaintWatch paint;
    QElapsedTimer clock;
    paint.clock = &clock;
    edit.viewport()->installEventFilter(&paint);
    edit.viewport()->update();

    clock.start();
    const double cpu0 = cpuSeconds();
    form.loadDocument(path);
    const double loadWall = double(clock.nsecsElapsed()) / 1e9;
    const double loadCpu = cpuSeconds() - cpu0;

    // A key typed right after the load: "typing possible" is when it stands in the document.
    double typedWall = -1;
    double typedCpu = -1;
    QTimer::singleShot(0, &edit, [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QCoreApplication::sendEvent(&edit, &press);
        QCoreApplication::sendEvent(&edit, &release);
        if (document.begin().text().startsWith(QLatin1Char('x'))) {
            typedWall = double(clock.nsecsElapsed()) / 1e9;
            typedCpu = cpuSeconds() - cpu0;
        }
    });

    // The event loop's longest gap while the rest is laid out, seen from a zero timer.
    double longestGap = 0;
    double longestCpuGap = 0;
    double lastTick = double(clock.nsecsElapsed()) / 1e9;
    double lastCpuTick = cpuSeconds();
    double layoutWall = -1;
    double layoutCpu = -1;
    bool shot = false;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double now = double(clock.nsecsElapsed()) / 1e9;
        const double cpuNow = cpuSeconds();
        longestGap = qMax(longestGap, now - lastTick);
        longestCpuGap = qMax(longestCpuGap, cpuNow - lastCpuTick);
        lastTick = now;
        lastCpuTick = cpuNow;
        if (!shot && paint.wall >= 0 && !screenshot.isEmpty()) {
            shot = true;
            form.grab().save(screenshot);
        }
        if (paint.wall >= 0 && typedWall >= 0 && laidOut(document)) {
            layoutWall = now;
            layoutCpu = cpuSeconds() - cpu0;
            tick.stop();
            QCoreApplication::quit();
        }
    });
    tick.start();
    QTimer::singleShot(120000, &app, &QCoreApplication::quit);
    app.exec();
    // The layout reports its last step from a zero timer; the status bar follows it.
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();

    std::printf("open %.1f MB in the editor (%d paragraphs), seconds from the start of the load:\n", double(size) / 1e6,
        document.blockCount());
    std::printf("  load returned   %7.3f wall %7.3f CPU\n", loadWall, loadCpu);
    std::printf("  first page      %7.3f wall %7.3f CPU\n", paint.wall, paint.cpu - cpu0);
    std::printf("  key typed       %7.3f wall %7.3f CPU\n", typedWall, typedCpu);
    std::printf("  all laid out    %7.3f wall %7.3f CPU\n", layoutWall, layoutCpu);
    std::printf(
        "  longest the window was held while laying out the rest: %.3f wall %.3f CPU\n", longestGap, longestCpuGap);
    int lines = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines += block.layout() ? qMax(1, block.layout()->lineCount()) : 1;
    std::printf("  display lines counted afresh: %d\n", lines);
    std::printf("  status: %s %s, %s %s\n", qPrintable(form.statusPanelText(0)), qPrintable(form.statusPanelText(1)),
        qPrintable(form.statusPanelText(2)), qPrintable(form.statusPanelText(3)));
    return layoutWall < 0 ? 1 : 0;
}
