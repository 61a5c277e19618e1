#include "arcline/platform/coQuickSortIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

namespace coQuickSortIndex_test {

TEST(coQuickSortIndex, StableAgainstStdStableSort) {
    std::mt19937 rng(5);
    for (const int n : {0, 1, 2, 17, 5000}) {
        std::vector<int> keys(static_cast<std::size_t>(n));
        for (int& k : keys)
            k = static_cast<int>(rng() % 10); // many ties
        std::vector<int> expected(keys.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&keys](int a, int b) {
            return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
        });
        ASSERT_EQ(intcoQuickSortIndex(keys).indices(), expected) << n;
    }
}

TEST(coQuickSortIndex, EveryKeyFormGivesTheSameOrderAndNaNGoesLast) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> keys{3.5, nan, 2.0, -1.0, 0.0, 3.5, -1.0};
    doublecoPageArr paged(1);
    paged.copyin(keys.data(), static_cast<int>(keys.size()));
    const std::vector<int> expected{3, 6, 4, 2, 0, 5, 1};
    EXPECT_EQ(doublecoQuickSortIndex(keys).indices(), expected);
    EXPECT_EQ(doublecoQuickSortIndex(paged).indices(), expected);
    doublecoQuickSortIndex reused(keys.data(), 7);
    reused.sort(keys.data() + 4, 3); // sorting again replaces the order
    EXPECT_EQ(reused.indices(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(reused.size(), 3);
    EXPECT_EQ(reused[0], 2);
}

} // namespace coQuickSortIndex_test
