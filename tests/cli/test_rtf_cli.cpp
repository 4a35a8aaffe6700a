// SPDX-License-Identifier: GPL-3.0-or-later
// rtf2html from the command line: one HTML5 page with its pictures inline, for RTF and for
// plain text documents, and a clear failure for a file that cannot be read.
#include "support/CliRun.h"
#include "support/Files.h"
#include "support/Pictures.h"

#include <QTemporaryDir>
#include <QTest>

using namespace struktur::test;

namespace {

CliRun run(const QStringList& arguments)
{
    CliOptions options;
    options.environment = withoutDisplay();
    return runProgram(QStringLiteral(STRUKTUR_CLI), arguments, options);
}

QByteArray pngFile() { return struktur::test::imageBytes(QSize(4, 3), Qt::green); }

} // namespace

class TestRtfCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageHoldsItsPicturesInline();
    void plainTextDocumentIsAPageToo();
    void unreadableFileIsAFailure();
};

void TestRtfCli::pageHoldsItsPicturesInline()
{
    const QTemporaryDir dir;
    const QString document = dir.filePath(u"Indledning æøå.rtf"_qs);
    const QByteArray png = pngFile();
    QVERIFY(putBytes(document, "{\\rtf1\\ansi Tekst med \\'e6\\'f8\\'e5 {\\pict\\pngblip\\picw4\\pich3 " + png.toHex()
            + "}\\par}"));
    const CliRun result = run({ u"rtf2html"_qs, document });
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QString());
    QVERIFY(result.out.startsWith(u"<!DOCTYPE html>\n<html lang=\"da\">\n<head>\n<meta charset=\"utf-8\">\n"
                                  "<title>Indledning æøå</title>\n"_qs));
    QVERIFY(result.out.contains(u">Tekst med æøå </span><img src=\"data:image/png;base64,"_qs
        + QString::fromLatin1(png.toBase64()) + u"\" alt=\"\" width=\"4\" height=\"3\"></p>\n"_qs));
    QVERIFY(result.out.endsWith(u"</div>\n</body>\n</html>\n"_qs));
}

void TestRtfCli::plainTextDocumentIsAPageToo()
{
    const QTemporaryDir dir;
    const QString document = dir.filePath(u"noter.txt"_qs);
    QVERIFY(putBytes(document, "\xef\xbb\xbf" "f\xc3\xb8rste <linje>\r\nanden"));
    const CliRun result = run({ u"rtf2html"_qs, document });
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.contains(u"<div class=\"dokument\">\n"
                                "<p><span style=\"font-size:12pt;\">første &lt;linje&gt;</span></p>\n"
                                "<p><span style=\"font-size:12pt;\">anden</span></p>\n</div>\n"_qs));
}

void TestRtfCli::unreadableFileIsAFailure()
{
    const QTemporaryDir dir;
    const CliRun result = run({ u"rtf2html"_qs, dir.filePath(u"findes-ikke.rtf"_qs) });
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QString());
    QVERIFY(result.err.contains(u"findes-ikke.rtf"_qs));
}

QTEST_GUILESS_MAIN(TestRtfCli)
#include "test_rtf_cli.moc"
