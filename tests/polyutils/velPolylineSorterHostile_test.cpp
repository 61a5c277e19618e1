// The sorter on hostile input under a deadline: many copies, 100,000 spans.

#include "arcline/platform/velProgressBreak.h"
#include "tests/polyutils/sorterTestKit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <numbers>

namespace velPolylineSorterHostile_test {

using namespace sortertest;
constexpr double pi = std::numbers::pi;

// Stops the operation once the deadline has passed: a bound on the run time that is no timed assertion.
class Deadline : public velProgressBreak {
public:
    explicit Deadline(std::chrono::seconds s) : m_end(std::chrono::steady_clock::now() + s) {}

protected:
    bool on_progress(int, int) override { return std::chrono::steady_clock::now() > m_end; }

private:
    std::chrono::steady_clock::time_point m_end;
};

struct Case {
    const char* name;
    std::function<void(List&)> input;
    int loops;
    double area;
};

class Hostile : public ::testing::TestWithParam<Case> {};

TEST_P(Hostile, SortsWithinTheDeadline) {
    List in;
    GetParam().input(in);
    velAbsPolyArcLineListCursor out;
    velPolylineSorter sorter;
    Deadline deadline(std::chrono::seconds(120));
    sorter.set_progress_break(&deadline);
    ASSERT_EQ(sorter.sort(in.iter, out), 0);
    const Outcome o = describe(out.iterator());
    EXPECT_EQ(o.loops, GetParam().loops);
    EXPECT_NEAR(o.area, GetParam().area, 1e-9 * std::max(1.0, std::fabs(GetParam().area)));
    EXPECT_EQ(o.crossings + o.misoriented + o.open, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sorter, Hostile,
    ::testing::Values(
        Case{"ten_thousand_copies_of_one_square",
             [](List& in) {
                 for (int i = 0; i < 10000; ++i)
                     in.add(rect(0, 0, 1, 1));
             },
             1, 1.0},
        // A regular polygon of 100,000 sides, and a circle of two arcs through its corners beside it.
        Case{"a_boundary_of_100000_spans",
             [](List& in) {
                 constexpr int n = 100000;
                 std::vector<V> pts;
                 for (int i = 0; i <= n; ++i)
                     pts.push_back({std::cos(2 * pi * (i % n) / n), std::sin(2 * pi * (i % n) / n)});
                 in.add(polyline(pts));
                 in.add(polyline({{4, 0}, {2, 0}, {4, 0}}, {1, 1}));
             },
             2, 0.5 * 100000 * std::sin(2 * pi / 100000) + pi}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace velPolylineSorterHostile_test
