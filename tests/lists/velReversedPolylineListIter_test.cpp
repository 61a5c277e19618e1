#include "arcline/lists/velReversedPolylineListIter.h"

#include "arcline/polyline/utils/velPolylineUtils.h"
#include "viewTestKit.h"

#include <gtest/gtest.h>

namespace velReversedPolylineListIter_test {

using namespace viewtest;

TEST(velReversedPolylineListIter, FirstArcBecomesLastWithNegatedBulgeAndTheSameMidPoint) {
    velPolyArcLineDouble p;
    p.add_pos({0, 0, 1});
    p.add_arc({1, -1, 1}, {2, 0, 1}); // a half circle, clockwise seen from +Z: bulge 1
    p.add_pos({2, 3, 1});
    velReversedPolylineListIter rev(velSingleAbsArcLineListIter{p});
    ASSERT_EQ(++rev, 1);
    ASSERT_EQ(rev.num_pos(), 3);
    EXPECT_EQ(rev.get_pos(0), (giPoint3{2, 3, 1}));
    EXPECT_EQ(rev.get_pos(2), (giPoint3{0, 0, 1}));
    EXPECT_TRUE(rev.span_linear(0));
    ASSERT_FALSE(rev.span_linear(1));
    EXPECT_EQ(rev.get_mid_pos(1), (giPoint3{1, -1, 1}));
    EXPECT_DOUBLE_EQ(rev.get_bulge(1), -1.0);
    EXPECT_EQ(rev.underlying_pos_index(0), 2);
    EXPECT_EQ(rev.underlying_span_index(0), 1);
    EXPECT_TRUE(rev.span_box(-1, vel_2d_box).empty());
    EXPECT_TRUE(rev.span_box(2, vel_3d_box).empty());
}

// Once reversed: the same curve walked the other way (the same length, the opposite signed area, the point
// at parameter t where the original has it at n - 1 - t) in the same list order; twice: the list exactly.
TEST(velReversedPolylineListIter, IsTheSameCurveWalkedBackwards) {
    for (unsigned seed = 1; seed <= 8; ++seed) {
        Rng rng(seed);
        const Polylines in = listtest::random_list(rng, 6, seed % 2 == 0);
        const auto list = list_of(in);
        velPolylineListIter& fwd = list->iterator();
        velReversedPolylineListIter rev(fwd);
        velReversedPolylineListIter twice(static_cast<const velPolylineListIter&>(rev));
        fwd.reset();
        rev.reset();
        twice.reset();
        for (const auto& p : in) {
            ASSERT_TRUE(++fwd && ++rev && ++twice);
            EXPECT_EQ(rev.index(), fwd.index());
            listtest::expect_same_polyline(twice, *p, true);
            const int n = fwd.num_pos();
            for (int i = 0; i + 1 < n; ++i)
                EXPECT_EQ(twice.get_bulge(i), fwd.get_bulge(i));
            EXPECT_NEAR(velPolylineUtils::length(rev), velPolylineUtils::length(fwd), 1e-9);
            EXPECT_NEAR(velPolylineUtils::area(rev), -velPolylineUtils::area(fwd), 1e-8);
            for (int j = 0; n > 1 && j <= 40; ++j) {
                const double t = (n - 1) * j / 40.0;
                EXPECT_TRUE(
                    rev.get_interpolated_pos(t).coincident(fwd.get_interpolated_pos(n - 1 - t), 1e-9));
            }
        }
        EXPECT_EQ(++rev, 0);
    }
}

} // namespace velReversedPolylineListIter_test
