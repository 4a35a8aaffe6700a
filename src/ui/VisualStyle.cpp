// SPDX-License-Identifier: GPL-3.0-or-later
#include "VisualStyle.h"

#include "Dialogs.h"
#include "ErrorDisplay.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

// The style sheet lives in this library's resources; a static library must register them.
static void registerStyleResources() { Q_INIT_RESOURCE(aqualightslate); }

namespace struktur {

bool trySetStyle(QApplication& app, const QString& name)
{
    registerStyleResources();
    QFile file(QStringLiteral(":/styles/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString sheet = QString::fromUtf8(file.readAll());
    if (sheet.trimmed().isEmpty())
        return false;
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);
    app.setStyleSheet(sheet);
    return true;
}

void applyVisualStyle(QApplication& app, const QString& resource, const QString& name)
{
    if (trySetStyle(app, resource))
        return;
    Dialogs::errorWithClose(nullptr, applicationTitle(), QStringLiteral("Style '%1' not found").arg(name));
}

bool installDanishTranslations(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_da"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace struktur
