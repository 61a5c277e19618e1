#include "arcline/platform/coQuickSort.h"

#include "arcline/platform/coQuickSortIndex.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

namespace coQuickSort_test {

namespace {

// Sorts a vector of ints and counts the comparisons.
class IntSorter : public coQuickSort {
public:
    explicit IntSorter(std::vector<int> values) : values(std::move(values)) {}

    int obj_compare(const void* a, const void* b) const override {
        ++comparisons;
        const int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
        return (x > y) - (x < y);
    }
    const void* arr_get(int i) const override { return &values[static_cast<std::size_t>(i)]; }
    void arr_swap(int i, int j) override {
        std::swap(values[static_cast<std::size_t>(i)], values[static_cast<std::size_t>(j)]);
    }

    std::vector<int> values;
    mutable long comparisons = 0;
};

// n log2 n comparisons, times a generous constant; a quadratic sort of the sizes below exceeds it many times.
long n_log_n_budget(int n) {
    return 8L * n * static_cast<long>(std::bit_width(static_cast<unsigned>(n)));
}

} // namespace

// Sizes 0, 1 and 2 included, runs on both sides of the insertion-sort limit, and large arrays.
TEST(coQuickSort, SortsLikeStdSort) {
    IntSorter prefix({3, 2, 1});
    prefix.sort(2); // only the range is sorted
    EXPECT_EQ(prefix.values, (std::vector<int>{2, 3, 1}));
    std::mt19937 rng(7);
    std::vector<int> sizes{1000, 20000};
    for (int n = 0; n <= 70; ++n)
        sizes.insert(sizes.end(), 4, n);
    for (const int n : sizes) {
        std::vector<int> v(static_cast<std::size_t>(n));
        for (int& x : v)
            x = static_cast<int>(n < 100 ? rng() % 50 : rng()); // small ones with duplicates
        IntSorter sorter(v);
        sorter.sort(n);
        std::sort(v.begin(), v.end());
        ASSERT_EQ(sorter.values, v) << n;
    }
}

TEST(coQuickSort, OrderedAndEqualInputsStayNLogN) {
    const int n = 20000;
    const std::function<int(int)> patterns[] = {
        [](int i) { return i; }, [](int i) { return n - i; }, [](int) { return 4; },
        [](int i) { return std::min(i, n - i); }, [](int i) { return i % 37; }};
    for (const auto& pattern : patterns) { // sorted, reversed, equal, organ pipe, sawtooth
        std::vector<int> input(n);
        for (int i = 0; i < n; ++i)
            input[static_cast<std::size_t>(i)] = pattern(i);
        IntSorter sorter(input);
        sorter.sort(n);
        EXPECT_TRUE(std::is_sorted(sorter.values.begin(), sorter.values.end()));
        EXPECT_LT(sorter.comparisons, n_log_n_budget(n));
    }
}

// McIlroy's adversary ("A Killer Adversary for Quicksort", 1999) drives a quicksort without fallback to
// n^2/2.
TEST(coQuickSort, AdversaryCannotMakeItQuadratic) {
    class Adversary : public IntSorter {
    public:
        explicit Adversary(int n)
            : IntSorter(std::vector<int>(static_cast<std::size_t>(n))), value(n, n - 1) {
            for (int i = 0; i < n; ++i)
                values[static_cast<std::size_t>(i)] = i;
        }
        int obj_compare(const void* a, const void* b) const override {
            ++comparisons;
            const int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
            if (is_gas(x) && is_gas(y)) value[static_cast<std::size_t>(x == candidate ? x : y)] = num_solid++;
            if (is_gas(x)) {
                candidate = x;
            } else if (is_gas(y)) {
                candidate = y;
            }
            return at(x) - at(y);
        }
        int at(int x) const { return value[static_cast<std::size_t>(x)]; }
        bool is_gas(int x) const { return at(x) == static_cast<int>(value.size()) - 1; }

        mutable std::vector<int> value;
        mutable int num_solid = 0;
        mutable int candidate = 0;
    };

    const int n = 20000;
    Adversary adversary(n);
    adversary.sort(n);
    EXPECT_LT(adversary.comparisons, n_log_n_budget(n));
    for (int i = 1; i < n; ++i) // sorted by the values the adversary settled on
        ASSERT_LE(adversary.at(adversary.values[static_cast<std::size_t>(i - 1)]),
                  adversary.at(adversary.values[static_cast<std::size_t>(i)]))
            << i;
}

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

} // namespace coQuickSort_test
