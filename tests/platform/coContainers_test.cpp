#include "arcline/platform/coDynArr.h"
#include "arcline/platform/coFixedArr.h"
#include "arcline/platform/coSet.h"
#include "arcline/platform/coSortedList.h"

#include <gtest/gtest.h>

#include <vector>

namespace coContainers_test {

// The small containers: each a handful of exact cases.

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

TEST(coSortedList, KeepsAscendingOrderWithDuplicates) {
    doublecoSortedList list;
    EXPECT_EQ(list.add(2.0), 0);
    EXPECT_EQ(list.add(-1.0), 0);
    EXPECT_EQ(list.add(2.0), 2); // after the equal value already there
    EXPECT_EQ(list.add(1.5), 1);
    EXPECT_EQ(std::vector<double>(list.begin(), list.end()), (std::vector<double>{-1.0, 1.5, 2.0, 2.0}));
    EXPECT_EQ(list.find_first_not_less(2.0), 2);
    EXPECT_EQ(list.find_first_not_less(1.6), 2);
    EXPECT_EQ(list.find_first_not_less(3.0), 4); // none: size()
    list.remove_at(1);
    EXPECT_EQ(std::vector<double>(list.begin(), list.end()), (std::vector<double>{-1.0, 2.0, 2.0}));
}

TEST(coSet, AddAndRemoveReportChangesAndIterationIsOrdered) {
    intcoSet set;
    EXPECT_TRUE(set.add(5));
    EXPECT_TRUE(set.add(-2));
    EXPECT_FALSE(set.add(5));
    EXPECT_TRUE(set.add(3));
    EXPECT_EQ(std::vector<int>(set.begin(), set.end()), (std::vector<int>{-2, 3, 5}));
    EXPECT_TRUE(set.remove(3));
    EXPECT_FALSE(set.remove(3));
    EXPECT_FALSE(set.contains(3));
    EXPECT_TRUE(set.contains(5));
}

TEST(coFixedArr, StartsValueInitialised) {
    const utBoolcoFixedArr flags(4);
    EXPECT_EQ(std::vector<utBool>(flags.begin(), flags.end()), (std::vector<utBool>{0, 0, 0, 0}));
    const coFixedArr<double> filled(2, 1.5);
    EXPECT_EQ(std::vector<double>(filled.begin(), filled.end()), (std::vector<double>{1.5, 1.5}));
    EXPECT_EQ(coFixedArr<int>(-3).size(), 0);
}

} // namespace coContainers_test
