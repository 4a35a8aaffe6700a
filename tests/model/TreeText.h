// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ElementTree.h"
#include "model/StructureFile.h"
#include "platform/TextFile.h"

#include <QStringList>

namespace struktur::test {

/// A tree as one comparable string: each element as level dots, its text, and with its data
/// as "=data/icon" ("=-/icon" without data), separated by " | ". Failures then print both trees.
inline QString treeText(const ElementTree& tree, bool withData = false)
{
    QStringList parts;
    structurefile::forEachElement(tree, [&](Element* element, int level) {
        QString part = QString(level, u'.') + element->text;
        if (withData)
            part += u'=' + (element->hasData ? element->data : QStringLiteral("-")) + u'/' + QString::number(element->icon);
        parts.append(part);
    });
    return parts.join(QStringLiteral(" | "));
}

/// Builds a tree from structure-file text ("A\n\tB").
inline void readTree(ElementTree& tree, const QString& text)
{
    structurefile::readStructure(textfile::splitLines(text), tree);
}

/// The element reached by a path of rows ({1, 0}: the first child of the second top-level element).
inline Element* elementAt(const ElementTree& tree, std::initializer_list<int> rows)
{
    Element* element = tree.root();
    for (const int row : rows)
        element = element->child(row);
    return element;
}

} // namespace struktur::test
