// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaceNames.h"

#include <QFont>
#include <QFontInfo>

namespace struktur::facenames {

QString plainFamily(const QString& family)
{
    if (!family.endsWith(QLatin1Char(']')))
        return family;
    const qsizetype open = family.lastIndexOf(QStringLiteral(" ["));
    return open > 0 ? family.left(open) : family;
}

QStringList plainFamilies(const QStringList& families)
{
    QStringList plain;
    for (const QString& family : families) {
        const QString name = plainFamily(family);
        if (!plain.contains(name, Qt::CaseInsensitive))
            plain.append(name);
    }
    return plain;
}

QString drawnFamily(const QString& face)
{
    return plainFamily(QFontInfo(QFont(face)).family());
}

void installStandIns()
{
    struct StandIn {
        const char* face;
        const char* standIn;
    };
    static const StandIn standIns[] = {
        { "Courier New", "Liberation Mono" },
        { "Arial", "Liberation Sans" },
        { "Times New Roman", "Liberation Serif" },
    };
    for (const StandIn& pair : standIns)
        QFont::insertSubstitution(QLatin1String(pair.face), QLatin1String(pair.standIn));
}

} // namespace struktur::facenames
