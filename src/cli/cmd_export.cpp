// SPDX-License-Identifier: GPL-3.0-or-later
// struktur export html / pdf: publishes a structure as a help site or a book for readers
// without the program.
#include "Command.h"
#include "export/Publication.h"
#include "export/SiteWriter.h"
#include "model/ElementTree.h"
#include "model/StructureStorage.h"
#include "platform/Error.h"
#include "platform/Memory.h"
#include "printing/PdfBook.h"
#include "printing/PrintValues.h"

#include <QDir>

namespace struktur::cli {
namespace {

constexpr char usage[]
    = "Brug: struktur export html STRUKTURFIL DATAFIL DOKUMENTMAPPE UDMAPPE [--navn NAVN] [--erstat]\n";

struct ExportRequest {
    QString format;
    QStringList paths; ///< structure file, data file, document folder, target
    QString name;
    bool replace = false;
    Margins margins = publish::defaultBookMargins();
};

// Margins are separated by commas, so their decimals are written with a point here.
Margins parseMargins(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        throw Error(QStringLiteral("'%1' er ikke fire margener V,H,T,B").arg(text));
    return { marginValue(parts[0]), marginValue(parts[1]), marginValue(parts[2]), marginValue(parts[3]) };
}

// Options may stand anywhere after the format. Returns false for arguments that do not fit.
bool parseArguments(const QStringList& arguments, ExportRequest& request)
{
    if (arguments.isEmpty())
        return false;
    request.format = arguments.first();
    const bool pdf = request.format == QLatin1String("pdf");
    if (!pdf && request.format != QLatin1String("html"))
        return false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--navn") && hasValue)
            request.name = arguments[++i];
        else if (argument == QLatin1String("--margener") && hasValue && pdf)
            request.margins = parseMargins(arguments[++i]);
        else if (argument == QLatin1String("--erstat"))
            request.replace = true;
        else if (argument.startsWith(QLatin1String("--")))
            return false;
        else
            request.paths.append(argument);
    }
    return request.paths.size() == 4;
}

void load(ElementTree& tree, const QString& structurePath, const QString& dataPath)
{
    switch (loadStructure(tree, structurePath, dataPath, true)) {
    case LoadResult::Loaded:
        return;
    case LoadResult::NoStructureFile:
        throw Error(QStringLiteral("Strukturfilen findes ikke: ") + QDir::toNativeSeparators(structurePath));
    case LoadResult::NoDataFile:
        throw Error(QStringLiteral("Datafilen findes ikke: ") + QDir::toNativeSeparators(dataPath));
    }
}

int exportStructure(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    try {
        ExportRequest request;
        if (!parseArguments(arguments, request)) {
            err << usage;
            return 2;
        }
        ElementTree tree;
        load(tree, request.paths[0], request.paths[1]);
        const QString name = request.name.isEmpty() ? publish::defaultStructureName(request.paths[0]) : request.name;
        const publish::Publication publication(tree, request.paths[2], name);
        const publish::Replace replace = request.replace ? publish::Replace::Yes : publish::Replace::No;
        if (request.format == QLatin1String("pdf")) {
            platform::keepFreedMemory();
            publish::exportBook(publication, request.paths[3], replace, request.margins);
        } else {
            publish::exportSite(publication, request.paths[3], replace);
        }
        out << "Eksporteret: " << tree.size() << " elementer til " << QDir::toNativeSeparators(request.paths[3])
            << '\n';
        return 0;
    } catch (const Error& error) {
        err << error.message() << '\n';
        return 1;
    }
}

const CommandRegistration registration("export",
    "export html|pdf STRUKTURFIL DATAFIL DOKUMENTMAPPE UDMAPPE|BOG.pdf [--navn NAVN] [--erstat] [--margener V,H,T,B]",
    exportStructure);

} // namespace
} // namespace struktur::cli
