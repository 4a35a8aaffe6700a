// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class Hunspell;

namespace struktur::spelling {

/// The Danish dictionary ("da_DK.aff" and "da_DK.dic"): the folders named by the environment
/// variable DICPATH (separated by ":") when it is set, otherwise the system's dictionary folders.
/// Returns the path without extension, or an empty string when no folder holds both files.
QString findDanishDictionary();

/// Reads a personal word list (one word a line, the usual text-file rules). Lines that are empty
/// or hold a blank are no words and are left out. A missing file is an empty list; a file that
/// cannot be read throws "Cannot open file".
QStringList readWordList(const QString& path);

/// Checks single words against a Hunspell dictionary, converting to and from the dictionary's own
/// encoding, plus the user's personal word list and the words ignored during this run. Results
/// are remembered, so checking a long text costs one dictionary look-up per distinct word.
class Speller {
public:
    /// Opens the dictionary `base`.aff / `base`.dic. When either file is missing or the
    /// dictionary's encoding is unknown the speller is not valid and knows no word.
    explicit Speller(const QString& base);
    ~Speller();
    Speller(const Speller&) = delete;
    Speller& operator=(const Speller&) = delete;

    bool isValid() const { return m_hunspell != nullptr; }

    /// True when the dictionary, the personal list or the ignore list knows the word. A word
    /// with characters the dictionary's encoding cannot hold is misspelt.
    bool isCorrect(const QString& word) const;

    /// At most `limit` suggestions for a misspelt word, best first.
    QStringList suggestions(const QString& word, int limit) const;

    /// Accepts the word for the rest of this run.
    void ignore(const QString& word);

    /// Takes the personal word list from `path` (see readWordList) and remembers the file for
    /// addPersonalWord. A file that exists but cannot be read throws "Cannot open file"; it is
    /// then never written over.
    void usePersonalWords(const QString& path);

    /// Adds a word to the personal list and rewrites its file, keeping every line that was in
    /// it. The word counts as correct from now on even when writing fails, which throws
    /// "Cannot create file".
    void addPersonalWord(const QString& word);

    const QStringList& personalWords() const { return m_personalWords; }

private:
    bool lookUp(const QString& word) const;
    void accept(const QString& word);

    std::unique_ptr<Hunspell> m_hunspell;
    QByteArray m_encoding;
    QString m_personalPath;
    QStringList m_personalLines;
    QStringList m_personalWords;
    QSet<QString> m_accepted;
    mutable QHash<QString, bool> m_known;
};

} // namespace struktur::spelling
