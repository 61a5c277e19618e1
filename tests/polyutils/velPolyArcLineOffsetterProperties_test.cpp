// Raw offsets on seeded random input and the blob: Steiner and morphs, the two paths.

#include "arcline/polyutils/velPolyArcLineOffsetter.h"

#include "offsetTestKit.h"
#include "offsetterTestKit.h"

#include <gtest/gtest.h>

#include "tests/support/metamorphic.h"

#include "arcline/debug/velGeometryIO.h"

#include <filesystem>

namespace velPolyArcLineOffsetterProperties_test {

using namespace offsettest;

namespace {

constexpr int seeds = 40;

// |a - b| within `rel` of the larger magnitude (at least 1).
::testing::AssertionResult near_rel(double a, double b, double rel) {
    if (std::fabs(a - b) <= rel * std::max({1.0, std::fabs(a), std::fabs(b)}))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << " vs " << b << " (difference " << a - b << ")";
}

struct Convex {
    Line line;
    double area, length; // |area|
};

Convex convex_case(Rng& rng) {
    Line line = random_convex(rng, rng.pick(3, 12));
    velSingleAbsArcLineListIter it(*line);
    ++it;
    const double area = std::fabs(velPolylineUtils::area(it)), length = velPolylineUtils::length(it);
    return {std::move(line), area, length};
}

// Outward offsets of a convex outline are exact: rounded, the area and length follow Steiner's formula.
// Every morph (reversed or mirrored with the offset negated, started elsewhere, moved far, scaled with its
// offset) gives the same offset outline. (Outward offsets: inward ones may form loops, and where the raw
// offset of a loop starts decides which corners are trimmed first.)
TEST(RawOffsetMetamorphic, SteinerAndEveryMorphGiveTheSameOutline) {
    Rng rng(1705);
    for (int s = 0; s < seeds; ++s) {
        SCOPED_TRACE(s);
        const Convex c = convex_case(rng);
        const double d = rng.uniform(0.05, 6.0);
        Options o;
        o.extend = rng.pick(0, 1);
        const Raw base = raw_offset(*c.line, d, o);
        ASSERT_TRUE(base.contour);
        EXPECT_TRUE(base.closed());
        EXPECT_EQ(base.temps(), 0);
        const double steiner = c.area + d * c.length + pi * d * d;
        if (o.extend == 0) {
            EXPECT_TRUE(near_rel(base.area, steiner, 1e-9));
            EXPECT_TRUE(near_rel(base.length, c.length + 2 * pi * d, 1e-9));
        } else {
            EXPECT_GE(base.area, steiner * (1 - 1e-9));
        }
        for (const support::Morph& m : support::all_morphs) {
            SCOPED_TRACE(m.name());
            const double f = m.length_factor(), sign = m.flips_orientation() ? -1 : 1;
            const double rel = m.kind == support::Morph::translated ? 1e-7 : 1e-8;
            const Raw r = raw_offset(*m.polyline(*c.line), sign * d * f, o);
            ASSERT_TRUE(r.contour);
            EXPECT_EQ(r.spans, base.spans);
            EXPECT_EQ(r.temps(), base.temps());
            EXPECT_TRUE(near_rel(r.area, sign * base.area * f * f, rel));
            EXPECT_TRUE(near_rel(r.length, base.length * f, rel));
        }
    }
}

// Random poly-arc-lines (arcs up to 250 degrees, open and closed, with loops).
TEST(RawOffsetPaths, PolyArcLineFastPathAgreesWithTheGenericPath) {
    Rng rng(1707);
    for (int s = 0; s < 10 * seeds; ++s) {
        SCOPED_TRACE(s);
        const int n = rng.pick(2, 12);
        const Line line = flat(*listtest::random_polyline(rng, n, 0.0, rng.pick(0, 1) == 1));
        Options o;
        o.extend = rng.pick(0, 1);
        o.chamfer = rng.pick(0, 1);
        o.max_corner_offset = rng.uniform(-1, 10);
        expect_paths_agree(*line, rng.uniform(-8, 8), o, 1e-9);
    }
}

// The benchmark's outline (skipped without it): sharp corners extended far agree to rounding.
TEST(RawOffsetPaths, BlobAgreesWithTheGenericPath) {
    const std::string path = ARCLINE_BENCH_DATA_DIR "/blob_10k.txt";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " not found";
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    ASSERT_TRUE(velGeometryIO::read(path.c_str(), list));
    ASSERT_FALSE(list.empty());
    for (const double d : {2.0, -2.0})
        for (const int extend : {0, 1}) {
            Options o;
            o.extend = extend;
            EXPECT_GT(expect_paths_agree(**list.begin(), d, o, extend ? 1e-8 : 1e-9), 0);
        }
}

} // namespace

} // namespace velPolyArcLineOffsetterProperties_test
