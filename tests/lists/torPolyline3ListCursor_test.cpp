#include "arcline/lists/torPolyline3ListCursor.h"

#include "arcline/lists/torPolyline2ListCursor.h"
#include "arcline/platform/coDListcoCursor.h"

#include "../polyline/polylineTestKit.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace torPolyline3ListCursor_test {

namespace {

torCurvePtr3coDList list_of(const std::vector<std::vector<giPoint3>>& polylines) {
    torCurvePtr3coDList list;
    for (const auto& pts : polylines)
        coDListcoCursor<torCurvePtr3>(list).insert_last(std::make_shared<torPolyline3>(pts));
    return list;
}

const torPolyline3& nth(const torCurvePtr3coDList& list, int k) {
    return static_cast<const torPolyline3&>(**std::next(list.begin(), k));
}

// Geometry through the cursor is the protocol suite's; here: copies are new curves, transforms move every
// curve, moves take the same curve and a cursor of another storage is refused.
TEST(torPolyline3ListCursor, CopiesTransformsAndMoves) {
    torCurvePtr3coDList src_list = list_of({{{0, 0, 1}, {1, 0, 1}}, {}, {{2, 2, 2}, {3, 2, 2}}});
    torCurvePtr3coDList list;
    torPolyline3ListCursor cursor(list);
    torPolyline3ListIter(torCurvePtr3coDListcoIterator(src_list)).copy(cursor);
    ASSERT_EQ(list.size(), 2); // the empty curve is not copied
    EXPECT_NE(&nth(list, 0), &nth(src_list, 0));
    cursor.set_index(1);
    EXPECT_EQ(cursor.current_polyline(), &nth(list, 1));

    cursor.transform(giXform3::rotation_z(std::numbers::pi / 2) * giXform3::translation({0, 0, 1}));
    EXPECT_NEAR(nth(list, 0).get_pos(1).distance({0, 1, 2}), 0, 1e-15);
    EXPECT_NEAR(nth(list, 1).get_pos(0).distance({-2, 2, 3}), 0, 1e-14);

    torCurvePtr3coDList others = list_of({{{7, 0, 0}}});
    torPolyline3ListCursor other(others);
    other.set_index(0);
    const torPolyline3* moved = other.current_polyline();
    cursor.set_index(0);
    cursor.move_polyline_after(other);
    cursor.set_index(1);
    EXPECT_EQ(cursor.current_polyline(), moved);
    torCurvePtr2coDList flat;
    torPolyline2ListCursor foreign(flat);
    polytest::ReportCapture reports;
    cursor.move_polyline_after(foreign);
    ASSERT_EQ(reports.log.size(), 1u);
    EXPECT_EQ(reports.log[0].second, "torPolyline3ListCursor::move_polyline_after");
    EXPECT_EQ(cursor.size(), 3);
}

} // namespace

} // namespace torPolyline3ListCursor_test
