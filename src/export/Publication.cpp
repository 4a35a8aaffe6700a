// SPDX-License-Identifier: GPL-3.0-or-later
#include "Publication.h"

#include "platform/Error.h"
#include "rtf/Rtf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <algorithm>

namespace struktur::publish {

Publication::Publication(const ElementTree& tree, QString documentFolder, QString name)
    : m_tree(tree)
    , m_documentFolder(std::move(documentFolder))
    , m_name(std::move(name))
{
    if (m_documentFolder.isEmpty() || !QFileInfo(m_documentFolder).isDir())
        throw Error(QStringLiteral("Dokumentmappen findes ikke: ") + QDir::toNativeSeparators(m_documentFolder));
    if (!m_documentFolder.endsWith(QLatin1Char('/')))
        m_documentFolder += QLatin1Char('/');
    m_elements.reserve(size_t(tree.size()));
    m_positions.reserve(tree.size());
    for (const Element* element = tree.next(tree.root()); element; element = tree.next(element)) {
        m_positions.insert(element, qsizetype(m_elements.size()));
        m_elements.push_back(element);
    }
}

qsizetype Publication::indexOf(const Element* element) const { return m_positions.value(element, -1); }

QString Publication::documentPath(const Element& element) const
{
    const QString fileName = element.fileName();
    if (fileName.isEmpty())
        return {};
    QString path = m_documentFolder + fileName + QStringLiteral(".rtf");
    return QFileInfo(path).isFile() ? path : QString();
}

std::optional<QByteArray> Publication::documentBytes(const Element& element) const
{
    const QString path = documentPath(element);
    if (path.isEmpty())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error::cannotOpenFile(path, file.errorString());
    return file.readAll();
}

bool Publication::loadDocument(const Element& element, QTextDocument& document) const
{
    document.clear();
    const std::optional<QByteArray> bytes = documentBytes(element);
    if (!bytes)
        return false;
    rtf::loadDocument(*bytes, document);
    return true;
}

QStringList Publication::headingNumbers() const
{
    QStringList numbers;
    numbers.reserve(qsizetype(m_elements.size()));
    // The number of each ancestor, kept as a stack that grows and shrinks with the level.
    std::vector<int> counters;
    for (const Element* element : m_elements) {
        const size_t level = size_t(element->level());
        counters.resize(level + 1, 0);
        counters[level] = element->row() + 1;
        QString number;
        for (size_t i = 0; i <= level; ++i) {
            if (i > 0)
                number += QLatin1Char('.');
            number += QString::number(counters[i]);
        }
        numbers.append(number);
    }
    return numbers;
}

QString defaultStructureName(const QString& structurePath)
{
    return QFileInfo(QFileInfo(structurePath).absolutePath()).fileName();
}

std::vector<const Element*> ancestors(const Element& element)
{
    std::vector<const Element*> result;
    for (const Element* parent = element.parent(); parent && parent->parent(); parent = parent->parent())
        result.push_back(parent);
    std::reverse(result.begin(), result.end());
    return result;
}

} // namespace struktur::publish
