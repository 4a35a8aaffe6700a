// SPDX-License-Identifier: GPL-3.0-or-later
// strukturkonstruktor: the program's start-up; everything else lives in the libraries.
#include "app/Instances.h"
#include "app/Tmainform.h"
#include "ui/Application.h"
#include "ui/VisualStyle.h"

int main(int argc, char** argv)
{
    using namespace struktur;
    Application app(argc, argv);
    installDanishTranslations(app);
    applyVisualStyle(app);
    createWindows();
    QObject::connect(mainform, &Tmainform::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    mainform->show();
    const int result = app.exec();
    destroyWindows();
    return result;
}
