#include "arcline/platform/coQuickSortIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

TEST(coQuickSortIndex, StableAgainstStdStableSort) {
    std::mt19937 rng(5);
    for (const int n : {0, 1, 2, 3, 17, 200, 5000}) {
        std::vector<int> keys(static_cast<std::size_t>(n));
        for (int& k : keys)
            k = static_cast<int>(rng() % 10); // many ties
        std::vector<int> expected(keys.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&keys](int a, int b) {
            return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
        });
        const intcoQuickSortIndex order(keys);
        ASSERT_EQ(order.indices(), expected) << n;
        ASSERT_EQ(order.size(), n);
    }
}

TEST(coQuickSortIndex, EveryKeyArrayFormGivesTheSameOrder) {
    const std::vector<double> keys{3.5, -1.0, 2.0, -1.0, 0.0, 3.5, 7.0};
    doublecoPageArr paged(1);
    paged.copyin(keys.data(), static_cast<int>(keys.size()));
    const std::vector<int> expected{1, 3, 4, 2, 0, 5, 6};
    EXPECT_EQ(doublecoQuickSortIndex(keys).indices(), expected);
    EXPECT_EQ(doublecoQuickSortIndex(paged).indices(), expected);
    EXPECT_EQ(doublecoQuickSortIndex(keys.data(), 7).indices(), expected);
    doublecoQuickSortIndex reused(keys.data(), 3); // sorting again replaces the order
    reused.sort(keys.data() + 4, 3);
    EXPECT_EQ(reused.indices(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(reused[2], 2);
}

TEST(coQuickSortIndex, NaNKeysGoLast) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> keys{nan, 2.0, nan, -3.0, 1.0};
    const doublecoQuickSortIndex order(keys);
    EXPECT_EQ(order.indices(), (std::vector<int>{3, 4, 1, 0, 2}));
}
