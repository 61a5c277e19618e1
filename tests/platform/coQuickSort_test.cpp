#include "arcline/platform/coQuickSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <utility>
#include <vector>

namespace {

// Sorts a vector of ints and counts the comparisons.
class IntSorter : public coQuickSort {
public:
    explicit IntSorter(std::vector<int> values) : values(std::move(values)) {}

    int obj_compare(const void* a, const void* b) const override {
        ++comparisons;
        const int x = *static_cast<const int*>(a);
        const int y = *static_cast<const int*>(b);
        return (x > y) - (x < y);
    }
    const void* arr_get(int i) const override { return &values[static_cast<std::size_t>(i)]; }
    void arr_swap(int i, int j) override {
        std::swap(values[static_cast<std::size_t>(i)], values[static_cast<std::size_t>(j)]);
    }

    std::vector<int> values;
    mutable long comparisons = 0;
};

void expect_sorts_like_std(std::vector<int> values) {
    IntSorter sorter(values);
    sorter.sort(static_cast<int>(values.size()));
    std::sort(values.begin(), values.end());
    EXPECT_EQ(sorter.values, values);
}

// n log2 n comparisons, times a generous constant; a quadratic sort of the sizes below exceeds it many times.
long n_log_n_budget(int n) {
    return 8L * n * static_cast<long>(std::bit_width(static_cast<unsigned>(n)));
}

} // namespace

// Sizes 0, 1 and 2 included.
TEST(coQuickSort, RandomArraysOfEverySmallSizeAndSomeLargeOnes) {
    IntSorter prefix({3, 2, 1});
    prefix.sort(2); // only the range is sorted
    EXPECT_EQ(prefix.values, (std::vector<int>{2, 3, 1}));
    std::mt19937 rng(7);
    for (int n = 0; n <= 70; ++n) {
        for (int trial = 0; trial < 10; ++trial) {
            std::vector<int> v(static_cast<std::size_t>(n));
            for (int& x : v)
                x = static_cast<int>(rng() % 50); // with duplicates
            expect_sorts_like_std(v);
        }
    }
    for (const int n : {1000, 4097, 20000}) {
        std::vector<int> v(static_cast<std::size_t>(n));
        for (int& x : v)
            x = static_cast<int>(rng());
        expect_sorts_like_std(v);
    }
}

TEST(coQuickSort, OrderedAndEqualInputsStayNLogN) {
    const int n = 20000;
    std::vector<int> sorted(n), reversed(n), equal(n, 4), organ(n), sawtooth(n);
    for (int i = 0; i < n; ++i) {
        sorted[static_cast<std::size_t>(i)] = i;
        reversed[static_cast<std::size_t>(i)] = n - i;
        organ[static_cast<std::size_t>(i)] = std::min(i, n - i);
        sawtooth[static_cast<std::size_t>(i)] = i % 37;
    }
    for (const auto& input : {sorted, reversed, equal, organ, sawtooth}) {
        IntSorter sorter(input);
        sorter.sort(n);
        EXPECT_TRUE(std::is_sorted(sorter.values.begin(), sorter.values.end()));
        EXPECT_LT(sorter.comparisons, n_log_n_budget(n));
    }
}

// McIlroy's adversary ("A Killer Adversary for Quicksort", 1999): values are decided lazily, during the
// sort, so that every pivot turns out to be nearly the smallest remaining value. Without a fallback this
// drives any quicksort that compares through a callback to n^2 / 2 comparisons.
TEST(coQuickSort, AdversaryCannotMakeItQuadratic) {
    class Adversary : public coQuickSort {
    public:
        explicit Adversary(int n) : items(n), value(n, n - 1), gas(n - 1) {
            for (int i = 0; i < n; ++i)
                items[static_cast<std::size_t>(i)] = i;
        }
        int obj_compare(const void* a, const void* b) const override {
            ++comparisons;
            const int x = *static_cast<const int*>(a);
            const int y = *static_cast<const int*>(b);
            if (is_gas(x) && is_gas(y)) freeze(x == candidate ? x : y);
            if (is_gas(x)) {
                candidate = x;
            } else if (is_gas(y)) {
                candidate = y;
            }
            return value[static_cast<std::size_t>(x)] - value[static_cast<std::size_t>(y)];
        }
        const void* arr_get(int i) const override { return &items[static_cast<std::size_t>(i)]; }
        void arr_swap(int i, int j) override {
            std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
        }

        bool is_gas(int x) const { return value[static_cast<std::size_t>(x)] == gas; }
        void freeze(int x) const { value[static_cast<std::size_t>(x)] = num_solid++; }

        std::vector<int> items;
        mutable std::vector<int> value;
        const int gas;
        mutable int num_solid = 0;
        mutable int candidate = 0;
        mutable long comparisons = 0;
    };

    const int n = 20000;
    Adversary adversary(n);
    adversary.sort(n);
    EXPECT_LT(adversary.comparisons, n_log_n_budget(n));
    // Sorted by the values the adversary settled on.
    for (int i = 1; i < n; ++i) {
        const int before =
            adversary.value[static_cast<std::size_t>(adversary.items[static_cast<std::size_t>(i - 1)])];
        const int here =
            adversary.value[static_cast<std::size_t>(adversary.items[static_cast<std::size_t>(i)])];
        ASSERT_LE(before, here) << i;
    }
}
