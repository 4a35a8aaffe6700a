// SPDX-License-Identifier: GPL-3.0-or-later
// struktur find: the elements whose caption or document holds a text, as grep finds lines.
#include "Command.h"
#include "model/ElementTree.h"
#include "model/StructureStorage.h"
#include "platform/Error.h"
#include "search/DocumentTextCache.h"
#include "search/StructureSearch.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace struktur::cli {
namespace {

using namespace struktur::search;

constexpr int matched = 0;
constexpr int nothingMatched = 1;
constexpr int failed = 2;

const char usage[] = "find STRUKTURFIL DATAFIL [--dokumenter MAPPE] [--store-og-smaa] TEKST";

struct FindArguments {
    QString structurePath;
    QString dataPath;
    QString documentFolder;
    QString text;
    CaseSensitivity sensitivity = CaseSensitivity::Insensitive;
};

/// Options may stand anywhere; "--" ends them, so a text may start with "--".
std::optional<FindArguments> parseArguments(const QStringList& arguments)
{
    FindArguments result;
    QStringList positional;
    bool options = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (options && argument == QStringLiteral("--")) {
            options = false;
        } else if (options && argument == QStringLiteral("--store-og-smaa")) {
            result.sensitivity = CaseSensitivity::Sensitive;
        } else if (options && argument == QStringLiteral("--dokumenter")) {
            if (++i == arguments.size() || arguments[i].isEmpty())
                return std::nullopt;
            result.documentFolder = arguments[i];
        } else if (options && argument.startsWith(QStringLiteral("--"))) {
            return std::nullopt;
        } else {
            positional.append(argument);
        }
    }
    if (positional.size() != 3 || positional[2].isEmpty())
        return std::nullopt;
    result.structurePath = positional[0];
    result.dataPath = positional[1];
    result.text = positional[2];
    return result;
}

/// Loads both files; false, with the reason on `err`, when either is missing or unreadable.
bool load(ElementTree& tree, const FindArguments& arguments, QTextStream& err)
{
    try {
        switch (loadStructure(tree, arguments.structurePath, arguments.dataPath, true)) {
        case LoadResult::Loaded:
            return true;
        case LoadResult::NoStructureFile:
            err << "Strukturfilen findes ikke: " << QDir::toNativeSeparators(arguments.structurePath) << '\n';
            return false;
        case LoadResult::NoDataFile:
            err << "Datafilen findes ikke: " << QDir::toNativeSeparators(arguments.dataPath) << '\n';
            return false;
        }
    } catch (const Error& error) {
        err << error.message() << '\n';
    }
    return false;
}

int find(const QStringList& commandArguments, QTextStream& out, QTextStream& err)
{
    const std::optional<FindArguments> arguments = parseArguments(commandArguments);
    if (!arguments) {
        err << "Brug: struktur " << usage << '\n';
        return failed;
    }
    const QString& folder = arguments->documentFolder;
    if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        err << "Dokumentmappen findes ikke: " << QDir::toNativeSeparators(folder) << '\n';
        return failed;
    }
    ElementTree tree;
    if (!load(tree, *arguments, err))
        return failed;

    DocumentTextCache cache;
    DocumentTextSource documentText;
    if (!folder.isEmpty()) {
        cache.refresh(documentFilePaths(folder, tree), std::max(1, QThread::idealThreadCount()));
        documentText = [&](const Element* element) { return cache.cached(documentFilePath(folder, element)); };
    }
    const std::vector<SearchHit> hits
        = searchTree(tree, TextMatcher(arguments->text, arguments->sensitivity), documentText);
    for (const SearchHit& hit : hits) {
        out << elementPath(hit.element) << "  [" << (hit.element->hasData ? hit.element->data : QString()) << "]\n";
        if (hit.snippet)
            out << "    " << hit.snippet->text() << '\n';
    }
    return hits.empty() ? nothingMatched : matched;
}

const CommandRegistration registration("find", usage, find, Needs::Core);

} // namespace
} // namespace struktur::cli
