// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructureOutline.h"

#include "StructureFile.h"

namespace struktur {

QStringList outline(const ElementTree& tree)
{
    QStringList lines;
    lines.reserve(tree.size());
    structurefile::forEachElement(tree, [&lines](Element* element, int level) {
        lines.append(QString(2 * level, u' ') + element->text + QStringLiteral("  [") + (element->hasData ? element->data : QString())
            + u']');
    });
    return lines;
}

} // namespace struktur
