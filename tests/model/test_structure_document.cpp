// SPDX-License-Identifier: GPL-3.0-or-later
#include "TreeText.h"
#include "model/ElementModel.h"
#include "model/ElementOrder.h"
#include "model/StructureDocument.h"
#include "model/StructureStorage.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace struktur;
using struktur::test::treeText;

Q_DECLARE_METATYPE(TNodeAttachMode)

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

// clang-format off
const auto startStructure = QStringLiteral(
    "Rod\n"
    "\tØst\n"
    "\t\tÅ2\n"
    "\t\tb1\n"
    "\tAlfa\n"
    "\t\tæble\n"
    "Zulu\n"
    "Beta");
// clang-format on

/// A document on two files in a folder with Danish letters, loaded from the start structure
/// with element data on every second element.
class Fixture {
public:
    explicit Fixture(const QString& structure = startStructure)
        : m_folder(m_dir.filePath(QStringLiteral("Strukturer æøå")))
    {
        QDir().mkpath(m_folder);
        document.setDataOn(true);
        document.setStructureFile(m_folder + QStringLiteral("/struktur.txt"));
        document.setDataFile(m_folder + QStringLiteral("/data.txt"));
        ElementTree tree;
        test::readTree(tree, structure);
        int n = 0;
        structurefile::forEachElement(tree, [&n](Element* element, int) {
            if (n++ % 2)
                return;
            element->hasData = true;
            element->icon = qint16(n % 9);
            element->data = QString::number(n % 9) + QStringLiteral("fil_%1").arg(n);
        });
        saveStructure(tree, document.structureFile(), document.dataFile(), true);
        document.load();
    }

    QByteArray files() const { return fileBytes(document.structureFile()) + "\n--\n" + fileBytes(document.dataFile()); }
    QString text() const { return treeText(document.tree(), true); }
    Element* at(const ElementPath& path) const { return elementAt(document.tree(), path); }

    QTemporaryDir m_dir;
    QString m_folder;
    StructureDocument document;
};

/// One change the test makes, by kind.
enum class Change {
    Insert,
    InsertSorted,
    InsertNoSelection,
    Edit,
    EditSorted,
    TextInPlace,
    Delete,
    Move,
    MoveToTop,
    Sort,
    MoveUp,
    MoveDown,
    Indent,
    Outdent,
    Paste,
    PasteCut
};

/// Two copied subtrees: "Ny" with a child, and "Anden" without data.
clipboard::CopiedElements pastedElements()
{
    return {
        { 0, QStringLiteral("Ny"), true, QStringLiteral("3x"), 3, std::nullopt },
        { 1, QStringLiteral("Ny barn ø"), true, QStringLiteral("4y"), 4, std::nullopt },
        { 0, QStringLiteral("Anden"), false, QString(), -1, std::nullopt },
    };
}

void makeChange(
    Fixture& f, Change change, const ElementPath& path, TNodeAttachMode mode, const ElementPath& destination)
{
    StructureDocument& d = f.document;
    d.setAttachMode(mode);
    switch (change) {
    case Change::Insert:
        d.insertElement(f.at(path), QStringLiteral("Ny ø"), QStringLiteral("nyfil"), 4, false);
        return;
    case Change::InsertSorted:
        d.insertElement(f.at(path), QStringLiteral("Ny ø"), QStringLiteral("nyfil"), 4, true);
        return;
    case Change::InsertNoSelection:
        d.insertElement(nullptr, QStringLiteral("Ny ø"), QString(), 2, false);
        return;
    case Change::Edit:
        d.editElement(f.at(path), QStringLiteral("Rettet å"), QStringLiteral("rettet"), 7, false);
        return;
    case Change::EditSorted:
        d.editElement(f.at(path), QStringLiteral("Aaa rettet"), QStringLiteral("rettet"), 7, true);
        return;
    case Change::TextInPlace:
        d.model()->setData(d.model()->indexOf(f.at(path)), QStringLiteral("  Omdøbt"));
        return;
    case Change::Delete:
        d.deleteElement(f.at(path));
        return;
    case Change::Move:
        QVERIFY(d.moveElement(f.at(path), f.at(destination), mode));
        return;
    case Change::MoveToTop:
        QVERIFY(d.moveElement(f.at(path), d.tree().first(), naInsert));
        return;
    case Change::Sort:
        QVERIFY(d.sort());
        return;
    case Change::MoveUp:
        QVERIFY(d.moveUp(f.at(path)));
        return;
    case Change::MoveDown:
        QVERIFY(d.moveDown(f.at(path)));
        return;
    case Change::Indent:
        QVERIFY(d.indent(f.at(path)));
        return;
    case Change::Outdent:
        QVERIFY(d.outdent(f.at(path)));
        return;
    case Change::Paste:
        QVERIFY(d.pasteElements(f.at(path), pastedElements()));
        return;
    case Change::PasteCut:
        QVERIFY(d.pasteCutElement(f.at(path), f.at(destination)));
        return;
    }
}

// ---- A reference tree: plain values, every operation written out by paths. ----

struct RefNode {
    QString text;
    bool hasData = false;
    QString data;
    int icon = -1;
    std::vector<RefNode> children;
};

struct RefTree {
    RefNode root;

    RefNode& at(const ElementPath& path)
    {
        RefNode* node = &root;
        for (const int row : path)
            node = &node->children[size_t(row)];
        return *node;
    }
    QString text() const
    {
        QStringList parts;
        std::function<void(const RefNode&, int)> walk = [&](const RefNode& node, int level) {
            for (const RefNode& child : node.children) {
                parts.append(QString(level, u'.') + child.text + u'='
                    + (child.hasData ? child.data : QStringLiteral("-")) + u'/' + QString::number(child.icon));
                walk(child, level + 1);
            }
        };
        walk(root, 0);
        return parts.join(QStringLiteral(" | "));
    }
    /// The place (parent path, row) an attach by `mode` at `relative` means.
    std::pair<ElementPath, int> place(const ElementPath& relative, TNodeAttachMode mode)
    {
        ElementPath parent(relative.begin(), relative.end() - 1);
        switch (mode) {
        case naAdd:
            return { parent, int(at(parent).children.size()) };
        case naAddFirst:
            return { parent, 0 };
        case naAddChild:
            return { relative, int(at(relative).children.size()) };
        case naAddChildFirst:
            return { relative, 0 };
        case naInsert:
            return { parent, relative.back() };
        }
        return {};
    }
    void insert(const ElementPath& parent, int row, RefNode node)
    {
        auto& children = at(parent).children;
        children.insert(children.begin() + row, std::move(node));
    }
    RefNode take(const ElementPath& path)
    {
        auto& children = at(ElementPath(path.begin(), path.end() - 1)).children;
        RefNode node = std::move(children[size_t(path.back())]);
        children.erase(children.begin() + path.back());
        return node;
    }
    /// Moves like the tree does; false when the destination is inside the element or the
    /// element is already in that place.
    bool move(const ElementPath& element, const ElementPath& destination, TNodeAttachMode mode)
    {
        if (destination.size() >= element.size() && std::equal(element.begin(), element.end(), destination.begin()))
            return false;
        auto [parent, row] = place(destination, mode);
        const ElementPath oldParent(element.begin(), element.end() - 1);
        const int oldRow = element.back();
        if (parent == oldParent && (row == oldRow || row == oldRow + 1))
            return false;
        RefNode node = take(element);
        // Taking the element out shifts its later siblings (and what lies below them) up a row.
        if (parent.size() > oldParent.size() && std::equal(oldParent.begin(), oldParent.end(), parent.begin())
            && parent[oldParent.size()] > oldRow)
            --parent[oldParent.size()];
        if (parent == oldParent && row > oldRow)
            --row;
        insert(parent, row, std::move(node));
        return true;
    }
    void sort(const ElementOrder& order) { sortBelow(root, order); }
    static void sortBelow(RefNode& node, const ElementOrder& order)
    {
        std::sort(node.children.begin(), node.children.end(),
            [&order](const RefNode& a, const RefNode& b) { return order(a.text, b.text); });
        for (RefNode& child : node.children)
            sortBelow(child, order);
    }
};

Element* nthElement(const ElementTree& tree, int n)
{
    Element* element = tree.next(tree.root());
    while (n-- > 0)
        element = tree.next(element);
    return element;
}

} // namespace

class TestStructureDocument : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stepUndoesAndRedoesToTheSameBytes_data();
    void stepUndoesAndRedoesToTheSameBytes();
    void randomChangesMatchTheReference_data();
    void randomChangesMatchTheReference();
    void modifiedFollowsTheSavedState();
    void historyIsBoundedAndClearedByLoads();
    void undoWritesNoFile();
    void sortUndoKeepsOnlyAPermutation();
    void keyboardMovesGiveTheTree_data();
    void keyboardMovesGiveTheTree();
    void pasteGoesWhereAnInsertGoes_data();
    void pasteGoesWhereAnInsertGoes();
    void pasteCleansCaptionsAndFollowsDataOn();
    void pasteCutRefusesItsOwnSubtree();
};

void TestStructureDocument::stepUndoesAndRedoesToTheSameBytes_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<ElementPath>("path");
    QTest::addColumn<TNodeAttachMode>("mode");
    QTest::addColumn<ElementPath>("destination");
    QTest::addColumn<QString>("undoSelects"); ///< "" none, "=" no signal, else the text
    QTest::addColumn<QString>("redoSelects");

    using P = ElementPath;
    // clang-format off
    QTest::newRow("insert after")        << Change::Insert << P{0, 0} << naAdd << P{} << "Øst" << "Øst";
    QTest::newRow("insert first child")  << Change::Insert << P{0, 1} << naAddChildFirst << P{} << "Alfa" << "Alfa";
    QTest::newRow("insert and sort")     << Change::InsertSorted << P{0, 0} << naAddChild << P{} << "Øst" << "Øst";
    QTest::newRow("insert, no selection") << Change::InsertNoSelection << P{} << naInsert << P{} << "" << "";
    QTest::newRow("edit")                << Change::Edit << P{0, 0, 1} << naAdd << P{} << "b1" << "Rettet å";
    QTest::newRow("edit and sort")       << Change::EditSorted << P{2} << naAdd << P{} << "Beta" << "Aaa rettet";
    QTest::newRow("text in place")       << Change::TextInPlace << P{1} << naAdd << P{} << "Zulu" << "Omdøbt";
    QTest::newRow("delete subtree")      << Change::Delete << P{0, 0} << naAdd << P{} << "Øst" << "";
    QTest::newRow("delete everything")   << Change::Delete << P{0} << naAdd << P{} << "Rod" << "";
    QTest::newRow("move as child")       << Change::Move << P{0, 0} << naAddChild << P{1} << "Øst" << "Øst";
    QTest::newRow("move up among siblings") << Change::Move << P{2} << naInsert << P{1} << "Beta" << "Beta";
    QTest::newRow("move down among siblings") << Change::Move << P{0, 0, 0} << naAdd << P{0, 0, 1} << "Å2" << "Å2";
    QTest::newRow("move out to a later branch") << Change::Move << P{0, 0} << naAddChildFirst << P{0, 1, 0} << "Øst" << "Øst";
    QTest::newRow("move as top element") << Change::MoveToTop << P{0, 1, 0} << naAdd << P{} << "æble" << "æble";
    QTest::newRow("sort")                << Change::Sort << P{} << naAdd << P{} << "=" << "=";
    QTest::newRow("key up")              << Change::MoveUp << P{0, 1} << naAdd << P{} << "Alfa" << "Alfa";
    QTest::newRow("key down")            << Change::MoveDown << P{0} << naAdd << P{} << "Rod" << "Rod";
    QTest::newRow("key indent")          << Change::Indent << P{2} << naAdd << P{} << "Beta" << "Beta";
    QTest::newRow("key outdent")         << Change::Outdent << P{0, 0, 0} << naAdd << P{} << "Å2" << "Å2";
    QTest::newRow("paste")               << Change::Paste << P{0, 1} << naAddChildFirst << P{} << "Alfa" << "Alfa";
    QTest::newRow("paste without selection") << Change::Paste << P{9} << naInsert << P{} << "" << "";
    QTest::newRow("paste a cut")         << Change::PasteCut << P{1} << naAddChild << P{0, 0} << "Zulu" << "Zulu";
    // clang-format on
}

void TestStructureDocument::stepUndoesAndRedoesToTheSameBytes()
{
    QFETCH(Change, change);
    QFETCH(ElementPath, path);
    QFETCH(TNodeAttachMode, mode);
    QFETCH(ElementPath, destination);
    QFETCH(QString, undoSelects);
    QFETCH(QString, redoSelects);

    Fixture f;
    const QByteArray before = f.files();
    const QString treeBefore = f.text();
    makeChange(f, change, path, mode, destination);
    QVERIFY(f.document.canUndo());
    QVERIFY(f.document.isModified());
    QVERIFY(f.document.save());
    const QByteArray changed = f.files();
    const QString treeChanged = f.text();
    QVERIFY(changed != before);

    QSignalSpy selections(&f.document, &StructureDocument::selectionRequested);
    auto selected = [&selections]() -> QString {
        if (selections.isEmpty())
            return QStringLiteral("=");
        auto* element = selections.takeLast().at(0).value<Element*>();
        selections.clear();
        return element ? element->text : QString();
    };

    f.document.undo();
    QCOMPARE(f.text(), treeBefore);
    QCOMPARE(selected(), undoSelects);
    QVERIFY(f.document.save());
    QCOMPARE(f.files(), before);

    f.document.redo();
    QCOMPARE(f.text(), treeChanged);
    QCOMPARE(selected(), redoSelects);
    QVERIFY(f.document.save());
    QCOMPARE(f.files(), changed);

    // Twice over: a step replays from what it recorded, not from the first run.
    f.document.undo();
    f.document.redo();
    QCOMPARE(f.text(), treeChanged);
}

void TestStructureDocument::randomChangesMatchTheReference_data()
{
    QTest::addColumn<int>("changes");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("within the history") << StructureDocument::historyLimit << 7u;
    QTest::newRow("thousands") << 4000 << 11u;
    QTest::newRow("thousands, another seed") << 4000 << 2024u;
}

void TestStructureDocument::randomChangesMatchTheReference()
{
    QFETCH(int, changes);
    QFETCH(quint32, seed);

    Fixture f;
    StructureDocument& d = f.document;
    QRandomGenerator random(seed);
    const ElementOrder order;
    // The reference's states, oldest first; the document's history holds the same ones.
    std::vector<RefTree> states(1);
    {
        // The reference starts as the loaded tree, read through the same walk.
        std::function<void(const Element*, RefNode&)> copy = [&copy](const Element* element, RefNode& node) {
            for (int row = 0; row < element->childCount(); ++row) {
                const Element* child = element->child(row);
                node.children.push_back({ child->text, child->hasData, child->data, child->icon, {} });
                copy(child, node.children.back());
            }
        };
        copy(d.tree().root(), states[0].root);
    }
    QCOMPARE(f.text(), states[0].text());
    const QString start = f.text();
    size_t current = 0;
    int unique = 0;

    auto record = [&](RefTree next) {
        states.resize(current + 1);
        states.push_back(std::move(next));
        if (states.size() > size_t(StructureDocument::historyLimit) + 1)
            states.erase(states.begin());
        current = states.size() - 1;
    };

    const TNodeAttachMode modes[] = { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };
    for (int i = 0; i < changes; ++i) {
        const int size = int(d.tree().size());
        const int choice = int(random.bounded(100));
        const TNodeAttachMode mode = modes[random.bounded(5)];
        d.setAttachMode(mode);
        Element* some = size ? nthElement(d.tree(), int(random.bounded(size))) : nullptr;
        const QString text = QStringLiteral("e%1 ø").arg(++unique, 5, 10, QLatin1Char('0'));
        RefTree next = states[current];
        QString what;
        if (choice < 15 && d.canUndo()) {
            what = QStringLiteral("undo");
            d.undo();
            --current;
        } else if (choice < 25 && d.canRedo()) {
            what = QStringLiteral("redo");
            d.redo();
            ++current;
        } else if (choice < 55 || size < 3) {
            what = QStringLiteral("insert");
            const bool sort = random.bounded(10) == 0;
            what
                += QStringLiteral(" mode %1 sort %2 at %3").arg(int(mode)).arg(sort).arg(some ? some->text : QString());
            const int icon = int(random.bounded(9));
            RefNode node { text, true, QString::number(icon) + QStringLiteral("f%1").arg(unique), icon, {} };
            if (!some) {
                next.insert({}, 0, std::move(node));
            } else {
                auto [parent, row] = next.place(pathOf(some), mode);
                next.insert(parent, row, std::move(node));
            }
            d.insertElement(some, text, QStringLiteral("f%1").arg(unique), icon, sort);
            if (sort)
                next.sort(order);
            record(std::move(next));
        } else if (choice < 68) {
            what = QStringLiteral("edit");
            const bool inPlace = random.bounded(2) == 0;
            RefNode& node = next.at(pathOf(some));
            node.text = text;
            if (inPlace) {
                d.model()->setData(d.model()->indexOf(some), text);
            } else {
                d.editElement(some, text, QString(), 0, false);
                node.hasData = true;
                node.data = QStringLiteral("0");
                node.icon = 0;
            }
            record(std::move(next));
        } else if (choice < 78 && size > 20) {
            what = QStringLiteral("delete");
            next.take(pathOf(some));
            d.deleteElement(some);
            record(std::move(next));
        } else if (choice < 96) {
            what = QStringLiteral("move");
            Element* destination = nthElement(d.tree(), int(random.bounded(size)));
            const bool refMoved = next.move(pathOf(some), pathOf(destination), mode);
            QCOMPARE(d.moveElement(some, destination, mode), refMoved);
            if (refMoved)
                record(std::move(next));
        } else {
            what = QStringLiteral("sort");
            next.sort(order);
            if (d.sort())
                record(std::move(next));
        }
        if (f.text() != states[current].text())
            QFAIL(qPrintable(QStringLiteral("after change %1 (%2):\n  got  %3\n  want %4")
                                 .arg(i)
                                 .arg(what, f.text(), states[current].text())));
        QCOMPARE(d.canUndo(), current > 0);
        QCOMPARE(d.canRedo(), current + 1 < states.size());
    }

    while (d.canUndo())
        d.undo();
    QCOMPARE(f.text(), states.front().text());
    if (changes <= StructureDocument::historyLimit)
        QCOMPARE(f.text(), start);
    while (d.canRedo())
        d.redo();
    QCOMPARE(f.text(), states.back().text());
}

void TestStructureDocument::modifiedFollowsTheSavedState()
{
    Fixture f;
    StructureDocument& d = f.document;
    QSignalSpy changes(&d, &StructureDocument::modifiedChanged);
    QVERIFY(!d.isModified());

    d.deleteElement(f.at({ 1 }));
    QVERIFY(d.isModified());
    d.undo();
    QVERIFY(!d.isModified());
    d.redo();
    QVERIFY(d.isModified());
    QCOMPARE(changes.size(), 3);

    // After a save the current step is the saved state, from either side.
    QVERIFY(d.save());
    QVERIFY(!d.isModified());
    d.undo();
    QVERIFY(d.isModified());
    d.redo();
    QVERIFY(!d.isModified());

    // A new change after undoing past the saved state leaves that state out of reach.
    d.undo();
    d.sort();
    QVERIFY(d.isModified());
    d.undo();
    QVERIFY(d.isModified());

    // An in-place edit of a caption is a change too.
    QVERIFY(d.save());
    d.model()->setData(d.model()->indexOf(f.at({ 0 })), QStringLiteral("Ny rod"));
    QVERIFY(d.isModified());
    d.undo();
    QVERIFY(!d.isModified());
    QCOMPARE(f.at({ 0 })->text, QStringLiteral("Rod"));
}

void TestStructureDocument::historyIsBoundedAndClearedByLoads()
{
    Fixture f;
    StructureDocument& d = f.document;
    for (int i = 0; i < StructureDocument::historyLimit + 50; ++i)
        d.insertElement(f.at({ 1 }), QStringLiteral("n%1").arg(i), QString(), 0, false);
    int undone = 0;
    while (d.canUndo()) {
        d.undo();
        ++undone;
    }
    QCOMPARE(undone, StructureDocument::historyLimit);
    // The saved state fell out of the history: no step brings it back.
    QVERIFY(d.isModified());

    d.redo();
    QVERIFY(d.load());
    QVERIFY(!d.canUndo() && !d.canRedo());
    QVERIFY(!d.isModified());

    d.deleteElement(f.at({ 2 }));
    d.clear();
    QVERIFY(!d.canUndo());
    QVERIFY(d.isModified());

    QVERIFY(d.load());
    d.deleteElement(f.at({ 2 }));
    d.setStructureFile(f.m_folder + QStringLiteral("/anden.txt"));
    QVERIFY(!d.canUndo());
}

void TestStructureDocument::undoWritesNoFile()
{
    Fixture f;
    StructureDocument& d = f.document;
    const QByteArray before = f.files();
    d.setAttachMode(naAddChild);
    d.insertElement(f.at({ 0 }), QStringLiteral("Gemt"), QStringLiteral("gemt"), 1, false);
    d.deleteElement(f.at({ 0, 0 }));
    d.undo();
    d.undo();
    d.redo();
    QCOMPARE(f.files(), before);
    // An undone insert leaves no trace in the folder either: only the two files are there.
    QCOMPARE(QDir(f.m_folder).entryList(QDir::Files).size(), 2);
}

void TestStructureDocument::sortUndoKeepsOnlyAPermutation()
{
    // A wide and a deep tree: every sibling group rearranged, and undone exactly.
    ElementTree tree;
    for (int i = 0; i < 300; ++i) {
        Element* top = tree.append(tree.root(), QStringLiteral("t%1").arg((i * 37) % 300));
        for (int j = 0; j < 5; ++j)
            tree.append(top, QStringLiteral("c%1").arg((j * 3) % 5));
    }
    const QString before = treeText(tree);
    SortPermutation permutation;
    QVERIFY(sortTree(tree, ElementOrder(), &permutation));
    const QString sorted = treeText(tree);
    QCOMPARE(qsizetype(permutation.size()), tree.size());
    revertSortPermutation(tree, permutation);
    QCOMPARE(treeText(tree), before);
    applySortPermutation(tree, permutation);
    QCOMPARE(treeText(tree), sorted);
    QVERIFY(!sortTree(tree, ElementOrder(), &permutation));
}

enum class Key { Up, Down, Indent, Outdent };

void TestStructureDocument::keyboardMovesGiveTheTree_data()
{
    QTest::addColumn<QString>("structure");
    QTest::addColumn<Key>("key");
    QTest::addColumn<ElementPath>("path");
    QTest::addColumn<QString>("expected"); ///< empty: refused, nothing changes

    const QString start = startStructure;
    const auto deep = QStringLiteral("A\n\tB\n\t\tC\n\t\t\tD\n\t\t\t\tE\n\tF\nG");
    using P = ElementPath;
    // clang-format off
    QTest::newRow("up: first child")        << start << Key::Up << P{0, 0, 0} << "";
    QTest::newRow("up: only child")         << start << Key::Up << P{0, 1, 0} << "";
    QTest::newRow("up: the first element")  << start << Key::Up << P{0} << "";
    QTest::newRow("up: middle, top level")  << start << Key::Up << P{1} << "Zulu | Rod | .Øst | ..Å2 | ..b1 | .Alfa | ..æble | Beta";
    QTest::newRow("up: last child")         << start << Key::Up << P{0, 0, 1} << "Rod | .Øst | ..b1 | ..Å2 | .Alfa | ..æble | Zulu | Beta";
    QTest::newRow("up: with its subtree")   << start << Key::Up << P{0, 1} << "Rod | .Alfa | ..æble | .Øst | ..Å2 | ..b1 | Zulu | Beta";
    QTest::newRow("up: deep, to the front") << deep << Key::Up << P{1} << "G | A | .B | ..C | ...D | ....E | .F";
    QTest::newRow("down: the first element moves") << start << Key::Down << P{0} << "Zulu | Rod | .Øst | ..Å2 | ..b1 | .Alfa | ..æble | Beta";
    QTest::newRow("down: middle")           << start << Key::Down << P{1} << "Rod | .Øst | ..Å2 | ..b1 | .Alfa | ..æble | Beta | Zulu";
    QTest::newRow("down: last")             << start << Key::Down << P{2} << "";
    QTest::newRow("down: last child")       << start << Key::Down << P{0, 0, 1} << "";
    QTest::newRow("down: only child")       << start << Key::Down << P{0, 1, 0} << "";
    QTest::newRow("down: first child, subtree") << start << Key::Down << P{0, 0} << "Rod | .Alfa | ..æble | .Øst | ..Å2 | ..b1 | Zulu | Beta";
    QTest::newRow("down: deep subtree")     << deep << Key::Down << P{0, 0} << "A | .F | .B | ..C | ...D | ....E | G";
    QTest::newRow("indent: first child")    << start << Key::Indent << P{0, 0} << "";
    QTest::newRow("indent: the first element") << start << Key::Indent << P{0} << "";
    QTest::newRow("indent: only child")     << start << Key::Indent << P{0, 1, 0} << "";
    QTest::newRow("indent: last child, subtree") << start << Key::Indent << P{0, 1} << "Rod | .Øst | ..Å2 | ..b1 | ..Alfa | ...æble | Zulu | Beta";
    QTest::newRow("indent: top level")      << start << Key::Indent << P{1} << "Rod | .Øst | ..Å2 | ..b1 | .Alfa | ..æble | .Zulu | Beta";
    QTest::newRow("indent: under a deep one") << deep << Key::Indent << P{0, 1} << "A | .B | ..C | ...D | ....E | ..F | G";
    QTest::newRow("outdent: top level")     << start << Key::Outdent << P{0} << "";
    QTest::newRow("outdent: first child, subtree") << start << Key::Outdent << P{0, 0} << "Rod | .Alfa | ..æble | Øst | .Å2 | .b1 | Zulu | Beta";
    QTest::newRow("outdent: first, deeper") << start << Key::Outdent << P{0, 0, 0} << "Rod | .Øst | ..b1 | .Å2 | .Alfa | ..æble | Zulu | Beta";
    QTest::newRow("outdent: last child")    << start << Key::Outdent << P{0, 0, 1} << "Rod | .Øst | ..Å2 | .b1 | .Alfa | ..æble | Zulu | Beta";
    QTest::newRow("outdent: only child of a last child") << start << Key::Outdent << P{0, 1, 0} << "Rod | .Øst | ..Å2 | ..b1 | .Alfa | .æble | Zulu | Beta";
    QTest::newRow("outdent: deep, with its subtree") << deep << Key::Outdent << P{0, 0, 0, 0} << "A | .B | ..C | ..D | ...E | .F | G";
    // clang-format on
}

void TestStructureDocument::keyboardMovesGiveTheTree()
{
    QFETCH(QString, structure);
    QFETCH(Key, key);
    QFETCH(ElementPath, path);
    QFETCH(QString, expected);

    Fixture f(structure);
    StructureDocument& d = f.document;
    const QString before = f.text();
    const QByteArray files = f.files();
    const QString shapeBefore = treeText(d.tree());
    Element* element = f.at(path);
    bool moved = false;
    switch (key) {
    case Key::Up:
        moved = d.moveUp(element);
        break;
    case Key::Down:
        moved = d.moveDown(element);
        break;
    case Key::Indent:
        moved = d.indent(element);
        break;
    case Key::Outdent:
        moved = d.outdent(element);
        break;
    }
    QCOMPARE(moved, !expected.isEmpty());
    QCOMPARE(treeText(d.tree()), moved ? expected : shapeBefore);
    QCOMPARE(d.canUndo(), moved);
    QCOMPARE(d.isModified(), moved);
    if (!moved)
        return;
    QCOMPARE(f.files(), files); // never saved on its own
    const QString after = f.text();
    d.undo();
    QCOMPARE(f.text(), before);
    QVERIFY(!d.isModified());
    d.redo();
    QCOMPARE(f.text(), after);
    QCOMPARE(treeText(d.tree()), expected);
}

void TestStructureDocument::pasteGoesWhereAnInsertGoes_data()
{
    QTest::addColumn<TNodeAttachMode>("mode");
    QTest::addColumn<ElementPath>("selected"); ///< {9}: no selection; {} an emptied tree
    QTest::addColumn<QString>("expected");
    using P = ElementPath;
    // clang-format off
    QTest::newRow("last on the line")  << naAdd << P{0, 0} << "Rod | .Øst | ..Å2 | ..b1 | .Alfa | ..æble | .Ny | ..Ny barn ø | .Anden | Zulu | Beta";
    QTest::newRow("first on the line") << naAddFirst << P{0, 1} << "Rod | .Ny | ..Ny barn ø | .Anden | .Øst | ..Å2 | ..b1 | .Alfa | ..æble | Zulu | Beta";
    QTest::newRow("before")            << naInsert << P{0, 1} << "Rod | .Øst | ..Å2 | ..b1 | .Ny | ..Ny barn ø | .Anden | .Alfa | ..æble | Zulu | Beta";
    QTest::newRow("before the first")  << naInsert << P{0} << "Ny | .Ny barn ø | Anden | Rod | .Øst | ..Å2 | ..b1 | .Alfa | ..æble | Zulu | Beta";
    QTest::newRow("last child")        << naAddChild << P{0, 0} << "Rod | .Øst | ..Å2 | ..b1 | ..Ny | ...Ny barn ø | ..Anden | .Alfa | ..æble | Zulu | Beta";
    QTest::newRow("first child")       << naAddChildFirst << P{0, 0} << "Rod | .Øst | ..Ny | ...Ny barn ø | ..Anden | ..Å2 | ..b1 | .Alfa | ..æble | Zulu | Beta";
    QTest::newRow("child of a leaf")   << naAddChild << P{2} << "Rod | .Øst | ..Å2 | ..b1 | .Alfa | ..æble | Zulu | Beta | .Ny | ..Ny barn ø | .Anden";
    QTest::newRow("no selection: at the first element") << naAddChild << P{9} << "Rod | .Øst | ..Å2 | ..b1 | .Alfa | ..æble | .Ny | ..Ny barn ø | .Anden | Zulu | Beta";
    QTest::newRow("empty tree")        << naAddChild << P{} << "Ny | .Ny barn ø | Anden";
    // clang-format on
}

void TestStructureDocument::pasteGoesWhereAnInsertGoes()
{
    QFETCH(TNodeAttachMode, mode);
    QFETCH(ElementPath, selected);
    QFETCH(QString, expected);

    Fixture f;
    StructureDocument& d = f.document;
    if (selected.empty())
        d.clear();
    d.setModified(false);
    const QString before = f.text();
    d.setAttachMode(mode);
    Element* first = d.pasteElements(selected.empty() ? nullptr : f.at(selected), pastedElements());
    QCOMPARE(treeText(d.tree()), expected);
    QVERIFY(first);
    QCOMPARE(first->text, QStringLiteral("Ny"));
    QVERIFY(d.isModified());
    // Data strings and icons as copied; no data stays no data.
    QCOMPARE(
        treeText(d.tree(), true)
            .contains(QStringLiteral("Ny=3x/3 | ") + QString(first->level() + 1, u'.')
                + QStringLiteral("Ny barn ø=4y/4 | ") + QString(first->level(), u'.') + QStringLiteral("Anden=-/-1")),
        true);
    const QString after = f.text();
    for (int i = 0; i < 2; ++i) {
        d.undo();
        QCOMPARE(f.text(), before);
        QVERIFY(!d.isModified());
        d.redo();
        QCOMPARE(f.text(), after);
    }
}

void TestStructureDocument::pasteCleansCaptionsAndFollowsDataOn()
{
    Fixture f;
    StructureDocument& d = f.document;
    d.setAttachMode(naAdd);
    const clipboard::CopiedElements messy {
        { 0, QStringLiteral("\t  Linje\rto\nslut "), true, QStringLiteral("5z"), 5, std::nullopt },
        // A level that skips one goes one deeper only; the data string follows the icon kept.
        { 3, QStringLiteral("Dyb"), true, QStringLiteral("7w"), 12, std::nullopt },
    };
    d.pasteElements(f.at({ 2 }), messy);
    QCOMPARE(
        treeText(d.tree(), true).section(QStringLiteral(" | "), -2), QStringLiteral("Linje to slut =5z/5 | .Dyb=9w/9"));
    QVERIFY(d.save());
    ElementTree again;
    QVERIFY(loadStructure(again, d.structureFile(), d.dataFile(), true) == LoadResult::Loaded);
    QCOMPARE(treeText(again, true), treeText(d.tree(), true));

    d.setDataOn(false);
    d.pasteElements(f.at({ 2 }), pastedElements());
    QCOMPARE(treeText(d.tree(), true).section(QStringLiteral(" | "), -3),
        QStringLiteral("Ny=-/-1 | .Ny barn ø=-/-1 | Anden=-/-1"));
    QVERIFY(!d.pasteElements(f.at({ 2 }), {}));
}

void TestStructureDocument::pasteCutRefusesItsOwnSubtree()
{
    Fixture f;
    StructureDocument& d = f.document;
    const QString before = f.text();
    d.setAttachMode(naAddChild);
    QVERIFY(!d.pasteCutElement(f.at({ 0, 0 }), f.at({ 0, 0, 1 })));
    QVERIFY(!d.pasteCutElement(f.at({ 0, 0 }), f.at({ 0, 0 })));
    // Without a selection at the first element, which is inside the cut one.
    QVERIFY(!d.pasteCutElement(f.at({ 0 }), nullptr));
    QCOMPARE(f.text(), before);
    QVERIFY(!d.canUndo() && !d.isModified());
    QVERIFY(d.pasteCutElement(f.at({ 0, 0 }), nullptr));
    QCOMPARE(treeText(d.tree()), QStringLiteral("Rod | .Alfa | ..æble | .Øst | ..Å2 | ..b1 | Zulu | Beta"));
}

QTEST_GUILESS_MAIN(TestStructureDocument)
#include "test_structure_document.moc"
