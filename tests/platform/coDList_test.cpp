#include "arcline/platform/coDList.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/coDListcoIterator.h"
#include "arcline/platform/coPageDList.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace coDList_test {

namespace {

std::vector<int> contents(const coDList<int>& list) {
    std::vector<int> out;
    coDListcoIterator<int> it(list);
    while (++it)
        out.push_back(*it);
    return out;
}

} // namespace

// Random cursor operations against a vector and an index, answers included; set_index from anywhere to
// anywhere (the list walks from the nearer end or node), outside the list undefined.
TEST(coDList, RandomCursorOperationsMatchVector) {
    std::mt19937 rng(99);
    auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const coDList<int> none;
    coDListcoIterator<int> on_empty(none);
    EXPECT_FALSE(++on_empty || --on_empty);
    EXPECT_EQ(on_empty.set_index(0), 0);
    for (int sequence = 0; sequence < 50; ++sequence) {
        coPageDList<int> list;
        coPageDListcoCursor<int> cur(list);
        std::vector<int> oracle;
        int at = -1;
        for (int step = 0; step < 80; ++step) {
            const int n = static_cast<int>(oracle.size()), v = below(1000);
            switch (below(7)) {
            case 0:
                cur.insert_last(v);
                oracle.push_back(v);
                break;
            case 1: // after the current node; at the head, first
                cur.insert_after(v);
                oracle.insert(oracle.begin() + (at + 1), v);
                break;
            case 2: // back to the previous node
                ASSERT_EQ(cur.remove(), at >= 0 ? 1 : 0);
                if (at >= 0) oracle.erase(oracle.begin() + at--);
                break;
            case 3: // a cursor on the first goes to the head, one further on keeps its node
                ASSERT_EQ(cur.remove_first(), n > 0 ? 1 : 0);
                if (n > 0) {
                    oracle.erase(oracle.begin());
                    at = at > 0 ? at - 1 : -1;
                }
                break;
            case 4: {
                const int to = below(n + 4) - 2; // -2 and n, n + 1 are outside
                const bool inside = to >= -1 && to < n;
                ASSERT_EQ(cur.set_index(to), inside ? 1 : 0);
                at = inside ? to : -1;
                break;
            }
            case 5:
                at = at + 1 < n ? at + 1 : -1;
                ASSERT_EQ(++cur, at >= 0);
                break;
            case 6: // from the head to the last node
                at = at == -1 ? n - 1 : at - 1;
                ASSERT_EQ(--cur, at >= 0);
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

} // namespace coDList_test
