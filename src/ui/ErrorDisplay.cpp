// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorDisplay.h"

#include "Dialogs.h"
#include "platform/Error.h"

#include <QApplication>
#include <QFileInfo>

namespace struktur {

QString errorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

QString applicationTitle()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void showError(const QString& message)
{
    Dialogs::error(QApplication::activeWindow(), applicationTitle(), errorBoxText(message));
}

void showError(const Error& error)
{
    showError(error.message());
}

} // namespace struktur
