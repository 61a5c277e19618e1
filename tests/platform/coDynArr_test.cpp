#include "arcline/platform/coDynArr.h"

#include <gtest/gtest.h>

#include <vector>

namespace coDynArr_test {

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

} // namespace coDynArr_test
