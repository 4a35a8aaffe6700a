// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace struktur {

/// Reads an options file of decimal integer lines: hands the value of line i (0-based) to
/// `apply(i, value)` for i below `count`, in order. Returns false, changing nothing, when no
/// file exists at `path` (a folder there does not count). Stops at the first missing line
/// ("List index out of bounds (%d)") or bad line ("'%s' is not a valid integer value") with the
/// values before it already applied.
bool readOptionsFile(const QString& path, int count, const std::function<void(int, int)>& apply);

/// Writes the values one a line (created or replaced atomically).
void writeOptionsFile(const QString& path, const QList<int>& values);

} // namespace struktur
