#include "arcline/polyline/velPolyArcLineZX.h"

#include "arcline/polyline/velPolyArcLine.h"

#include "polylineTestKit.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>
#include <typeinfo>

namespace {

TEST(velPolyArcLineZX, PointsAreKeptInTheZXPlane) {
    velPolyArcLineZX line;
    line.add_pos({1, 3, 2});
    EXPECT_EQ(line.get_pos(1), giPoint3(1, 0, 2));
    line.add_arc({2, -7, 3}, {3, 5, 2});
    EXPECT_EQ(line.num_pos(), 2);
    EXPECT_EQ(line.get_mid_pos(1), giPoint3(2, 0, 3));
    EXPECT_EQ(line.get_pos(2), giPoint3(3, 0, 2));
    line.edit_pos(2, {4, 1, 2});
    EXPECT_EQ(line.get_pos(2), giPoint3(4, 0, 2));
    line.edit_mid_pos(1, {2.5, 9, 3});
    EXPECT_EQ(line.get_mid_pos(1), giPoint3(2.5, 0, 3));
    // A no-mid-point value passes the filter unchanged and makes the span straight.
    line.edit_mid_pos(1, {1, DBL_MAX, 1});
    EXPECT_EQ(line.span_linear(1), 1);
    EXPECT_EQ(line.get_mid_pos(1).x, -DBL_MAX);
    // The inner line holds the same points.
    EXPECT_EQ(typeid(line.inner()), typeid(velPolyArcLine));
    EXPECT_EQ(line.inner().num_pos(), 2);
    giPoint3 p;
    line.inner().get_pos(2, p);
    EXPECT_EQ(p, giPoint3(4, 0, 2));
    EXPECT_EQ(line.can_hold_arcs(), 1);
}

TEST(velPolyArcLineZX, TurningChecksWantNonNegativeX) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    velPolyArcLineZX line;
    EXPECT_EQ(line.ok_to_add_pos({-0.1, 0, 2}), 0);
    EXPECT_EQ(line.ok_to_add_pos({nan, 0, 2}), 0);
    EXPECT_EQ(line.ok_to_add_pos({0, 0, 2}), 1);
    EXPECT_EQ(line.ok_to_add_pos({0.1, 5, 2}), 1); // y is filtered, not refused
    line.add_pos({1, 0, 0});
    EXPECT_EQ(line.ok_to_add_arc({2, 0, 1}, {1, 0, 2}), 1);
    EXPECT_EQ(line.ok_to_add_arc({-2, 0, 1}, {1, 0, 2}), 0);
    EXPECT_EQ(line.ok_to_add_arc({2, 0, 1}, {-1, 0, 2}), 0);
    EXPECT_EQ(line.ok_to_edit_pos(1, {-1e-9, 0, 0}), 0);
    EXPECT_EQ(line.ok_to_edit_pos(1, {1e-9, 0, 0}), 1);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, giPoint3()), 1); // no mid point: x = -DBL_MAX is fine
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {-0.5, 0, 1}), 0);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {0.5, 0, 1}), 1);
    // Advisory: a refused point is still stored when added.
    line.add_pos({-0.1, 0, 2});
    EXPECT_EQ(line.get_pos(2), polytest::single({-0.1, 0, 2}));
}

TEST(velPolyArcLineZX, CopiesResetAndArchive) {
    velPolyArcLineZX line;
    line.add_pos({1, 0, 0});
    line.add_arc({2, 0, 1}, {1, 0, 2});
    line.add_pos({1, 0, 4});
    velPolyArcLineZX copy(ut_copy, line);
    EXPECT_TRUE(copy == line);
    copy.edit_pos(1, {5, 0, 5});
    EXPECT_EQ(line.get_pos(1), giPoint3(1, 0, 0)); // a deep copy
    std::unique_ptr<velAbsPolyArcLine> empty(line.create_empty());
    EXPECT_EQ(typeid(*empty), typeid(velPolyArcLineZX));
    EXPECT_EQ(empty->num_pos(), 0);
    empty->add_pos({1, 1, 1});
    EXPECT_EQ(empty->num_pos(), 1);

    // Only the base record is stored.
    std::string expected;
    polytest::put_int(expected, 1);
    polytest::put_int(expected, 3);
    EXPECT_EQ(polytest::stored_bytes(line), expected);

    EXPECT_EQ(line.reserve(50), 1);
    line.reset();
    EXPECT_EQ(line.num_pos(), 0);
    EXPECT_EQ(line.inner().num_pos(), 0);
    EXPECT_EQ(line.length(), 0.0);
}

} // namespace
