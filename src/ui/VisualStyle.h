// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QApplication;

namespace struktur {

/// The program's look: the style sheet resource `name` (":/styles/<name>") on the Fusion style,
/// for every window of the application. Returns false, leaving the default look, when the
/// resource is missing or empty.
bool trySetStyle(QApplication& app, const QString& name);

/// The resource name and the display name of the program's look.
inline constexpr char visualStyleResource[] = "AQUALIGHTSLATE";
inline constexpr char visualStyleName[] = "Aqua Light Slate";

/// Applies the program's look "Aqua Light Slate"; when it cannot be loaded shows "Style '%s' not
/// found" with a Close button and goes on in the default look.
void applyVisualStyle(QApplication& app, const QString& resource = QLatin1String(visualStyleResource),
    const QString& name = QLatin1String(visualStyleName));

/// Installs Qt's Danish catalogue, so standard buttons read "Ja", "Nej", "Annuller".
/// Returns false when the catalogue is not installed.
bool installDanishTranslations(QApplication& app);

} // namespace struktur
