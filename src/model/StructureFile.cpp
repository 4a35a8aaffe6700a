// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructureFile.h"

#include "platform/Error.h"

namespace struktur::structurefile {

void forEachElement(const ElementTree& tree, const std::function<void(Element*, int)>& visit)
{
    Element* element = tree.first();
    int level = 0;
    while (element) {
        visit(element, level);
        if (element->hasChildren()) {
            element = element->child(0);
            ++level;
            continue;
        }
        while (element->parent() != tree.root() && element->row() + 1 >= element->parent()->childCount()) {
            element = element->parent();
            --level;
        }
        element = element->row() + 1 < element->parent()->childCount() ? element->parent()->child(element->row() + 1)
                                                                        : nullptr;
    }
}

int lineLevel(QStringView line)
{
    qsizetype level = 0;
    while (level < line.size() && (line[level] == u'\t' || line[level] == u' '))
        ++level;
    return int(level);
}

void readStructure(QStringList lines, ElementTree& tree)
{
    Element* previous = nullptr;
    int previousLevel = 0;
    for (QString& line : lines) {
        const int level = lineLevel(line);
        // Removing in place keeps the line's own buffer for the element: no copy per element.
        line.remove(0, level);
        if (!previous) {
            previous = tree.append(tree.root(), std::move(line));
            previousLevel = 0;
            continue;
        }
        if (level > previousLevel + 1)
            throw Error::invalidLevel(level, line);
        Element* parent = previous->parent();
        if (level == previousLevel + 1) {
            parent = previous;
        } else {
            for (int up = previousLevel; up > level; --up)
                parent = parent->parent();
        }
        previous = tree.append(parent, std::move(line));
        previousLevel = level;
    }
}

QStringList structureLines(const ElementTree& tree)
{
    QStringList lines;
    lines.reserve(tree.size());
    forEachElement(tree, [&lines](Element* element, int level) {
        QString line;
        line.reserve(level + element->text.size());
        line.fill(u'\t', level);
        line += element->text;
        lines.append(std::move(line));
    });
    return lines;
}

void applyDataLines(QStringList lines, ElementTree& tree)
{
    qsizetype n = 0;
    for (Element* element = tree.first(); element; element = tree.next(element), ++n) {
        if (n >= lines.size())
            throw Error::listIndexOutOfBounds(n);
        element->data = std::move(lines[n]);
        element->hasData = true;
        if (element->data.isEmpty()) {
            element->icon = 0;
            continue;
        }
        const QChar first = element->data.front();
        if (first < u'0' || first > u'9')
            throw Error::notAnInteger(QString(first));
        element->icon = first.unicode() - u'0';
    }
}

QStringList dataLines(const ElementTree& tree)
{
    QStringList lines;
    lines.reserve(tree.size());
    for (Element* element = tree.first(); element; element = tree.next(element))
        lines.append(element->hasData ? element->data : QStringLiteral("0"));
    return lines;
}

} // namespace struktur::structurefile
