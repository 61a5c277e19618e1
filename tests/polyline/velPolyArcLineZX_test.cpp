#include "arcline/polyline/velPolyArcLineZX.h"

#include "arcline/polyline/velPolyArcLine.h"

#include "polylineTestKit.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <typeinfo>

namespace velPolyArcLineZX_test {

namespace {

TEST(velPolyArcLineZX, PointsAreKeptInTheZXPlane) {
    velPolyArcLineZX line;
    line.add_pos({1, 3, 2});
    line.add_arc({2, -7, 3}, {3, 5, 2});
    EXPECT_EQ(line.get_pos(1), giPoint3(1, 0, 2));
    EXPECT_EQ(line.get_mid_pos(1), giPoint3(2, 0, 3));
    line.edit_pos(2, {4, 1, 2});
    line.edit_mid_pos(1, {2.5, 9, 3});
    EXPECT_EQ(line.get_mid_pos(1), giPoint3(2.5, 0, 3));
    // The inner line holds the same points.
    EXPECT_EQ(typeid(line.inner()), typeid(velPolyArcLine));
    EXPECT_EQ(polytest::pos(line.inner(), 2), giPoint3(4, 0, 2));
    // A no-mid-point value passes the filter unchanged and makes the span straight.
    line.edit_mid_pos(1, {1, DBL_MAX, 1});
    EXPECT_EQ(line.span_linear(1), 1);
}

TEST(velPolyArcLineZX, TurningChecksWantNonNegativeX) {
    velPolyArcLineZX line;
    EXPECT_EQ(line.ok_to_add_pos({-0.1, 0, 2}), 0);
    EXPECT_EQ(line.ok_to_add_pos({std::numeric_limits<double>::quiet_NaN(), 0, 2}), 0);
    EXPECT_EQ(line.ok_to_add_pos({0, 5, 2}), 1); // y is filtered, not refused
    line.add_pos({1, 0, 0});
    EXPECT_EQ(line.ok_to_add_arc({2, 0, 1}, {1, 0, 2}), 1);
    EXPECT_EQ(line.ok_to_add_arc({-2, 0, 1}, {1, 0, 2}) + line.ok_to_add_arc({2, 0, 1}, {-1, 0, 2}), 0);
    EXPECT_EQ(line.ok_to_edit_pos(1, {-1e-9, 0, 0}), 0);
    EXPECT_EQ(line.ok_to_edit_pos(1, {0, 0, 0}), 1);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, giPoint3()), 1); // no mid point: x = -DBL_MAX is fine
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {-0.5, 0, 1}), 0);
    EXPECT_EQ(line.ok_to_edit_mid_pos(1, {0.5, 0, 1}), 1);
    // Advisory: a refused point is still stored when added.
    line.add_pos({-0.1, 0, 2});
    EXPECT_EQ(line.get_pos(2), polytest::single({-0.1, 0, 2}));
}

// Archives store only the base record of a profile; reset empties the inner line too.
TEST(velPolyArcLineZX, ArchiveAndReset) {
    velPolyArcLineZX line;
    line.add_pos({1, 0, 0});
    line.add_arc({2, 0, 1}, {1, 0, 2});
    line.add_pos({1, 0, 4});
    std::string expected;
    polytest::put_ints(expected, {1, 3});
    EXPECT_EQ(polytest::stored_bytes(line), expected);
    line.reset();
    EXPECT_EQ(line.num_pos() + line.inner().num_pos(), 0);
}

} // namespace

TEST(velPolyArcLineZX, ExpensiveCheckRefusesAPointThatMakesTheProfileCrossItself) {
    velPolyArcLineZX profile; // in the ZX plane: x is the radius, z along the axis
    profile.add_pos({1, 0, 0});
    profile.add_pos({1, 0, 4});
    profile.add_pos({3, 0, 4});
    profile.add_pos({3, 0, 2});
    EXPECT_EQ(profile.ok_to_add_pos_expensive({4, 0, 1}), 1);   // runs on outwards
    EXPECT_EQ(profile.ok_to_add_pos_expensive({0.5, 0, 2}), 0); // back across the first span
    EXPECT_EQ(profile.ok_to_add_pos_expensive({-1, 0, 1}), 0);  // a negative radius fails the plain check
    EXPECT_EQ(profile.num_pos(), 4);                            // the profile itself is untouched
}

} // namespace velPolyArcLineZX_test
