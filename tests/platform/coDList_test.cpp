#include "arcline/platform/coDList.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/coDListcoIterator.h"
#include "arcline/platform/coPageDList.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

coDList<int> list_of(int n) {
    coDList<int> list;
    coDListcoCursor<int> cur(list);
    for (int i = 0; i < n; ++i)
        cur.insert_last(10 * i);
    return list;
}

std::vector<int> contents(const coDList<int>& list) {
    std::vector<int> out;
    coDListcoIterator<int> it(list);
    while (++it)
        out.push_back(*it);
    return out;
}

} // namespace

TEST(coDList, IteratorVisitsAllThenWrapsToHead) {
    const coDList<int> list = list_of(4);
    coDListcoIterator<int> it(list);
    EXPECT_EQ(it.index(), -1);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(++it);
            EXPECT_EQ(it.index(), i);
            EXPECT_EQ(it.current(), 10 * i);
        }
        EXPECT_FALSE(++it);
        EXPECT_EQ(it.index(), -1);
    }
    const coDList<int> none;
    coDListcoIterator<int> on_empty(none);
    EXPECT_FALSE(++on_empty);
    EXPECT_FALSE(--on_empty);
    EXPECT_EQ(on_empty.set_index(0), 0);
}

TEST(coDList, SetIndexFromEveryPlaceToEveryPlace) {
    const int n = 9;
    const coDList<int> list = list_of(n);
    for (int from = -1; from < n; ++from) {
        for (int to = -1; to < n; ++to) {
            coDListcoIterator<int> it(list);
            ASSERT_EQ(it.set_index(from), 1);
            ASSERT_EQ(it.set_index(to), 1);
            ASSERT_EQ(it.index(), to) << from << " -> " << to;
            if (to >= 0) {
                ASSERT_EQ(*it, 10 * to) << from << " -> " << to;
            }
            // The node reached is the right one for walking on, too.
            const bool more = ++it;
            EXPECT_EQ(more, to + 1 < n);
            EXPECT_EQ(it.index(), more ? to + 1 : -1);
        }
    }
    coDListcoIterator<int> it(list);
    it.set_index(4);
    EXPECT_EQ(it.set_index(n), 0);
    EXPECT_EQ(it.index(), -1);
    it.set_index(4);
    EXPECT_EQ(it.set_index(-5), 0);
    EXPECT_EQ(it.index(), -1);
}

TEST(coDList, CursorInsertsAtHeadMiddleAndTail) {
    coDList<int> list;
    coDListcoCursor<int> cur(list);
    cur.insert_after(2); // at the head: first
    cur.insert_after(1);
    EXPECT_EQ(cur.index(), -1);
    cur.set_index(1);
    cur.insert_after(4); // after the last node
    cur.insert_after(3); // after node 1, before 4: the cursor stays on node 1
    EXPECT_EQ(cur.index(), 1);
    EXPECT_EQ(*cur, 2);
    cur.insert_last(5);
    EXPECT_EQ(contents(list), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(coDList, CursorRemovesAtHeadMiddleAndTail) {
    coDList<int> list = list_of(5); // 0 10 20 30 40
    coDListcoCursor<int> cur(list);
    EXPECT_EQ(cur.remove(), 0); // nothing at the head
    EXPECT_EQ(list.size(), 5);
    cur.set_index(2);
    EXPECT_EQ(cur.remove(), 1); // middle: back to node 1
    EXPECT_EQ(cur.index(), 1);
    EXPECT_EQ(*cur, 10);
    cur.set_index(3);
    EXPECT_EQ(cur.remove(), 1); // last: back to the new last
    EXPECT_EQ(cur.index(), 2);
    EXPECT_EQ(*cur, 30);
    EXPECT_FALSE(++cur);
    cur.set_index(0);
    EXPECT_EQ(cur.remove(), 1); // first: back to the head
    EXPECT_EQ(cur.index(), -1);
    EXPECT_EQ(contents(list), (std::vector<int>{10, 30}));

    cur.set_index(1);
    EXPECT_EQ(cur.remove_first(), 1); // a cursor further on keeps its node
    EXPECT_EQ(cur.index(), 0);
    EXPECT_EQ(*cur, 30);
    EXPECT_EQ(cur.remove_first(), 1); // a cursor on the first goes to the head
    EXPECT_EQ(cur.index(), -1);
    EXPECT_EQ(cur.remove_first(), 0);
    EXPECT_TRUE(list.empty());
}

// Random cursor operations against a vector and an index.
TEST(coDList, RandomCursorOperationsMatchVector) {
    std::mt19937 rng(99);
    auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int sequence = 0; sequence < 50; ++sequence) {
        coPageDList<int> list;
        coPageDListcoCursor<int> cur(list);
        std::vector<int> oracle;
        int at = -1;
        for (int step = 0; step < 80; ++step) {
            const int n = static_cast<int>(oracle.size());
            const int v = below(1000);
            switch (below(7)) {
            case 0:
                cur.insert_last(v);
                oracle.push_back(v);
                break;
            case 1:
                cur.insert_after(v);
                oracle.insert(oracle.begin() + (at + 1), v);
                break;
            case 2:
                if (at >= 0) oracle.erase(oracle.begin() + at--);
                cur.remove();
                break;
            case 3:
                if (n > 0) {
                    oracle.erase(oracle.begin());
                    at = at > 0 ? at - 1 : -1;
                }
                cur.remove_first();
                break;
            case 4:
                at = below(n + 1) - 1;
                cur.set_index(at);
                break;
            case 5:
                at = at + 1 < n ? at + 1 : -1;
                ++cur;
                break;
            case 6:
                at = at == -1 ? n - 1 : at - 1;
                --cur;
                break;
            }
            ASSERT_EQ(cur.index(), at);
            if (at >= 0) {
                ASSERT_EQ(*cur, oracle[static_cast<std::size_t>(at)]);
            }
            ASSERT_EQ(contents(list), oracle);
            ASSERT_EQ(list.size(), static_cast<int>(oracle.size()));
        }
    }
}
