// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ElementTree.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class QTextDocument;

namespace struktur::publish {

/// Told after each element is written with the number done and the total; returning false
/// cancels the export, which then throws Cancelled and leaves no target behind.
using Progress = std::function<bool(qsizetype done, qsizetype total)>;

/// Thrown when the progress function asked to stop.
struct Cancelled { };

/// What an export reads: the tree (not copied, not changed), the folder of its documents and the
/// name readers see as title. The elements are listed once in tree order (pre-order), so every
/// writer numbers, links and paginates from the same list.
class Publication {
public:
    /// Throws struktur::Error "Dokumentmappen findes ikke: ..." when `documentFolder` is not a folder.
    Publication(const ElementTree& tree, QString documentFolder, QString name);

    const QString& name() const { return m_name; }
    const std::vector<const Element*>& elements() const { return m_elements; }
    /// The position of an element in elements().
    qsizetype indexOf(const Element* element) const;

    /// The element's document file, or an empty string when it has no file name or no file is there.
    QString documentPath(const Element& element) const;
    /// The bytes of the element's document file; none without one.
    std::optional<QByteArray> documentBytes(const Element& element) const;
    /// Loads the element's document into `document` (emptied first); false without one.
    bool loadDocument(const Element& element, QTextDocument& document) const;

    /// The heading number of each element in tree order: "1", "1.1", "1.1.2", …
    QStringList headingNumbers() const;

private:
    const ElementTree& m_tree;
    QString m_documentFolder;
    QString m_name;
    std::vector<const Element*> m_elements;
    QHash<const Element*, qsizetype> m_positions;
};

/// The name a structure is published under by default: the name of the folder that holds its
/// structure file.
QString defaultStructureName(const QString& structurePath);

/// The element's ancestors, the top-level one first (not the element itself).
std::vector<const Element*> ancestors(const Element& element);

} // namespace struktur::publish
