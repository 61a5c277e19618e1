// The sorter against Clipper (integers: coordinates times 1e6) on random tangles: area and loops.

#include "sorterTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#ifdef ARCLINE_TEST_HAVE_CLIPPER
#include <clipper.hpp>
#endif

namespace velPolylineSorterOracle_test {

using namespace sortertest;

constexpr double clipper_scale = 1e6;

struct Tangle {
    std::vector<std::vector<V>> polygons; // closed: last point = first
};

Tangle random_tangle(unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> coord(0.0, 100.0);
    std::uniform_int_distribution<int> polygons(1, 4), vertices(3, 12);
    Tangle t;
    for (int k = polygons(rng); k > 0; --k) {
        std::vector<V> p;
        for (int i = vertices(rng); i > 0; --i)
            p.push_back({std::round(coord(rng) * 1000) / 1000, std::round(coord(rng) * 1000) / 1000});
        p.push_back(p.front());
        t.polygons.push_back(p);
    }
    return t;
}

class ClipperOracle : public ::testing::TestWithParam<std::tuple<int, unsigned>> {};

TEST_P(ClipperOracle, AreaAndLoopsAgree) {
#ifndef ARCLINE_TEST_HAVE_CLIPPER
    GTEST_SKIP() << "Clipper 6 (libpolyclipping-dev) was not found at configure time";
#else
    const auto [mode, seed] = GetParam();
    const Tangle t = random_tangle(seed);
    List l;
    ClipperLib::Paths paths;
    for (const auto& p : t.polygons) {
        l.add(polyline(p));
        ClipperLib::Path path;
        for (std::size_t i = 0; i + 1 < p.size(); ++i)
            path.emplace_back(std::llround(p[i].x * clipper_scale), std::llround(p[i].y * clipper_scale));
        paths.push_back(path);
    }
    ClipperLib::Paths want;
    ClipperLib::SimplifyPolygons(paths, want, mode == 1 ? ClipperLib::pftPositive : ClipperLib::pftEvenOdd);
    double want_area = 0.0;
    for (const auto& p : want)
        want_area += ClipperLib::Area(p) / (clipper_scale * clipper_scale);

    velAbsPolyArcLineListCursor out;
    velPolylineSorter sorter;
    sorter.set_visible_mode(mode);
    const int code = sorter.sort(l.iter, out);
    const Outcome r = describe(out.iterator(), code);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.open + r.crossings, 0);
    EXPECT_NEAR(r.area, want_area, 1e-6 * std::max(1.0, std::fabs(want_area)));
    // Under even-odd the material meets itself corner to corner at every crossing, where Clipper cuts it
    // into separate loops and the sorter keeps loops through the crossing: only the areas compare.
    if (mode == 1) {
        EXPECT_EQ(r.loops, static_cast<int>(want.size()));
    }
#endif
}

INSTANTIATE_TEST_SUITE_P(Tangles, ClipperOracle,
                         ::testing::Combine(::testing::Values(1, 0), ::testing::Range(1u, 61u)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) ? "winding_" : "even_odd_") +
                                    std::to_string(std::get<1>(info.param));
                         });

} // namespace velPolylineSorterOracle_test
