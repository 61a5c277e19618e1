#include "arcline/platform/coPageArr.h"
#include "arcline/platform/coPageArrcoIterator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

namespace coPageArr_test {

namespace {

// Element by element through read(), so that copyout() is not checked only against itself.
void expect_same(const intcoPageArr& arr, const std::vector<int>& oracle) {
    ASSERT_EQ(arr.size(), static_cast<int>(oracle.size()));
    for (int i = 0; i < arr.size(); ++i)
        ASSERT_EQ(arr.read(i), oracle[static_cast<std::size_t>(i)]) << i;
}

} // namespace

class coPageArrFactor : public ::testing::TestWithParam<int> {};

// Random sequences of every mutating operation, checked after each step against a std::vector.
TEST_P(coPageArrFactor, RandomOperationsMatchVector) {
    const int k = GetParam();
    std::mt19937 rng(1234u + static_cast<unsigned>(k));
    auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int sequence = 0; sequence < 30; ++sequence) {
        intcoPageArr arr(k, 1, 1);
        std::vector<int> oracle;
        for (int step = 0; step < 60; ++step) {
            const int n = static_cast<int>(oracle.size()), v = below(1000);
            switch (below(10)) {
            case 0:
                arr.append(v);
                oracle.push_back(v);
                break;
            case 1: { // past the end, the elements between read as 0
                const int i = below(n + 20);
                arr.enter(i, v);
                oracle.resize(std::max(oracle.size(), static_cast<std::size_t>(i) + 1));
                oracle[static_cast<std::size_t>(i)] = v;
                break;
            }
            case 2: { // dropped elements come back as 0
                const int m = below(n + 20);
                arr.expand(m);
                oracle.resize(std::max(oracle.size(), static_cast<std::size_t>(m)));
                break;
            }
            case 3: {
                const int m = below(n + 1);
                arr.shrink(m);
                oracle.resize(static_cast<std::size_t>(m));
                break;
            }
            case 4:
                arr.reverse();
                std::reverse(oracle.begin(), oracle.end());
                break;
            case 5: { // across pages
                std::vector<int> src(static_cast<std::size_t>(below(3 << k) + 1), v);
                std::iota(src.begin(), src.end(), v);
                const int at = below(n + 5), len = static_cast<int>(src.size());
                arr.copyin(src.data(), len, at);
                oracle.resize(std::max(oracle.size(), static_cast<std::size_t>(at + len)));
                std::copy(src.begin(), src.end(), oracle.begin() + at);
                break;
            }
            case 6: {
                if (n == 0) break;
                const int from = below(n), len = below(n - from + 1);
                std::vector<int> out(static_cast<std::size_t>(len), -1);
                arr.copyout(out.data(), from, len);
                ASSERT_TRUE(std::equal(out.begin(), out.end(), oracle.begin() + from));
                break;
            }
            case 7: {
                intcoPageArr other(k + 1);
                other.append(-1);
                other.become(arr); // other's own element is dropped
                EXPECT_TRUE(arr.empty());
                EXPECT_EQ(arr.num_blocks(), 0);
                EXPECT_EQ(other.page_factor(), k);
                arr.become(other);
                EXPECT_TRUE(other.empty());
                break;
            }
            case 8: {
                intcoPageArr other(k + 2);
                other.copy(arr);
                EXPECT_EQ(other.page_factor(), k);
                arr.clear();
                arr.copy(other);
                break;
            }
            case 9:
                EXPECT_EQ(arr.reserve(n + below(50)), 1);
                break;
            }
            expect_same(arr, oracle);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(coPageArr, coPageArrFactor, ::testing::Values(0, 1, 2, 3, 5, 10));

TEST(coPageArr, ShrinkReleasesWhatElementsHoldAndKeepsPages) {
    coPageArr<std::shared_ptr<int>> arr(1);
    const auto shared = std::make_shared<int>(3);
    for (int i = 0; i < 5; ++i)
        arr.append(shared);
    arr.shrink(2);
    EXPECT_EQ(shared.use_count(), 3);
    EXPECT_EQ(arr.num_blocks(), 3);
    arr.clear();
    EXPECT_EQ(shared.use_count(), 1);
}

TEST(coPageArr, CopyMoveAndIteration) {
    doublecoPageArr a(2);
    for (int i = 0; i < 11; ++i)
        a.append(0.5 * i);
    doublecoPageArr b(1);
    b = a;
    b[0] = 99;
    EXPECT_EQ(a[0], 0.0);
    EXPECT_EQ(b.page_factor(), 2);
    const doublecoPageArr c(std::move(b));
    EXPECT_EQ(c[0], 99.0);
    EXPECT_TRUE(b.empty()); // the moved-from state is part of the contract

    EXPECT_EQ(std::accumulate(a.begin(), a.end(), 0.0), 27.5);
    coPageArrcoIterator<double> it(a);
    int visited = 0;
    for (; it; ++it, ++visited) {
        EXPECT_EQ(it.index(), visited);
        EXPECT_EQ(*it, 0.5 * visited);
    }
    EXPECT_EQ(visited, 11);
    it.reset();
    EXPECT_EQ(*it, 0.0);

    // References survive growth: one element per page, the page table grows often, and what is appended is
    // an element of the array itself.
    intcoPageArr arr(0, 1, 1);
    arr.append(42);
    const int* first = &arr[0];
    for (int i = 0; i < 5000; ++i)
        arr.append(arr[0]);
    EXPECT_EQ(&arr[0], first);
    EXPECT_EQ(arr[5000], 42);
}

} // namespace coPageArr_test
