#include "arcline/lists/velBoxPolylineListIter.h"

#include "arcline/polyline/utils/velPolylineUtils.h"
#include "viewTestKit.h"

#include <gtest/gtest.h>

namespace velBoxPolylineListIter_test {

TEST(velBoxPolylineListIter, OutlinesTheBoxAnticlockwiseOrClockwise) {
    const giBox2 b({0, 0}, {2, 1});
    velBoxPolylineListIter ccw(b, 5.0, 1);
    EXPECT_EQ(ccw.size(), 1);
    EXPECT_TRUE(ccw.undefined());
    ASSERT_EQ(++ccw, 1);
    EXPECT_EQ(ccw.index(), 0);
    ASSERT_EQ(ccw.num_pos(), 5);
    const giPoint3 expected[] = {{0, 0, 5}, {2, 0, 5}, {2, 1, 5}, {0, 1, 5}, {0, 0, 5}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ccw.get_pos(i), expected[i]);
    EXPECT_EQ(ccw.all_spans_linear(), 1);
    EXPECT_EQ(ccw.get_bulge(2), 0.0);
    EXPECT_DOUBLE_EQ(velPolylineUtils::area(ccw), 2.0);
    EXPECT_EQ(ccw.box(vel_2d_box), b);
    EXPECT_EQ(ccw.box(vel_3d_box), giBox3({0, 0, 5}, {2, 1, 5}));
    viewtest::expect_tight_boxes(ccw);
    EXPECT_EQ(++ccw, 0);
    EXPECT_EQ(ccw.index(), -1);

    velBoxPolylineListIter cw(b, 5.0, 0);
    cw.set_index(0);
    EXPECT_EQ(cw.get_pos(1), (giPoint3{0, 1, 5}));
    EXPECT_EQ(cw.get_pos(3), (giPoint3{2, 0, 5}));
    EXPECT_DOUBLE_EQ(velPolylineUtils::area(cw), -2.0);
}

TEST(velBoxPolylineListIter, ASpaceBoxIsOutlinedAtItsTop) {
    const velBoxPolylineListIter top(giBox3({-1, -2, -3}, {4, 5, 6}), 1);
    const std::unique_ptr<velPolylineListIter> clone(top.create_new());
    clone->set_index(0);
    EXPECT_EQ(clone->get_pos(2), (giPoint3{4, 5, 6}));
    EXPECT_EQ(clone->box(vel_3d_box), giBox3({-1, -2, 6}, {4, 5, 6}));
    EXPECT_EQ(top.index(), -1);
}

} // namespace velBoxPolylineListIter_test
