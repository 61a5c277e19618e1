#include "arcline/lists/velPolylineListCursorWP.h"

#include "viewTestKit.h"

namespace velPolylineListCursorWP_test {

using polytest::ReportCapture;
using viewtest::expect_same_lists;

TEST(velPolylineListCursorWP, WritesLocalPointsAndReadsThemBackInWorldAlsoThroughAnEmptySibling) {
    listtest::Rng rng(21);
    velAbsPolyArcLineListCursor source;
    listtest::fill(source, listtest::random_list(rng, 4, true));
    const giWorkplane3 wp = viewtest::random_workplane(rng);
    velPolylineListIterWP world(wp, source.iterator());
    velAbsPolyArcLineListCursor inner;
    velPolylineListCursorWP cursor(wp, ut_ptr_wrap, &inner);
    world.copy(cursor);
    velAbsPolyArcLineListCursor local;
    source.iterator().copy(local); // copy() leaves out the empty polylines
    expect_same_lists(inner.iterator(), local.iterator());
    const std::unique_ptr<velPolylineListCursorWP> sibling(cursor.create_empty());
    EXPECT_EQ(sibling->size(), 0);
    world.copy(*sibling);
    sibling->set_index(0);
    const int n = sibling->size();
    cursor.clear();
    cursor.append(*sibling); // moves between the two inner cursors
    EXPECT_EQ(sibling->size(), n - 1);
    EXPECT_EQ(cursor.size(), 1);
    // Where asked, a span's start point is written when apart from the last position.
    cursor.set_add_coincident_point_type(vel_add_start_point_if_apart);
    cursor.create_polyline();
    ++cursor;
    for (world.reset(); ++world && world.num_pos() < 4;) {
    }
    ASSERT_GE(world.num_pos(), 4);
    cursor.add_pos(world, 0);
    cursor.add_span(world, 0.0, 1.0); // starts at the last position: only its end is written
    cursor.add_span(world, 2.0, 3.0);
    ASSERT_EQ(cursor.num_pos(), 4);
    EXPECT_TRUE(cursor.get_pos(2).coincident(world.get_pos(2), 1e-9));
}

TEST(velPolylineListCursorWP, RefusesSourcesAndCursorsOfAnotherKindOrWorkplaneWithoutEffect) {
    listtest::Rng rng(22);
    velAbsPolyArcLineListCursor plain;
    viewtest::add_tagged_line(plain, 3, 0.0);
    const giWorkplane3 wp = viewtest::random_workplane(rng), other_wp = viewtest::random_workplane(rng);
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
