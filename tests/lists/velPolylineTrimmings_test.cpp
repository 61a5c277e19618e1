// Kept ranges of one polyline: trim rules with their snapping and the algebra of range sets.

#include "../polyline/polylineTestKit.h"

#include "arcline/lists/velPolylineTrimmings.h"
#include "arcline/lists/velSegmentTrimmingArr.h"
#include "arcline/polyline/spans/velArc2Utils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace velPolylineTrimmings_test {

namespace {

using Ranges = std::vector<std::pair<double, double>>;

Ranges ranges_of(const velPolylineTrimmings& t) {
    Ranges r;
    for (int i = 0; i < t.num_segs(); ++i)
        r.emplace_back(t.segment_start(i), t.segment_end(i));
    return r;
}

// Kept ranges on [0, last]: a record whole, then random cuts.
velPolylineTrimmings random_trimmings(polytest::Rng& rng, int last) {
    velPolylineTrimmings t(0, 0.0, last);
    const int cuts = rng.pick(0, 5);
    for (int c = 0; c < cuts && t.num_segs() > 0; ++c) {
        const int i = rng.pick(0, t.num_segs() - 1);
        const double s = t.segment_start(i), e = t.segment_end(i);
        double a = rng.uniform(s, e), b = rng.uniform(s, e);
        if (a > b) std::swap(a, b);
        t.trim_underlying_parameter(i, a, b, velPolylineTrimmings::no_flag, velPolylineTrimmings::no_flag);
    }
    return t;
}

double kept_length(const velPolylineTrimmings& t) {
    double sum = 0;
    for (int i = 0; i < t.num_segs(); ++i)
        sum += t.segment_end(i) - t.segment_start(i);
    return sum;
}

// Whether x lies in a kept range (closed intervals).
bool kept(const velPolylineTrimmings& t, double x) {
    for (int i = 0; i < t.num_segs(); ++i) {
        if (t.segment_start(i) <= x && x <= t.segment_end(i)) return true;
    }
    return false;
}

TEST(velPolylineTrimmings, TrimRulesSnapAndFlags) {
    velPolylineTrimmings t(4, 0.0, 3.0);
    EXPECT_EQ(t.num_pos(0), 4);
    t.trim_underlying_parameter(0, 1.2, 1.7, 11, 22);
    EXPECT_EQ(ranges_of(t), (Ranges{{0, 1.2}, {1.7, 3}}));
    EXPECT_EQ(t.get_end_flag(0), 22); // the end made at 1.2 closes the part before the cut
    EXPECT_EQ(t.get_start_flag(1), 11);
    EXPECT_EQ(t.get_start_flag(0), velPolylineTrimmings::no_flag);
    EXPECT_EQ(t.original_end(), 3.0);

    // Boundaries within 1e-10 of a whole number snap to it, 1e-9 away they do not.
    t.trim_underlying_parameter(1, 2.0 + 1e-11, 2.5, velPolylineTrimmings::no_flag,
                                velPolylineTrimmings::no_flag);
    EXPECT_EQ(t.segment_end(1), 2.0);
    velPolylineTrimmings u(0, 0.0, 3.0);
    u.trim_underlying_parameter(0, 2.0 + 1e-9, 3.0, 0, 0);
    EXPECT_EQ(u.segment_end(0), 2.0 + 1e-9);

    // Empty or reversed ranges change nothing; a range covering the segment removes it.
    velPolylineTrimmings w(0, 1.25, 2.5);
    EXPECT_EQ(w.num_pos(0), 3); // 1.25, 2, 2.5
    w.trim_underlying_parameter(0, 1.8, 1.8, 0, 0);
    w.trim_underlying_parameter(0, 2.0, 1.5, 0, 0);
    EXPECT_EQ(ranges_of(w), (Ranges{{1.25, 2.5}}));
    w.trim_underlying_parameter(0, 1.0, 3.0, 0, 0);
    EXPECT_EQ(w.num_segs(), 0);
}

TEST(velPolylineTrimmings, UnionInversionAndDifferenceObeyTheirAlgebra) {
    polytest::Rng rng(71);
    constexpr int samples = 997;
    for (int round = 0; round < 200; ++round) {
        const int last = rng.pick(1, 6);
        const velPolylineTrimmings a = random_trimmings(rng, last), b = random_trimmings(rng, last);
        if (a.num_segs() == 0 || b.num_segs() == 0) continue;
        velPolylineTrimmings ab, ba;
        a.add(b, ab);
        b.add(a, ba);
        EXPECT_EQ(ranges_of(ab), ranges_of(ba)); // commutative

        velPolylineTrimmings twice(a);
        twice.invert(last);
        const double removed = kept_length(twice);
        twice.invert(last);
        EXPECT_EQ(ranges_of(twice), ranges_of(a)); // inverse of inverse
        EXPECT_NEAR(kept_length(a) + removed, last, 1e-12);

        velPolylineTrimmings diff;
        a.subtract(b, diff);
        // Pointwise, away from the boundaries: union, difference and the parts are what sets say.
        for (int k = 1; k < samples; ++k) {
            const double x = last * k / double(samples);
            ASSERT_EQ(kept(ab, x), kept(a, x) || kept(b, x)) << x;
            const bool on_boundary_of_b = [&] {
                for (int i = 0; i < b.num_segs(); ++i) {
                    if (x == b.segment_start(i) || x == b.segment_end(i)) return true;
                }
                return false;
            }();
            if (!on_boundary_of_b) {
                ASSERT_EQ(kept(diff, x), kept(a, x) && !kept(b, x)) << x;
            }
        }
        // (a \ b) u (a n b) = a: lengths add up.
        velPolylineTrimmings nb(b);
        nb.invert(last);
        velPolylineTrimmings a_not_b; // a minus the complement of b = a n b
        a.subtract(nb, a_not_b);
        const double both = a_not_b.num_segs() > 0 ? kept_length(a_not_b) : 0.0;
        EXPECT_NEAR(kept_length(diff) + both, kept_length(a), 1e-9);
    }
}

TEST(velPolylineTrimmings, DefragmentMergesTinyGapsAndRenumbers) {
    velPolylineTrimmings t(0, 0.0, 5.0);
    t.trim_underlying_parameter(0, 3.2, 3.2 + 5e-11, 0, 0);
    t.trim_underlying_parameter(0, 1.2, 1.5, 0, 0);
    ASSERT_EQ(t.num_segs(), 3);
    int i = 2;
    t.defragment(i);
    EXPECT_EQ(ranges_of(t), (Ranges{{0, 1.2}, {1.5, 5}}));
    EXPECT_EQ(i, 1);
}

TEST(velSegmentTrimmingArr, SearchFindsTheRangeHoldingT) {
    velSegmentTrimmingArr arr;
    arr.append(velSegmentTrimming(2.0, 3.0, 7));
    arr.append(velSegmentTrimming(0.0, 1.0, 4));
    int i = -1;
    ASSERT_TRUE(arr.search(0.5, i));
    EXPECT_EQ(arr.read_sorted(i).destination_index(), 4);
    ASSERT_TRUE(arr.search(3.0, i));
    EXPECT_EQ(arr.read_sorted(i).destination_index(), 7);
    EXPECT_FALSE(arr.search(1.5, i));
    EXPECT_FALSE(arr.search(3.5, i));
    EXPECT_EQ(arr.nearest_redundent_trimming(1.0), -1.7976931348623157e308);
    arr.add_redundent_trimming(0.2);
    arr.add_redundent_trimming(2.9);
    EXPECT_EQ(arr.nearest_redundent_trimming(2.0), 2.9);
    EXPECT_EQ(arr.num_redundent_trimmings(), 2);
}

} // namespace

} // namespace velPolylineTrimmings_test
