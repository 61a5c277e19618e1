#include "arcline/platform/coSet.h"

#include <gtest/gtest.h>

#include <vector>

namespace coSet_test {

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

} // namespace coSet_test
