#include "arcline/lists/velPolylineListCursorAppend.h"

#include "viewTestKit.h"

namespace velPolylineListCursorAppend_test {

using polytest::ReportCapture;

TEST(velPolylineListCursorAppend, CopiesBothListsInOrderIntoTheInnerCursor) {
    listtest::Rng rng(41);
    velAbsPolyArcLineListCursor first, second, inner;
    listtest::fill(first, listtest::random_list(rng, 2));
    listtest::fill(second, listtest::random_list(rng, 3, true));
    velPolylineListIterAppend src(first.iterator(), second.iterator());
    velPolylineListCursorAppend cursor(&inner);
    src.copy(cursor);
    EXPECT_EQ(&cursor.iterator(), &inner.iterator());
    velAbsPolyArcLineListCursor expected;
    src.copy(expected);
    viewtest::expect_same_lists(expected.iterator(), inner.iterator());
}

TEST(velPolylineListCursorAppend, RefusesAPlainSourceAndMovesFromAnotherAppendCursor) {
    velAbsPolyArcLineListCursor plain, inner, other_inner;
    viewtest::add_tagged_line(plain, 3, 7.0);
    viewtest::add_tagged_line(other_inner, 2, 8.0);
    velPolylineListCursorAppend cursor(&inner), other(&other_inner);
    cursor.create_polyline();
    ++cursor;
    {
        ReportCapture capture;
        cursor.add_pos(plain.iterator(), 0);
        cursor.add_interpolated_pos(plain.iterator(), 0.5);
        cursor.add_span(plain.iterator(), 0.0, 1.0);
        EXPECT_EQ(ReportCapture::log.size(), 3u);
        EXPECT_EQ(ReportCapture::log[2].second, "velPolylineListCursorAppend::add_span");
    }
    EXPECT_EQ(cursor.num_pos(), 0);
    cursor.move_polyline_after(other);
    EXPECT_EQ(other_inner.size(), 0);
    inner.set_index(1);
    EXPECT_EQ(inner.get_pos(0).y, 8.0);
    const std::unique_ptr<velPolylineListCursor> empty(cursor.create_empty());
    EXPECT_NE(dynamic_cast<velAbsPolyArcLineListCursor*>(empty.get()), nullptr);
}

} // namespace velPolylineListCursorAppend_test
