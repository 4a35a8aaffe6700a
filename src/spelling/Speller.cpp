// SPDX-License-Identifier: GPL-3.0-or-later
#include "Speller.h"

#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <hunspell.hxx>

namespace struktur::spelling {
namespace {

bool isWord(const QString& line)
{
    if (line.isEmpty())
        return false;
    for (const QChar c : line) {
        if (c.isSpace())
            return false;
    }
    return true;
}

/// Hunspell names its encodings "ISO8859-1", Qt and ICU know them as "ISO-8859-1".
QByteArray qtEncodingName(QByteArray name)
{
    name = name.trimmed();
    if (name.startsWith("ISO8859"))
        name.insert(3, '-');
    return name;
}

} // namespace

QString findDanishDictionary()
{
    QStringList folders;
    const QString dicPath = qEnvironmentVariable("DICPATH");
    if (!dicPath.isNull())
        folders = dicPath.split(u':', Qt::SkipEmptyParts);
    else
        folders = { QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/share/myspell"),
            QStringLiteral("/usr/share/myspell/dicts") };
    for (const QString& folder : folders) {
        const QString base = folder + QStringLiteral("/da_DK");
        if (QFileInfo::exists(base + QStringLiteral(".aff")) && QFileInfo::exists(base + QStringLiteral(".dic")))
            return base;
    }
    return {};
}

QStringList readWordList(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {};
    QStringList words;
    for (const QString& line : textfile::readLines(path)) {
        const QString word = line.trimmed();
        if (isWord(word))
            words.append(word);
    }
    return words;
}

Speller::Speller(const QString& base)
{
    const QString affix = base + QStringLiteral(".aff");
    const QString dictionary = base + QStringLiteral(".dic");
    if (base.isEmpty() || !QFileInfo(affix).isFile() || !QFileInfo(dictionary).isFile())
        return;
    auto hunspell
        = std::make_unique<Hunspell>(QFile::encodeName(affix).constData(), QFile::encodeName(dictionary).constData());
    const QByteArray encoding = qtEncodingName(QByteArray::fromStdString(hunspell->get_dict_encoding()));
    if (!QStringEncoder(encoding.constData()).isValid())
        return;
    m_encoding = encoding;
    m_hunspell = std::move(hunspell);
}

Speller::~Speller() = default;

bool Speller::isCorrect(const QString& word) const
{
    if (word.isEmpty() || m_accepted.contains(word))
        return true;
    const auto known = m_known.constFind(word);
    if (known != m_known.constEnd())
        return *known;
    const bool correct = lookUp(word);
    m_known.insert(word, correct);
    return correct;
}

bool Speller::lookUp(const QString& word) const
{
    if (!m_hunspell)
        return false;
    QStringEncoder encoder(m_encoding.constData(), QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(word);
    if (encoder.hasError())
        return false;
    return m_hunspell->spell(bytes.toStdString());
}

QStringList Speller::suggestions(const QString& word, int limit) const
{
    QStringList result;
    if (!m_hunspell || limit <= 0)
        return result;
    QStringEncoder encoder(m_encoding.constData(), QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(word);
    if (encoder.hasError())
        return result;
    for (const std::string& suggestion : m_hunspell->suggest(bytes.toStdString())) {
        QStringDecoder decoder(m_encoding.constData(), QStringConverter::Flag::Stateless);
        const QString text = decoder.decode(QByteArrayView(suggestion.data(), qsizetype(suggestion.size())));
        if (decoder.hasError() || text.isEmpty() || result.contains(text))
            continue;
        result.append(text);
        if (result.size() == limit)
            break;
    }
    return result;
}

void Speller::accept(const QString& word)
{
    m_accepted.insert(word);
    m_known.insert(word, true);
}

void Speller::ignore(const QString& word) { accept(word); }

void Speller::usePersonalWords(const QString& path)
{
    // A file that cannot be read is never written over: its words would be lost.
    m_personalPath.clear();
    m_personalLines = QFileInfo(path).isFile() ? textfile::readLines(path) : QStringList();
    m_personalWords.clear();
    for (const QString& line : std::as_const(m_personalLines)) {
        if (isWord(line.trimmed()))
            m_personalWords.append(line.trimmed());
    }
    m_personalPath = path;
    for (const QString& word : std::as_const(m_personalWords))
        accept(word);
}

void Speller::addPersonalWord(const QString& word)
{
    const QString trimmed = word.trimmed();
    if (!isWord(trimmed))
        return;
    accept(trimmed);
    if (m_personalWords.contains(trimmed))
        return;
    m_personalWords.append(trimmed);
    m_personalLines.append(trimmed);
    if (!m_personalPath.isEmpty())
        textfile::writeLines(m_personalPath, m_personalLines);
}

} // namespace struktur::spelling
