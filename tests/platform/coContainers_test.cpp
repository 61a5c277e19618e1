#include "arcline/platform/coDynArr.h"
#include "arcline/platform/coFixedArr.h"
#include "arcline/platform/coSet.h"
#include "arcline/platform/coSortedList.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <set>
#include <vector>

namespace coContainers_test {

// The small containers: exact cases, and the sorted ones against the standard sets.

TEST(coDynArr, ResizeExpandAndBecome) {
    intcoDynArr a;
    a.resize(3);
    a[0] = 1;
    a[2] = 3;
    a.expand(2); // already long enough
    EXPECT_EQ(a.size(), 3);
    a.expand(5);
    EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{1, 0, 3, 0, 0}));
    a.resize(2);
    intcoDynArr b(1);
    b.become(a);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(std::vector<int>(b.begin(), b.end()), (std::vector<int>{1, 0}));
}

// Random additions, removals and searches against std::multiset and std::set, answers included.
TEST(coSortedList, RandomOperationsMatchStdSets) {
    std::mt19937 rng(3);
    doublecoSortedList list;
    intcoSet set;
    std::multiset<double> ref;
    std::set<int> set_ref;
    for (int step = 0; step < 3000; ++step) {
        const int v = static_cast<int>(rng() % 20) - 10, op = static_cast<int>(rng() % 3);
        if (op == 0) { // after the equal values already there
            EXPECT_EQ(list.add(v), std::distance(ref.begin(), ref.upper_bound(v)));
            ref.insert(v);
            EXPECT_EQ(set.add(v), set_ref.insert(v).second);
        } else if (op == 1 && !ref.empty()) {
            const int i = static_cast<int>(rng() % ref.size());
            list.remove_at(i);
            ref.erase(std::next(ref.begin(), i));
            EXPECT_EQ(set.remove(v), set_ref.erase(v) == 1);
        } else { // size() when none
            EXPECT_EQ(list.find_first_not_less(v - 0.5),
                      std::distance(ref.begin(), ref.lower_bound(v - 0.5)));
            EXPECT_EQ(list.find_first_not_less(v), std::distance(ref.begin(), ref.lower_bound(v)));
            EXPECT_EQ(set.contains(v), set_ref.count(v) == 1);
        }
        ASSERT_EQ(std::vector<double>(list.begin(), list.end()), std::vector<double>(ref.begin(), ref.end()));
        ASSERT_EQ(std::vector<int>(set.begin(), set.end()), std::vector<int>(set_ref.begin(), set_ref.end()));
    }
}

TEST(coFixedArr, StartsValueInitialised) {
    const utBoolcoFixedArr flags(4);
    EXPECT_EQ(std::vector<utBool>(flags.begin(), flags.end()), (std::vector<utBool>{0, 0, 0, 0}));
    const coFixedArr<double> filled(2, 1.5);
    EXPECT_EQ(std::vector<double>(filled.begin(), filled.end()), (std::vector<double>{1.5, 1.5}));
    EXPECT_EQ(coFixedArr<int>(-3).size(), 0);
}

} // namespace coContainers_test
