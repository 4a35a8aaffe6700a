// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExportFixture.h"
#include "export/Publication.h"
#include "export/SiteWriter.h"
#include "platform/Error.h"
#include "rtf/Rtf.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>

using namespace struktur;
using namespace struktur::publish;
using struktur::test::ExportFixture;
using struktur::test::fileBytes;

namespace {

QString fileText(const QString& path) { return QString::fromUtf8(fileBytes(path)); }

/// The text a reader sees in a piece of HTML: bullets of list items, block ends as spaces, inline tags dropped, the
/// entities the writer uses decoded, runs of white space as one space.
QString visibleText(QString html)
{
    static const QRegularExpression blockTag(
        QStringLiteral("</?(p|li|td|tr|table|ul|ol|br|div|h1|nav|colgroup|col)\\b[^>]*>"));
    static const QRegularExpression anyTag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression listItem(QStringLiteral("<li\\b[^>]*>"));
    // The browser draws a bullet list's marks, which the plain text writes out.
    html.replace(listItem, QStringLiteral(" • "));
    html.replace(blockTag, QStringLiteral(" "));
    html.remove(anyTag);
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return html.simplified();
}

/// The part of a page between two markers (both excluded), or an empty string.
QString between(const QString& text, const QString& from, const QString& to)
{
    const qsizetype start = text.indexOf(from);
    if (start < 0)
        return {};
    const qsizetype end = text.indexOf(to, start + from.size());
    return end < 0 ? QString() : text.mid(start + from.size(), end - start - from.size());
}

QStringList linkTexts(const QString& html)
{
    static const QRegularExpression link(QStringLiteral("<a href=\"[^\"]*\">([^<]*)</a>"));
    QStringList texts;
    for (const QRegularExpressionMatch& match : link.globalMatch(html))
        texts.append(visibleText(match.captured(1)));
    return texts;
}

} // namespace

class TestSiteWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void everyElementHasAPageAndEveryLinkResolves();
    void pageTextIsTheDocumentsText();
    void indexListsEveryElementInTreeOrder();
    void pagesLinkAncestorsNeighboursAndChildren();
    void documentMarkupIsEscapedAndUnsafeLinksDropped();
    void pagesAreUtf8Html5InDanish();
    void urlSafeNames_data();
    void urlSafeNames();
    void pageNamesAreUniqueAndStable();
    void badTargetsLeaveNothingBehind();
    void cancellingLeavesNoSite();
    void commandLineExportsAndRefusesToReplace();

private:
    QString siteFolder() const { return m_fixture->path(QStringLiteral("Side æøå")); }
    Publication publication() const
    {
        return Publication(m_fixture->tree(), m_fixture->documentFolder(), QStringLiteral("Håndbog"));
    }
    void exportTo(const QString& target, Replace replace = Replace::No) { exportSite(publication(), target, replace); }

    std::unique_ptr<ExportFixture> m_fixture;
};

void TestSiteWriter::init()
{
    m_fixture = std::make_unique<ExportFixture>();
    QVERIFY(m_fixture->isValid());
}

void TestSiteWriter::everyElementHasAPageAndEveryLinkResolves()
{
    exportTo(siteFolder());
    const QStringList names = pageNames(publication());
    QCOMPARE(names.size(), m_fixture->tree().size());
    for (const QString& name : names)
        QVERIFY2(QFileInfo::exists(siteFolder() + QStringLiteral("/sider/") + name + QStringLiteral(".html")),
            qPrintable(name));

    static const QRegularExpression reference(QStringLiteral("(?:href|src|action)=\"([^\"]*)\""));
    int checked = 0;
    QDirIterator pages(siteFolder(), { QStringLiteral("*.html") }, QDir::Files, QDirIterator::Subdirectories);
    while (pages.hasNext()) {
        const QString page = pages.next();
        for (const QRegularExpressionMatch& match : reference.globalMatch(fileText(page))) {
            const QString address = match.captured(1);
            if (address.startsWith(QLatin1String("https://")))
                continue;
            QVERIFY2(!address.contains(QLatin1Char(':')), qPrintable(page + QStringLiteral(": ") + address));
            const QString file = address.section(QLatin1Char('?'), 0, 0).section(QLatin1Char('#'), 0, 0);
            const QString target = QFileInfo(page).absolutePath() + QLatin1Char('/') + file;
            QVERIFY2(QFileInfo(target).isFile(), qPrintable(page + QStringLiteral(" -> ") + address));
            ++checked;
        }
    }
    QVERIFY(checked > 50);
}

void TestSiteWriter::pageTextIsTheDocumentsText()
{
    exportTo(siteFolder());
    const Publication site = publication();
    const QStringList names = pageNames(site);
    int withDocument = 0;
    for (size_t i = 0; i < site.elements().size(); ++i) {
        const Element& element = *site.elements()[i];
        const QString path = site.documentPath(element);
        if (path.isEmpty())
            continue;
        ++withDocument;
        const QString page
            = fileText(siteFolder() + QStringLiteral("/sider/") + names[qsizetype(i)] + QStringLiteral(".html"));
        const QString shown
            = visibleText(between(page, QStringLiteral("<div class=\"dokument\""), QStringLiteral("</main>"))
                              .section(QLatin1Char('>'), 1));
        QCOMPARE(shown, rtf::plainText(fileBytes(path)).simplified());
    }
    QCOMPARE(withDocument, 5);
}

void TestSiteWriter::indexListsEveryElementInTreeOrder()
{
    exportTo(siteFolder());
    const QString index = fileText(siteFolder() + QStringLiteral("/index.html"));
    const QString tree = between(index, QStringLiteral("<ul class=\"trae\">"), QStringLiteral("</nav>"));
    QCOMPARE(linkTexts(tree), m_fixture->captions());
    // Elements with children fold; the nesting follows the levels.
    QCOMPARE(tree.count(QStringLiteral("<details")), 3);
    QVERIFY(tree.contains(QStringLiteral("<details open><summary><img src=\"ikoner/ikon0.png\"")));
    QVERIFY(visibleText(between(index, QStringLiteral("<h1>"), QStringLiteral("</h1>"))) == QStringLiteral("Håndbog"));
    for (int icon = 0; icon < 9; ++icon)
        QVERIFY(QImage(siteFolder() + QStringLiteral("/ikoner/ikon%1.png").arg(icon)).width() == 32);
}

void TestSiteWriter::pagesLinkAncestorsNeighboursAndChildren()
{
    exportTo(siteFolder());
    const QStringList names = pageNames(publication());
    const auto page = [&](int index) {
        return fileText(siteFolder() + QStringLiteral("/sider/") + names[index] + QStringLiteral(".html"));
    };
    // "Uden dokument" (no file name) is the fourth element: its page names its place and its neighbours.
    const QString withoutDocument = page(3);
    QCOMPARE(linkTexts(between(withoutDocument, QStringLiteral("<nav class=\"sti\""), QStringLiteral("</nav>"))),
        (QStringList { QStringLiteral("Indhold"), QStringLiteral("Indledning"), QStringLiteral("Kapitel æøå") }));
    QCOMPARE(linkTexts(between(withoutDocument, QStringLiteral("<nav class=\"bladre\""), QStringLiteral("</nav>"))),
        (QStringList { QStringLiteral("Afsnit med tabel"), QStringLiteral("Indhold"), QStringLiteral("Bilag Ærø") }));
    // "Bilag Ærø" has a file name whose document is missing: its page lists its children.
    const QString missing = page(4);
    QCOMPARE(linkTexts(between(missing, QStringLiteral("<ul class=\"boern\">"), QStringLiteral("</ul>"))),
        (QStringList { QStringLiteral("Billede"), QStringLiteral("Gentaget dokument") }));
    QVERIFY(!page(0).contains(QStringLiteral("Forrige:")));
    QVERIFY(!page(6).contains(QStringLiteral("Næste:")));
    // The picture is stored beside its page, byte for byte as the document holds it.
    const QString picture = siteFolder() + QStringLiteral("/sider/") + names[5] + QStringLiteral("-billede1.png");
    QCOMPARE(QImage(picture).size(), QSize(8, 6));
    QVERIFY(page(5).contains(QStringLiteral("<img src=\"") + names[5] + QStringLiteral("-billede1.png\"")));
}

void TestSiteWriter::documentMarkupIsEscapedAndUnsafeLinksDropped()
{
    exportTo(siteFolder());
    const QString page = fileText(siteFolder() + QStringLiteral("/sider/indledning.html"));
    QVERIFY(page.contains(QStringLiteral("&lt;tekst&gt; &amp; &quot;citat&quot;")));
    QVERIFY(page.contains(QStringLiteral("<a href=\"https://example.org/\">")));
    QVERIFY(!page.contains(QStringLiteral("javascript"), Qt::CaseInsensitive));
    QVERIFY(page.contains(QStringLiteral("et farligt")));
    // Formatting comes through as styles and structure.
    QVERIFY(page.contains(QStringLiteral("text-align:center")));
    QVERIFY(page.contains(QStringLiteral("font-weight:bold")));
    QVERIFY(page.contains(QStringLiteral("font-style:italic")));
    QVERIFY(page.contains(QStringLiteral("color:#c80000")));
    QVERIFY(page.contains(QStringLiteral("text-decoration:underline")));
    QCOMPARE(page.count(QRegularExpression(QStringLiteral("<li[ >]"))), 2);
    const QString table = fileText(siteFolder() + QStringLiteral("/sider/tabel.html"));
    QCOMPARE(table.count(QStringLiteral("<tr>")), 2);
    QCOMPARE(table.count(QStringLiteral("<td")), 4);
}

void TestSiteWriter::pagesAreUtf8Html5InDanish()
{
    exportTo(siteFolder());
    QDirIterator pages(siteFolder(), { QStringLiteral("*.html") }, QDir::Files, QDirIterator::Subdirectories);
    while (pages.hasNext()) {
        const QByteArray bytes = fileBytes(pages.next());
        QVERIFY(bytes.startsWith("<!DOCTYPE html>\n<html lang=\"da\">\n<head>\n<meta charset=\"utf-8\">"));
        QCOMPARE(QString::fromUtf8(bytes).toUtf8(), bytes);
        // Nothing the site needs lies outside it.
        QVERIFY(!bytes.contains("src=\"http"));
        QVERIFY(!bytes.contains("<link rel=\"stylesheet\" href=\"http"));
    }
    const QString index = fileText(siteFolder() + QStringLiteral("/soegeindeks.js"));
    QVERIFY(
        index.contains(QStringLiteral("[\"Kapitel æøå\",\"sider/kapitel-aeoeaa.html\",\"kapitel æøå kapitlets tekst")));
    QVERIFY(index.contains(QStringLiteral("blåbærgrød")));
}

void TestSiteWriter::urlSafeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("safe");
    QTest::newRow("plain") << u"dokument12"_qs << u"dokument12"_qs;
    QTest::newRow("danish letters") << u"Æble ØL å"_qs << u"aeble-oel-aa"_qs;
    QTest::newRow("accents dropped") << u"café über"_qs << u"cafe-uber"_qs;
    QTest::newRow("separators") << u"../a/b?c#d&e"_qs << u"a-b-c-d-e"_qs;
    QTest::newRow("nothing left") << u"???"_qs << u"side"_qs;
    QTest::newRow("empty") << QString() << u"side"_qs;
    QTest::newRow("long") << QString(200, u'x') << QString(80, u'x');
}

void TestSiteWriter::urlSafeNames()
{
    QFETCH(QString, name);
    QFETCH(QString, safe);
    QCOMPARE(urlSafeName(name), safe);
}

void TestSiteWriter::pageNamesAreUniqueAndStable()
{
    QCOMPARE(pageNames(publication()),
        (QStringList { u"indledning"_qs, u"kapitel-aeoeaa"_qs, u"tabel"_qs, u"uden-dokument"_qs, u"mangler"_qs,
            u"billede"_qs, u"indledning-2"_qs }));
}

void TestSiteWriter::badTargetsLeaveNothingBehind()
{
    const auto error = [this](const QString& folder, const QString& target, Replace replace) -> QString {
        try {
            exportSite(Publication(m_fixture->tree(), folder, QStringLiteral("x")), target, replace);
        } catch (const Error& e) {
            return e.message();
        }
        return {};
    };
    QVERIFY(error(m_fixture->path(QStringLiteral("ingen mappe")), siteFolder(), Replace::No)
                .startsWith(QStringLiteral("Dokumentmappen findes ikke: ")));
    QVERIFY(!QFileInfo::exists(siteFolder()));

    QVERIFY(error(m_fixture->documentFolder(), m_fixture->path(QStringLiteral("ingen/mappe")), Replace::No)
                .startsWith(QStringLiteral("Mappen findes ikke: ")));

    QDir().mkpath(siteFolder());
    QVERIFY(struktur::test::putBytes(siteFolder() + QStringLiteral("/gammel.txt"), "gammel"));
    QVERIFY(error(m_fixture->documentFolder(), siteFolder(), Replace::No).endsWith(QStringLiteral(" findes allerede")));
    QCOMPARE(fileBytes(siteFolder() + QStringLiteral("/gammel.txt")), QByteArray("gammel"));
    QCOMPARE(error(m_fixture->documentFolder(), siteFolder(), Replace::Yes), QString());
    QVERIFY(!QFileInfo::exists(siteFolder() + QStringLiteral("/gammel.txt")));
    QVERIFY(QFileInfo::exists(siteFolder() + QStringLiteral("/index.html")));

    // A folder nobody may write in; the super-user may write anywhere but in /proc.
    const QString locked = m_fixture->path(QStringLiteral("låst"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool lockable = !QFileInfo(locked).isWritable();
    const QString unwritable = lockable ? locked : QStringLiteral("/proc");
    const QString message = error(m_fixture->documentFolder(), unwritable + QStringLiteral("/side"), Replace::No);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY2(message.startsWith(QStringLiteral("Cannot create file")), qPrintable(message));
    QCOMPARE(QDir(locked).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void TestSiteWriter::cancellingLeavesNoSite()
{
    QDir().mkpath(siteFolder());
    QVERIFY(struktur::test::putBytes(siteFolder() + QStringLiteral("/gammel.txt"), "gammel"));
    qsizetype calls = 0;
    QVERIFY_THROWS_EXCEPTION(
        Cancelled, exportSite(publication(), siteFolder(), Replace::Yes, [&](qsizetype done, qsizetype total) {
            ++calls;
            return done < total / 2;
        }));
    QCOMPARE(calls, 3);
    QCOMPARE(QDir(siteFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { u"gammel.txt"_qs });
    // No staging folder is left beside the target.
    const QStringList beside
        = QDir(m_fixture->path(QString())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QCOMPARE(beside, (QStringList { u"Håndbog"_qs, u"Side æøå"_qs }));
}

void TestSiteWriter::commandLineExportsAndRefusesToReplace()
{
    const QString target = siteFolder();
    const QStringList files { m_fixture->structurePath(), m_fixture->dataPath(), m_fixture->documentFolder(), target };
    QString output;
    // The folder's name is the default title; options may stand between the paths.
    QCOMPARE(ExportFixture::runCli(QStringList { u"export"_qs, u"html"_qs } + files, &output), 0);
    QVERIFY(fileText(target + QStringLiteral("/index.html")).contains(QStringLiteral("<h1>Håndbog</h1>")));
    QCOMPARE(ExportFixture::runCli(QStringList { u"export"_qs, u"html"_qs } + files, &output), 1);
    QVERIFY2(output.contains(QStringLiteral("findes allerede")), qPrintable(output));
    QCOMPARE(ExportFixture::runCli({ u"export"_qs, u"html"_qs, files[0], u"--erstat"_qs, files[1], u"--navn"_qs,
                                       u"Min bog"_qs, files[2], files[3] },
                 &output),
        0);
    QVERIFY(fileText(target + QStringLiteral("/index.html")).contains(QStringLiteral("<h1>Min bog</h1>")));
    QCOMPARE(ExportFixture::runCli({ u"export"_qs, u"html"_qs, files[0], files[1], files[2] }, &output), 2);
    QCOMPARE(ExportFixture::runCli({ u"export"_qs, u"odt"_qs, files[0], files[1], files[2], files[3] }, &output), 2);
    QCOMPARE(ExportFixture::runCli(
                 { u"export"_qs, u"html"_qs, files[0], files[1], files[2], files[3], u"--ukendt"_qs }, &output),
        2);
    QCOMPARE(ExportFixture::runCli({ u"export"_qs, u"html"_qs, m_fixture->path(u"ingen.txt"_qs), files[1], files[2],
                                       m_fixture->path(u"ny"_qs) },
                 &output),
        1);
    QVERIFY2(output.contains(QStringLiteral("Strukturfilen findes ikke: ")), qPrintable(output));
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    TestSiteWriter test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_site_writer.moc"
