// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/ExportFixture.h"
#include "platform/Error.h"
#include "printing/PdfBook.h"
#include "rtf/Rtf.h"

#include <QApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace struktur;
using namespace struktur::publish;
using struktur::test::ExportFixture;
using struktur::test::fileBytes;

namespace {

/// The output of a poppler tool on a file; empty when it fails.
QString tool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

/// The text of each page (first page at 0), laid out as on paper.
QStringList pageTexts(const QString& pdf)
{
    QStringList pages = tool(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") })
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

/// The outline as lines: two spaces per level, the title, " @" and the page number.
QStringList outlineLines(const QString& pdf)
{
    const QString xml = tool(QStringLiteral("pdftohtml"),
        { QStringLiteral("-xml"), QStringLiteral("-i"), QStringLiteral("-q"), QStringLiteral("-stdout"), pdf });
    static const QRegularExpression token(QStringLiteral("<outline>|</outline>|<item page=\"(\\d+)\">([^<]*)</item>"));
    QStringList lines;
    int depth = -1;
    for (const QRegularExpressionMatch& match : token.globalMatch(xml)) {
        if (match.captured(0) == QLatin1String("<outline>"))
            ++depth;
        else if (match.captured(0) == QLatin1String("</outline>"))
            --depth;
        else
            lines.append(QString(2 * depth, u' ') + match.captured(2) + QStringLiteral(" @") + match.captured(1));
    }
    return lines;
}

/// A heading as the text tools give it: its number and caption on one line, spaced as laid out.
QRegularExpression heading(const QString& title)
{
    const QString number = title.section(QLatin1Char(' '), 0, 0);
    const QString caption = title.section(QLatin1Char(' '), 1);
    return QRegularExpression(QStringLiteral("(^|\\n)\\s*") + QRegularExpression::escape(number) + QStringLiteral(" +")
        + QRegularExpression::escape(caption) + QStringLiteral("\\s*\\n"));
}

} // namespace

class TestPdfBook : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void bookHoldsEveryHeadingAndDocumentInOrder();
    void outlineMirrorsTheTree();
    void contentsAndFootersGiveTheRightPages();
    void longDocumentsBreakBetweenLines();
    void metadataAndFonts();
    void badTargetsAndCancellingLeaveNoBook();
    void commandLineMarginsAndReplacing();

private:
    QString bookPath() const { return m_fixture->path(QStringLiteral("Bog æøå.pdf")); }
    void writeTo(const QString& target, const Margins& margins = defaultBookMargins())
    {
        exportBook(Publication(m_fixture->tree(), m_fixture->documentFolder(), QStringLiteral("Håndbog")), target,
            Replace::No, margins);
    }

    std::unique_ptr<ExportFixture> m_fixture;
};

void TestPdfBook::init()
{
    m_fixture = std::make_unique<ExportFixture>();
    QVERIFY(m_fixture->isValid());
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftohtml")).isEmpty(), "poppler-utils missing");
}

void TestPdfBook::bookHoldsEveryHeadingAndDocumentInOrder()
{
    writeTo(bookPath());
    const QStringList pages = pageTexts(bookPath());
    QVERIFY(pages.size() >= 3);
    QVERIFY(pages[0].contains(QStringLiteral("Håndbog")));
    const QString body = pages.mid(2).join(QLatin1Char('\n'));
    const QStringList headings { u"1 Indledning"_qs, u"1.1 Kapitel æøå"_qs, u"1.1.1 Afsnit med tabel"_qs,
        u"1.1.2 Uden dokument"_qs, u"2 Bilag Ærø"_qs, u"2.1 Billede"_qs, u"2.2 Gentaget dokument"_qs };
    const Publication publication(m_fixture->tree(), m_fixture->documentFolder(), QStringLiteral("Håndbog"));
    qsizetype at = 0;
    for (size_t i = 0; i < publication.elements().size(); ++i) {
        at = body.indexOf(heading(headings[qsizetype(i)]), at);
        QVERIFY2(at >= 0, qPrintable(headings[qsizetype(i)]));
        const QString path = publication.documentPath(*publication.elements()[i]);
        if (path.isEmpty())
            continue;
        // Each word of the document comes after its heading, before the next one.
        for (const QString& word :
            rtf::plainText(fileBytes(path)).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            // A bullet is drawn as a shape, so it is not in the page's text.
            if (word == QStringLiteral("•"))
                continue;
            const qsizetype found = body.indexOf(word, at);
            QVERIFY2(found >= 0, qPrintable(word));
            at = found;
        }
    }
}

void TestPdfBook::outlineMirrorsTheTree()
{
    writeTo(bookPath());
    QStringList titles;
    for (const QString& line : outlineLines(bookPath()))
        titles.append(line.section(QStringLiteral(" @"), 0, 0));
    QCOMPARE(titles,
        (QStringList { u"1 Indledning"_qs, u"  1.1 Kapitel æøå"_qs, u"    1.1.1 Afsnit med tabel"_qs,
            u"    1.1.2 Uden dokument"_qs, u"2 Bilag Ærø"_qs, u"  2.1 Billede"_qs, u"  2.2 Gentaget dokument"_qs }));
}

void TestPdfBook::contentsAndFootersGiveTheRightPages()
{
    // A long chapter pushes later headings onto later pages.
    QByteArray longText = "{\\rtf1\\ansi ";
    for (int i = 1; i <= 150; ++i)
        longText += "Linje " + QByteArray::number(i) + " i kapitlet\\par ";
    QVERIFY(struktur::test::putBytes(m_fixture->documentPath(u"kapitel æøå"_qs), longText + '}'));
    writeTo(bookPath());
    const QStringList pages = pageTexts(bookPath());
    QVERIFY(pages.size() >= 6);
    // Contents lines: number, caption, page.
    static const QRegularExpression entry(
        QStringLiteral("^\\s*([\\d.]+) (.+?)\\s{2,}(\\d+)\\s*$"), QRegularExpression::MultilineOption);
    int entries = 0;
    for (const QRegularExpressionMatch& match : entry.globalMatch(pages[1])) {
        const int page = match.captured(3).toInt();
        QVERIFY2(page >= 3 && page <= pages.size(), qPrintable(match.captured(0)));
        const QString title = match.captured(1) + QLatin1Char(' ') + match.captured(2);
        QVERIFY2(pages[page - 1].contains(heading(title)),
            qPrintable(title + QStringLiteral(" not on page ") + match.captured(3)));
        ++entries;
    }
    QCOMPARE(entries, 7);
    // The outline points at the same pages.
    for (const QString& line : outlineLines(bookPath())) {
        const int page = line.section(QStringLiteral(" @"), 1).toInt();
        QVERIFY2(
            pages[page - 1].contains(heading(line.section(QStringLiteral(" @"), 0, 0).trimmed())), qPrintable(line));
    }
    // Every page after the title carries its number as the last text.
    for (int page = 2; page <= pages.size(); ++page)
        QCOMPARE(pages[page - 1].trimmed().split(QLatin1Char('\n')).last().trimmed(), QString::number(page));
}

void TestPdfBook::longDocumentsBreakBetweenLines()
{
    QByteArray longText = "{\\rtf1\\ansi ";
    for (int i = 1; i <= 300; ++i)
        longText += "Linje " + QByteArray::number(i) + " hel og holden\\par ";
    QVERIFY(struktur::test::putBytes(m_fixture->documentPath(u"indledning"_qs), longText + '}'));
    writeTo(bookPath());
    const QStringList pages = pageTexts(bookPath());
    int found = 0;
    int lastPage = 0;
    for (int i = 1; i <= 300; ++i) {
        const QString line = QStringLiteral("Linje %1 hel og holden").arg(i);
        int onPage = -1;
        for (int p = 0; p < pages.size() && onPage < 0; ++p)
            if (pages[p].contains(line + QLatin1Char('\n')) || pages[p].endsWith(line))
                onPage = p;
        QVERIFY2(onPage >= lastPage, qPrintable(line));
        lastPage = onPage;
        ++found;
    }
    QCOMPARE(found, 300);
    QVERIFY(lastPage >= 4);
}

void TestPdfBook::metadataAndFonts()
{
    writeTo(bookPath());
    const QString info = tool(QStringLiteral("pdfinfo"), { bookPath() });
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Håndbog\\n"))), qPrintable(info));
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 841|842"))));
    const QStringList fonts
        = tool(QStringLiteral("pdffonts"), { bookPath() }).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    for (const QString& font : fonts)
        QVERIFY2(font.contains(QRegularExpression(QStringLiteral("\\s+yes\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+$"))),
            qPrintable(font));
}

void TestPdfBook::badTargetsAndCancellingLeaveNoBook()
{
    const auto error = [this](const QString& target, Replace replace) -> QString {
        try {
            exportBook(Publication(m_fixture->tree(), m_fixture->documentFolder(), QStringLiteral("x")), target,
                replace, defaultBookMargins());
        } catch (const Error& e) {
            return e.message();
        }
        return {};
    };
    QVERIFY(struktur::test::putBytes(bookPath(), "gammel"));
    QVERIFY(error(bookPath(), Replace::No).endsWith(QStringLiteral(" findes allerede")));
    QCOMPARE(fileBytes(bookPath()), QByteArray("gammel"));
    QVERIFY(error(QStringLiteral("/proc/bog.pdf"), Replace::No).startsWith(QStringLiteral("Cannot create file")));
    QVERIFY(
        error(m_fixture->path(u"ingen/bog.pdf"_qs), Replace::No).startsWith(QStringLiteral("Mappen findes ikke: ")));

    QVERIFY_THROWS_EXCEPTION(Cancelled,
        exportBook(Publication(m_fixture->tree(), m_fixture->documentFolder(), QStringLiteral("x")), bookPath(),
            Replace::Yes, defaultBookMargins(), [](qsizetype done, qsizetype) { return done < 2; }));
    QCOMPARE(fileBytes(bookPath()), QByteArray("gammel"));
    QCOMPARE(QDir(m_fixture->path(QString())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList { u"Bog æøå.pdf"_qs, u"Håndbog"_qs }));
    QCOMPARE(error(bookPath(), Replace::Yes), QString());
    QVERIFY(fileBytes(bookPath()).startsWith("%PDF-"));
}

void TestPdfBook::commandLineMarginsAndReplacing()
{
    const QStringList files { m_fixture->structurePath(), m_fixture->dataPath(), m_fixture->documentFolder() };
    const QString narrow = m_fixture->path(u"smal.pdf"_qs);
    QString output;
    QCOMPARE(
        ExportFixture::runCli(QStringList { u"export"_qs, u"pdf"_qs } + files + QStringList { bookPath() }, &output),
        0);
    QCOMPARE(ExportFixture::runCli(QStringList { u"export"_qs, u"pdf"_qs, u"--margener"_qs, u"8,8,10,10"_qs } + files
                     + QStringList { narrow },
                 &output),
        0);
    QVERIFY(pageTexts(narrow).size() > pageTexts(bookPath()).size());
    QVERIFY(tool(QStringLiteral("pdfinfo"), { bookPath() }).contains(QStringLiteral("Håndbog")));
    QCOMPARE(
        ExportFixture::runCli(QStringList { u"export"_qs, u"pdf"_qs } + files + QStringList { bookPath() }, &output),
        1);
    QVERIFY(output.contains(QStringLiteral("findes allerede")));
    QCOMPARE(ExportFixture::runCli(QStringList { u"export"_qs, u"pdf"_qs, u"--erstat"_qs } + files
                     + QStringList { bookPath(), u"--navn"_qs, u"Anden titel"_qs },
                 &output),
        0);
    QVERIFY(tool(QStringLiteral("pdfinfo"), { bookPath() }).contains(QStringLiteral("Anden titel")));
    QCOMPARE(ExportFixture::runCli(QStringList { u"export"_qs, u"pdf"_qs, u"--margener"_qs, u"1,2"_qs } + files
                     + QStringList { m_fixture->path(u"x.pdf"_qs) },
                 &output),
        1);
    QCOMPARE(ExportFixture::runCli(QStringList { u"export"_qs, u"pdf"_qs, u"--margener"_qs, u"15,15,2,2"_qs } + files
                     + QStringList { m_fixture->path(u"x.pdf"_qs) },
                 &output),
        1);
    QVERIFY2(output.contains(QStringLiteral("ingen plads")), qPrintable(output));
    QVERIFY(!QFileInfo::exists(m_fixture->path(u"x.pdf"_qs)));
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestPdfBook test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_pdf_book.moc"
