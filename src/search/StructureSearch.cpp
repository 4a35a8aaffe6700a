// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructureSearch.h"

#include "model/ElementTree.h"

#include <QSet>

namespace struktur::search {

QString elementPath(const Element* element)
{
    QStringList captions;
    for (const Element* up = element; up && up->parent(); up = up->parent())
        captions.prepend(up->text);
    return captions.join(pathSeparator);
}

QString documentFilePath(const QString& documentFolder, const Element* element)
{
    const QString fileName = element->fileName();
    if (documentFolder.isEmpty() || fileName.isEmpty())
        return {};
    if (documentFolder.endsWith(u'/'))
        return documentFolder + fileName + QStringLiteral(".rtf");
    return documentFolder + u'/' + fileName + QStringLiteral(".rtf");
}

QStringList documentFilePaths(const QString& documentFolder, const ElementTree& tree)
{
    QStringList paths;
    QSet<QString> seen;
    for (const Element* element = tree.first(); element; element = tree.next(element)) {
        const QString path = documentFilePath(documentFolder, element);
        if (path.isEmpty() || seen.contains(path))
            continue;
        seen.insert(path);
        paths.append(path);
    }
    return paths;
}

std::vector<SearchHit> searchTree(
    const ElementTree& tree, const TextMatcher& matcher, const DocumentTextSource& documentText)
{
    std::vector<SearchHit> hits;
    if (matcher.isEmpty())
        return hits;
    for (const Element* element = tree.first(); element; element = tree.next(element)) {
        SearchHit hit { element, matcher.matches(element->text), std::nullopt };
        if (documentText && element->hasData) {
            if (const std::optional<QString> text = documentText(element)) {
                if (const qsizetype at = matcher.find(*text); at >= 0)
                    hit.snippet = snippetAround(*text, at, matcher.text().size());
            }
        }
        if (hit.captionMatches || hit.snippet)
            hits.push_back(std::move(hit));
    }
    return hits;
}

} // namespace struktur::search
