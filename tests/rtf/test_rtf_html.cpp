// SPDX-License-Identifier: GPL-3.0-or-later
// The HTML writer on small documents: what each construct becomes, what never reaches the page
// (markup, unsafe links), and that the page comes out in pieces as it is read.
#include "rtf/Rtf.h"
#include "support/Pictures.h"

#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTest>

using namespace struktur;

namespace {

const QSet<QString> voidElements { u"br"_qs, u"col"_qs, u"img"_qs, u"meta"_qs };

/// The elements left open or closed out of turn, empty when every tag closes the one it should.
QString unbalancedTags(const QString& html)
{
    static const QRegularExpression tag(u"<(/?)([a-z0-9]+)[^>]*>"_qs);
    QStringList open;
    for (const QRegularExpressionMatch& match : tag.globalMatch(html)) {
        const QString name = match.captured(2);
        if (voidElements.contains(name))
            continue;
        if (match.captured(1).isEmpty()) {
            open.append(name);
        } else if (open.isEmpty() || open.takeLast() != name) {
            return u"stray </"_qs + name + u'>';
        }
    }
    return open.isEmpty() ? QString() : u"open: "_qs + open.join(u' ');
}

/// The fragment written for `rtf`, checked to be well nested, without the wrapping division.
QString fragment(const QByteArray& rtf, const rtf::PictureStore& store = {})
{
    rtf::HtmlOptions options;
    options.storePicture = store;
    QString html;
    rtf::html(rtf, options, [&html](QStringView piece) { html += piece; });
    const QString unbalanced = unbalancedTags(html);
    if (!unbalanced.isEmpty())
        qWarning().noquote() << unbalanced << html;
    if (!unbalanced.isEmpty() || !html.startsWith(u"<div class=\"dokument\">\n"_qs) || !html.endsWith(u"</div>\n"_qs))
        return u"<unbalanced>"_qs;
    return html.mid(23).chopped(7);
}

QByteArray png(QSize size) { return struktur::test::imageBytes(size, Qt::blue); }

} // namespace

class TestRtfHtml : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void characterFormattingBecomesStyles();
    void paragraphFormattingBecomesStyles();
    void markupInTheDocumentIsEscaped();
    void onlyWebLinksAreLinks();
    void listsNestAndCountOn();
    void tableCellsMergeAcrossRowsAndColumns();
    void nestedGroupsRestoreFormatting();
    void emptyAndPlainDocuments();
    void picturesGoToTheStoreOrStandAsBoxes();
    void footnotesFollowTheText();
    void pageIsHtml5InDanishWithTheDocumentsTitle();
    void pageComesOutInPiecesAsItIsRead();
};

void TestRtfHtml::characterFormattingBecomesStyles()
{
    const QString html = fragment("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}"
                                  "{\\colortbl;\\red200\\green0\\blue0;\\red0\\green0\\blue255;}"
                                  "\\fs20 lille \\f1\\fs36 stor \\f0\\fs24\\b fed\\b0 \\i kursiv\\i0 "
                                  "\\ul under\\ulnone  "
                                  "\\uldb\\strike begge\\strike0\\ulnone  \\ulwave b\\'f8lge\\ulnone  "
                                  "\\cf1 r\\'f8d\\cf0  \\highlight2 baggrund\\highlight0  "
                                  "\\super 2\\nosupersub  \\caps store\\par}");
    QVERIFY(html.contains(u"<span style=\"font-family:'Arial';font-size:10pt;\">lille </span>"_qs));
    QVERIFY(html.contains(u"<span style=\"font-family:'Times New Roman';font-size:18pt;\">stor </span>"_qs));
    QVERIFY(html.contains(u"font-weight:bold;\">fed<"_qs));
    QVERIFY(html.contains(u"font-style:italic;\">kursiv<"_qs));
    QVERIFY(html.contains(u"text-decoration:underline;\">under<"_qs));
    QVERIFY(html.contains(u"text-decoration:underline line-through;\">begge<"_qs));
    QVERIFY(html.contains(u"text-decoration:underline;text-decoration-style:wavy;\">bølge<"_qs));
    QVERIFY(html.contains(u"color:#c80000;\">rød<"_qs));
    QVERIFY(html.contains(u"background-color:#0000ff;\">baggrund<"_qs));
    QVERIFY(html.contains(u"vertical-align:super;\">2<"_qs));
    QVERIFY(html.contains(u"text-transform:uppercase;\">store<"_qs));
}

void TestRtfHtml::paragraphFormattingBecomesStyles()
{
    const QString html = fragment("{\\rtf1\\ansi\\qc midt\\par\\pard\\qr h\\'f8jre\\par\\pard\\qj lige\\par"
                                  "\\pard\\li720\\ri360\\fi-360 hængende\\par\\pard\\fi-720 ud over kanten\\par"
                                  "\\pard\\sb240\\sa120\\sl360\\slmult1 luft\\par\\pard\\pagebb ny side\\par}");
    const QStringList paragraphs = html.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(paragraphs.size(), 7);
    QVERIFY(paragraphs[0].startsWith(u"<p style=\"text-align:center;\">"_qs));
    QVERIFY(paragraphs[1].startsWith(u"<p style=\"text-align:right;\">"_qs));
    QVERIFY(paragraphs[2].startsWith(u"<p style=\"text-align:justify;\">"_qs));
    QVERIFY(paragraphs[3].startsWith(u"<p style=\"margin-left:48px;text-indent:-24px;margin-right:24px;\">"_qs));
    // A first line is never drawn left of the page.
    QVERIFY(paragraphs[4].startsWith(u"<p>"_qs));
    QVERIFY(paragraphs[5].startsWith(u"<p style=\"margin-top:16px;margin-bottom:8px;line-height:1.5;\">"_qs));
    QVERIFY(paragraphs[6].startsWith(u"<p style=\"break-before:page;\">"_qs));
}

void TestRtfHtml::markupInTheDocumentIsEscaped()
{
    const QString html = fragment("{\\rtf1\\ansi{\\fonttbl{\\f0 Evil'\"><script>;}}"
                                  "<script>alert(1)</script> & \"citat\"\\line ny linje\\tab fane\\u7?\\par}");
    QVERIFY(!html.contains(u"<script"_qs));
    QVERIFY(html.contains(u"&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;citat&quot;<br>ny linje\tfane"_qs));
    // The font name loses what could end its string or attribute; the control character is left out.
    QVERIFY(html.contains(u"font-family:'Evilscript';"_qs));
    QVERIFY(!html.contains(QChar(7)));
}

void TestRtfHtml::onlyWebLinksAreLinks()
{
    const QString html = fragment(
        "{\\rtf1\\ansi {\\field{\\*\\fldinst HYPERLINK \"javascript:alert(1)\"}{\\fldrslt farligt}} "
        "{\\field{\\*\\fldinst HYPERLINK \"JavaScript:alert(2)\"}{\\fldrslt ogs\\'e5}} "
        "{\\field{\\*\\fldinst HYPERLINK \"file:///etc/passwd\"}{\\fldrslt fil}} "
        "{\\field{\\*\\fldinst HYPERLINK \"https://example.org/?a=1&b=\\\\\"x\\\\\"\"}{\\fldrslt god}} "
        "{\\field{\\*\\fldinst HYPERLINK \"mailto:a@example.org\"}{\\fldrslt post}}\\par}");
    QVERIFY(!html.contains(u"javascript"_qs, Qt::CaseInsensitive));
    QVERIFY(!html.contains(u"file:"_qs));
    QVERIFY(html.contains(u">farligt</span>"_qs));
    QVERIFY(html.contains(u">fil</span>"_qs));
    QCOMPARE(html.count(u"<a href="_qs), 2);
    QVERIFY(html.contains(u"<a href=\"https://example.org/?a=1&amp;b="_qs));
    QVERIFY(html.contains(u"<a href=\"mailto:a@example.org\"><span"_qs));
}

void TestRtfHtml::listsNestAndCountOn()
{
    // Word's lists: a bullet level inside a numbered one, a paragraph between two items of the
    // numbered list, and a label CSS cannot draw ("a)"). Items keep their white space, so no
    // line break stands inside one.
    QString html = fragment("{\\rtf1\\ansi{\\fonttbl{\\f0 Calibri;}{\\f1\\fcharset2 Symbol;}}"
                            "{\\*\\listtable{\\list\\listtemplateid1"
                            "{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}"
                            "{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}{\\levelnumbers;}}\\listid42}"
                            "{\\list{\\listlevel\\levelnfc4{\\leveltext\\'02\\'00);}}\\listid7}}"
                            "{\\*\\listoverridetable{\\listoverride\\listid42\\listoverridecount0\\ls1}"
                            "{\\listoverride\\listid7\\listoverridecount0\\ls2}}"
                            "\\pard\\ls1\\ilvl0{\\listtext 1.\\tab}One\\par"
                            "\\pard\\ls1\\ilvl1{\\listtext\\f1 \\'b7\\tab}Sub\\par"
                            "\\pard Plain\\par"
                            "\\pard\\ls1\\ilvl0{\\listtext 2.\\tab}Two\\par"
                            "\\pard\\ls1\\ilvl1{\\listtext\\f1 \\'b7\\tab}Sub2\\par"
                            "\\pard\\ls2{\\listtext a)\\tab}Letter\\par}");
    static const QRegularExpression spans(u"</?span[^>]*>"_qs);
    html.remove(spans);
    QCOMPARE(html,
        u"<ol style=\"list-style-type:decimal\">\n"
        "<li>One<ul style=\"list-style-type:disc\"><li>Sub</li></ul></li></ol>\n"
        "<p>Plain</p>\n"
        "<ol style=\"list-style-type:decimal\" start=\"2\">\n"
        "<li>Two<ul style=\"list-style-type:disc\"><li>Sub2</li></ul></li></ol>\n"
        "<ol style=\"list-style-type:none\">\n<li>a) Letter</li></ol>\n"_qs);
    // The rich edit control's lists nest by their indent.
    const QString pn = fragment("{\\rtf1\\ansi{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\li360 a\\par"
                                "{\\*\\pn\\pnlvlbody\\pndec{\\pntxta.}}\\li1440 b\\par"
                                "\\pard{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\li360 c\\par}");
    QCOMPARE(pn.count(u"<li"_qs), 3);
    QVERIFY(pn.contains(u"a</span><ol"_qs));
    QVERIFY(pn.contains(u"b</span></li></ol></li>\n<li><span"_qs));
}

void TestRtfHtml::tableCellsMergeAcrossRowsAndColumns()
{
    const QString html = fragment("{\\rtf1\\ansi før\\par"
                                  "\\trowd\\trbrdrt\\brdrs\\clmgf\\cellx1500\\clmrg\\cellx3000\\clvmgf\\cellx4500"
                                  "\\pard\\intbl bred\\cell\\cell h\\'f8j\\cell\\row"
                                  "\\trowd\\cellx1500\\cellx3000\\clvmrg\\cellx4500"
                                  "\\pard\\intbl a\\cell b\\par b2\\cell\\cell\\row\\pard efter\\par}");
    QVERIFY(html.startsWith(u"<p><span"_qs));
    QVERIFY(html.contains(u"<table class=\"kanter\">\n"
                          "<colgroup><col style=\"width:100px\"><col style=\"width:100px\">"
                          "<col style=\"width:100px\"></colgroup>\n"_qs));
    QCOMPARE(html.count(u"<tr>"_qs), 2);
    QCOMPARE(html.count(u"<td"_qs), 4);
    QVERIFY(html.contains(u"<tr><td colspan=\"2\">"_qs));
    QVERIFY(html.contains(u"<td rowspan=\"2\">"_qs));
    // A cell of two paragraphs keeps both.
    QVERIFY(html.contains(u">b</span></p>\n<p><span style=\"font-size:12pt;\">b2</span></p>\n</td>"_qs));
    QVERIFY(html.contains(u"</table>\n<p><span style=\"font-size:12pt;\">efter"_qs));
}

void TestRtfHtml::nestedGroupsRestoreFormatting()
{
    const QString html = fragment("{\\rtf1\\ansi a{\\b b{\\i c{\\ul d}e}f}g\\par}");
    QCOMPARE(html,
        u"<p><span style=\"font-size:12pt;\">a</span>"
        "<span style=\"font-size:12pt;font-weight:bold;\">b</span>"
        "<span style=\"font-size:12pt;font-weight:bold;font-style:italic;\">c</span>"
        "<span style=\"font-size:12pt;font-weight:bold;font-style:italic;text-decoration:underline;\">d</span>"
        "<span style=\"font-size:12pt;font-weight:bold;font-style:italic;\">e</span>"
        "<span style=\"font-size:12pt;font-weight:bold;\">f</span>"
        "<span style=\"font-size:12pt;\">g</span></p>\n"_qs);
}

void TestRtfHtml::emptyAndPlainDocuments()
{
    QCOMPARE(fragment("{\\rtf1}"), QString());
    QCOMPARE(fragment("{\\rtf1\\ansi\\par\\par}"), u"<p><br></p>\n<p><br></p>\n"_qs);
    // Damaged input: what can be read is kept, the open groups are closed.
    QCOMPARE(fragment("{\\rtf1\\ansi{\\b halv"),
        u"<p><span style=\"font-size:12pt;font-weight:bold;\">halv</span></p>\n"_qs);
    // Not RTF: its text, a paragraph a line.
    QCOMPARE(fragment("a<b\r\n\r\nc"),
        u"<p><span style=\"font-size:12pt;\">a&lt;b</span></p>\n<p><br></p>\n"
        "<p><span style=\"font-size:12pt;\">c</span></p>\n"_qs);
}

void TestRtfHtml::picturesGoToTheStoreOrStandAsBoxes()
{
    const QByteArray bytes = png(QSize(8, 6));
    const QByteArray rtf = "{\\rtf1\\ansi {\\pict\\pngblip\\picw8\\pich6\\picwgoal240\\pichgoal180 " + bytes.toHex()
        + "}{\\pict\\pngblip\\picwgoal300\\pichgoal150 00ff00}"
          "{\\object\\objemb\\objw600\\objh300{\\*\\objdata 0102}}\\par}";
    QList<QByteArray> stored;
    const QString html = fragment(rtf, [&stored](const QByteArray& data, const QString& type, const QImage&) {
        stored.append(data);
        return type == u"png"_qs ? u"billede\"1.png"_qs : QString();
    });
    QCOMPARE(stored, QList<QByteArray> { bytes });
    QVERIFY(html.contains(u"<img src=\"billede&quot;1.png\" alt=\"\" width=\"16\" height=\"12\">"_qs));
    // Neither a damaged picture nor an object can be shown: each stands as a box of its size.
    QVERIFY(html.contains(u"<span class=\"objekt\" style=\"width:20px;height:10px\"></span>"_qs));
    QVERIFY(html.contains(u"<span class=\"objekt\" style=\"width:40px;height:20px\"></span>"_qs));
    // Without a store the picture is left out.
    QVERIFY(!fragment(rtf).contains(u"<img"_qs));
}

void TestRtfHtml::footnotesFollowTheText()
{
    const QString html
        = fragment("{\\rtf1\\ansi Tekst{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} Note <1>.}. Mere\\par}");
    QVERIFY(html.contains(u"Mere</span></p>\n<div class=\"fodnoter\">\n<p>1 Note &lt;1&gt;.</p>\n</div>\n"_qs));
}

void TestRtfHtml::pageIsHtml5InDanishWithTheDocumentsTitle()
{
    rtf::HtmlOptions options;
    options.page = true;
    options.title = u"filnavn"_qs;
    const auto page = [&options](const QByteArray& rtf) {
        QString html;
        rtf::html(rtf, options, [&html](QStringView piece) { html += piece; });
        return html;
    };
    const QString titled = page("{\\rtf1\\ansi{\\info{\\title Om <os> \\'e6\\'f8\\'e5}}Tekst\\par}");
    QVERIFY(titled.startsWith(u"<!DOCTYPE html>\n<html lang=\"da\">\n<head>\n<meta charset=\"utf-8\">\n"
                              "<title>Om &lt;os&gt; æøå</title>\n<style>\n"_qs));
    QVERIFY(titled.endsWith(u"</div>\n</body>\n</html>\n"_qs));
    QCOMPARE(unbalancedTags(titled), QString());
    QVERIFY(page("{\\rtf1\\ansi Tekst\\par}").contains(u"<title>filnavn</title>"_qs));
}

void TestRtfHtml::pageComesOutInPiecesAsItIsRead()
{
    // Many empty paragraphs: the page comes out in pieces of about the sink's size as it is
    // read, so that the whole page is never held.
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 200000; ++i)
        rtf += "\\par\n";
    rtf += "{\\b Slut}\\par}";
    QString joined;
    qsizetype largest = 0;
    qsizetype count = 0;
    rtf::html(rtf, {}, [&](QStringView piece) {
        joined += piece;
        largest = std::max(largest, piece.size());
        ++count;
    });
    QVERIFY(count > 30);
    QVERIFY(largest < rtf::HtmlSink::kPieceSize + 1024);
    QCOMPARE(joined.count(u"<p><br></p>\n"_qs), 200000);
    QVERIFY(joined.endsWith(u"font-weight:bold;\">Slut</span></p>\n</div>\n"_qs));

    // A long table goes out row by row; the rows of a vertical merge wait until it ends.
    QByteArray table = "{\\rtf1\\ansi \\trowd\\clvmgf\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row"
                       "\\trowd\\clvmrg\\cellx1000\\cellx2000\\intbl\\cell c\\cell\\row\\trowd\\cellx1000\\cellx2000";
    for (int i = 0; i < 20000; ++i)
        table += "\\intbl x\\cell y\\cell\\row\n";
    table += "}";
    QStringList pieces;
    rtf::html(table, {}, [&pieces](QStringView piece) { pieces.append(piece.toString()); });
    QVERIFY(pieces.size() > 20);
    QVERIFY(pieces[1].contains(u"<tr>"_qs));
    const QString page = pieces.join(QString());
    QCOMPARE(unbalancedTags(page), QString());
    QCOMPARE(page.count(u"<tr>"_qs), 20002);
    QVERIFY(page.contains(u"<tr><td rowspan=\"2\">\n"_qs));
    QVERIFY(page.contains(u"c</span></p>\n</td></tr>\n<tr><td>"_qs));
}

QTEST_MAIN(TestRtfHtml)
#include "test_rtf_html.moc"
