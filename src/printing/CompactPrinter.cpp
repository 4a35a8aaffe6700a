// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompactPrinter.h"

#include "CompactTextEngine.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <QtPrintSupport/private/qprintengine_pdf_p.h>

#include <cups/cups.h>

namespace struktur {
namespace {

/// The CUPS library, loaded when the first job is handed over: linked, it would be loaded with
/// its score of dependencies at every start of both programs, also by the commands that never
/// print.
struct Cups {
    decltype(&cupsAddOption) addOption = nullptr;
    decltype(&cupsFreeOptions) freeOptions = nullptr;
    decltype(&cupsPrintFile) printFile = nullptr;
    decltype(&cupsLastErrorString) lastErrorString = nullptr;
    QString error; ///< why it could not be loaded

    static const Cups& library()
    {
        static const Cups cups = load();
        return cups;
    }

private:
    static Cups load()
    {
        Cups cups;
        QLibrary library(QStringLiteral("cups"), 2);
        if (!library.load()) {
            cups.error = library.errorString();
            return cups;
        }
        cups.addOption = reinterpret_cast<decltype(&cupsAddOption)>(library.resolve("cupsAddOption"));
        cups.freeOptions = reinterpret_cast<decltype(&cupsFreeOptions)>(library.resolve("cupsFreeOptions"));
        cups.printFile = reinterpret_cast<decltype(&cupsPrintFile)>(library.resolve("cupsPrintFile"));
        cups.lastErrorString
            = reinterpret_cast<decltype(&cupsLastErrorString)>(library.resolve("cupsLastErrorString"));
        if (!cups.addOption || !cups.freeOptions || !cups.printFile || !cups.lastErrorString)
            cups.error = library.errorString();
        return cups;
    }
};

} // namespace

/// Writes the job to a temporary PDF file and gives that file to CUPS as Qt's CUPS printing
/// does, with the options Qt gives it: the paper, one or two sides, landscape. Without a printer,
/// the job is written to a file of the caller's and stays there.
class PrintJobEngine : public CompactTextEngine<QPdfPrintEngine> {
public:
    /// Jobs for the CUPS queue `printer`, or for the file `path` when `printer` is empty.
    PrintJobEngine(QPrinter::PrinterMode mode, QString printer, const QString& path = {})
        : CompactTextEngine<QPdfPrintEngine>(mode)
        , m_printer(std::move(printer))
    {
        if (m_printer.isEmpty())
            setProperty(QPrintEngine::PPK_OutputFileName, path);
        else
            setProperty(QPrintEngine::PPK_PrinterName, m_printer);
    }

    ~PrintJobEngine() override { dropFile(); }

    bool begin(QPaintDevice* device) override
    {
        m_aborted = false;
        m_error.clear();
        dropFile();
        if (m_printer.isEmpty())
            return CompactTextEngine<QPdfPrintEngine>::begin(device);
        QTemporaryFile file(QDir::temp().filePath(QStringLiteral("strukturkonstruktoren-XXXXXX.pdf")));
        file.setAutoRemove(false);
        if (!file.open())
            return false;
        m_file = file.fileName();
        setProperty(QPrintEngine::PPK_OutputFileName, m_file);
        return CompactTextEngine<QPdfPrintEngine>::begin(device);
    }

    bool newPage() override
    {
        closeText();
        return CompactTextEngine<QPdfPrintEngine>::newPage();
    }

    bool abort() override
    {
        m_aborted = true;
        return true;
    }

    bool end() override
    {
        const bool ended = CompactTextEngine<QPdfPrintEngine>::end();
        // A dropped job is neither checked nor handed over: what went wrong is reported already.
        if (!m_aborted) {
            if (!ended || !endsWholly(property(QPrintEngine::PPK_OutputFileName).toString()))
                m_error = QStringLiteral("Udskriften kunne ikke skrives færdig (er disken fuld?)");
            else if (!m_printer.isEmpty())
                submit();
        }
        dropFile();
        return ended && m_error.isEmpty();
    }

    const QString& error() const { return m_error; }

private:
    void submit()
    {
        const Cups& cups = Cups::library();
        if (!cups.error.isEmpty()) {
            m_error = refused(cups.error);
            return;
        }
        const QPageLayout layout = property(QPrintEngine::PPK_QPageLayout).value<QPageLayout>();
        const bool landscape = layout.orientation() == QPageLayout::Landscape;
        int count = 0;
        cups_option_t* options = nullptr;
        count = cups.addOption("media", layout.pageSize().key().toLocal8Bit().constData(), count, &options);
        const auto duplex = QPrinter::DuplexMode(property(QPrintEngine::PPK_Duplex).toInt());
        const char* sides = "one-sided";
        if (duplex == QPrinter::DuplexLongSide || (duplex == QPrinter::DuplexAuto && !landscape))
            sides = "two-sided-long-edge";
        else if (duplex == QPrinter::DuplexShortSide || (duplex == QPrinter::DuplexAuto && landscape))
            sides = "two-sided-short-edge";
        count = cups.addOption("sides", sides, count, &options);
        if (landscape)
            count = cups.addOption("landscape", "", count, &options);
        // CUPS wants the queue's name without an instance.
        const QByteArray queue = m_printer.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
        const QByteArray title = property(QPrintEngine::PPK_DocumentName).toString().toLocal8Bit();
        const int job = cups.printFile(queue.constData(), QFile::encodeName(m_file).constData(), title.constData(),
            count, options);
        cups.freeOptions(count, options);
        if (job == 0)
            m_error = refused(QString::fromLocal8Bit(cups.lastErrorString()));
    }

    static QString refused(const QString& reason)
    {
        return QStringLiteral("Udskriften kunne ikke sendes til printeren: %1").arg(reason);
    }

    /// True when the file ends as a PDF file ends: Qt's engine does not report a failed write
    /// (a full disk), and a cut file must not be printed.
    static bool endsWholly(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.size() < 16 || !file.seek(file.size() - 16))
            return false;
        return file.read(16).contains("%%EOF");
    }

    void dropFile()
    {
        if (!m_file.isEmpty())
            QFile::remove(m_file);
        m_file.clear();
    }

    QString m_printer;
    QString m_file;
    QString m_error;
    bool m_aborted = false;
};

CompactPrinter::CompactPrinter(const QPrinterInfo& printer, PrinterMode mode)
    : QPrinter(printer, mode)
{
    // The system's engine has read the printer's paper, margins and sides; the job engine takes them.
    const QPageLayout layout = pageLayout();
    const DuplexMode sides = duplex();
    m_engine = std::make_unique<PrintJobEngine>(mode, printerName());
    setEngines(m_engine.get(), m_engine.get());
    setPageLayout(layout);
    setDuplex(sides);
}

CompactPrinter::CompactPrinter(const QString& path, PrinterMode mode)
    : QPrinter(mode)
    , m_engine(std::make_unique<PrintJobEngine>(mode, QString(), path))
{
    setEngines(m_engine.get(), m_engine.get());
    setPageSize(QPageSize(QPageSize::A4));
}

CompactPrinter::~CompactPrinter() = default;

QString CompactPrinter::jobError() const { return m_engine->error(); }

} // namespace struktur
