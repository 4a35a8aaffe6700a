// SPDX-License-Identifier: GPL-3.0-or-later
#include "StructureSearch.h"

#include "model/ElementTree.h"

#include <QSet>

#include <iterator>
#include <thread>

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

namespace {

// Below this many elements a second thread costs more than it saves.
constexpr qsizetype parallelFrom = 20000;

/// The hits among the elements from `first` in tree order up to, not including, `end`.
void searchRange(const ElementTree& tree, const Element* first, const Element* end, const TextMatcher& matcher,
    const DocumentTextSource& documentText, std::vector<SearchHit>& hits)
{
    for (const Element* element = first; element && element != end; element = tree.next(element)) {
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
}

} // namespace

std::vector<SearchHit> searchTree(
    const ElementTree& tree, const TextMatcher& matcher, const DocumentTextSource& documentText)
{
    std::vector<SearchHit> hits;
    if (matcher.isEmpty())
        return hits;
    // Captions alone are searched on two cores: the tree below the first element with two or more
    // children is cut between those children, each half searched in tree order, and the halves
    // joined. The elements above (each an only child) come first. A document text source may not be
    // safe to call from two threads, so with documents the search stays on this one.
    const Element* branch = tree.root();
    while (branch->childCount() == 1)
        branch = branch->child(0);
    if (documentText || tree.size() < parallelFrom || branch->childCount() < 2) {
        searchRange(tree, tree.first(), nullptr, matcher, documentText, hits);
        return hits;
    }
    searchRange(tree, tree.first(), branch->child(0), matcher, {}, hits);
    const Element* middle = branch->child(branch->childCount() / 2);
    std::vector<SearchHit> secondHalf;
    std::thread second([&] { searchRange(tree, middle, nullptr, matcher, {}, secondHalf); });
    searchRange(tree, branch->child(0), middle, matcher, {}, hits);
    second.join();
    hits.insert(hits.end(), std::make_move_iterator(secondHalf.begin()), std::make_move_iterator(secondHalf.end()));
    return hits;
}

} // namespace struktur::search
