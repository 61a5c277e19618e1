#include "arcline/lists/velSmashedPolylineListIter.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"

#include "viewTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace velSmashedPolylineListIter_test {

using namespace viewtest;

// Chords run from arc point to arc point, no chord is further than the tolerance from its arc at its middle
// (where a chord is furthest), every underlying position is presented, and underlying_parameter() leads
// from each presented position to the same point of the underlying polyline and from a point between two
// positions into the piece of span between their parameters.
TEST(velSmashedPolylineListIter, ChordsStayWithinTheToleranceOfTheirArcs) {
    for (const double tol : {0.5, 0.02, 1e-3}) {
        for (unsigned seed = 1; seed <= 6; ++seed) {
            Rng rng(seed);
            const auto list = list_of(listtest::random_list(rng, 6, seed % 2 == 0));
            velPolylineListIter& base = list->iterator();
            velSmashedPolylineListIter smashed(base, tol);
            base.reset();
            smashed.reset();
            while (++smashed && ++base) {
                const int n = smashed.num_pos();
                int positions_seen = 0;
                double worst = 0.0;
                for (int j = 0; j < n; ++j) {
                    const double t = smashed.underlying_parameter(j);
                    ASSERT_EQ(smashed.get_pos(j), base.get_interpolated_pos(t));
                    if (t == positions_seen) ++positions_seen;
                    if (j + 1 == n) break;
                    const int span = static_cast<int>(std::floor(t));
                    const double t_next = smashed.underlying_parameter(j + 1);
                    ASSERT_TRUE(t < t_next && t_next <= span + 1.0);
                    const double inside = smashed.underlying_parameter(j + 0.5);
                    EXPECT_TRUE(t < inside && inside < t_next);
                    if (base.span_linear(span)) continue;
                    giPoint3 c;
                    double r = 0.0;
                    velArc3Utils::get_centre_and_radius(base.get_pos(span), base.get_pos(span + 1),
                                                        base.get_mid_pos(span), c, r);
                    const giPoint3 middle = smashed.get_pos(j).interpolate(smashed.get_pos(j + 1), 0.5);
                    worst = std::max(worst, r - middle.distance(c));
                }
                EXPECT_LE(worst, tol * (1 + 1e-9));
                EXPECT_EQ(positions_seen, base.num_pos());
                EXPECT_EQ(smashed.underlying_parameter(n - 1 + 1e-9), 0.0);
                if (tol > 1e-3) expect_tight_boxes(smashed); // hundreds of chords per arc at 1e-3
            }
        }
    }
}

// Interpolate's count is the fewest chords of equal angle within the tolerance: one chord fewer would leave
// the arc by more, and the chords are equal.
TEST(velSmashedPolylineListIter, UsesNoMoreChordsThanTheToleranceNeeds) {
    velPolyArcLineDouble p;
    p.add_pos({-10, 0, 0});
    p.add_arc({0, -10, 0}, {10, 0, 0}); // a half circle of radius 10
    for (const double tol : {0.3, 0.01}) {
        velSmashedPolylineListIter smashed(velSingleAbsArcLineListIter{p}, tol);
        ASSERT_EQ(++smashed, 1);
        const int chords = smashed.num_pos() - 1;
        const auto sagitta = [](int k) { return 10.0 * (1 - std::cos(std::numbers::pi / k / 2)); };
        EXPECT_LE(sagitta(chords), tol);
        EXPECT_GT(sagitta(chords - 1), tol);
        for (int j = 1; j < chords; ++j)
            EXPECT_NEAR(smashed.get_pos(j).distance(smashed.get_pos(j + 1)),
                        smashed.get_pos(0).distance(smashed.get_pos(1)), 1e-9);
    }
}

namespace {

// Pieces trimmed from chords are cut again from the arcs: their ends lie near the chord view's ends (the
// chord's sagitta plus the slide of the parameter along the arc, within twice the tolerance), and the copies
// hold arcs again.
TEST(velSmashedPolylineListIter, TrimmingsOfTheChordsMapBackToTheArcs) {
    constexpr double tol = 0.01;
    listtest::Rng rng(91);
    velAbsPolyArcLineListCursor list;
    listtest::fill(list, listtest::random_list(rng, 4));
    velSmashedPolylineListIter smashed(list.iterator(), tol);
    velTrimmedPolylineListIter trimmed(smashed);
    trimmed.reset();
    while (++trimmed) {
        const int n = trimmed.num_pos();
        if (n < 3) continue;
        const double a = rng.uniform(0.2, n - 1.2);
        trimmed.trim(a, a + 0.5);
    }
    velTrimmedPolylineListIter back;
    velSmashedPolylineListIter::get_underlying_trimming_iter(trimmed, back);
    ASSERT_EQ(back.size(), trimmed.size());
    velAbsPolyArcLineListCursor out;
    velSmashedPolylineListIter::copy_trimming_iter(trimmed, out);
    ASSERT_EQ(out.size(), trimmed.size());
    trimmed.reset();
    out.reset();
    int arcs = 0;
    while (++trimmed) {
        ASSERT_NE(++out, 0);
        if (trimmed.num_pos() == 0) continue;
        EXPECT_LE(out.get_pos(0).distance(trimmed.get_pos(0)), 2 * tol);
        EXPECT_LE(out.get_pos(out.num_pos() - 1).distance(trimmed.get_pos(trimmed.num_pos() - 1)), 2 * tol);
        for (int i = 0; i + 1 < out.num_pos(); ++i)
            arcs += !out.span_linear(i);
    }
    EXPECT_GT(arcs, 0);
}

} // namespace

} // namespace velSmashedPolylineListIter_test
