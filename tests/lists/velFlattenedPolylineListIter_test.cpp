#include "arcline/lists/velFlattenedPolylineListIter.h"

#include "arcline/polyline/spans/velArc3Utils.h"
#include "viewTestKit.h"

#include <gtest/gtest.h>

namespace velFlattenedPolylineListIter_test {

using namespace viewtest;

// Polylines at their own heights come out at the level with the same XY curve, point for point along the
// parameter, and with the underlying bulges and XY boxes.
TEST(velFlattenedPolylineListIter, PutsEveryPointAtTheLevelAndKeepsTheXYCurve) {
    constexpr double level = -2.5;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        Rng rng(seed);
        const auto list = list_of(listtest::random_list(rng, 6));
        velPolylineListIter& base = list->iterator();
        velFlattenedPolylineListIter flat(base, level);
        EXPECT_EQ(flat.z_level(), level);
        EXPECT_EQ(flat.all_spans_linear(), base.all_spans_linear());
        base.reset();
        flat.reset();
        while (++flat) {
            ASSERT_EQ(++base, 1);
            const int n = flat.num_pos();
            ASSERT_EQ(n, base.num_pos());
            for (int i = 0; i + 1 < n; ++i) {
                ASSERT_EQ(flat.span_linear(i), base.span_linear(i));
                EXPECT_EQ(flat.get_bulge(i), base.get_bulge(i));
                if (!flat.span_linear(i)) {
                    EXPECT_EQ(flat.get_mid_pos(i).z, level);
                }
                for (int j = 0; j <= 16; ++j) {
                    const giPoint3 p = flat.get_interpolated_pos(i + j / 16.0);
                    const giPoint3 q = base.get_interpolated_pos(i + j / 16.0);
                    EXPECT_EQ(p.z, level);
                    EXPECT_NEAR(p.x, q.x, 1e-9);
                    EXPECT_NEAR(p.y, q.y, 1e-9);
                }
            }
            EXPECT_EQ(flat.box(vel_2d_box), base.box(vel_2d_box));
            expect_tight_boxes(flat);
        }
    }
}

// A tilted arc has an ellipse for its shadow; the view presents the arc through the three projected points,
// with that arc's halfway point for mid point, and answers its bulge and boxes consistently.
TEST(velFlattenedPolylineListIter, TiltedArcsArePresentedThroughTheirProjectedPoints) {
    for (unsigned seed = 11; seed <= 14; ++seed) {
        Rng rng(seed);
        const auto list = list_of(listtest::random_list(rng, 6, true));
        velPolylineListIter& base = list->iterator();
        velFlattenedPolylineListIter flat(base, 4.0);
        base.reset();
        flat.reset();
        while (++flat) {
            ASSERT_EQ(++base, 1);
            for (int i = 0; i + 1 < flat.num_pos(); ++i) {
                const giPoint3 s = flat.get_pos(i), e = flat.get_pos(i + 1);
                EXPECT_EQ(s.z, 4.0);
                if (flat.span_linear(i)) continue;
                const giPoint3 m = flat.get_mid_pos(i);
                EXPECT_EQ(m.z, 4.0);
                EXPECT_NEAR(m.distance(s), m.distance(e), 1e-9);
                EXPECT_TRUE(flat.get_interpolated_pos(i + 0.5).coincident(m, 1e-9));
                EXPECT_NEAR(flat.get_bulge(i), velArc3Utils::bulge(s, e, m), 1e-12);
                // The projected underlying mid point lies on the presented arc.
                giPoint3 projected = base.get_mid_pos(i);
                projected.z = 4.0;
                giPoint3 c;
                double r = 0.0;
                velArc3Utils::get_centre_and_radius(s, e, m, c, r);
                EXPECT_NEAR(projected.distance(c), r, 1e-9 * (1 + r));
                // On the arc, not on the rest of the circle: on the mid point's side of the chord.
                const giVector3 chord = e - s;
                EXPECT_GT((projected - s).cross(chord).dot((m - s).cross(chord)), 0.0);
            }
            expect_tight_boxes(flat);
        }
    }
}

} // namespace velFlattenedPolylineListIter_test
