// SPDX-License-Identifier: GPL-3.0-or-later
// What other readers show is shown and kept: pictures inside shapes, objects and fallback
// groups, headers and footers, list labels and footnotes in the plain text, the last paragraph's
// format, clamped first-line indents and paragraph shading.
#include "DocumentDump.h"
#include "support/Pictures.h"

#include "rtf/DocumentProperties.h"
#include "rtf/Rtf.h"

#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

using namespace struktur;
using namespace struktur::rtf::test;

namespace {

QByteArray pngHex(QSize size) { return struktur::test::imageBytes(size, Qt::blue).toHex(); }

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

// A small metafile: a window of 100 x 50, a red brush and a null pen, a rectangle over the left
// half, text, and a line.
QByteArray metafile()
{
    QByteArray data;
    const auto word = [&](int value) {
        data.append(char(value & 0xFF));
        data.append(char(value >> 8 & 0xFF));
    };
    const auto record = [&](int function, std::initializer_list<int> params) {
        const int words = 3 + int(params.size());
        word(words & 0xFFFF);
        word(words >> 16);
        word(function);
        for (const int param : params)
            word(param);
    };
    for (const int value : { 1, 9, 0x300, 0, 0, 2, 0, 0, 0 })
        word(value); // header
    record(0x020B, { 0, 0 }); // window origin
    record(0x020C, { 50, 100 }); // window extent: height, width
    record(0x02FC, { 0, 0x00FF, 0x0000, 0 }); // solid brush, red
    record(0x012D, { 0 });
    record(0x02FA, { 5, 0, 0, 0, 0 }); // null pen
    record(0x012D, { 1 });
    record(0x041B, { 50, 50, 0, 0 }); // rectangle: bottom, right, top, left
    record(0x0521, { 2, 'o' | 'k' << 8, 10, 60 }); // text "ok" at 60, 10
    record(0x0000, {});
    return data;
}

// A small enhanced metafile of 100 x 50 pixels: logical units of half a pixel, a red rectangle
// over the left half with the stock null pen, and a blue triangle of 16-bit points at the right.
QByteArray enhancedMetafile()
{
    QByteArray data;
    const auto dword = [&](qint64 value) {
        for (int shift = 0; shift < 32; shift += 8)
            data.append(char(value >> shift & 0xFF));
    };
    const auto record = [&](int type, std::initializer_list<qint64> params) {
        dword(type);
        dword(8 + 4 * qint64(params.size()));
        for (const qint64 param : params)
            dword(param);
    };
    // header: bounds, frame (hundredths of a millimetre), signature, version, size, records,
    // handles, description, palette, device size in pixels and millimetres
    record(1, { 0, 0, 99, 49, 0, 0, 2646, 1323, 0x464D4520, 0x10000, 0, 0, 3, 0, 0, 0, 1000, 500, 264, 132 });
    record(17, { 8 }); // anisotropic mapping
    record(9, { 200, 100 }); // window extent
    record(11, { 100, 50 }); // viewport extent
    record(39, { 1, 0, 0x0000FF, 0 }); // solid red brush as object 1
    record(37, { 1 });
    record(37, { 0x80000008 }); // the stock null pen
    record(43, { 0, 0, 100, 100 }); // rectangle
    record(39, { 2, 0, 0xFF0000, 0 }); // solid blue brush as object 2
    record(37, { 2 });
    record(86, { 0, 0, 0, 0, 3, 120 | 60 << 16, 190 | 60 << 16, 190 | 95 << 16 }); // triangle
    record(14, { 0, 16, 20 }); // end
    return data;
}

qsizetype pictureCount(QByteArrayView rtf)
{
    qsizetype count = 0;
    for (qsizetype at = rtf.indexOf("\\pict"); at >= 0; at = rtf.indexOf("\\pict", at + 5)) {
        const qsizetype next = at + 5;
        if (next >= rtf.size() || !QChar::isLetter(uchar(rtf[next])))
            ++count;
    }
    return count;
}

} // namespace

class TestRtfFidelity : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pictureGroupsAreShownAndKept_data();
    void pictureGroupsAreShownAndKept();
    void shapeWithoutPictureShowsItsText();
    void metafilesAreDrawnAndKept();
    void enhancedMetafilesAreDrawnAndKept();
    void headersAndFootersAreKept();
    void listLabelsInPlainText_data();
    void listLabelsInPlainText();
    void footnoteMarksAreShown();
    void lastParagraphKeepsItsFormat();
    void negativeFirstIndentIsClampedOnlyOnScreen();
    void paragraphShadingIsShownAndWritten();
};

void TestRtfFidelity::pictureGroupsAreShownAndKept_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<double>("width");
    const QByteArray png = pngHex(QSize(6, 4));
    // As LibreOffice writes a floating picture.
    QTest::newRow("shape with picture property")
        << "{\\shp{\\*\\shpinst\\shpleft0\\shptop0\\shpright900\\shpbottom600{\\sp{\\sn shapeType}{\\sv 75}}"
           "{\\sp{\\sn pib}{\\sv {\\pict\\pngblip\\picwgoal900\\pichgoal600 " + png + "}}}}"
           "{\\shprslt{\\*\\do\\dobxcolumn\\dobypara\\dodhgt8192}}}"
        << 60.0;
    // As Word writes it: the result holds a copy for readers without shapes, in a frame.
    QTest::newRow("shape with result copy")
        << "{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\picscalex50\\picscaley50\\pngblip\\picwgoal1200\\pichgoal600 "
           + png + "}}}}{\\shprslt\\par\\pard\\pvpara\\posxc {\\pict\\wmetafile8\\picwgoal1200\\pichgoal600 0100}\\par}}"
        << 40.0;
    QTest::newRow("shape group") << "{\\shpgrp{\\*\\shpinst{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\pngblip "
            + png + "}}}}}}}"
                                 << 6.0;
    QTest::newRow("fallback alone") << "{\\nonshppict{\\pict\\pngblip\\picwgoal150\\pichgoal150 " + png + "}}" << 10.0;
    QTest::newRow("picture and its fallback")
        << "{\\*\\shppict{\\pict\\pngblip\\picwgoal300\\pichgoal300 " + png + "}}\r\n{\\nonshppict{\\pict\\wmetafile8 0100}}"
        << 20.0;
    QTest::newRow("object result")
        << "{\\object\\objemb\\objw600\\objh450{\\*\\objclass Paint.Picture}{\\*\\objdata 0105\\bin2 }{}"
           "{\\result {\\pict\\pngblip\\picwgoal600\\pichgoal450 " + png + "}}}"
        << 40.0;
    // Binary picture data may hold braces and backslashes.
    QTest::newRow("shape with binary picture")
        << "{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\pngblip\\bin" + QByteArray::number(png.size() / 2) + " "
           + QByteArray::fromHex(png) + "}}}}}"
        << 6.0;
}

void TestRtfFidelity::pictureGroupsAreShownAndKept()
{
    QFETCH(QByteArray, group);
    QFETCH(double, width);
    const QByteArray rtf = "{\\rtf1 a" + group + "b\\par}";
    QTextDocument document;
    rtf::read(rtf, document);
    QCOMPARE(documentText(document), u"ab\n"_qs);
    const QList<QTextImageFormat> found = images(document);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].property(rtf::kOpaqueGroupProperty).toByteArray(), group);
    QCOMPARE(found[0].width(), width);
    const QImage shown = document.resource(QTextDocument::ImageResource, QUrl(found[0].name())).value<QImage>();
    QCOMPARE(shown.size(), QSize(6, 4));
    QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::blue));

    const QByteArray written = rtf::write(document);
    QVERIFY(written.contains(group));
    QCOMPARE(pictureCount(written), pictureCount(rtf));
    QTextDocument again;
    rtf::read(written, again);
    QCOMPARE(images(again).value(0).property(rtf::kOpaqueGroupProperty).toByteArray(), group);
    QCOMPARE(rtf::plainText(rtf), u"ab\n"_qs);
}

void TestRtfFidelity::shapeWithoutPictureShowsItsText()
{
    // A shape word inside running text does not make the rest of the document one picture group.
    QTextDocument stray;
    rtf::read("{\\rtf1 a\\shp b{\\pict\\pngblip " + pngHex(QSize(6, 4)) + "}c\\par}", stray);
    QCOMPARE(documentText(stray), u"abc\n"_qs);
    QVERIFY(!images(stray).value(0).hasProperty(rtf::kOpaqueGroupProperty));

    const QByteArray rtf = "{\\rtf1 a{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 202}}}{\\shprslt tekst}}b\\par}";
    QTextDocument document;
    rtf::read(rtf, document);
    QCOMPARE(documentText(document), u"atekstb\n"_qs);
    QVERIFY(images(document).isEmpty());
}

void TestRtfFidelity::metafilesAreDrawnAndKept()
{
    const QByteArray group = "{\\pict\\wmetafile8\\picw2646\\pich1323\\picwgoal1500\\pichgoal750 " + metafile().toHex() + "}";
    QTextDocument document;
    rtf::read("{\\rtf1 a" + group + "b\\par}", document);
    const QList<QTextImageFormat> found = images(document);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].width(), 100.0);
    QCOMPARE(found[0].height(), 50.0);
    QCOMPARE(found[0].property(rtf::kOpaqueGroupProperty).toByteArray(), group);
    const QImage drawn = document.resource(QTextDocument::ImageResource, QUrl(found[0].name())).value<QImage>();
    QCOMPARE(drawn.size(), QSize(100, 50));
    QCOMPARE(drawn.pixelColor(10, 25), QColor(Qt::red));
    QCOMPARE(drawn.pixelColor(90, 45), QColor(Qt::white));
    QVERIFY(rtf::write(document).contains(group));

    // In a shape, a PNG is shown before the metafile copy; damaged or foreign data stays grey.
    const QByteArray shape = "{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv " + group + "}}}{\\shprslt {\\pict\\pngblip "
        + pngHex(QSize(6, 4)) + "}}}";
    const QByteArray truncated = "{\\pict\\wmetafile8\\picwgoal300\\pichgoal300 " + metafile().left(30).toHex() + "}";
    rtf::read("{\\rtf1 " + shape + truncated + "{\\pict\\wmetafile8 00112233}}", document);
    const QList<QTextImageFormat> more = images(document);
    QCOMPARE(more.size(), 3);
    QCOMPARE(document.resource(QTextDocument::ImageResource, QUrl(more[0].name())).value<QImage>().size(), QSize(6, 4));
    QVERIFY(more[1].name().startsWith(u"rtf-object-"_qs));
    QVERIFY(more[2].name().startsWith(u"rtf-object-"_qs));
    QCOMPARE(more[1].property(rtf::kOpaqueGroupProperty).toByteArray(), truncated);
}

void TestRtfFidelity::enhancedMetafilesAreDrawnAndKept()
{
    const QByteArray group = "{\\pict\\emfblip\\picw2646\\pich1323\\picwgoal1500\\pichgoal750 " + enhancedMetafile().toHex() + "}";
    QTextDocument document;
    rtf::read("{\\rtf1 a" + group + "b\\par}", document);
    const QList<QTextImageFormat> found = images(document);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].width(), 100.0);
    QCOMPARE(found[0].height(), 50.0);
    QCOMPARE(found[0].property(rtf::kOpaqueGroupProperty).toByteArray(), group);
    const QImage drawn = document.resource(QTextDocument::ImageResource, QUrl(found[0].name())).value<QImage>();
    QCOMPARE(drawn.size(), QSize(100, 50));
    QCOMPARE(drawn.pixelColor(10, 25), QColor(Qt::red));
    QCOMPARE(drawn.pixelColor(90, 40), QColor(Qt::blue));
    QCOMPARE(drawn.pixelColor(70, 5), QColor(Qt::white));
    QVERIFY(rtf::write(document).contains(group));

    // A damaged metafile, or one cut short before it draws, stays a grey placeholder and is kept.
    const QByteArray header = enhancedMetafile().left(88);
    const QByteArray cut = "{\\pict\\emfblip\\picwgoal300\\pichgoal300 " + header.toHex() + "}";
    const QByteArray foreign = "{\\pict\\emfblip\\picwgoal300\\pichgoal300 0100000058}";
    rtf::read("{\\rtf1 " + cut + foreign + "}", document);
    const QList<QTextImageFormat> kept = images(document);
    QCOMPARE(kept.size(), 2);
    QVERIFY(kept[0].name().startsWith(u"rtf-object-"_qs));
    QVERIFY(kept[1].name().startsWith(u"rtf-object-"_qs));
    const QByteArray written = rtf::write(document);
    QVERIFY(written.contains(cut));
    QVERIFY(written.contains(foreign));
}

void TestRtfFidelity::headersAndFootersAreKept()
{
    const QByteArray header = "{\\header \\pard\\qc {\\*\\shppict{\\pict\\pngblip " + pngHex(QSize(2, 2)) + "}} Top\\par}";
    const QByteArray footer = "{\\footerf \\pard Page\\par}";
    QTextDocument document;
    rtf::read("{\\rtf1\\sectd " + header + footer + "\\pard Body\\par}", document);
    QCOMPARE(documentText(document), u"Body\n"_qs);
    const QByteArray written = rtf::write(document);
    QVERIFY(written.contains(header + footer));
    QVERIFY(written.indexOf(header) < written.indexOf("Body"));
    QCOMPARE(rtf::plainText(written), u"Body\n"_qs);
}

void TestRtfFidelity::listLabelsInPlainText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    // The rich edit control's form: \pntext is the label for readers without lists.
    QTest::newRow("rich edit bullets")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt"
                      "\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li720 One\\par{\\pntext\\f1\\'B7\\tab}Two\\par\\pard After\\par}")
        << u"    • One\n    • Two\nAfter\n"_qs;
    QTest::newRow("rich edit numbers with prefix and suffix")
        << QByteArray("{\\rtf1\\pard{\\*\\pn\\pnlvlbody\\pnlcltr\\pnstart3{\\pntxtb (}{\\pntxta )}}\\li720 x\\par y\\par}")
        << u"    (c) x\n    (d) y\n"_qs;
    // Word's form: levels restart after a shallower item and go on after text outside the list.
    const QByteArray wordTables = "{\\*\\listtable{\\list\\listid7{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}}"
                                  "{\\listlevel\\levelnfc2\\levelstartat1{\\leveltext\\'02\\'01);}}"
                                  "{\\listlevel\\levelnfc23{\\leveltext\\'01\\u9702 ?;}}}}"
                                  "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}}";
    QTest::newRow("word levels")
        << "{\\rtf1" + wordTables
            + "\\pard\\ls1 A\\par\\ilvl1 B\\par C\\par\\ilvl2 D\\par\\pard\\ls1 E\\par\\ilvl1 F\\par\\pard G\\par\\ls1 H\\par}"
        << u"    1. A\n        i) B\n        ii) C\n            ◦ D\n    2. E\n        i) F\nG\n    3. H\n"_qs;
    QTest::newRow("word level without list table uses the paragraph's own")
        << QByteArray("{\\rtf1\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}\\ls4 a\\par b\\par}") << u"    1. a\n    2. b\n"_qs;
    QTest::newRow("no label where the level has none")
        << QByteArray("{\\rtf1{\\*\\listtable{\\list\\listid2{\\listlevel\\levelnfc255{\\leveltext\\'00;}}}}"
                      "{\\*\\listoverridetable{\\listoverride\\listid2\\ls1}}\\pard\\ls1 a\\par}")
        << u"a\n"_qs;
}

void TestRtfFidelity::listLabelsInPlainText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(rtf::plainText(rtf), text);
    // The document shows the same labels, and what is written reads back with them.
    QTextDocument document;
    rtf::read(rtf, document);
    QCOMPARE(documentText(document), text);
    QCOMPARE(rtf::plainText(rtf::write(document)), text);
}

void TestRtfFidelity::footnoteMarksAreShown()
{
    // As Word writes a footnote: the mark, then the footnote with its own copy of the mark.
    const QByteArray rtf = "{\\rtf1 Mead{\\super\\chftn{\\footnote\\pard\\plain{\\super\\chftn} Note one.}} and"
                           "{\\super\\chftn{\\footnote\\pard\\plain{\\super\\chftn} Note\\par two.}} more.\\par}";
    QTextDocument document;
    rtf::read(rtf, document);
    QCOMPARE(documentText(document), u"Mead1 and2 more.\n"_qs);
    QCOMPARE(formatOf(document, u"1"_qs).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(rtf::plainText(rtf), u"Mead1 and2 more.\n\n1 Note one.\n2 Note\ntwo.\n"_qs);

    // Saving keeps each footnote where it was, byte for byte, and nothing of it shows.
    const QByteArray written = rtf::write(document);
    QVERIFY(written.contains("{\\footnote\\pard\\plain{\\super\\chftn} Note one.}"));
    QVERIFY(written.contains("{\\footnote\\pard\\plain{\\super\\chftn} Note\\par two.}"));
    QCOMPARE(rtf::plainText(written), rtf::plainText(rtf));
    const QList<QTextImageFormat> kept = images(document);
    QCOMPARE(kept.size(), 2);
    QCOMPARE(kept[0].width(), 1.0);
    QCOMPARE(document.resource(QTextDocument::ImageResource, QUrl(kept[0].name())).value<QImage>().pixelColor(0, 0).alpha(), 0);

    // A footnote cut off by the end of the input is not kept: it would unbalance the braces.
    rtf::read("{\\rtf1 a{\\super\\chftn}{\\footnote\\pard open", document);
    QVERIFY(images(document).isEmpty());
}

void TestRtfFidelity::lastParagraphKeepsItsFormat()
{
    for (const QByteArray& rtf : { QByteArray("{\\rtf1\\pard one\\par\\pard\\qc\\li720 closing}"),
             QByteArray("{\\rtf1\\pard one\\par\\pard\\qc\\li720 {\\b closing}}"),
             QByteArray("{\\rtf1\\pard one\\par\\pard\\qc\\li720 {closing") }) {
        QTextDocument document;
        rtf::read(rtf, document);
        QCOMPARE(documentText(document), u"one\nclosing\n"_qs);
        const QTextBlockFormat last = document.lastBlock().blockFormat();
        QCOMPARE(last.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(last.leftMargin(), 48.0);
        const QByteArray written = rtf::write(document);
        QVERIFY2(written.contains("\\pard\\qc\\li720"), written.constData());
    }
}

void TestRtfFidelity::negativeFirstIndentIsClampedOnlyOnScreen()
{
    QTextDocument document;
    rtf::read("{\\rtf1\\pard\\li0\\fi-432 hanging\\par\\pard\\li300\\fi-600 half\\par\\pard\\li720\\fi-360 inside\\par}", document);
    const QTextBlock first = document.begin();
    QCOMPARE(first.blockFormat().textIndent(), 0.0);
    QCOMPARE(first.next().blockFormat().textIndent(), -20.0);
    QCOMPARE(first.next().next().blockFormat().textIndent(), -24.0);
    const QByteArray written = rtf::write(document);
    QVERIFY2(written.contains("\\fi-432 hanging"), written.constData());
    QVERIFY2(written.contains("\\fi-600\\li300 half"), written.constData());
    QVERIFY2(written.contains("\\fi-360\\li720 inside"), written.constData());
}

void TestRtfFidelity::paragraphShadingIsShownAndWritten()
{
    QTextDocument document;
    rtf::read("{\\rtf1{\\colortbl;\\red255\\green255\\blue0;\\red0\\green0\\blue0;}"
              "\\pard\\cbpat1 gul\\par\\pard\\shading2000\\cfpat2 grå\\par\\pard ingen\\par}",
        document);
    const QTextBlock first = document.begin();
    QCOMPARE(first.blockFormat().background().color(), QColor(255, 255, 0));
    QCOMPARE(first.next().blockFormat().background().color(), QColor(204, 204, 204));
    QCOMPARE(first.next().next().blockFormat().background().style(), Qt::NoBrush);
    QTextDocument again;
    rtf::read(rtf::write(document), again);
    QCOMPARE(again.begin().blockFormat().background().color(), QColor(255, 255, 0));
    QCOMPARE(again.begin().next().blockFormat().background().color(), QColor(204, 204, 204));
    QCOMPARE(again.begin().next().next().blockFormat().background().style(), Qt::NoBrush);
}

QTEST_MAIN(TestRtfFidelity)
#include "test_rtf_fidelity.moc"
