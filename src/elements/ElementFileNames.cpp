// SPDX-License-Identifier: GPL-3.0-or-later
#include "ElementFileNames.h"

#include <QFileInfo>

namespace struktur::elements {

QString documentPath(const QString& documentFolder, const QString& fileName)
{
    return documentFolder + fileName + QStringLiteral(".rtf");
}

bool pathExists(const QString& path) { return !path.isEmpty() && QFileInfo::exists(path); }

QString constructedFileName(qsizetype elementCount, const QString& documentFolder, const PathExists& exists)
{
    // The count only grows while documents are found, so the loop ends at the first gap.
    for (qsizetype number = elementCount;; ++number) {
        QString name = QStringLiteral("dokument") + QString::number(number);
        if (!exists(documentPath(documentFolder, name)))
            return name;
    }
}

QString fileNameReport(const QString& name, bool exists)
{
    const QChar cr(u'\r');
    return QStringLiteral("Filnavnet:") + cr + name + cr
        + (exists ? QStringLiteral("eksisterer allerede!") : QStringLiteral("eksisterer ikke!"));
}

} // namespace struktur::elements
