// SPDX-License-Identifier: GPL-3.0-or-later
// struktur print: prints a document on the default printer as the print window does, for
// printing many documents (help topics, say) without the program.
#include "Command.h"

#include "platform/Error.h"
#include "platform/Memory.h"
#include "printing/PrintRichText.h"
#include "printing/Printer.h"
#include "printing/PrintValues.h"
#include "rtf/Rtf.h"

#include <QFile>
#include <QTextDocument>

namespace struktur::cli {
namespace {

constexpr char usage[] = "Brug: struktur print FIL.rtf [--margener V,H,T,B] [--kopier N]\n"
                         "  margener i centimeter (standard 2.5,1,2,1.5), kopier standard 1\n";

struct PrintRequest {
    QString path;
    Margins margins { 2.5L, 1, 2, 1.5L };
    qint32 copies = 1;
};

// Margins are separated by commas, so their decimals are written with a point here.
Margins parseMargins(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        throw Error(QStringLiteral("'%1' er ikke fire margener V,H,T,B").arg(text));
    return { marginValue(parts[0]), marginValue(parts[1]), marginValue(parts[2]), marginValue(parts[3]) };
}

// Returns false for arguments that do not fit the usage.
bool parseArguments(const QStringList& arguments, PrintRequest& request)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--margener") && hasValue)
            request.margins = parseMargins(arguments[++i]);
        else if (argument == QLatin1String("--kopier") && hasValue)
            request.copies = copiesValue(arguments[++i]);
        else if (argument.startsWith(QLatin1String("--")) || !request.path.isEmpty())
            return false;
        else
            request.path = argument;
    }
    return !request.path.isEmpty();
}

int print(const QStringList& arguments, QTextStream&, QTextStream& err)
{
    try {
        PrintRequest request;
        if (!parseArguments(arguments, request)) {
            err << usage;
            return 2;
        }
        QFile file(request.path);
        if (!file.open(QIODevice::ReadOnly))
            throw Error::cannotOpenFile(request.path, file.errorString());
        platform::keepFreedMemory();
        // The document is shown nowhere, so it is printed itself, not a copy as the editor's is.
        QTextDocument document;
        rtf::loadDocument(file.readAll(), document);
        Printer& printer = Printer::defaultPrinter();
        const PageRect page = pageRectangle(printer.metrics(), request.margins, TRichTextMeasurements::rtmCentimetres);
        for (qint32 copy = 0; copy < request.copies; ++copy)
            printDocument(printer, document, page, QString());
        return 0;
    } catch (const Error& error) {
        err << error.message() << '\n';
        return 1;
    }
}

const CommandRegistration registration("print", "print FIL.rtf [--margener V,H,T,B] [--kopier N]", print);

} // namespace
} // namespace struktur::cli
