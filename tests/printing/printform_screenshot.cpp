// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the print window into a PNG file:
//   printform_screenshot <output.png>
#include "printing/Tprintform.h"
#include "ui/Application.h"
#include "ui/VisualStyle.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char** argv)
{
    struktur::Application app(argc, argv);
    struktur::trySetStyle(app, QLatin1String(struktur::visualStyleResource));
    if (argc < 2) {
        qWarning("usage: printform_screenshot <output.png>");
        return 2;
    }
    QTemporaryDir programFolder;
    QDir(programFolder.path()).mkpath(QStringLiteral("Options"));
    struktur::Tprintform form(programFolder.path());
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
