// The strip filter by brute force: dropped points within the tolerance of their kept segment, in any
// dimension.

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

double segment_distance(const std::vector<double>& p, const std::vector<double>& a,
                        const std::vector<double>& b) {
    double dd = 0, dw = 0, e = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        dd += (b[i] - a[i]) * (b[i] - a[i]);
        dw += (b[i] - a[i]) * (p[i] - a[i]);
    }
    const double u = dd > 0 ? std::clamp(dw / dd, 0.0, 1.0) : 0.0;
    for (std::size_t i = 0; i < p.size(); ++i)
        e += std::pow(p[i] - (a[i] + u * (b[i] - a[i])), 2);
    return std::sqrt(e);
}

} // namespace

TEST(mlVectorStripN, DroppedPointsLieWithinTolOfTheKeptPolylineInAnyDimension) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> noise(-1, 1);
    for (int dim : {1, 2, 3, 5}) {
        for (int trial = 0; trial < 12; ++trial) {
            const double tol = 0.05 + 0.5 * (trial % 4);
            // Drift plus noise, some steps doubling back.
            Chain chain;
            std::vector<double> p(static_cast<std::size_t>(dim), 0.0), v = p;
            for (int i = 0; i < 400; ++i) {
                for (std::size_t c = 0; c < p.size(); ++c)
                    p[c] += (v[c] += 0.1 * noise(rng)) + 0.2 * noise(rng);
                chain.push_back(p);
            }
            mlVectorStripN f(dim, tol);
            const std::vector<int> k = kept(f, chain);
            ASSERT_GE(k.size(), 2u);
            EXPECT_EQ(k.front(), 0);
            EXPECT_EQ(k.back(), 399);
            EXPECT_LT(k.size(), chain.size());
            for (std::size_t s = 0; s + 1 < k.size(); ++s) {
                ASSERT_LT(k[s], k[s + 1]);
                for (int i = k[s] + 1; i < k[s + 1]; ++i)
                    EXPECT_LE(segment_distance(chain[std::size_t(i)], chain[std::size_t(k[s])],
                                               chain[std::size_t(k[s + 1])]),
                              tol);
            }
        }
    }
}

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
