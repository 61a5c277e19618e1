#include "arcline/platform/coSortedList.h"

#include <gtest/gtest.h>

#include <vector>

namespace coSortedList_test {

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

} // namespace coSortedList_test
