#include "arcline/lists/torCurvePtr3PolylineListCursor.h"

#include "arcline/lists/torPolyline3ListIter.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/torArc3.h"
#include "arcline/platform/torLine3.h"
#include "arcline/platform/torTrimmedCurve3.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <memory>

namespace torCurvePtr3PolylineListCursor_test {

namespace {

// A line from (0, 0, 0) to (1, 0, 0) and a half circle on from there to (3, 0, 0), each its own
// curve-remembering polyline within 0.01.
struct TwoCurves : ::testing::Test {
    TwoCurves() {
        coDListcoCursor<torCurvePtr3> in(curves);
        in.insert_last(l);
        in.insert_last(a);
    }
    torCurvePtr3 l = std::make_shared<torLine3>(giPoint3(0, 0, 0), giPoint3(1, 0, 0));
    torCurvePtr3 a = std::make_shared<torArc3>(giPoint3(1, 0, 0), giPoint3(2, 1, 0), giPoint3(3, 0, 0));
    torCurvePtr3coDList curves;
};

TEST_F(TwoCurves, CursorFromCurvesApproximatesEachAndGivesThemBack) {
    torCurvePtr3coDListcoIterator it(curves);
    torCurvePtr3PolylineListCursor cursor(it, 0.01);
    EXPECT_EQ(it.index(), -1);
    ASSERT_EQ(cursor.size(), 2);
    cursor.set_index(1);
    const torCurvePtr3Polyline& arc = *cursor.current_polyline();
    EXPECT_EQ(arc.num_pos(), 13); // 12 chords: 2 acos(0.99) = 0.283 rad each at most
    EXPECT_EQ(arc.get_curve(4), a);
    EXPECT_EQ(arc.tolerance(), 0.01);

    torCurvePtr3coDList back;
    cursor.get_curves(0, DBL_MAX, back);
    ASSERT_EQ(back.size(), 2);
    const auto second = std::dynamic_pointer_cast<torTrimmedCurve3>(*std::next(back.begin()));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->base(), a);
    EXPECT_EQ(second->base_start(), 0.0);
    EXPECT_EQ(second->base_end(), 1.0);

    torCurvePtr3PolylinecoPrfcoDList more;
    torCurvePtr3PolylineListIter::curve_list_to_polyline(back, 0.01, more);
    ASSERT_EQ(more.size(), 2);
    EXPECT_EQ((*std::next(more.begin()))->num_pos(), 13);
}

// Copies keep curve, parameter and tolerance; points of a plain list come with none.
TEST_F(TwoCurves, AddPosCarriesParameterAndCurve) {
    torCurvePtr3PolylinecoPrfcoDList src_list;
    coDListcoCursor<torCurvePtr3PolylinecoPrf>(src_list).insert_last(
        std::make_shared<torCurvePtr3Polyline>(torCompCurve3({l, a}), 0.01));
    torCurvePtr3PolylineListIter src{torCurvePtr3PolylinecoPrfcoDListcoIterator(src_list)};
    torCurvePtr3PolylineListCursor cursor;
    src.copy(cursor);
    src.reset();
    ++src;
    cursor.add_interpolated_pos(src, 1.5); // in the chord into the arc: half way to its first parameter
    const torCurvePtr3Polyline& from = *src.current_polyline();
    const torCurvePtr3Polyline& to = *cursor.current_polyline();
    ASSERT_EQ(to.num_pos(), from.num_pos() + 1);
    for (int i = 0; i < from.num_pos(); ++i) {
        EXPECT_EQ(to.get_pos(i), from.get_pos(i));
        EXPECT_EQ(to.get_curve(i), from.get_curve(i));
        EXPECT_EQ(to.get_curve_param(i), from.get_curve_param(i));
    }
    EXPECT_EQ(to.tolerance(), 0.01);
    EXPECT_EQ(to.get_curve(from.num_pos()), a);
    EXPECT_EQ(to.get_curve_param(from.num_pos()), 0.5 * from.get_curve_param(2));

    torCurvePtr3coDList plain;
    coDListcoCursor<torCurvePtr3>(plain).insert_last(
        std::make_shared<torPolyline3>(std::vector<giPoint3>{{0, 0, 0}, {4, 0, 0}}));
    torPolyline3ListIter other{torCurvePtr3coDListcoIterator(plain)};
    ++other;
    cursor.create_polyline();
    ++cursor;
    cursor.add_pos(other, 0);
    cursor.add_interpolated_pos(other, 0.5);
    const torCurvePtr3Polyline& bare = *cursor.current_polyline();
    ASSERT_EQ(bare.num_pos(), 2);
    EXPECT_EQ(bare.get_pos(1), giPoint3(2, 0, 0));
    EXPECT_FALSE(bare.get_curve(1));
    EXPECT_EQ(bare.get_curve_param(1), -DBL_MAX);
    EXPECT_EQ(bare.tolerance(), 0.0);
}

// A piece of a span on one curve starts with its own start point when the target's last position lies on
// another curve, so that the copy has a chord on that curve.
TEST_F(TwoCurves, AddSpanStartsAPieceOfANewCurve) {
    torCurvePtr3PolylinecoPrfcoDList src_list;
    coDListcoCursor<torCurvePtr3PolylinecoPrf>(src_list).insert_last(
        std::make_shared<torCurvePtr3Polyline>(torCompCurve3({l, a}), 0.01));
    torCurvePtr3PolylineListIter src{torCurvePtr3PolylinecoPrfcoDListcoIterator(src_list)};
    ++src;
    torCurvePtr3PolylineListCursor cursor;
    cursor.create_polyline();
    ++cursor;
    cursor.add_pos(src, 1); // the end of l
    const torCurvePtr3Polyline& to = *cursor.current_polyline();
    cursor.add_span(src, 1.0, 1.5); // the jump chord from l into a: only its end
    EXPECT_EQ(to.num_pos(), 2);
    cursor.add_span(src, 3.25, 3.75); // on a, the last position on a: only the end
    EXPECT_EQ(to.num_pos(), 3);
    cursor.set_index(-1);
    cursor.create_polyline();
    ++cursor;
    const torCurvePtr3Polyline& fresh = *cursor.current_polyline();
    cursor.add_pos(src, 1);
    cursor.add_span(src, 3.25, 3.75); // on a, the last position on l: start and end
    ASSERT_EQ(fresh.num_pos(), 3);
    EXPECT_EQ(fresh.get_curve(1), a);
    EXPECT_EQ(fresh.get_pos(1), src.get_interpolated_pos(3.25));
    const auto piece = std::dynamic_pointer_cast<torTrimmedCurve3>(fresh.curve(1, 2));
    ASSERT_TRUE(piece);
    EXPECT_EQ(piece->base(), a);

    // From a plain iterator the base rule holds: only the end, unless asked for the start.
    torCurvePtr3coDList plain;
    coDListcoCursor<torCurvePtr3>(plain).insert_last(
        std::make_shared<torPolyline3>(std::vector<giPoint3>{{5, 0, 0}, {9, 0, 0}}));
    torPolyline3ListIter other{torCurvePtr3coDListcoIterator(plain)};
    ++other;
    cursor.add_span(other, 0.25, 0.5);
    EXPECT_EQ(fresh.num_pos(), 4);
    cursor.set_add_coincident_point_type(vel_add_start_point_if_apart);
    cursor.add_span(other, 0.75, 1.0);
    EXPECT_EQ(fresh.num_pos(), 6);
}

} // namespace

} // namespace torCurvePtr3PolylineListCursor_test
