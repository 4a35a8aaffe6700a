// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// Path rules of the folder chooser, in native separators. A folder path is absolute and has no
/// trailing separator, except a root ("/" or "C:\"), which keeps its own.
namespace struktur::folders {

/// The canonical form of a folder path: native separators, no "." or "..", no trailing separator
/// except for a root. An empty text stays empty.
QString normalFolder(const QString& path);

/// True when the folder is a root ("/", "C:\").
bool isRootFolder(const QString& folder);

/// The folder above: the text before the last separator, or the root when only a root (or drive
/// designator) would remain. A root is its own parent.
QString parentFolder(const QString& folder);

/// The folders from the root down to `folder` itself, shortest first ("/a/b": "/", "/a", "/a/b").
QStringList folderChain(const QString& folder);

/// The result text of the dialog: the folder followed directly by the typed name. No separator is
/// inserted, so the name must begin with one to form a subfolder (a root already ends in one).
QString composedPath(const QString& folder, const QString& name);

/// Of the given volume roots, the longest one that holds `folder`; empty when none does.
QString volumeRootOf(const QString& folder, const QStringList& roots);

/// The error for a folder that cannot be listed or entered.
[[nodiscard]] QString folderErrorText(const QString& folder);

} // namespace struktur::folders
