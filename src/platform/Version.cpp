// SPDX-License-Identifier: GPL-3.0-or-later
#include "Version.h"

namespace struktur {

QString programVersion() { return QStringLiteral(STRUKTUR_VERSION); }

QString applicationId() { return QStringLiteral(STRUKTUR_APPLICATION_ID); }

} // namespace struktur
