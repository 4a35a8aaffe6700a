// SPDX-License-Identifier: GPL-3.0-or-later
#include "TreeText.h"
#include "model/ElementModel.h"
#include "model/ElementOrder.h"
#include "platform/Error.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace struktur;
using struktur::test::elementAt;
using struktur::test::treeText;

Q_DECLARE_METATYPE(TNodeAttachMode)

namespace {

using Path = QList<int>;

Element* at(const ElementTree& tree, const Path& rows)
{
    Element* element = tree.root();
    for (const int row : rows)
        element = element->child(row);
    return element;
}

QStringList sortedTexts(QStringList texts, const ElementOrder& order)
{
    ElementTree tree;
    for (const QString& text : texts)
        tree.append(tree.root(), text);
    sortTree(tree, order);
    texts.clear();
    for (int row = 0; row < tree.root()->childCount(); ++row)
        texts.append(tree.root()->child(row)->text);
    return texts;
}

} // namespace

class TestElementModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void attachModes_data();
    void attachModes();
    void moves_data();
    void moves();
    void sortOrder_data();
    void sortOrder();
    void sortAgreesWithComparison();
    void sortKeepsParentsAndSelection();
    void storableTexts_data();
    void storableTexts();
    void inPlaceEditCleansAndReports();
    void modelStaysConsistent();
    void deepTreeNeedsNoStack();
};

void TestElementModel::attachModes_data()
{
    QTest::addColumn<Path>("relative");
    QTest::addColumn<TNodeAttachMode>("mode");
    QTest::addColumn<QString>("tree");

    // The tree is A (A1, A2), B.
    QTest::newRow("add at top level") << Path{ 0 } << naAdd << "A | .A1 | .A2 | B | N";
    QTest::newRow("add first at top level") << Path{ 1 } << naAddFirst << "N | A | .A1 | .A2 | B";
    QTest::newRow("add among children") << Path{ 0, 0 } << naAdd << "A | .A1 | .A2 | .N | B";
    QTest::newRow("add first among children") << Path{ 0, 1 } << naAddFirst << "A | .N | .A1 | .A2 | B";
    QTest::newRow("add child") << Path{ 0 } << naAddChild << "A | .A1 | .A2 | .N | B";
    QTest::newRow("add first child") << Path{ 0 } << naAddChildFirst << "A | .N | .A1 | .A2 | B";
    QTest::newRow("add child to a leaf") << Path{ 1 } << naAddChild << "A | .A1 | .A2 | B | .N";
    QTest::newRow("insert before") << Path{ 0, 1 } << naInsert << "A | .A1 | .N | .A2 | B";
    QTest::newRow("insert before first") << Path{ 0 } << naInsert << "N | A | .A1 | .A2 | B";
}

void TestElementModel::attachModes()
{
    QFETCH(Path, relative);
    QFETCH(TNodeAttachMode, mode);
    QFETCH(QString, tree);
    ElementModel model;
    model.rebuild([](ElementTree& built) { test::readTree(built, QStringLiteral("A\n\tA1\n\tA2\nB")); });
    model.addElement(at(model.tree(), relative), mode, QStringLiteral("N"));
    QCOMPARE(treeText(model.tree()), tree);
    QCOMPARE(model.tree().size(), 5);
}

void TestElementModel::moves_data()
{
    QTest::addColumn<Path>("moved");
    QTest::addColumn<Path>("destination");
    QTest::addColumn<TNodeAttachMode>("mode");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<QString>("tree");

    // The tree is A (A1 (A1a), A2), B, C.
    QTest::newRow("to last top-level") << Path{ 0, 1 } << Path{ 1 } << naAdd << true << "A | .A1 | ..A1a | B | C | A2";
    QTest::newRow("child first with subtree") << Path{ 0, 0 } << Path{ 2 } << naAddChildFirst << true
                                              << "A | .A2 | B | C | .A1 | ..A1a";
    QTest::newRow("before an earlier sibling") << Path{ 2 } << Path{ 0 } << naInsert << true
                                               << "C | A | .A1 | ..A1a | .A2 | B";
    QTest::newRow("forward within siblings") << Path{ 0 } << Path{ 2 } << naInsert << true
                                             << "B | A | .A1 | ..A1a | .A2 | C";
    QTest::newRow("onto own child refused") << Path{ 0 } << Path{ 0, 1 } << naAddChild << false
                                            << "A | .A1 | ..A1a | .A2 | B | C";
    QTest::newRow("onto own grandchild refused") << Path{ 0 } << Path{ 0, 0, 0 } << naAdd << false
                                                 << "A | .A1 | ..A1a | .A2 | B | C";
    QTest::newRow("insert before the next one changes nothing") << Path{ 1 } << Path{ 2 } << naInsert << false
                                                                << "A | .A1 | ..A1a | .A2 | B | C";
    QTest::newRow("already last changes nothing") << Path{ 2 } << Path{ 1 } << naAdd << false
                                                  << "A | .A1 | ..A1a | .A2 | B | C";
    QTest::newRow("only child to another parent") << Path{ 0, 0, 0 } << Path{ 1 } << naAddChild << true
                                                  << "A | .A1 | .A2 | B | .A1a | C";
}

void TestElementModel::moves()
{
    QFETCH(Path, moved);
    QFETCH(Path, destination);
    QFETCH(TNodeAttachMode, mode);
    QFETCH(bool, moves);
    QFETCH(QString, tree);
    ElementModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.rebuild([](ElementTree& built) { test::readTree(built, QStringLiteral("A\n\tA1\n\t\tA1a\n\tA2\nB\nC")); });
    Element* element = at(model.tree(), moved);
    const QPersistentModelIndex selected = model.indexOf(element);
    element->data = QStringLiteral("3dokument");
    element->hasData = true;
    QCOMPARE(model.moveElement(element, at(model.tree(), destination), mode), moves);
    QCOMPARE(treeText(model.tree()), tree);
    // The element keeps its data, and an index held on it follows it.
    QCOMPARE(model.element(selected), element);
    QCOMPARE(element->data, QStringLiteral("3dokument"));
    if (moved == Path{ 0, 0, 0 })
        QVERIFY(!model.hasChildren(model.indexOf(at(model.tree(), { 0, 0 }))));
}

void TestElementModel::sortOrder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("sorted");

    const QStringList cases{ u"b"_qs, u"A"_qs, u"a"_qs, u"B"_qs };
    const QStringList lowerFirst{ u"a"_qs, u"A"_qs, u"b"_qs, u"B"_qs };
    QTest::newRow("case, C locale") << "C" << cases << lowerFirst;
    QTest::newRow("case, Danish") << "da_DK" << cases << lowerFirst;
    QTest::newRow("case, English") << "en_US" << cases << lowerFirst;
    QTest::newRow("case inside words, Danish") << "da_DK" << QStringList{ u"Ab"_qs, u"aB"_qs, u"ab"_qs, u"AB"_qs }
                                               << QStringList{ u"ab"_qs, u"aB"_qs, u"Ab"_qs, u"AB"_qs };
    QTest::newRow("danish letters after z") << "C" << QStringList{ u"Åen"_qs, u"øl"_qs, u"Zebra"_qs, u"æble"_qs, u"Ø"_qs }
                                            << QStringList{ u"Zebra"_qs, u"æble"_qs, u"Ø"_qs, u"øl"_qs, u"Åen"_qs };
    QTest::newRow("words before longer words") << "C" << QStringList{ u"Kapitel 2"_qs, u"Kapitel"_qs, u"Bilag"_qs }
                                               << QStringList{ u"Bilag"_qs, u"Kapitel"_qs, u"Kapitel 2"_qs };
}

void TestElementModel::sortOrder()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, sorted);
    QCOMPARE(sortedTexts(texts, ElementOrder(QLocale(locale))), sorted);
}

void TestElementModel::sortAgreesWithComparison()
{
    // Texts sharing long beginnings, differing in case, accents, Danish letters and length: the
    // sort's keys must order them as comparing them pairwise does.
    const QStringList parts{ u"Kapitel"_qs, u"kapitel"_qs, u"Aarhus"_qs, u"Århus"_qs, u"åben"_qs, u"e\u0301"_qs,
        u"\u00E9"_qs, u" "_qs, u"-"_qs, u"9"_qs, u"10"_qs, u"Ø"_qs, u""_qs, u"\U0001F600"_qs };
    QStringList texts;
    for (int i = 0; i < 3000; ++i) {
        // Half share a beginning longer than a key's first bytes; the other half are short.
        QString text = i % 2 ? u"Indledning til hjælpen "_qs : QString();
        for (int n = i / 2; n > 0; n /= int(parts.size()))
            text += parts[n % parts.size()];
        texts.append(text);
    }
    texts.append(QString(5000, u'x'));
    const ElementOrder order(QLocale(QStringLiteral("da_DK")));
    const QStringList sorted = sortedTexts(texts, order);
    QCOMPARE(sorted.size(), texts.size());
    for (qsizetype i = 1; i < sorted.size(); ++i)
        QVERIFY2(order.compare(sorted[i - 1], sorted[i]) <= 0, qPrintable(sorted[i - 1] + u" > "_qs + sorted[i]));
}

void TestElementModel::sortKeepsParentsAndSelection()
{
    ElementModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.rebuild([](ElementTree& built) { test::readTree(built, QStringLiteral("b\n\tz\n\ty\n\t\t2\n\t\t1\na\n\tq\nc")); });
    const QPersistentModelIndex held = model.indexOf(elementAt(model.tree(), { 0, 1, 0 }));
    model.sortElements(ElementOrder(QLocale(QStringLiteral("da_DK"))));
    QCOMPARE(treeText(model.tree()), QStringLiteral("a | .q | b | .y | ..1 | ..2 | .z | c"));
    QCOMPARE(model.data(held).toString(), QStringLiteral("2"));
    QCOMPARE(held.row(), 1);
    QCOMPARE(model.data(held.parent()).toString(), QStringLiteral("y"));
}

void TestElementModel::storableTexts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("plain") << "Kapitel æøå" << "Kapitel æøå";
    QTest::newRow("leading tabs and spaces") << "\t \tKapitel" << "Kapitel";
    QTest::newRow("inner and trailing blanks stay") << "Kap\titel  " << "Kap\titel  ";
    QTest::newRow("line breaks become spaces") << "Linje 1\r\nLinje 2\rLinje 3\n" << "Linje 1  Linje 2 Linje 3 ";
    QTest::newRow("nul becomes a space") << QStringLiteral("A%1B").arg(QChar(0)) << "A B";
    QTest::newRow("leading break is a leading blank") << "\r\n Kapitel" << "Kapitel";
    QTest::newRow("only blanks") << " \t " << "";
}

void TestElementModel::storableTexts()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QCOMPARE(storableElementText(typed), stored);
    // What is stored reads back as the same text at the same level.
    ElementTree tree;
    test::readTree(tree, QStringLiteral("A\n\t") + stored);
    QCOMPARE(treeText(tree), QStringLiteral("A | .") + stored);
}

void TestElementModel::inPlaceEditCleansAndReports()
{
    ElementModel model;
    model.rebuild([](ElementTree& built) { test::readTree(built, QStringLiteral("A\nB")); });
    int reported = 0;
    connect(&model, &ElementModel::textEdited, this, [&reported] { ++reported; });
    const QModelIndex index = model.index(1, 0);
    QVERIFY(model.setData(index, QStringLiteral("\t Ny\r\ntekst")));
    QCOMPARE(model.data(index).toString(), QStringLiteral("Ny  tekst"));
    QCOMPARE(reported, 1);
    QVERIFY(model.setData(index, QStringLiteral("Ny  tekst")));
    QCOMPARE(reported, 1);
}

void TestElementModel::modelStaysConsistent()
{
    ElementModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    Element* a = model.addElement(nullptr, naAdd, QStringLiteral("A"));
    Element* b = model.addElement(a, naAddChild, QStringLiteral("B"));
    model.addElement(b, naAddChildFirst, QStringLiteral("C"));
    Element* d = model.addElement(a, naAdd, QStringLiteral("D"));
    model.setData(d, true, QStringLiteral("4d"), 4);
    QCOMPARE(model.data(model.indexOf(d), ElementModel::IconRole).toInt(), 4);
    QCOMPARE(model.data(model.indexOf(d), ElementModel::DataStringRole).toString(), QStringLiteral("4d"));
    QVERIFY(model.moveElement(d, b, naAddChildFirst));
    model.sortElements(ElementOrder(QLocale(QStringLiteral("da_DK"))));
    QCOMPARE(treeText(model.tree()), QStringLiteral("A | .B | ..C | ..D"));
    model.removeElement(b);
    QCOMPARE(model.tree().size(), 1);
    QVERIFY(!model.hasChildren(model.indexOf(a)));
    const auto badFile = [](ElementTree& built) { test::readTree(built, QStringLiteral("X\n\t\tY")); };
    QVERIFY_THROWS_EXCEPTION(struktur::Error, model.rebuild(badFile));
    QCOMPARE(model.rowCount(), 1);
    model.clear();
    QCOMPARE(model.rowCount(), 0);
}

void TestElementModel::deepTreeNeedsNoStack()
{
    // One level per line is a valid structure file; nothing may recurse over its depth.
    ElementTree tree;
    Element* parent = tree.root();
    for (int level = 0; level < 500000; ++level)
        parent = tree.append(parent, QStringLiteral("x"));
    QCOMPARE(tree.size(), 500000);
    qsizetype visited = 0;
    structurefile::forEachElement(tree, [&visited](Element*, int level) { QCOMPARE(level, visited++); });
    QCOMPARE(visited, 500000);
    sortTree(tree, ElementOrder());
    tree.remove(tree.first()->child(0));
    QCOMPARE(tree.size(), 1);
    for (int level = 0; level < 500000; ++level)
        parent = tree.append(level ? parent : tree.first(), QStringLiteral("y"));
    tree.clear();
    QVERIFY(tree.isEmpty());
}

QTEST_GUILESS_MAIN(TestElementModel)
#include "test_element_model.moc"
