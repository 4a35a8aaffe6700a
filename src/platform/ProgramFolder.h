// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace struktur {

/// The drive the program folder lies on: "C:" on Windows, empty elsewhere.
QString driveName();

/// The program folder without a trailing separator: KVARNOLT_DIR when set, otherwise
/// "C:\Kvarnolt" on Windows and $HOME/Kvarnolt elsewhere.
QString programFolder();

/// The separator every path of the program is formed with ("\" on Windows, "/" elsewhere).
QString pathSeparator();

/// `text` without its CR, LF and NUL characters (removed, not replaced): a path typed or
/// composed in a field never carries a line break into a folder or file name.
QString withoutLineBreaks(QString text);

} // namespace struktur
