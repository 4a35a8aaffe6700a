// SPDX-License-Identifier: GPL-3.0-or-later
// struktur show / resave / check: a structure's two files and its documents, without the window.
#include "Command.h"

#include "model/ElementTree.h"
#include "model/StructureFile.h"
#include "model/StructureStorage.h"
#include "platform/Error.h"

#include <QDir>
#include <QFileInfo>

#include <map>

namespace struktur::cli {
namespace {

/// Loads as the element tree does and reports a missing file or a read error on `err`; the
/// partial result of a failed read stays in `tree`. Returns true when everything was read.
bool load(ElementTree& tree, const QString& structurePath, const QString& dataPath, QTextStream& err)
{
    const bool dataOn = !dataPath.isEmpty();
    try {
        switch (loadStructure(tree, structurePath, dataPath, dataOn)) {
        case LoadResult::Loaded:
            return true;
        case LoadResult::NoStructureFile:
            err << "Strukturfilen findes ikke: " << QDir::toNativeSeparators(structurePath) << '\n';
            return false;
        case LoadResult::NoDataFile:
            err << "Datafilen findes ikke: " << QDir::toNativeSeparators(dataPath) << '\n';
            return false;
        }
    } catch (const Error& error) {
        err << error.message() << '\n';
    }
    return false;
}

/// The tree as `outline` gives it, written element by element without a copy of the whole.
void writeOutline(const ElementTree& tree, QTextStream& out)
{
    structurefile::forEachElement(tree, [&out](Element* element, int level) {
        out << QString(2 * level, u' ');
        writeInPieces(element->text, out);
        out << "  [";
        if (element->hasData)
            writeInPieces(element->data, out);
        out << "]\n";
    });
}

int show(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.size() < 1 || arguments.size() > 2) {
        err << "Brug: struktur show STRUKTURFIL [DATAFIL]\n";
        return 2;
    }
    ElementTree tree;
    const bool loaded = load(tree, arguments[0], arguments.value(1), err);
    // What was read before an error is shown too: it tells where the file went wrong.
    writeOutline(tree, out);
    return loaded ? 0 : 1;
}

int resave(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.size() != 2) {
        err << "Brug: struktur resave STRUKTURFIL DATAFIL\n";
        return 2;
    }
    ElementTree tree;
    if (!load(tree, arguments[0], arguments[1], err)) {
        err << "Intet er gemt.\n";
        return 1;
    }
    try {
        saveStructure(tree, arguments[0], arguments[1], true);
    } catch (const Error& error) {
        err << error.message() << '\n';
        return 1;
    }
    out << "Gemt: " << tree.size() << " elementer.\n";
    return 0;
}

/// The findings of a check, one a line.
class Findings {
public:
    explicit Findings(QTextStream& out)
        : m_out(out)
    {
    }
    void add(const QString& finding)
    {
        m_out << finding << '\n';
        ++m_count;
    }
    int count() const { return m_count; }

private:
    QTextStream& m_out;
    int m_count = 0;
};

QString describe(qsizetype line, const Element* element)
{
    return QStringLiteral("linje %1 \"%2\"").arg(line).arg(element->text);
}

void checkDocuments(const ElementTree& tree, const QString& folder, Findings& findings)
{
    const QDir documents(folder);
    if (!documents.exists()) {
        findings.add(QStringLiteral("Dokumentmappen findes ikke: %1").arg(QDir::toNativeSeparators(folder)));
        return;
    }
    const QString prefix = folder.endsWith(u'/') || folder.endsWith(QDir::separator()) ? folder : folder + u'/';
    std::map<QString, QList<qsizetype>> namedBy;
    qsizetype line = 1;
    for (const Element* element = tree.first(); element; element = tree.next(element), ++line) {
        if (!element->hasData)
            continue;
        if (element->icon > 8)
            findings.add(QStringLiteral("Ikon %1 uden for 0-8: %2").arg(element->icon).arg(describe(line, element)));
        const QString fileName = element->fileName();
        if (fileName.isEmpty()) {
            findings.add(QStringLiteral("Elementet har intet filnavn: %1").arg(describe(line, element)));
            continue;
        }
        namedBy[fileName + QStringLiteral(".rtf")].append(line);
        if (!fileExists(prefix + fileName + QStringLiteral(".rtf")))
            findings.add(QStringLiteral("Dokumentet mangler: %1.rtf (%2)").arg(fileName, describe(line, element)));
    }
    for (const auto& [name, lines] : namedBy) {
        if (lines.size() < 2)
            continue;
        QStringList numbers;
        for (const qsizetype number : lines)
            numbers.append(QString::number(number));
        findings.add(QStringLiteral("Dokumentet %1 bruges af flere elementer: linje %2").arg(name, numbers.join(u", ")));
    }
    const QStringList present = documents.entryList({ QStringLiteral("*.rtf") }, QDir::Files, QDir::Name);
    for (const QString& name : present) {
        if (name.endsWith(QStringLiteral(".rtf")) && !namedBy.count(name))
            findings.add(QStringLiteral("Dokumentet bruges ikke af noget element: %1").arg(name));
    }
}

int check(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.size() != 3) {
        err << "Brug: struktur check STRUKTURFIL DATAFIL DOKUMENTMAPPE\n";
        return 2;
    }
    ElementTree tree;
    QString loadError;
    QTextStream loadErrors(&loadError);
    Findings findings(out);
    if (!load(tree, arguments[0], arguments[1], loadErrors)) {
        loadErrors.flush();
        findings.add(loadError.trimmed());
        if (!fileExists(arguments[0]))
            return 1;
    }
    // After a read error the elements read so far are still checked.
    checkDocuments(tree, arguments[2], findings);
    if (findings.count() > 0)
        return 1;
    out << "Strukturen er i orden: " << tree.size() << " elementer.\n";
    return 0;
}

const CommandRegistration showCommand("show", "show STRUKTURFIL [DATAFIL]", show, Needs::Core);
const CommandRegistration resaveCommand("resave", "resave STRUKTURFIL DATAFIL", resave, Needs::Core);
const CommandRegistration checkCommand("check", "check STRUKTURFIL DATAFIL DOKUMENTMAPPE", check, Needs::Core);

} // namespace
} // namespace struktur::cli
