// SPDX-License-Identifier: GPL-3.0-or-later
// The exported site in a real browser: headless Chromium loads the pages from the file system.
#include "ExportFixture.h"
#include "export/Publication.h"
#include "export/SiteWriter.h"

#include <QGuiApplication>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>

using namespace struktur;
using namespace struktur::publish;
using struktur::test::ExportFixture;

namespace {

struct Browser {
    int exitCode = -1;
    QString output; ///< standard output (a dumped DOM)
    QString log; ///< standard error, where console messages are logged
};

Browser chromium(const QStringList& arguments, const QString& profile)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    Browser result;
    if (program.isEmpty())
        return result;
    QProcess process;
    process.start(program,
        QStringList { QStringLiteral("--headless=new"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
            QStringLiteral("--no-first-run"), QStringLiteral("--enable-logging=stderr"), QStringLiteral("--v=0"),
            QStringLiteral("--user-data-dir=") + profile, QStringLiteral("--window-size=900,700") }
            + arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    result.log = QString::fromUtf8(process.readAllStandardError());
    return result;
}

/// Lines of the browser's log that report the page's console or a resource it could not load.
QStringList pageProblems(const QString& log)
{
    QStringList problems;
    for (const QString& line : log.split(QLatin1Char('\n')))
        if (line.contains(QStringLiteral("CONSOLE")) || line.contains(QStringLiteral("ERR_FILE_NOT_FOUND"))
            || line.contains(QStringLiteral("Not allowed to load")))
            problems.append(line);
    return problems;
}

/// A picture that shows something: many colours, not one plain field.
int colourCount(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

class TestSiteBrowser : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pagesLoadWithoutConsoleErrors_data();
    void pagesLoadWithoutConsoleErrors();
    void searchFindsPagesFromTheFileSystem();

private:
    QString url(const QString& file) const { return QUrl::fromLocalFile(m_site + QLatin1Char('/') + file).toString(); }

    std::unique_ptr<ExportFixture> m_fixture;
    QString m_site;
    QString m_profile;
};

void TestSiteBrowser::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("chromium")).isEmpty(),
        "chromium is missing: run scripts/install-deps.sh");
    m_fixture = std::make_unique<ExportFixture>();
    QVERIFY(m_fixture->isValid());
    m_site = m_fixture->path(QStringLiteral("Side æøå"));
    m_profile = m_fixture->path(QStringLiteral("profil"));
    exportSite(
        Publication(m_fixture->tree(), m_fixture->documentFolder(), QStringLiteral("Håndbog")), m_site, Replace::No);
}

void TestSiteBrowser::pagesLoadWithoutConsoleErrors_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("screenshot");
    QTest::newRow("index") << u"index.html"_qs << u"site-index.png"_qs;
    QTest::newRow("page with list and link") << u"sider/indledning.html"_qs << u"site-page.png"_qs;
    QTest::newRow("page with table") << u"sider/tabel.html"_qs << QString();
}

void TestSiteBrowser::pagesLoadWithoutConsoleErrors()
{
    QFETCH(QString, page);
    QFETCH(QString, screenshot);
    const QString picture = m_fixture->path(QStringLiteral("skærmbillede.png"));
    const Browser run = chromium({ QStringLiteral("--screenshot=") + picture, url(page) }, m_profile);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(pageProblems(run.log).join(u'\n'), QString());
    const QImage image(picture);
    QCOMPARE(image.size(), QSize(900, 700));
    QVERIFY2(colourCount(image) > 20, "the screenshot is blank");
    // The screenshots are kept for the documentation when asked for.
    const QString keep = qEnvironmentVariable("STRUKTUR_SCREENSHOTS");
    if (!keep.isEmpty() && !screenshot.isEmpty()) {
        QFile::remove(keep + QLatin1Char('/') + screenshot);
        QVERIFY(QFile::copy(picture, keep + QLatin1Char('/') + screenshot));
    }
}

void TestSiteBrowser::searchFindsPagesFromTheFileSystem()
{
    QUrl search = QUrl::fromLocalFile(m_site + QStringLiteral("/soeg.html"));
    search.setQuery(QStringLiteral("q=Blåbærgrød"));
    const Browser run = chromium({ QStringLiteral("--dump-dom"), search.toString(QUrl::FullyEncoded) }, m_profile);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(pageProblems(run.log).join(u'\n'), QString());
    QVERIFY2(run.output.contains(QStringLiteral("<a href=\"sider/kapitel-aeoeaa.html\">Kapitel æøå</a>")),
        qPrintable(run.output));
    QVERIFY(run.output.contains(QStringLiteral("1 side fundet.")));
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    TestSiteBrowser test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_site_browser.moc"
