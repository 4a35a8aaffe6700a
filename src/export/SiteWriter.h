// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Publication.h"
#include "StagedTarget.h"

#include <QString>
#include <QStringList>

namespace struktur::publish {

/// A file name made from an element's file name (or caption) that any web server and browser
/// take as it is: lower-case ASCII letters, digits and "-", with æ, ø, å written ae, oe, aa and
/// accents dropped; "side" when nothing is left.
QString urlSafeName(const QString& name);

/// The page name (without ".html") of each element in tree order: urlSafeName of its file name,
/// or of its caption when it has none, made unique by "-2", "-3", … in tree order.
QStringList pageNames(const Publication& publication);

/// Writes the HTML help site into `folder`, which exists and is empty: index.html with the whole
/// tree as folding lists, one page per element in sider/, the icons, the style sheet and the
/// search page with its index. Throws struktur::Error when a file cannot be written and
/// Cancelled when `progress` says stop.
void writeSite(const Publication& publication, const QString& folder, const Progress& progress = {});

/// writeSite into a folder beside `target` that then replaces it (see StagedTarget).
void exportSite(const Publication& publication, const QString& target, Replace replace, const Progress& progress = {});

} // namespace struktur::publish
