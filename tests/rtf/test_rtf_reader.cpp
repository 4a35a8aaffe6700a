// SPDX-License-Identifier: GPL-3.0-or-later
// The reader, one construct group per test, on small documents in the forms the rich edit
// control, Word and LibreOffice write.
#include "DocumentDump.h"
#include "support/Pictures.h"

#include "rtf/DocumentProperties.h"
#include "rtf/Rtf.h"

#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

using namespace struktur;
using namespace struktur::rtf::test;

namespace {

QByteArray hexOf(const QByteArray& data) { return data.toHex(); }

QByteArray imageFile(const char* format, QSize size) { return struktur::test::imageBytes(size, Qt::red, format); }

QTextTable* firstTable(const QTextDocument& document)
{
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto* table = qobject_cast<QTextTable*>(it.currentFrame()))
            return table;
    }
    return nullptr;
}

QList<QTextImageFormat> images(const QTextDocument& document)
{
    QList<QTextImageFormat> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                found << it.fragment().charFormat().toImageFormat();
        }
    }
    return found;
}

} // namespace

class TestRtfReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void syntax_data();
    void syntax();
    void unicode_data();
    void unicode();
    void codePages_data();
    void codePages();
    void characterFormats_data();
    void characterFormats();
    void plainResetsToDefaults();
    void paragraphFormats_data();
    void paragraphFormats();
    void pageBreakStartsNextParagraph();
    void richEditBullets();
    void richEditNumbering();
    void wordLists();
    void tables_data();
    void tables();
    void mergedCells();
    void hyperlinks_data();
    void hyperlinks();
    void pictures();
    void unshownPicturesStayOpaque();
    void hostileInputIsBounded_data();
    void hostileInputIsBounded();
    void documentAndPlainTextAgree();
    void textRuns_data();
    void textRuns();
    void runEndsAtEveryOffset();
    void plainTextComesInParagraphPieces();
    void loadFallsBackToPlainText_data();
    void loadFallsBackToPlainText();
};

void TestRtfReader::syntax_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("minimal") << rtfBytes("{\\rtf1 x}") << "x\n";
    QTest::newRow("empty") << rtfBytes("{\\rtf1}") << "";
    QTest::newRow("delimiter space eaten") << rtfBytes("{\\rtf1 \\b bold\\b0  x}") << "bold x\n";
    QTest::newRow("any other delimiter is text") << rtfBytes("{\\rtf1 a\\b0;b}") << "a;b\n";
    QTest::newRow("control symbols") << rtfBytes("{\\rtf1 \\\\ \\{ \\} x}") << "\\ { } x\n";
    QTest::newRow("par and line") << rtfBytes("{\\rtf1 a\\par b\\line c\\par}") << "a\nb\nc\n";
    QTest::newRow("raw line ends are not text") << rtfBytes("{\\rtf1 a\r\nb\rc\nd}") << "abcd\n";
    QTest::newRow("backslash newline is par") << rtfBytes("{\\rtf1 a\\\nb\\\r\nc}") << "a\nb\nc\n";
    QTest::newRow("raw tab") << rtfBytes("{\\rtf1 a\tb}") << "a\tb\n";
    QTest::newRow("missing final brace") << rtfBytes("{\\rtf1 a\\par b") << "a\nb\n";
    QTest::newRow("text after root is ignored") << QByteArray("{\\rtf1 a}}junk\0{b}", 18) << "a\n";
    QTest::newRow("nul bytes") << QByteArray("{\\rtf1 a\0b}", 11) << "ab\n";
    QTest::newRow("unknown word keeps group text") << rtfBytes("{\\rtf1 {\\foo a}b}") << "ab\n";
    QTest::newRow("unknown starred group skipped") << rtfBytes("{\\rtf1 {\\*\\foo a{b}}c}") << "c\n";
    QTest::newRow("word of 33 letters") << rtfBytes("{\\rtf1 \\abcdefghijabcdefghijabcdefghijabc x}") << "x\n";
    QTest::newRow("negative sign needs a digit") << rtfBytes("{\\rtf1 \\li-x}") << "-x\n";
    QTest::newRow("header tables skipped")
        << rtfBytes("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
                    "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}{\\*\\generator G;}x}")
        << "x\n";
    QTest::newRow("headers and footers skipped") << rtfBytes("{\\rtf1 {\\header h}{\\footerl f}ab}") << "ab\n";
    QTest::newRow("footnote marks in the text, footnotes after it")
        << rtfBytes("{\\rtf1 a{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} one\\par two}b"
                    "{\\chftn}{\\*\\footnote {\\chftn} three{\\pict\\pngblip 00}}\\par}")
        << "a1b2\n\n1 one\ntwo\n2 three\n";
    QTest::newRow("nonshppict skipped") << rtfBytes("{\\rtf1 {\\nonshppict {\\pict x}}y}") << "y\n";
    QTest::newRow("upr reads the unicode part")
        << rtfBytes("{\\rtf1 {\\upr{ansi}{\\*\\ud{\\u230?x}}}}") << u"æx\n"_qs;
    QTest::newRow("special characters")
        << rtfBytes("{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\~\\-\\_}")
        << u"—–‘’“”•\u00A0\u00AD\u2011\n"_qs;
    QTest::newRow("broken hex escapes dropped") << rtfBytes("{\\rtf1 a\\'zzb\\'4") << "azzb\n";
    QTest::newRow("bin data is not tokenized") << rtfBytes("{\\rtf1 {\\pict\\bin4 {}\\x}y}") << "y\n";
    QTest::newRow("bin longer than the file") << rtfBytes("{\\rtf1 a{\\pict\\bin999 xx") << "a\n";
    QTest::newRow("negative bin ignored") << rtfBytes("{\\rtf1 a\\bin-5 b}") << "ab\n";
    QTest::newRow("bin inside a skipped group") << rtfBytes("{\\rtf1 {\\*\\x\\bin3 }}}}b}") << "b\n";
    QTest::newRow("hidden text") << rtfBytes("{\\rtf1 a{\\v hidden}b}") << "ab\n";
    QTest::newRow("pntext and listtext are not text")
        << rtfBytes("{\\rtf1 {\\pntext 1.\\tab}{\\listtext\\'b7\\tab}x}") << "x\n";
    QTest::newRow("field instructions are not text")
        << rtfBytes("{\\rtf1 {\\field{\\*\\fldinst PAGE }{\\fldrslt 7}}}") << "7\n";
}

void TestRtfReader::syntax()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(rtf::plainText(rtf), text);
}

void TestRtfReader::unicode_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("default fallback of one") << rtfBytes("{\\rtf1 \\u8364?x}") << u"€x\n"_qs;
    QTest::newRow("uc1 with hex fallback") << rtfBytes("{\\rtf1\\uc1\\u8364\\'80x}") << u"€x\n"_qs;
    QTest::newRow("uc2 skips two hex") << rtfBytes("{\\rtf1\\uc2\\u8364\\'80\\'80x}") << u"€x\n"_qs;
    QTest::newRow("uc0 keeps what follows") << rtfBytes("{\\rtf1\\uc0\\u8364 ?}") << u"€?\n"_qs;
    QTest::newRow("skip ends at group end") << rtfBytes("{\\rtf1\\uc3{\\u8364}ab}") << u"€ab\n"_qs;
    QTest::newRow("control word counts as fallback") << rtfBytes("{\\rtf1 a\\u8364\\par b}") << u"a€b\n"_qs;
    QTest::newRow("uc is scoped") << rtfBytes("{\\rtf1 {\\uc0 \\u8364}\\u8364?}") << u"€€\n"_qs;
    QTest::newRow("negative values") << rtfBytes("{\\rtf1 \\u-3913?}") << u"\uF0B7\n"_qs;
    QTest::newRow("symbol font private use")
        << rtfBytes("{\\rtf1{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0\\u-3913?}") << u"•\n"_qs;
    QTest::newRow("surrogate pair") << rtfBytes("{\\rtf1 \\u-10179?\\u-8694?}") << u"😊\n"_qs;
    QTest::newRow("lone surrogate replaced") << rtfBytes("{\\rtf1 a\\u-10179?b}") << u"a\uFFFDb\n"_qs;
    QTest::newRow("out of range ignored") << rtfBytes("{\\rtf1 a\\u99999?b}") << u"ab\n"_qs;
    QTest::newRow("huge number") << rtfBytes("{\\rtf1 a\\u99999999999999999999?b}") << u"ab\n"_qs;
    QTest::newRow("characters Qt reserves are dropped")
        << rtfBytes("{\\rtf1 a\\u65532?\\u64976?\\u8233?\\u10?\\u0?b}") << u"ab\n"_qs;
}

void TestRtfReader::unicode()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(rtf::plainText(rtf), text);
}

void TestRtfReader::codePages_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("cp1252 upper half") << rtfBytes("{\\rtf1\\ansi\\ansicpg1252 \\'e6\\'f8\\'e5\\'80\\'96\\'93}")
                                       << u"æøå€–“\n"_qs;
    QTest::newRow("raw 8-bit bytes") << rtfBytes("{\\rtf1\\ansi bl\xe5""b\xe6r}") << u"blåbær\n"_qs;
    QTest::newRow("ansicpg1251") << rtfBytes("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}") << u"При\n"_qs;
    QTest::newRow("font charset wins")
        << rtfBytes("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}"
                    "\\'e6{\\f1 \\'cf}\\'e6}")
        << u"æПæ\n"_qs;
    QTest::newRow("charset 1 uses the document's")
        << rtfBytes("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset1 X;}}\\f0 \\'b9}") << u"ą\n"_qs;
    QTest::newRow("shift-jis with raw trail bytes")
        << rtfBytes("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'82\\'a0\\'93\\'fa\\'96{\\'7b}}")
        << u"あ日本\n"_qs;
    QTest::newRow("gb2312") << rtfBytes("{\\rtf1{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 \\'d6\\'d0\\'ce\\'c4}")
                            << u"中文\n"_qs;
    QTest::newRow("mac roman") << rtfBytes("{\\rtf1\\mac \\'bf\\'8c}") << u"øå\n"_qs;
    QTest::newRow("symbol font")
        << rtfBytes("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}{\\f1 \\'b7 a\\'d4}}") << u"• α™\n"_qs;
    QTest::newRow("unknown code page as cp1252") << rtfBytes("{\\rtf1\\ansicpg4242 \\'e6}") << u"æ\n"_qs;
}

void TestRtfReader::codePages()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(rtf::plainText(rtf), text);
}

void TestRtfReader::characterFormats_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    const char* header = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Calibri;}{\\f1\\froman Times New Roman;}}"
                         "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red1\\green2\\blue3;}";
    const auto row = [&](const char* name, const char* body, const char* expected) {
        QTest::newRow(name) << (QByteArray(header) + body + "}") << QString::fromUtf8(expected);
    };
    row("defaults", "X", "font=Calibri pt=12");
    row("bold italic strike", "\\b\\i\\strike X", "font=Calibri pt=12 bold italic strike");
    row("toggles off", "\\b\\i\\b0\\i0 X", "font=Calibri pt=12");
    row("font and size", "\\f1\\fs21 X", "font=Times New Roman pt=10.5");
    row("undefined font", "\\f99 X", "pt=12");
    row("underline", "\\ul X", "font=Calibri pt=12 underline=1");
    row("double underline is single", "\\uldb X", "font=Calibri pt=12 underline=1");
    row("dotted underline", "\\uld X", "font=Calibri pt=12 underline=3");
    row("dash underline", "\\uldash X", "font=Calibri pt=12 underline=2");
    row("wave underline", "\\ulwave X", "font=Calibri pt=12 underline=6");
    row("underline off", "\\ul\\ulnone X", "font=Calibri pt=12");
    row("superscript", "\\super X", "font=Calibri pt=12 super");
    row("subscript then normal", "\\sub\\nosupersub X", "font=Calibri pt=12");
    row("colour", "\\cf1 X", "font=Calibri pt=12 color=#ff0000");
    row("auto colour", "\\cf1\\cf0 X", "font=Calibri pt=12");
    row("undefined colour", "\\cf42 X", "font=Calibri pt=12");
    row("highlight", "\\highlight2 X", "font=Calibri pt=12 background=#0000ff");
    row("shading", "\\chshdng0\\chcbpat3 X", "font=Calibri pt=12 background=#010203");
    row("cb", "\\cb1 X", "font=Calibri pt=12 background=#ff0000");
    row("small capitals", "\\scaps X", "font=Calibri pt=12 caps=3");
    row("group restores", "{\\b\\cf1 a}X", "font=Calibri pt=12");
    row("huge size clamped", "\\fs99999999999999 X", "font=Calibri pt=1638");
}

void TestRtfReader::characterFormats()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    rtf::read(rtf, document);
    const QString text = dump(document);
    const qsizetype line = text.indexOf(u"\"X\"");
    QVERIFY(line >= 0);
    QCOMPARE(text.mid(line, text.indexOf(u'\n', line) - line), u"\"X\" "_qs + expected);
}

void TestRtfReader::plainResetsToDefaults()
{
    QTextDocument document;
    rtf::read("{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\deff0\\f1\\fs40\\b\\i\\ul x\\plain y}", document);
    QCOMPARE(dump(document).section(u'\n', 2, 2).trimmed(), u"\"y\" font=A pt=12"_qs);
}

void TestRtfReader::paragraphFormats_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("centred with spacing") << rtfBytes("{\\rtf1\\pard\\qc\\sb300\\sa150 X\\par}")
                                          << "align=4 before=20 after=10";
    QTest::newRow("right") << rtfBytes("{\\rtf1\\pard\\qr X\\par}") << "align=2";
    QTest::newRow("justified") << rtfBytes("{\\rtf1\\pard\\qj X\\par}") << "align=8";
    QTest::newRow("indents") << rtfBytes("{\\rtf1\\pard\\li1440\\ri720\\fi-360 X\\par}")
                             << "align=1 left=96 first=-24 right=48";
    QTest::newRow("multiple line spacing") << rtfBytes("{\\rtf1\\pard\\sl276\\slmult1 X\\par}") << "align=1 line=115/1";
    QTest::newRow("exact line spacing") << rtfBytes("{\\rtf1\\pard\\sl-300\\slmult0 X\\par}") << "align=1 line=20/2";
    QTest::newRow("at least line spacing") << rtfBytes("{\\rtf1\\pard\\sl360 X\\par}") << "align=1 line=24/3";
    QTest::newRow("tab stops") << rtfBytes("{\\rtf1\\pard\\tx720\\tqr\\tx2880\\tqc\\tx4320 X\\par}")
                               << "align=1 tab=48/0 tab=192/1 tab=288/2";
    QTest::newRow("pard resets") << rtfBytes("{\\rtf1\\qc\\li720 a\\par\\pard X\\par}") << "align=1";
    QTest::newRow("properties last to the paragraph end")
        << rtfBytes("{\\rtf1\\pard X\\qr\\par}") << "align=2";
    QTest::newRow("properties carry to the next paragraph")
        << rtfBytes("{\\rtf1\\pard\\qc a\\par X\\par}") << "align=4";
}

void TestRtfReader::paragraphFormats()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    rtf::read(rtf, document);
    const QTextBlock block = blockOf(document, u"X"_qs);
    QVERIFY(block.isValid());
    QTextDocument single;
    QString text = dump(document);
    const qsizetype line = text.indexOf(u"\"X\"");
    const qsizetype start = text.lastIndexOf(u"block ", line);
    QCOMPARE(text.mid(start + 6, text.indexOf(u'\n', start) - start - 6), expected);
}

void TestRtfReader::pageBreakStartsNextParagraph()
{
    QTextDocument document;
    rtf::read("{\\rtf1 a\\page b\\par\\page c\\par}", document);
    QCOMPARE(documentText(document), u"a\nb\nc\n"_qs);
    QVERIFY(!(document.findBlockByNumber(0).blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
    QVERIFY(document.findBlockByNumber(1).blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    QVERIFY(document.findBlockByNumber(2).blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

void TestRtfReader::richEditBullets()
{
    // As the rich edit control writes a bullet list: \pn on the first item only.
    const QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Calibri;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
                           "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
                           "\\fi-360\\li720 En\\par\r\n{\\pntext\\f1\\'B7\\tab}To\\par\r\n\\pard Tre\\par\r\n"
                           "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb o}}\\fi-360\\li720 Fire\\par}";
    QTextDocument document;
    rtf::read(rtf, document);
    QCOMPARE(documentText(document), u"    • En\n    • To\nTre\n    ◦ Fire\n"_qs);
    const QTextList* first = blockOf(document, u"En"_qs).textList();
    QVERIFY(first);
    QCOMPARE(first->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(first->count(), 2);
    QCOMPARE(blockOf(document, u"To"_qs).textList(), first);
    QVERIFY(!blockOf(document, u"Tre"_qs).textList());
    const QTextList* second = blockOf(document, u"Fire"_qs).textList();
    QVERIFY(second && second != first);
    QCOMPARE(second->format().style(), QTextListFormat::ListCircle);
}

void TestRtfReader::richEditNumbering()
{
    const QByteArray rtf = "{\\rtf1\\pard{\\pntext 1)\\tab}{\\*\\pn\\pnlvlbody\\pnindent0\\pnstart1\\pnlcltr{\\pntxta )}}"
                           "\\fi-360\\li720 a\\par{\\pntext 2)\\tab}b\\par"
                           "\\pard{\\*\\pn\\pnlvlbody\\pnucrm{\\pntxtb (}{\\pntxta )}}\\fi-360\\li1440 i\\par"
                           "\\pard{\\*\\pn\\pnlvlbody\\pnlcltr{\\pntxta )}}\\fi-360\\li720 c\\par}";
    QTextDocument document;
    rtf::read(rtf, document);
    const QTextList* letters = blockOf(document, u"a"_qs).textList();
    QVERIFY(letters);
    QCOMPARE(letters->format().style(), QTextListFormat::ListLowerAlpha);
    QCOMPARE(letters->format().numberSuffix(), u")"_qs);
    const QTextList* roman = blockOf(document, u"i"_qs).textList();
    QVERIFY(roman && roman != letters);
    QCOMPARE(roman->format().style(), QTextListFormat::ListUpperRoman);
    QCOMPARE(roman->format().indent(), 2);
    QCOMPARE(roman->format().numberPrefix(), u"("_qs);
    // The outer list goes on after its nested list.
    QCOMPARE(blockOf(document, u"c"_qs).textList(), letters);
    QCOMPARE(letters->itemNumber(blockOf(document, u"c"_qs)), 2);
}

void TestRtfReader::wordLists()
{
    // Word's form: list table, override table, \ls and \ilvl on each paragraph, \listtext for old readers.
    const QByteArray rtf
        = "{\\rtf1\\ansi{\\fonttbl{\\f0 Calibri;}{\\f1\\fcharset2 Symbol;}}"
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
          "\\pard\\ls2{\\listtext a)\\tab}Letter\\par}";
    QTextDocument document;
    rtf::read(rtf, document);
    QCOMPARE(documentText(document), u"    1. One\n        • Sub\nPlain\n    2. Two\n        • Sub2\n    a) Letter\n"_qs);
    const QTextList* numbers = blockOf(document, u"One"_qs).textList();
    QVERIFY(numbers);
    QCOMPARE(numbers->format().style(), QTextListFormat::ListDecimal);
    QCOMPARE(numbers->format().numberSuffix(), u"."_qs);
    // Word's numbering goes on across a paragraph outside the list.
    QCOMPARE(blockOf(document, u"Two"_qs).textList(), numbers);
    QCOMPARE(numbers->itemNumber(blockOf(document, u"Two"_qs)), 1);
    const QTextList* sub = blockOf(document, u"Sub"_qs).textList();
    QVERIFY(sub);
    QCOMPARE(sub->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(sub->format().indent(), 2);
    // A deeper level counts again after each item above it.
    QVERIFY(blockOf(document, u"Sub2"_qs).textList() != sub);
    const QTextList* letters = blockOf(document, u"Letter"_qs).textList();
    QVERIFY(letters);
    QCOMPARE(letters->format().style(), QTextListFormat::ListLowerAlpha);
    QCOMPARE(letters->format().numberSuffix(), u")"_qs);
}

void TestRtfReader::tables_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("rich edit row")
        << rtfBytes("{\\rtf1 Før\\par\\trowd\\trgaph108\\trleft-108\\cellx1500\\cellx3000 \\pard\\intbl a\\cell b\\cell\\row"
                    "\\trowd\\cellx1500\\cellx3000 \\pard\\intbl c\\cell d\\par e\\cell\\row\\pard Efter\\par}")
        << "table 2x2 | a | b | c | d/e";
    QTest::newRow("word row with cell properties first")
        << rtfBytes("{\\rtf1\\trowd\\clbrdrt\\brdrs\\cellx2000\\clbrdrt\\brdrs\\cellx4000\\pard\\plain\\intbl x\\cell"
                    "\\pard\\plain\\intbl y\\cell\\pard\\plain\\intbl\\row\\pard z\\par}")
        << "table 1x2 | x | y";
    QTest::newRow("no row end") << rtfBytes("{\\rtf1\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\pard z\\par}")
                                << "table 1x2 | a | b";
    QTest::newRow("surplus cells add columns")
        << rtfBytes("{\\rtf1\\trowd\\cellx1000\\intbl a\\cell b\\cell c\\cell\\row\\pard z\\par}")
        << "table 1x3 | a | b | c";
    QTest::newRow("nested table flattened")
        << rtfBytes("{\\rtf1\\trowd\\cellx4000\\intbl o\\par\\itap2 n1\\nestcell n2\\nestcell"
                    "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}\\itap1 \\cell\\row\\pard z\\par}")
        << "table 1x1 | o/n1/n2/";
    QTest::newRow("row without cell definitions")
        << rtfBytes("{\\rtf1\\trowd\\intbl a\\cell\\row\\pard z\\par}") << "table 1x1 | a";
}

void TestRtfReader::tables()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    rtf::read(rtf, document);
    const QTextTable* table = firstTable(document);
    QVERIFY(table);
    QStringList parts { QStringLiteral("table %1x%2").arg(table->rows()).arg(table->columns()) };
    for (int r = 0; r < table->rows(); ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            QTextCursor cursor = table->cellAt(r, c).firstCursorPosition();
            cursor.setPosition(table->cellAt(r, c).lastCursorPosition().position(), QTextCursor::KeepAnchor);
            parts << cursor.selectedText().replace(QChar::ParagraphSeparator, u'/');
        }
    }
    QCOMPARE(parts.join(u" | "), expected);
    // The text around the table stays outside it.
    const QTextBlock after = blockOf(document, expected.startsWith(u"table 2x2") ? u"Efter"_qs : u"z"_qs);
    QVERIFY(after.isValid());
    QVERIFY(!QTextCursor(after).currentTable());
}

void TestRtfReader::mergedCells()
{
    QTextDocument document;
    rtf::read("{\\rtf1\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\clvmgf\\cellx3000\\intbl a\\cell\\cell v\\cell\\row"
              "\\trowd\\cellx1000\\cellx2000\\clvmrg\\cellx3000\\intbl b\\cell c\\cell\\cell\\row\\pard\\par}",
        document);
    const QTextTable* table = firstTable(document);
    QVERIFY(table);
    QCOMPARE(table->cellAt(0, 0).columnSpan(), 2);
    QCOMPARE(table->cellAt(0, 2).rowSpan(), 2);
    QCOMPARE(table->cellAt(1, 1).columnSpan(), 1);
}

void TestRtfReader::hyperlinks_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("href");

    QTest::newRow("word quoted")
        << rtfBytes("{\\rtf1 {\\field{\\*\\fldinst {HYPERLINK \"http://eksempel.dk/\\\\\\\\x\" \\\\o \"tip\"}}"
                    "{\\fldrslt {\\ul\\cf1 LINK}}} efter}")
        << "http://eksempel.dk/\\x";
    QTest::newRow("rich edit unquoted")
        << rtfBytes("{\\rtf1 {\\field{\\*\\fldinst{HYPERLINK http://x.dk }}{\\fldrslt{LINK\\ul0\\cf0}}} efter}")
        << "http://x.dk";
    QTest::newRow("ungrouped instruction")
        << rtfBytes("{\\rtf1 {\\field\\fldinst HYPERLINK \"mailto:a@b.dk\" {\\fldrslt LINK}} efter}") << "mailto:a@b.dk";
    QTest::newRow("anchor switch")
        << rtfBytes("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \\\\l \"afsnit\" \\\\t \"_blank\"}{\\fldrslt LINK}} efter}")
        << "#afsnit";
    QTest::newRow("other field kinds give no link")
        << rtfBytes("{\\rtf1 {\\field{\\*\\fldinst INCLUDEPICTURE \"http://x\"}{\\fldrslt LINK}} efter}") << "";
}

void TestRtfReader::hyperlinks()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, href);
    QTextDocument document;
    rtf::read(rtf, document);
    QCOMPARE(documentText(document), u"LINK efter\n"_qs);
    const QTextCharFormat link = formatOf(document, u"LINK"_qs);
    QCOMPARE(link.isAnchor(), !href.isEmpty());
    QCOMPARE(link.anchorHref(), href);
    QVERIFY(!formatOf(document, u"efter"_qs).isAnchor());
}

void TestRtfReader::pictures()
{
    const QByteArray png = imageFile("png", QSize(4, 3));
    const QByteArray jpeg = imageFile("jpeg", QSize(8, 8));
    QByteArray hex = hexOf(png);
    hex.insert(10, "\r\n  ");
    const QByteArray rtf = "{\\rtf1 {\\pict\\pngblip\\picw106\\pich79\\picwgoal1500\\pichgoal750 " + hex
        + "}{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}\\jpegblip\\picscalex50\\picscaley200 " + hexOf(jpeg)
        + "}}{\\nonshppict{\\pict\\wmetafile8 0102}}{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + ' ' + png
        + "}}";
    QTextDocument document;
    rtf::read(rtf, document);
    const QList<QTextImageFormat> found = images(document);
    QCOMPARE(found.size(), 3);
    QCOMPARE(found[0].width(), 100.0);
    QCOMPARE(found[0].height(), 50.0);
    QCOMPARE(found[0].property(rtf::kImageDataProperty).toByteArray(), png);
    QCOMPARE(found[0].stringProperty(rtf::kImageTypeProperty), u"png"_qs);
    QVERIFY(!document.resource(QTextDocument::ImageResource, QUrl(found[0].name())).value<QImage>().isNull());
    // Without a goal size the picture's own size counts, scaled.
    QCOMPARE(found[1].width(), 4.0);
    QCOMPARE(found[1].height(), 16.0);
    QCOMPARE(found[1].stringProperty(rtf::kImageTypeProperty), u"jpeg"_qs);
    // The picture and the copy for older readers are kept together as read.
    const QByteArray pair = found[1].property(rtf::kOpaqueGroupProperty).toByteArray();
    QVERIFY(pair.startsWith("{\\*\\shppict{\\pict"));
    QVERIFY(pair.endsWith("{\\nonshppict{\\pict\\wmetafile8 0102}}"));
    QCOMPARE(found[2].property(rtf::kImageDataProperty).toByteArray(), png);
}

void TestRtfReader::unshownPicturesStayOpaque()
{
    const QByteArray wmf = "{\\pict\\wmetafile8\\picw2000\\pichgoal1500\\picwgoal3000 0100090000}";
    const QByteArray object = "{\\object\\objemb\\objw1500\\objh1500{\\*\\objclass Paint.Picture}"
                              "{\\*\\objdata 01050000\\bin3 }{\\}{\\result {\\pict\\wmetafile8 00}}}";
    const QByteArray brokenPng = "{\\pict\\pngblip 00112233}";
    QTextDocument document;
    rtf::read("{\\rtf1 a" + wmf + "b" + object + "c" + brokenPng + "d}", document);
    QCOMPARE(documentText(document), u"abcd\n"_qs);
    const QList<QTextImageFormat> found = images(document);
    QCOMPARE(found.size(), 3);
    QCOMPARE(found[0].property(rtf::kOpaqueGroupProperty).toByteArray(), wmf);
    QCOMPARE(found[0].width(), 200.0);
    QCOMPARE(found[0].height(), 100.0);
    QCOMPARE(found[1].property(rtf::kOpaqueGroupProperty).toByteArray(), object);
    QCOMPARE(found[2].property(rtf::kOpaqueGroupProperty).toByteArray(), brokenPng);
    QVERIFY(!document.resource(QTextDocument::ImageResource, QUrl(found[1].name())).value<QImage>().isNull());
    // An object cut off by the end of the file is not kept: it would unbalance what it goes into.
    rtf::read("{\\rtf1 a{\\object{\\*\\objdata 0102", document);
    QCOMPARE(images(document).size(), 0);
}

void TestRtfReader::hostileInputIsBounded_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("startsWith");

    QTest::newRow("deep nesting") << "{\\rtf1 a" + QByteArray(100000, '{') + "b" + QByteArray(100000, '}') + "c}"
                                  << "a";
    QTest::newRow("unbalanced closing") << "{\\rtf1 a" + QByteArray(100000, '}') << "a";
    QByteArray fonts = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 30000; ++i)
        fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    QTest::newRow("tens of thousands of fonts") << fonts + "}\\f29999 x}" << "x";
    QByteArray rows = "{\\rtf1\\trowd";
    for (int i = 0; i < 64; ++i)
        rows += "\\cellx" + QByteArray::number(100 * (i + 1));
    for (int i = 0; i < 8000; ++i)
        rows += "\\intbl\\row";
    QTest::newRow("many wide empty rows") << rows + "\\pard x}" << "";
    QByteArray cells = "{\\rtf1\\trowd\\cellx100\\intbl ";
    for (int i = 0; i < 20000; ++i)
        cells += "c\\cell";
    QTest::newRow("one row of many cells") << cells + "\\row}" << "c";
    QTest::newRow("long keyword and digits")
        << "{\\rtf1 \\" + QByteArray(5000, 'a') + QByteArray(5000, '9') + " x}" << QString();
    QTest::newRow("binary junk") << "{\\rtf1 " + QByteArray(4096, '\xff') + "}" << u"ÿ"_qs;
    QTest::newRow("many broken hex escapes") << "{\\rtf1 " + QByteArray(200000, '\\').replace("\\", "\\'z") + "}"
                                             << "z";
    QTest::newRow("field nesting") << "{\\rtf1 " + QByteArray(400, 'x').replace("x", "{\\field{\\fldrslt ")
            + "t" + QByteArray(800, '}') << "t";
    QTest::newRow("text beyond the depth limit is kept")
        << "{\\rtf1 a" + QByteArray(5000, '{') + "deep{\\*\\x hidden}{\\pict\\pngblip 00}" + QByteArray(5000, '}') + "b}"
        << "adeepb";
}

void TestRtfReader::hostileInputIsBounded()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, startsWith);
    QVERIFY(rtf::plainText(rtf).startsWith(startsWith));
    QTextDocument document;
    rtf::read(rtf, document);
    // A document that starts with a table has an empty paragraph before it.
    QVERIFY(documentText(document).trimmed().startsWith(startsWith));
    QVERIFY(document.characterCount() <= rtf.size() + 2);
}

void TestRtfReader::documentAndPlainTextAgree()
{
    const QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0 A;}}a\\tab b\\line c\\par{\\pntext x}{\\*\\pn\\pnlvlblt{\\pntxtb x}}li\\par"
                           "\\pard\\trowd\\cellx100\\cellx200\\intbl 1\\cell 2\\cell\\row\\pard\\u8364?\\par}";
    QTextDocument document;
    rtf::read(rtf, document);
    QCOMPARE(rtf::plainText(rtf), u"a\tb\nc\n    \u2022 li\n1\n2\n€\n"_qs);
    QCOMPARE(documentText(document), rtf::plainText(rtf));
}

// Body text is read in runs that take in \'hh escapes and are scanned sixteen bytes at a time:
// what ends a run, or is inside one, must read as it would byte by byte.
void TestRtfReader::textRuns_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("escapes inside a word") << rtfBytes("{\\rtf1 bl\\'e5b\\'e6r}") << u"blåbær\n"_qs;
    QTest::newRow("escapes side by side") << rtfBytes("{\\rtf1 \\'e5\\'e6\\'f8}") << u"åæø\n"_qs;
    QTest::newRow("escape then a broken one") << rtfBytes("{\\rtf1 a\\'e5\\'zzb}") << u"aåzzb\n"_qs;
    QTest::newRow("escape cut off by the end") << rtfBytes("{\\rtf1 a\\'e5\\'e") << u"aå\n"_qs;
    QTest::newRow("escape as unicode fallback") << rtfBytes("{\\rtf1 \\u8364\\'80\\'e5x}") << u"€åx\n"_qs;
    QTest::newRow("escapes of a double-byte page")
        << rtfBytes("{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 a\\'82\\'a0b\\'82\\'a2}") << u"aあbい\n"_qs;
    QTest::newRow("escapes in a font name") << rtfBytes("{\\rtf1{\\fonttbl{\\f0 A\\'3bB;}}x}") << u"x\n"_qs;
    QTest::newRow("raw control bytes in a long run")
        << QByteArray("{\\rtf1 aaaaaaaaaaaaaaa\x01" "bbbbbbbbbbbbbbbb\x7f\xe5" "cccccccccccccccc\tdddddddddddddddd}")
        << u"aaaaaaaaaaaaaaabbbbbbbbbbbbbbbb\x7fåcccccccccccccccc\tdddddddddddddddd\n"_qs;
    QTest::newRow("surrogate pair split by formatting")
        << rtfBytes("{\\rtf1 \\u-10179?\\b\\u-8694?}") << u"\uFFFD\uFFFD\n"_qs;
    QTest::newRow("surrogate pair in one formatting across runs")
        << rtfBytes("{\\rtf1 a\\b\\u-10179?\\u-8694?\\b0 b}") << u"a😊b\n"_qs;
    QTest::newRow("symbol font run")
        << rtfBytes("{\\rtf1{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0 abcdefghijklmnopq\\'b7}")
        << u"αβχδεφγηιϕκλμνοπθ•\n"_qs;
}

void TestRtfReader::textRuns()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(rtf::plainText(rtf), text);
    QTextDocument document;
    rtf::read(rtf, document);
    QCOMPARE(documentText(document), text);
}

void TestRtfReader::runEndsAtEveryOffset()
{
    for (int length = 0; length < 40; ++length) {
        const QByteArray plain(length, 'a');
        for (const char* end : { "{\\b b}", "\\par ", "\\'e5", "\\\\", "\r\n", "}" }) {
            const QByteArray rtf = "{\\rtf1 " + plain + end + QByteArray(20, 'c') + "}";
            const QString expected = QString::fromLatin1(plain)
                + (QByteArrayView(end) == "{\\b b}" ? u"b"_qs
                        : QByteArrayView(end) == "\\par " ? u"\n"_qs
                        : QByteArrayView(end) == "\\'e5"  ? u"å"_qs
                        : QByteArrayView(end) == "\\\\"   ? u"\\"_qs
                                                        : QString())
                + (QByteArrayView(end) != "}" ? QString(20, u'c') + u'\n' : length > 0 ? u"\n"_qs : QString());
            QCOMPARE(rtf::plainText(rtf), expected);
        }
    }
}

void TestRtfReader::plainTextComesInParagraphPieces()
{
    QByteArray rtf = "{\\rtf1{\\*\\pn\\pnlvlblt{\\pntxtb x}}";
    for (int i = 0; i < 20000; ++i)
        rtf += "item " + QByteArray::number(i) + "\\par ";
    rtf += "\\pard last{\\footnote note}}";
    QStringList pieces;
    rtf::plainText(rtf, [&pieces](QStringView piece) { pieces.append(piece.toString()); });
    QVERIFY(pieces.size() > 1);
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i)
        QVERIFY(pieces[i].endsWith(u'\n'));
    const QString whole = pieces.join(QString());
    QCOMPARE(whole, rtf::plainText(rtf));
    QVERIFY(whole.startsWith(u"    \u2022 item 0\n    \u2022 item 1\n"_qs));
    QVERIFY(whole.endsWith(u"last\n\nnote\n"_qs));
}

void TestRtfReader::loadFallsBackToPlainText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("rtf") << rtfBytes("{\\rtf1 bl\\'e5}") << u"blå\n"_qs;
    QTest::newRow("cp1252") << QByteArray("bl\xe5 \x80\r\nto") << u"blå €\nto\n"_qs;
    QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBF" "bl\xC3\xA5") << u"blå\n"_qs;
    QTest::newRow("utf-16 le mark") << QByteArray("\xFF\xFE" "b\0\xE5\0", 6) << u"bå\n"_qs;
    QTest::newRow("utf-16 be mark") << QByteArray("\xFE\xFF\0b\0\xE5", 6) << u"bå\n"_qs;
    QTest::newRow("rtf after junk is text") << rtfBytes("x{\\rtf1 y}") << u"x{\\rtf1 y}\n"_qs;
    QTest::newRow("empty") << QByteArray() << u"\n"_qs;
}

void TestRtfReader::loadFallsBackToPlainText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QTextDocument document;
    document.setUndoRedoEnabled(true);
    rtf::loadDocument(bytes, document);
    QCOMPARE(documentText(document), text);
    QVERIFY(document.isUndoRedoEnabled());
    QVERIFY(!document.isModified());
}

QTEST_MAIN(TestRtfReader)
#include "test_rtf_reader.moc"
