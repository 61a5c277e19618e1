// The strip filter in any dimension.

#include "arcline/platform/mlVectorStripN.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace mlVectorStripN_test {

namespace {

using Chain = std::vector<std::vector<double>>;

// Feeds the chain and returns the numbers of the kept points in order.
std::vector<int> kept(mlVectorStripN& f, const Chain& chain) {
    std::vector<int> out;
    for (const auto& p : chain)
        if (const int k = f.add(p.data()); k >= 0) out.push_back(k);
    if (const int k = f.flush(); k >= 0) out.push_back(k);
    return out;
}

} // namespace

TEST(mlVectorStripN, KeepsTurningPointsCutsLongRunsAndRestarts) {
    // On the x axis throughout: a test against the line instead of the segment would drop x = 2.
    mlVectorStripN f(2, 0.1);
    EXPECT_EQ(kept(f, {{0, 0}, {1, 0}, {2, 0}, {1.5, 0}, {1, 0}}), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(f.flush(), -1); // the last point is kept already

    Chain line;
    for (int i = 0; i < 1000; ++i)
        line.push_back({double(i), 2.0 * i, 0.0});
    mlVectorStripN g(3, 1e-9);
    const int step = mlVectorStripN::max_run - 1;
    EXPECT_EQ(kept(g, line), (std::vector<int>{0, step, 2 * step, 3 * step, 999}));
    // Numbers start again after a restart. Points equal to the anchor (a zero chord) stay within any
    // tolerance; the one off it is kept.
    g.restart();
    EXPECT_EQ(kept(g, {{1, 1, 1}, {1, 1, 1}, {1, 1, 1.5}, {1, 1, 1}}), (std::vector<int>{0, 2, 3}));
}

} // namespace mlVectorStripN_test
