// SPDX-License-Identifier: GPL-3.0-or-later
// Elements on the clipboard: the own form and plain text, both ways, and what broken or foreign
// clipboard contents read as.
#include "TreeText.h"
#include "model/ElementClipboard.h"

#include <QMimeData>
#include <QTest>

using namespace struktur;
using namespace struktur::clipboard;

namespace {

/// Each element as "level:text", separated by " | ".
QString levels(const CopiedElements& elements)
{
    QStringList parts;
    for (const CopiedElement& element : elements)
        parts.append(QString::number(element.level) + u':' + element.text);
    return parts.join(QStringLiteral(" | "));
}

QString fields(const CopiedElements& elements)
{
    QStringList parts;
    for (const CopiedElement& element : elements) {
        parts.append(QStringLiteral("%1:%2=%3%4/%5 doc %6")
                         .arg(element.level)
                         .arg(element.text, element.hasData ? QStringLiteral("D") : QStringLiteral("-"), element.data)
                         .arg(element.icon)
                         .arg(element.document ? QString::fromLatin1(element.document->toHex()) : QStringLiteral("-")));
    }
    return parts.join(QStringLiteral(" | "));
}

const QByteArray header = "Strukturkonstruktor elementer 1\n";

} // namespace

class TestElementClipboard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copiedSubtreeGoesToTextAndBack();
    void plainTextFromOtherPrograms_data();
    void plainTextFromOtherPrograms();
    void ownFormKeepsEverything();
    void brokenOwnFormIsRefusedWhole_data();
    void brokenOwnFormIsRefusedWhole();
    void clipboardDataPrefersTheOwnForm();
};

void TestElementClipboard::copiedSubtreeGoesToTextAndBack()
{
    ElementTree tree;
    test::readTree(
        tree, QStringLiteral("Rod\n\tKapitel Æble\n\t\tAfsnit ø\n\t\t\tÅ dybt\n\t\tAfsnit B\n\tAndet\nBilag"));
    Element* chapter = test::elementAt(tree, { 0, 0 });
    chapter->hasData = true;
    chapter->data = QStringLiteral("1kapitel1");
    chapter->icon = 1;

    const CopiedElements copied = copySubtree(chapter);
    QCOMPARE(levels(copied), QStringLiteral("0:Kapitel Æble | 1:Afsnit ø | 2:Å dybt | 1:Afsnit B"));
    QCOMPARE(copied.front().fileName(), QStringLiteral("kapitel1"));
    QCOMPARE(copied.front().icon, 1);
    const QString text = plainText(copied);
    QCOMPARE(text, QStringLiteral("Kapitel Æble\n\tAfsnit ø\n\t\tÅ dybt\n\tAfsnit B\n"));
    QCOMPARE(levels(parsePlainText(text)), levels(copied));
    // A leaf copies alone, and the whole tree's last element too.
    QCOMPARE(levels(copySubtree(test::elementAt(tree, { 0, 0, 0, 0 }))), QStringLiteral("0:Å dybt"));
    QCOMPARE(levels(copySubtree(test::elementAt(tree, { 1 }))), QStringLiteral("0:Bilag"));
}

void TestElementClipboard::plainTextFromOtherPrograms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("tabs")                 << "A\n\tB\n\t\tC\n\tD" << "0:A | 1:B | 2:C | 1:D";
    QTest::newRow("CR LF and CR")         << "A\r\n\tB\r\tC\r\n" << "0:A | 1:B | 1:C";
    QTest::newRow("æøå")                  << "Æble\n\tØre\n\t\tÅ" << "0:Æble | 1:Øre | 2:Å";
    QTest::newRow("leading tabs on all")  << "\t\tA\n\t\t\tB\n\t\tC" << "0:A | 1:B | 0:C";
    QTest::newRow("shallower than the first") << "\t\tA\n\tB\nC" << "0:A | 0:B | 0:C";
    QTest::newRow("a jump goes one deeper") << "A\n\t\t\tB\n\t\t\tC\n\tD" << "0:A | 1:B | 1:C | 1:D";
    QTest::newRow("blank lines skipped")  << "A\n\n \t \n\tB\n" << "0:A | 1:B";
    QTest::newRow("spaces are not levels") << "A\n    B" << "0:A | 0:B";
    QTest::newRow("tabs among spaces count") << "A\n\tX\n \t \tB" << "0:A | 1:X | 2:B";
    QTest::newRow("NUL and trailing blanks") << QStringLiteral("A") + QChar(0) + QStringLiteral("B  ") << "0:A B  ";
    QTest::newRow("nothing")              << "" << "";
    QTest::newRow("only blanks")          << "\n\t\n  " << "";
    // clang-format on
}

void TestElementClipboard::plainTextFromOtherPrograms()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const CopiedElements parsed = parsePlainText(text);
    QCOMPARE(levels(parsed), expected);
    for (const CopiedElement& element : parsed) {
        // New elements without documents: icon 0, no file name.
        QVERIFY(element.hasData && element.data == QStringLiteral("0") && element.icon == 0);
        QVERIFY(!element.document);
        QCOMPARE(storableElementText(element.text), element.text);
    }
    // What it reads as reads the same again from its own text.
    QCOMPARE(levels(parsePlainText(plainText(parsed))), expected);
}

void TestElementClipboard::ownFormKeepsEverything()
{
    const CopiedElements elements {
        { 0, QStringLiteral("Kapitel\tÆble %41"), true, QStringLiteral("9kapitel æ"), 9,
            QByteArray("{\\rtf1 a\0b\n\tc}", 14) },
        { 1, QStringLiteral("Uden data"), false, QString(), -1, std::nullopt },
        { 2, QString(), true, QStringLiteral("0"), 0, QByteArray() },
        { 1, QStringLiteral("Ø"), true, QStringLiteral("3x"), 3, std::nullopt },
    };
    const QByteArray mark = QByteArray("\x01\xff klip", 7);
    for (const QByteArray& cutMark : { QByteArray(), mark }) {
        const QByteArray bytes = encode(elements, cutMark);
        QVERIFY(bytes.startsWith(header.chopped(1)));
        const auto decoded = decode(bytes);
        QVERIFY(decoded);
        QCOMPARE(fields(decoded->elements), fields(elements));
        QCOMPARE(decoded->cutMark, cutMark);
    }
    std::unique_ptr<QMimeData> mime(toMimeData(elements, mark));
    QCOMPARE(mime->text(), QStringLiteral("Kapitel\tÆble %41\n\tUden data\n\t\t\n\tØ\n"));
    QVERIFY(mime->hasFormat(QLatin1String(elementsMimeType)));
}

void TestElementClipboard::brokenOwnFormIsRefusedWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = "0\t1\tD\t1a\tA\t-\n";
    QTest::newRow("other header") << QByteArray("Strukturkonstruktor elementer 2\n" + good);
    QTest::newRow("no elements") << header;
    QTest::newRow("no final line end") << QByteArray(header + good).chopped(1);
    QTest::newRow("first level not 0") << QByteArray(header + "1\t1\tD\t1a\tA\t-\n");
    QTest::newRow("level jump") << QByteArray(header + good + "2\t1\tD\t1a\tB\t-\n");
    QTest::newRow("negative level") << QByteArray(header + good + "-1\t1\tD\t1a\tB\t-\n");
    QTest::newRow("level with a plus") << QByteArray(header + good + "+1\t1\tD\t1a\tB\t-\n");
    QTest::newRow("icon 10") << QByteArray(header + "0\t10\tD\t1a\tA\t-\n");
    QTest::newRow("icon not a number") << QByteArray(header + "0\tx\tD\t1a\tA\t-\n");
    QTest::newRow("data mark") << QByteArray(header + "0\t1\tJ\t1a\tA\t-\n");
    QTest::newRow("data without its mark") << QByteArray(header + "0\t1\t-\t1a\tA\t-\n");
    QTest::newRow("line break in data") << QByteArray(header + "0\t1\tD\t1a%0Ab\tA\t-\n");
    QTest::newRow("NUL in data") << QByteArray(header + "0\t1\tD\t1a%00\tA\t-\n");
    QTest::newRow("caption not UTF-8") << QByteArray(header + "0\t1\tD\t1a\t%E6ble\t-\n");
    QTest::newRow("bad base64") << QByteArray(header + "0\t1\tD\t1a\tA\t!!!\n");
    QTest::newRow("a field too many") << QByteArray(header + "0\t1\tD\t1a\tA\t-\tx\n");
    QTest::newRow("a field too few") << QByteArray(header + "0\t1\tD\t1a\tA\n");
    QTest::newRow("bad cut mark") << QByteArray("Strukturkonstruktor elementer 1\tzz\n" + good);
    QTest::newRow("empty") << QByteArray();
}

void TestElementClipboard::brokenOwnFormIsRefusedWhole()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!decode(bytes));
    // The one good line the rows break is accepted.
    const auto good = decode(header + "0\t1\tD\t1a\tA\t-\n");
    QVERIFY(good);
    QCOMPARE(fields(good->elements), QStringLiteral("0:A=D1a/1 doc -"));
}

void TestElementClipboard::clipboardDataPrefersTheOwnForm()
{
    const CopiedElements elements { { 0, QStringLiteral("Eget"), true, QStringLiteral("2eget"), 2, std::nullopt } };
    QMimeData mime;
    mime.setData(QLatin1String(elementsMimeType), encode(elements));
    mime.setText(QStringLiteral("Tekst\n\tUnder"));
    QCOMPARE(fields(fromMimeData(&mime)->elements), fields(elements));

    // Broken own data: the text is taken instead.
    mime.setData(QLatin1String(elementsMimeType), "rod");
    QCOMPARE(levels(fromMimeData(&mime)->elements), QStringLiteral("0:Tekst | 1:Under"));

    QMimeData blank;
    blank.setText(QStringLiteral(" \n\t"));
    QVERIFY(!fromMimeData(&blank));
    QMimeData none;
    QVERIFY(!fromMimeData(&none));
    QVERIFY(!fromMimeData(nullptr));
}

QTEST_GUILESS_MAIN(TestElementClipboard)
#include "test_element_clipboard.moc"
