// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace struktur {

enum class ShellVerb { Open, Edit };

/// Hands a path to the program the desktop associates with it. Failures are not reported.
void shellExecute(ShellVerb verb, const QString& path);

/// Replaces the desktop hand-over (tests record the calls instead); an empty function restores it.
void setShellHandler(std::function<void(ShellVerb, const QString&)> handler);

enum class SpecialFolder { Desktop, Documents, LocalApplicationData };

/// The path of a special folder, or an empty string when the system has none. The desktop and
/// documents folders are the user's XDG folders, or the home folder where the account has none;
/// the application-data folder is created when missing.
QString specialFolderPath(SpecialFolder folder);

} // namespace struktur
