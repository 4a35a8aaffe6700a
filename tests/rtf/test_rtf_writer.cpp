// SPDX-License-Identifier: GPL-3.0-or-later
// The writer: the rich edit control's form, character encoding, and round trips through the reader.
#include "DocumentDump.h"

#include "rtf/DocumentProperties.h"
#include "rtf/Rtf.h"

#include <QBuffer>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

using namespace struktur;
using namespace struktur::rtf::test;

class TestRtfWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void richEditForm();
    void characterEncoding_data();
    void characterEncoding();
    void everyAttributeRoundTrips();
    void bulletFontTextRoundTripsWhereverItStands();
    void samplesRoundTrip_data();
    void samplesRoundTrip();
    void picturesAndObjectsComeBackUnchanged();
    void foreignImageIsWrittenAsPng();
};

void TestRtfWriter::richEditForm()
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Courier New"), 10));
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontFamilies({ QStringLiteral("Courier New") });
    bold.setFontPointSize(10);
    QTextCharFormat plain = bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(255, 0, 0));
    cursor.insertText(u"Rød "_qs, bold);
    cursor.insertText(u"tekst"_qs, plain);
    cursor.insertBlock();
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(u"midt"_qs, plain);
    const QByteArray expected = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1030"
                                "{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}\r\n"
                                "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
                                "{\\*\\generator Strukturkonstruktoren;}\\viewkind4\\uc1 \r\n"
                                "\\pard\\fs20\\b\\cf1 R\\'f8d \\b0\\cf0 tekst\\par\r\n"
                                "\\pard\\qc midt\\par\r\n"
                                "}\r\n";
    QCOMPARE(rtf::write(document), expected);
}

void TestRtfWriter::characterEncoding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("ascii") << u"abc"_qs << QByteArray("abc");
    QTest::newRow("escapes") << u"\\{}"_qs << QByteArray("\\\\\\{\\}");
    QTest::newRow("danish in cp1252") << u"æøåÆØÅ"_qs << QByteArray("\\'e6\\'f8\\'e5\\'c6\\'d8\\'c5");
    QTest::newRow("cp1252 upper controls") << u"€–“"_qs << QByteArray("\\'80\\'96\\'93");
    QTest::newRow("outside the code page") << u"Ωπ"_qs << QByteArray("\\u937?\\u960?");
    QTest::newRow("above 32767 is negative") << u"\uFB01"_qs << QByteArray("\\u-1279?");
    QTest::newRow("surrogates as two") << u"😊"_qs << QByteArray("\\u-10179?\\u-8694?");
    QTest::newRow("tab and line break") << u"a\tb\u2028c"_qs << QByteArray("a\\tab b\\line c");
    QTest::newRow("no-break characters") << u"\u00A0\u00AD\u2011"_qs << QByteArray("\\~\\-\\_");
}

void TestRtfWriter::characterEncoding()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, body);
    QTextDocument document;
    QTextCursor(&document).insertText(text);
    const QByteArray rtf = rtf::write(document);
    QVERIFY2(rtf.contains("\\pard\\fs" + QByteArray::number(document.defaultFont().pointSize() * 2) + ' ' + body + "\\par"),
        rtf.constData());
    QCOMPARE(rtf::plainText(rtf), text.replace(QChar::LineSeparator, u'\n') + u'\n');
    for (const char c : rtf)
        QVERIFY2(static_cast<unsigned char>(c) < 0x80, "the writer emits 7-bit RTF");
}

void TestRtfWriter::everyAttributeRoundTrips()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat base;
    base.setFontFamilies({ QStringLiteral("Arial") });
    base.setFontPointSize(11);
    const auto run = [&](const QString& text, auto change) {
        QTextCharFormat format = base;
        change(format);
        cursor.insertText(text, format);
    };
    run(u"fed "_qs, [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
    run(u"kursiv "_qs, [](QTextCharFormat& f) { f.setFontItalic(true); });
    run(u"streg "_qs, [](QTextCharFormat& f) { f.setFontStrikeOut(true); });
    for (auto style : { QTextCharFormat::SingleUnderline, QTextCharFormat::DotLine, QTextCharFormat::DashUnderline,
             QTextCharFormat::DashDotLine, QTextCharFormat::DashDotDotLine, QTextCharFormat::WaveUnderline })
        run(u"under "_qs, [&](QTextCharFormat& f) { f.setUnderlineStyle(style); });
    run(u"høj "_qs, [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); });
    run(u"lav "_qs, [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); });
    run(u"farve "_qs, [](QTextCharFormat& f) { f.setForeground(QColor(0x12, 0x34, 0x56)); });
    run(u"gul "_qs, [](QTextCharFormat& f) { f.setBackground(QColor(0xFF, 0xFF, 0x00)); });
    run(u"lys "_qs, [](QTextCharFormat& f) { f.setBackground(QColor(0xAB, 0xCD, 0xEF)); });
    run(u"Times "_qs, [](QTextCharFormat& f) { f.setFontFamilies({ QStringLiteral("Times New Roman") }); });
    run(u"stor "_qs, [](QTextCharFormat& f) { f.setFontPointSize(27.5); });
    run(u"VERSALER "_qs, [](QTextCharFormat& f) { f.setFontCapitalization(QFont::AllUppercase); });
    run(u"link"_qs, [](QTextCharFormat& f) {
        f.setAnchor(true);
        f.setAnchorHref(QStringLiteral("http://eksempel.dk/sti?a=\"b\"#afsnit"));
    });
    QTextBlockFormat paragraph;
    paragraph.setAlignment(Qt::AlignJustify);
    paragraph.setLeftMargin(48);
    paragraph.setRightMargin(24);
    paragraph.setTextIndent(-12);
    paragraph.setTopMargin(4);
    paragraph.setBottomMargin(8);
    paragraph.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    paragraph.setTabPositions({ QTextOption::Tab(96, QTextOption::RightTab), QTextOption::Tab(192, QTextOption::CenterTab) });
    cursor.insertBlock(paragraph, base);
    cursor.insertText(u"afsnit\tmed\u2028linjeskift"_qs, base);
    QTextBlockFormat exact;
    exact.setAlignment(Qt::AlignRight);
    exact.setLineHeight(20, QTextBlockFormat::FixedHeight);
    exact.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.insertBlock(exact, base);
    cursor.insertText(u"ny side"_qs, base);
    for (auto style : { QTextListFormat::ListDisc, QTextListFormat::ListCircle, QTextListFormat::ListSquare,
             QTextListFormat::ListDecimal, QTextListFormat::ListLowerAlpha, QTextListFormat::ListUpperRoman }) {
        QTextBlockFormat item;
        item.setAlignment(Qt::AlignLeft);
        cursor.insertBlock(item, base);
        QTextListFormat list;
        list.setStyle(style);
        list.setIndent(style == QTextListFormat::ListCircle ? 2 : 1);
        if (style == QTextListFormat::ListUpperRoman)
            list.setNumberPrefix(QStringLiteral("("));
        if (style == QTextListFormat::ListUpperRoman)
            list.setNumberSuffix(QStringLiteral(")"));
        cursor.createList(list);
        cursor.insertText(u"punkt 1"_qs, base);
        cursor.insertBlock(item, base);
        cursor.insertText(u"punkt 2"_qs, base);
    }
    QTextBlockFormat plain;
    plain.setAlignment(Qt::AlignLeft);
    cursor.insertBlock(plain, base);
    cursor.insertText(u"før tabel"_qs, base);
    QTextTableFormat tableFormat;
    tableFormat.setBorder(1);
    tableFormat.setColumnWidthConstraints(
        { QTextLength(QTextLength::FixedLength, 100), QTextLength(QTextLength::FixedLength, 150) });
    QTextTable* table = cursor.insertTable(2, 2, tableFormat);
    table->cellAt(0, 0).firstCursorPosition().insertText(u"a"_qs, base);
    table->cellAt(0, 1).firstCursorPosition().insertText(u"b"_qs, base);
    QTextCursor cell = table->cellAt(1, 0).firstCursorPosition();
    cell.insertText(u"c1"_qs, base);
    cell.insertBlock(plain, base);
    cell.insertText(u"c2"_qs, base);
    table->cellAt(1, 1).firstCursorPosition().insertText(u"d"_qs, base);

    const QByteArray rtf = rtf::write(document);
    QTextDocument reread;
    rtf::read(rtf, reread);
    QCOMPARE(dump(reread), dump(document));
    // And a second generation is byte for byte the first.
    QCOMPARE(rtf::write(reread), rtf);
}

void TestRtfWriter::bulletFontTextRoundTripsWhereverItStands()
{
    // Text in the font that a later bullet list also needs: the font is declared with the
    // symbol character set, so the text before the list must come back as the same characters.
    for (const auto style : { QTextListFormat::ListDisc, QTextListFormat::ListSquare }) {
        const QString family = style == QTextListFormat::ListDisc ? u"Symbol"_qs : u"Wingdings"_qs;
        QTextDocument document;
        QTextCursor cursor(&document);
        QTextCharFormat plain;
        plain.setFontFamilies({ u"Arial"_qs });
        QTextCharFormat symbols = plain;
        symbols.setFontFamilies({ family });
        cursor.insertText(u"før "_qs, plain);
        cursor.insertText(u"abc æ"_qs, symbols);
        cursor.insertBlock();
        QTextListFormat list;
        list.setStyle(style);
        cursor.createList(list);
        cursor.insertText(u"punkt"_qs, plain);
        cursor.insertBlock(QTextBlockFormat(), plain);
        cursor.insertText(u"efter "_qs, plain);
        cursor.insertText(u"xyz"_qs, symbols);

        const QByteArray written = rtf::write(document);
        QTextDocument back;
        rtf::loadDocument(written, back);
        QCOMPARE(back.toPlainText(), document.toPlainText());
        QVERIFY2(written.contains("\\fcharset2 " + family.toLatin1()), written.constData());
        const QTextBlock first = back.begin();
        auto fragment = first.begin();
        ++fragment;
        QCOMPARE(fragment.fragment().charFormat().fontFamilies().toStringList().value(0), family);
    }
}

void TestRtfWriter::samplesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("rtf");

    QTest::newRow("wordpad") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
        "{\\f1\\fnil\\fcharset2 Symbol;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\qc\\b\\f0\\fs32\\lang9 Titel\\b0\\fs22\\par\r\n"
        "\\pard\\sa200\\sl276\\slmult1 Plain \\i it\\i0  \\ul un\\ulnone  \\cf1 r\\'f8d\\cf0  na\\'efve \\u937?\\par\r\n"
        "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li720\\sa200\\sl276"
        "\\slmult1 En\\par\r\n{\\pntext\\f1\\'B7\\tab}To\\par\r\n\\pard\\sa200\\sl276\\slmult1\\par\r\n}\r\n");
    QTest::newRow("word") << QByteArray(
        "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff0\\deff0{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2"
        "{\\*\\panose 02020603050405020304}Times New Roman;}}{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}"
        "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}"
        "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}"
        "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\widctlpar\\wrapdefault\\aspalpha\\itap0 \\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
        "\\fs24\\lang1030 {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\b Overskrift}{\\par }"
        "{\\listtext\\pard\\plain 1.\\tab}\\pard\\plain \\ls1\\ilvl0 {Punkt}{\\par }"
        "\\trowd \\irow0\\irowband0\\ltrrow\\ts11\\trgaph108\\trleft-108\\clbrdrt\\brdrs\\brdrw10 \\cellx4680"
        "\\clbrdrt\\brdrs\\brdrw10 \\cellx9468\\pard\\plain \\ltrpar\\intbl {a\\cell }{b\\cell }"
        "\\pard\\plain \\ltrpar\\intbl {\\trowd \\irow0\\cellx4680\\cellx9468\\row }"
        "\\pard\\plain {\\field{\\*\\fldinst {\\rtlch\\fcs1 \\af0 HYPERLINK \"http://x.dk/\" }}{\\fldrslt {\\cf2\\ul "
        "link}}}{\\par }}");
    QTest::newRow("libreoffice") << QByteArray(
        "{\\rtf1\\ansi\\deff3\\adeflang1025{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
        "{\\f3\\fswiss\\fprq2\\fcharset0 Liberation Sans;}}{\\colortbl;\\red0\\green0\\blue0;\\red128\\green128\\blue128;}"
        "{\\stylesheet{\\s0\\snext0\\ql\\widctlpar\\hyphpar0\\ltrpar\\cf0\\f3\\fs24 Normal;}}"
        "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}"
        "{\\info{\\title Dokument}{\\creatim\\yr2024\\mo1\\dy2\\hr3\\min4}}\\deftab709"
        "\\pgndec\\pard\\plain \\s0\\ql\\widctlpar\\ltrpar\\cf0\\f3\\fs24\\lang1030{\\rtlch \\ltrch\\loch "
        "Bl\\u229\\'e5b\\u230\\'e6r og {\\i kursiv}}\\par\\pard\\plain \\s0\\qc\\sb120\\sa120"
        "{\\cf2\\highlight2 gr\\u229\\'e5}\\par}");
}

void TestRtfWriter::samplesRoundTrip()
{
    QFETCH(QByteArray, rtf);
    QTextDocument first;
    rtf::read(rtf, first);
    QTextDocument second;
    rtf::read(rtf::write(first), second);
    QCOMPARE(dump(second), dump(first));
}

void TestRtfWriter::picturesAndObjectsComeBackUnchanged()
{
    QImage image(5, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "jpeg");
    const QByteArray object = "{\\object\\objemb\\objw1500\\objh900{\\*\\objclass Excel.Sheet.8}"
                              "{\\*\\objdata 0105\\bin2 {}}{\\result{\\pict\\emfblip 0102}}}";
    const QByteArray wmf = "{\\pict\\wmetafile8\\picwgoal300\\pichgoal300 010009000003}";
    const QByteArray rtf = "{\\rtf1 a" + object + "b{\\pict\\jpegblip\\picwgoal150\\pichgoal120 " + jpeg.toHex()
        + "}c" + wmf + "}";
    QTextDocument document;
    rtf::read(rtf, document);
    const QByteArray written = rtf::write(document);
    QVERIFY(written.contains(object));
    QVERIFY(written.contains(wmf));
    QVERIFY(written.contains("\\jpegblip\\picw264\\pich211\\picwgoal150\\pichgoal120\r\n"));
    QTextDocument reread;
    rtf::read(written, reread);
    QCOMPARE(rtf::write(reread), written);
}

void TestRtfWriter::foreignImageIsWrittenAsPng()
{
    QTextDocument document;
    QImage image(6, 3, QImage::Format_ARGB32);
    image.fill(Qt::green);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:billede")), image);
    QTextImageFormat format;
    format.setName(QStringLiteral("mem:billede"));
    QTextCursor(&document).insertImage(format);
    const QByteArray rtf = rtf::write(document);
    QVERIFY(rtf.contains("{\\pict\\pngblip\\picw158\\pich79\\picwgoal90\\pichgoal45\r\n89504e47"));
    QTextDocument reread;
    rtf::read(rtf, reread);
    const QTextImageFormat back = formatOf(reread, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
    QCOMPARE(back.width(), 6.0);
    QCOMPARE(back.height(), 3.0);
    QCOMPARE(reread.resource(QTextDocument::ImageResource, QUrl(back.name())).value<QImage>().size(), QSize(6, 3));
}

QTEST_MAIN(TestRtfWriter)
#include "test_rtf_writer.moc"
