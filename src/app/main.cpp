// SPDX-License-Identifier: GPL-3.0-or-later
// strukturkonstruktor: the program's start-up; everything else lives in the libraries.
#include "app/CommandLine.h"
#include "app/Instances.h"
#include "app/Tmainform.h"
#include "platform/Version.h"
#include "ui/Application.h"
#include "ui/VisualStyle.h"

#include <cstdio>

int main(int argc, char** argv)
{
    using namespace struktur;
    // --help and --version answer before the application object, which needs a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const std::optional<QString> answer = commandLineAnswer(arguments)) {
        // A help text that could not be written (a closed or full output) is not a success.
        const bool written = std::fputs(answer->toUtf8().constData(), stdout) >= 0 && std::fflush(stdout) == 0;
        return written ? 0 : 1;
    }
    Application app(argc, argv);
    QGuiApplication::setDesktopFileName(applicationId());
    installDanishTranslations(app);
    applyVisualStyle(app);
    createWindows();
    QObject::connect(mainform, &Tmainform::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    mainform->show();
    const int result = app.exec();
    destroyWindows();
    return result;
}
