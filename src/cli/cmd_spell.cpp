// SPDX-License-Identifier: GPL-3.0-or-later
// struktur spell: the misspelt words of every element document of a structure.
#include "Command.h"
#include "model/ElementTree.h"
#include "model/StructureStorage.h"
#include "platform/Error.h"
#include "platform/ProgramFolder.h"
#include "rtf/Rtf.h"
#include "spelling/Speller.h"
#include "spelling/SpellingWords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTextDocument>

namespace struktur::cli {
namespace {

/// The element's place in the tree: the captions from the top level down.
QString treePath(const Element* element)
{
    QStringList levels;
    for (; element && element->parent(); element = element->parent())
        levels.prepend(element->text);
    return levels.join(QStringLiteral(" \u203a "));
}

QString documentText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error::cannotOpenFile(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (rtf::isRtf(bytes))
        return rtf::plainText(bytes);
    QTextDocument document;
    rtf::loadDocument(bytes, document);
    return document.toPlainText();
}

struct Misspelling {
    QString word;
    int count = 0;
};

/// The misspelt words of a text in the order they first occur, with how often each occurs.
QList<Misspelling> misspellings(const spelling::Speller& speller, const QString& text)
{
    QList<Misspelling> result;
    QHash<QString, qsizetype> index;
    for (const spelling::WordSpan& span : spelling::wordsToCheck(text)) {
        const QString word = text.mid(span.start, span.length);
        if (speller.isCorrect(word))
            continue;
        const auto found = index.constFind(word);
        if (found != index.constEnd()) {
            ++result[*found].count;
            continue;
        }
        index.insert(word, result.size());
        result.append({ word, 1 });
    }
    return result;
}

int spell(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.size() != 3) {
        err << "Brug: struktur spell STRUKTURFIL DATAFIL DOKUMENTMAPPE\n";
        return 2;
    }
    const QString folder = arguments[2];
    if (!QFileInfo(folder).isDir()) {
        err << "Dokumentmappen findes ikke: " << QDir::toNativeSeparators(folder) << '\n';
        return 2;
    }
    spelling::Speller speller(spelling::findDanishDictionary());
    if (!speller.isValid()) {
        err << "Der er ingen dansk ordbog (da_DK.aff og da_DK.dic)\n";
        return 2;
    }
    try {
        speller.usePersonalWords(programFolder() + QStringLiteral("/Options/ordbog.txt"));
        ElementTree tree;
        switch (loadStructure(tree, arguments[0], arguments[1], true)) {
        case LoadResult::Loaded:
            break;
        case LoadResult::NoStructureFile:
            err << "Strukturfilen findes ikke: " << QDir::toNativeSeparators(arguments[0]) << '\n';
            return 2;
        case LoadResult::NoDataFile:
            err << "Datafilen findes ikke: " << QDir::toNativeSeparators(arguments[1]) << '\n';
            return 2;
        }
        const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
        QHash<QString, QString> firstSuggestion;
        bool misspelt = false;
        for (const Element* element = tree.first(); element; element = tree.next(element)) {
            const QString fileName = element->fileName();
            const QString path = prefix + fileName + QStringLiteral(".rtf");
            // An element without a document has nothing to check; `struktur check` reports it.
            if (fileName.isEmpty() || !QFileInfo(path).isFile())
                continue;
            const QList<Misspelling> words = misspellings(speller, documentText(path));
            if (words.isEmpty())
                continue;
            misspelt = true;
            out << treePath(element) << "  [" << element->data << "]\n";
            for (const Misspelling& word : words) {
                auto suggestion = firstSuggestion.find(word.word);
                if (suggestion == firstSuggestion.end())
                    suggestion = firstSuggestion.insert(word.word, speller.suggestions(word.word, 1).value(0));
                out << "    " << word.word << "  " << word.count << "  " << *suggestion << '\n';
            }
        }
        return misspelt ? 1 : 0;
    } catch (const Error& error) {
        out.flush();
        err << error.message() << '\n';
        return 2;
    }
}

const CommandRegistration spellCommand("spell", "spell STRUKTURFIL DATAFIL DOKUMENTMAPPE", spell);

} // namespace
} // namespace struktur::cli
