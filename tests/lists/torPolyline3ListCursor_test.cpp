#include "arcline/lists/torPolyline3ListCursor.h"

#include "arcline/lists/torPolyline2ListCursor.h"
#include "arcline/platform/coDListcoCursor.h"

#include "../polyline/polylineTestKit.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace torPolyline3ListCursor_test {

namespace {

std::shared_ptr<torPolyline3> poly(std::vector<giPoint3> pts) {
    return std::make_shared<torPolyline3>(std::move(pts));
}

void fill(torCurvePtr3coDList& list, const std::vector<torCurvePtr3>& curves) {
    coDListcoCursor<torCurvePtr3> out(list);
    for (const torCurvePtr3& c : curves)
        out.insert_last(c);
}

std::vector<giPoint3> points(const torCurvePtr3& c) {
    const auto& p = static_cast<const torPolyline3&>(*c);
    std::vector<giPoint3> v;
    for (int i = 0; i < p.num_pos(); ++i)
        v.push_back(p.get_pos(i));
    return v;
}

TEST(torPolyline3ListCursor, CopyWritesNewCurvesInOrder) {
    torCurvePtr3coDList src_list, dst_list;
    fill(src_list, {poly({{0, 0, 1}, {1, 0, 1}}), poly({}), poly({{2, 2, 2}, {3, 2, 2}, {3, 3, 3}})});
    torPolyline3ListIter src{torCurvePtr3coDListcoIterator(src_list)};

    torPolyline3ListCursor cursor(dst_list);
    src.copy(cursor);
    ASSERT_EQ(dst_list.size(), 2); // the empty curve is not copied
    auto it = dst_list.begin();
    EXPECT_EQ(points(*it), points(*src_list.begin()));
    EXPECT_NE(it->get(), src_list.begin()->get());
    EXPECT_EQ(points(*++it), points(*std::next(src_list.begin(), 2)));
    cursor.set_index(1);
    EXPECT_EQ(cursor.current_polyline(), it->get());
}

TEST(torPolyline3ListCursor, TransformMovesEveryCurveOfTheList) {
    torCurvePtr3coDList list;
    fill(list, {poly({{0, 0, 0}, {1, 0, 0}}), poly({{5, 5, 5}})});
    torPolyline3ListCursor cursor(list);
    cursor.transform(giXform3::rotation_z(std::numbers::pi / 2) * giXform3::translation({0, 0, 1}));
    EXPECT_NEAR(points(*list.begin())[1].distance({0, 1, 1}), 0, 1e-15);
    EXPECT_NEAR(points(*std::next(list.begin()))[0].distance({-5, 5, 6}), 0, 1e-14);
}

// Moving between cursors (the protocol suite) takes the same curve; a cursor of another storage is refused.
TEST(torPolyline3ListCursor, MoveTakesTheSameCurveAndRefusesAnotherStorage) {
    torCurvePtr3coDList list, others;
    fill(list, {poly({{0, 0, 0}})});
    fill(others, {poly({{7, 0, 0}})});
    torPolyline3ListCursor cursor(list), other(others);
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
    EXPECT_EQ(cursor.size(), 2);
}

} // namespace

} // namespace torPolyline3ListCursor_test
