// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// Font face names as the user and the documents see them: plain family names, whatever foundry
/// the font system found a family under, and the face actually drawn for a name that is missing.
namespace struktur::facenames {

/// The family without the font system's foundry suffix: "C059 [urw]" → "C059". A name without
/// one comes back unchanged.
QString plainFamily(const QString& family);

/// One plain name per family, in the order of first appearance.
QStringList plainFamilies(const QStringList& families);

/// The plain name of the family the font system draws for `face`: the face itself when it is
/// installed, else its substitute (for the faces documents commonly name, their metric-compatible
/// stand-ins once installStandIns ran). Empty only when no font at all is installed.
QString drawnFamily(const QString& face);

/// Tells the font system to draw the common Windows faces, where they are missing, with the
/// Liberation faces of the same metrics, so that lines break where they did when written.
void installStandIns();

} // namespace struktur::facenames
