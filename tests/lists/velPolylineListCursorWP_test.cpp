#include "arcline/lists/velPolylineListCursorWP.h"

#include "adapterTestKit.h"

#include <gtest/gtest.h>

#include <memory>

namespace velPolylineListCursorWP_test {

using adaptertest::expect_same_lists;
using polytest::ReportCapture;

TEST(velPolylineListCursorWP, WritesLocalPointsAndReadsThemBackInWorldAlsoThroughAnEmptySibling) {
    polytest::Rng rng(21);
    velAbsPolyArcLineListCursor source;
    for (int k = 0; k < 4; ++k)
        adaptertest::add_random_polyline(source, rng, 5);
    const giWorkplane3 wp = adaptertest::random_workplane(rng);
    velPolylineListIterWP world(wp, source.iterator());
    velAbsPolyArcLineListCursor inner;
    velPolylineListCursorWP cursor(wp, ut_ptr_wrap, &inner);
    world.copy(cursor);
    expect_same_lists(inner.iterator(), source.iterator());
    expect_same_lists(cursor.iterator(), world);

    const std::unique_ptr<velPolylineListCursorWP> sibling(cursor.create_empty());
    EXPECT_EQ(sibling->size(), 0);
    world.copy(*sibling);
    sibling->set_index(0);
    cursor.clear();
    cursor.append(*sibling); // moves between the two inner cursors
    EXPECT_EQ(sibling->size(), 3);
    world.set_index(0);
    cursor.set_index(0);
    EXPECT_EQ(cursor.get_pos(1), world.get_pos(1));
}

TEST(velPolylineListCursorWP, AddSpanWritesTheStartPointWhenAskedAndApart) {
    velAbsPolyArcLineListCursor source;
    adaptertest::add_tagged_line(source, 4, 1.0);
    const giWorkplane3 wp = adaptertest::flipped_workplane();
    velPolylineListIterWP src(wp, source.iterator());
    src.set_index(0);
    velPolylineListCursorWP cursor(wp, ut_ptr_claim, new velAbsPolyArcLineListCursor);
    cursor.set_add_coincident_point_type(vel_add_start_point_if_apart);
    cursor.create_polyline();
    ++cursor;
    cursor.add_pos(src, 0);
    cursor.add_span(src, 0.0, 1.0); // starts at the last position: only its end is written
    cursor.add_span(src, 2.0, 3.0);
    ASSERT_EQ(cursor.num_pos(), 4);
    EXPECT_EQ(cursor.get_pos(2), src.get_pos(2));
}

TEST(velPolylineListCursorWP, RefusesSourcesAndCursorsOfAnotherKindOrWorkplaneWithoutEffect) {
    polytest::Rng rng(22);
    velAbsPolyArcLineListCursor plain;
    adaptertest::add_tagged_line(plain, 3, 0.0);
    const giWorkplane3 wp = adaptertest::random_workplane(rng);
    const giWorkplane3 other_wp = adaptertest::random_workplane(rng);
    velPolylineListCursorWP cursor(wp, ut_ptr_claim, new velAbsPolyArcLineListCursor);
    velPolylineListCursorWP elsewhere(other_wp, ut_ptr_claim, new velAbsPolyArcLineListCursor);
    for (velPolylineListCursorWP* c : {&cursor, &elsewhere}) {
        c->create_polyline();
        ++*c;
    }
    const velPolylineListIterWP other_src(other_wp, plain.iterator());
    ReportCapture capture;
    cursor.add_pos(plain.iterator(), 0);
    cursor.add_interpolated_pos(plain.iterator(), 0.5);
    cursor.add_span(plain.iterator(), 0.0, 1.0);
    cursor.add_pos(other_src, 0);
    cursor.move_polyline_after(plain);
    cursor.move_polyline_after(elsewhere);
    EXPECT_EQ(cursor.num_pos(), 0);
    EXPECT_EQ(cursor.size() + plain.size() + elsewhere.size(), 3);
    ASSERT_EQ(ReportCapture::log.size(), 6u);
    EXPECT_EQ(ReportCapture::log[0].first,
              "velPolylineListCursorWP::add_pos() The source is not a velPolylineListIterWP");
    EXPECT_EQ(ReportCapture::log[3].first,
              "velPolylineListCursorWP::add_pos() The source is over another workplane");
}

} // namespace velPolylineListCursorWP_test
