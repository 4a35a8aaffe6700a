// SPDX-License-Identifier: GPL-3.0-or-later
#include "TreeText.h"
#include "model/ElementPool.h"
#include "model/ElementTree.h"

#include <QTest>

#include <set>
#include <thread>

using namespace struktur;

class TestElementPool : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void slotsHaveIdsAndChunksGoBack();
    void threadsShareThePool();
    void takenSubtreeOutlivesItsTree();
    void treeEditsKeepParentsAndRows();
};

void TestElementPool::slotsHaveIdsAndChunksGoBack()
{
    static SlotPool<64> pool;
    QCOMPARE(pool.chunkCount(), size_t(0));
    // More than two chunks' worth, so that ids cross chunks.
    std::vector<void*> slots;
    std::set<std::uint32_t> ids;
    for (int i = 0; i < 40000; ++i) {
        void* slot = pool.allocate();
        std::memset(slot, 0xAB, 64);
        const std::uint32_t id = pool.idOf(slot);
        QVERIFY(id != 0);
        QCOMPARE(pool.at(id), slot);
        ids.insert(id);
        slots.push_back(slot);
    }
    QCOMPARE(ids.size(), slots.size());
    QCOMPARE(pool.chunkCount(), size_t(3));
    // A freed slot is given again before a new chunk is taken.
    void* freed = slots[12345];
    pool.release(freed);
    QCOMPARE(pool.allocate(), freed);
    for (void* slot : slots)
        pool.release(slot);
    QCOMPARE(pool.chunkCount(), size_t(1));
    // The chunk kept is used again.
    void* again = pool.allocate();
    QCOMPARE(pool.chunkCount(), size_t(1));
    QVERIFY(pool.idOf(again) != 0);
    pool.release(again);
}

void TestElementPool::threadsShareThePool()
{
    static SlotPool<64> pool;
    auto churn = [] {
        std::vector<void*> held;
        for (int round = 0; round < 20; ++round) {
            for (int i = 0; i < 5000; ++i)
                held.push_back(pool.allocate());
            for (void* slot : held)
                pool.release(slot);
            held.clear();
        }
    };
    std::thread first(churn);
    std::thread second(churn);
    first.join();
    second.join();
    QCOMPARE(pool.chunkCount(), size_t(1));
}

void TestElementPool::takenSubtreeOutlivesItsTree()
{
    std::unique_ptr<Element> taken;
    {
        ElementTree tree;
        test::readTree(tree, u"A\n\tB\n\t\tC\n\tD\nE"_qs);
        taken = tree.take(test::elementAt(tree, {0}));
        QCOMPARE(test::treeText(tree), u"E"_qs);
        tree.clear();
    }
    // Another tree takes it whole, with parents and rows that still hold.
    ElementTree other;
    test::readTree(other, u"X"_qs);
    Element* restored = other.restore(other.root(), 0, std::move(taken));
    QCOMPARE(test::treeText(other), u"A | .B | ..C | .D | X"_qs);
    QCOMPARE(restored->child(0)->child(0)->parent()->parent(), restored);
    QCOMPARE(restored->child(1)->row(), 1);
    QCOMPARE(other.size(), qsizetype(5));
}

void TestElementPool::treeEditsKeepParentsAndRows()
{
    ElementTree tree;
    test::readTree(tree, u"A\n\tB\n\tC\n\tD\nE\nF"_qs);
    Element* a = test::elementAt(tree, {0});
    Element* e = test::elementAt(tree, {1});
    tree.move(test::elementAt(tree, {0, 2}), e, 0);
    tree.remove(test::elementAt(tree, {0, 0}));
    Element* g = tree.insert(a, 1, u"G"_qs);
    QCOMPARE(test::treeText(tree), u"A | .C | .G | E | .D | F"_qs);
    QCOMPARE(g->parent(), a);
    QCOMPARE(g->row(), 1);
    QCOMPARE(e->child(0)->parent(), e);
    QCOMPARE(tree.size(), qsizetype(6));
    std::vector<Element*> order{ tree.root()->child(2), tree.root()->child(0), tree.root()->child(1) };
    tree.reorder(tree.root(), order);
    QCOMPARE(test::treeText(tree), u"F | A | .C | .G | E | .D"_qs);
    QCOMPARE(a->row(), 1);
    const int rows[] = { 2, 0, 1 };
    tree.permute(tree.root(), rows, ElementTree::Permute::Forth);
    QCOMPARE(test::treeText(tree), u"E | .D | F | A | .C | .G"_qs);
    QCOMPARE(a->row(), 2);
    QCOMPARE(tree.next(test::elementAt(tree, {2, 1})), nullptr);
}

QTEST_GUILESS_MAIN(TestElementPool)
#include "test_element_pool.moc"
