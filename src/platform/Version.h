// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace struktur {

/// The release both executables report with --version, as the build names it ("0.1").
QString programVersion();

/// The reverse-DNS name of the desktop entry, the icon and the metainfo.
QString applicationId();

} // namespace struktur
