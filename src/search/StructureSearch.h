// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TextMatcher.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace struktur {
class Element;
class ElementTree;
} // namespace struktur

namespace struktur::search {

/// Separates the levels of an element's path in the tree.
inline constexpr QStringView pathSeparator = u" › ";

/// The captions from the top-level element down to `element`, joined by pathSeparator.
QString elementPath(const Element* element);

/// The document file of an element with data in `documentFolder`: folder, a separator unless the
/// folder ends with one, file name, ".rtf". Empty without data, file name or folder.
QString documentFilePath(const QString& documentFolder, const Element* element);

/// The document paths of every element with one, in tree order, each once.
QStringList documentFilePaths(const QString& documentFolder, const ElementTree& tree);

/// One element that matched, with the snippet around the first hit in its document when the
/// document matched.
struct SearchHit {
    const Element* element = nullptr;
    bool captionMatches = false;
    std::optional<Snippet> snippet;
};

/// Gives an element's document text, or nothing when it has none (yet).
using DocumentTextSource = std::function<std::optional<QString>(const Element*)>;

/// Every element whose caption or document text matches, in tree order. Without a text source
/// only captions are searched.
std::vector<SearchHit> searchTree(
    const ElementTree& tree, const TextMatcher& matcher, const DocumentTextSource& documentText = {});

} // namespace struktur::search
