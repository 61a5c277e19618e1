#include "arcline/polyline/contour/velPolyArcLineAdapter.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"

#include "contourTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <typeinfo>

namespace velPolyArcLineAdapter_test {

using namespace contourtest;

namespace {

// (0, 0) -> half circle below the x axis -> (4, 0) -> (4, 3) -> (0, 3).
Line half_circle_then_lines() {
    Line p(new velPolyArcLineDouble);
    p->add_pos({0, 0, 0});
    p->add_arc({2, -2, 0}, {4, 0, 0});
    p->add_pos({4, 3, 0});
    p->add_pos({0, 3, 0});
    return p;
}

} // namespace

// Appending a view's spans into clone() rebuilds the line exactly; create_new() is an independent copy.
TEST(velPolyArcLineAdapter, SpanBySpanRebuildGivesTheLineBack) {
    Rng rng(11);
    for (const Line& proto : storage_classes()) {
        for (int trial = 0; trial < 40; ++trial) {
            const bool closed = rng.pick(0, 1) == 1;
            const Line line = random_of(*proto, rng, rng.pick(0, 9), closed);
            velPolyArcLineAdapter view(*line);
            const int n = line->num_spans();
            ASSERT_EQ(view.size(), n);
            EXPECT_EQ(view.is_closed(), n > 0 && pos(*line, 1) == pos(*line, n + 1));
            EXPECT_TRUE(!view.get_span(0) && !view.get_span(n + 1));
            if (n > 0) {
                EXPECT_TRUE(view.first_point() == pos(*line, 1) && view.last_point() == pos(*line, n + 1));
            }
            const velAbsContourcoPrf rebuilt = view.clone();
            view.reset();
            EXPECT_EQ(view.get_current(), nullptr);
            int k = 0;
            while (++view) {
                EXPECT_EQ(rebuilt->append(view.get_current()), 1);
                ++k;
            }
            EXPECT_EQ(k, n);
            EXPECT_EQ(++view, 0);
            EXPECT_TRUE(typeid(line_of(*rebuilt)) == typeid(*proto));
            EXPECT_TRUE(line_of(*rebuilt) == *line) << typeid(*proto).name() << " trial " << trial;

            const velAbsContourcoPrf copy = view.create_new();
            EXPECT_TRUE(line_of(*copy) == *line);
            const Line before(line->create_new());
            const giPoint3 end = view.size() ? view.last_point() : giPoint3(61, 0, 2);
            EXPECT_EQ(copy->append(view.invalid_span()->create_line_span(end, end + giVector3(1, 0, 1))), 1);
            EXPECT_EQ(copy->size(), view.size() + 1);
            EXPECT_EQ(copy->remove_span(1), 1);
            EXPECT_TRUE(*line == *before);
        }
    }
    velPolyArcLineDouble empty;
    const velPolyArcLineAdapter none(empty);
    EXPECT_TRUE(none.size() == 0 && !none.first_span() && !none.last_span() && !none.is_closed());
    EXPECT_TRUE(none.first_point().is_unset() && none.last_point().is_unset());
}

// Moving an end of an arc through a view keeps the bulge; the line and the neighbouring span follow.
TEST(velPolyArcLineAdapter, EndMovesThroughSpansKeepTheBulge) {
    Line line = half_circle_then_lines();
    velPolyArcLineAdapter view(line.get());
    view.get_span(1)->copy_to_end_point({3, 4, 0});
    EXPECT_EQ(pos(*line, 2), giPoint3(3, 4, 0));
    EXPECT_TRUE(mid(*line, 1).coincident({3.5, 0.5, 0}, 1e-12)) << mid(*line, 1); // 2.5 right of the chord
    EXPECT_EQ(view.get_span(2)->start_point(), giPoint3(3, 4, 0));

    view.get_span(1)->copy_to_start_point({-1, 4, 0}); // chord (-1, 4) -> (3, 4), its right side below
    EXPECT_EQ(pos(*line, 1), giPoint3(-1, 4, 0));
    EXPECT_TRUE(mid(*line, 1).coincident({1, 2, 0}, 1e-12)) << mid(*line, 1);

    EXPECT_EQ(view.get_span(1)->set_arcspan_mid_point({1, 6, 0}), 1);
    EXPECT_EQ(mid(*line, 1), giPoint3(1, 6, 0));
    EXPECT_EQ(view.get_span(2)->set_arcspan_mid_point({9, 9, 0}), 0);
    EXPECT_TRUE(line->span_linear(2));

    // Random arcs and ends: the mid point sits |b| L / 2 off the chord's middle, square to it.
    Rng rng(5);
    for (int trial = 0; trial < 60; ++trial) {
        const Line r = listtest::random_polyline(rng, 6, 0.0);
        velPolyArcLineAdapter v(r.get());
        for (int i = 1; i <= v.size(); ++i) {
            if (r->span_linear(i)) continue;
            const double b = v.get_span(i)->get_bulge();
            const giPoint3 q{rng.uniform(-50, 50), rng.uniform(-50, 50), pos(*r, i).z};
            if (q.distance(pos(*r, i)) < 1) continue;
            v.get_span(i)->copy_to_end_point(q);
            const velAbsSpancoPrf s = v.get_span(i);
            const giPoint3 S = s->start_point(), M = s->mid_point();
            const giPoint3 c{(S.x + q.x) / 2, (S.y + q.y) / 2, S.z};
            EXPECT_EQ(s->end_point(), q);
            EXPECT_NEAR(s->get_bulge(), b, 1e-9);
            EXPECT_NEAR(M.distance(c), std::fabs(b) * S.distance(q) / 2, 1e-9);
            EXPECT_NEAR((M - c).dot(q - S) / S.distance(q), 0.0, 1e-9);
            break;
        }
    }
}

// A view of a const line refuses every change, through itself and through its spans.
TEST(velPolyArcLineAdapter, ReadOnlyViewChangesNothing) {
    const Line line = half_circle_then_lines();
    line->add_pos({0, 0, 0}); // closed
    const Line before(line->create_new());
    velPolyArcLineAdapter view(static_cast<const velAbsPolyArcLine&>(*line));
    EXPECT_EQ(view.is_read_only(), 1);
    EXPECT_EQ(view.append(view.invalid_span()->create_line_span({0, 0, 0}, {1, 1, 0})), 0);
    view.get_span(1)->copy_to_end_point({7, 7, 0});
    view.get_span(2)->copy_to_start_point({7, 7, 0});
    EXPECT_EQ(view.get_span(1)->set_arcspan_mid_point({7, 7, 0}), 0);
    view.reverse();
    view.remove_end_span();
    EXPECT_EQ(view.remove_span(2), 0);
    EXPECT_EQ(view.shift_to_start(view.get_span(3)), 0);
    EXPECT_EQ(view.clean(10.0), 0);
    EXPECT_EQ(view.size(), 4);
    EXPECT_TRUE(*line == *before);
}

// An appended arc span writes start, mid and end; a straight-only class refuses it but takes lines.
TEST(velPolyArcLineAdapter, AppendedArcSpanWritesThreePointsUnlessTheClassIsStraight) {
    velPolyArcLineDouble d;
    const velAbsSpancoPrf arc =
        velPolyArcLineAdapter(d).invalid_span()->create_arc_span({0, 0, 1}, {2, 0, 1}, {1, 1, 1});
    velPolyArcLineAdapter view(&d);
    EXPECT_EQ(view.append(arc), 1);
    ASSERT_EQ(d.num_pos(), 2);
    EXPECT_EQ(d.span_linear(1), 0);
    EXPECT_TRUE(pos(d, 1) == giPoint3(0, 0, 1) && mid(d, 1) == giPoint3(1, 1, 1) &&
                pos(d, 2) == giPoint3(2, 0, 1));
    EXPECT_TRUE(*view.get_span(1) == *arc);

    velPolyLine straight;
    velPolyArcLineAdapter sv(&straight);
    EXPECT_EQ(sv.append(arc), 0);
    EXPECT_EQ(straight.num_pos(), 0);
    EXPECT_EQ(sv.append(arc->create_line_span({0, 0, 0}, {1, 0, 0})), 1);
    EXPECT_EQ(sv.append(arc), 0);
    EXPECT_EQ(straight.num_pos(), 2);
}

// Offset-flag views write the spans' labels and temporary flags into records (the views of cursors and
// iterators in general: IteratorProtocol.ContourViewsShowTheCurrentPolyline, CursorProtocol).
TEST(velPolyArcLineAdapter, OffsetFlagViewsWriteRecords) {
    velPolylineWithOffsetFlagsListCursor flagged(ut_ptr_claim, new velAbsPolyArcLineListCursor);
    flagged.create_polyline();
    ++flagged;
    const velAbsContourcoPrf f = flagged.get_current();
    ASSERT_NE(f, nullptr);
    const velAbsSpancoPrf a = f->invalid_span()->create_line_span({0, 0, 0}, {1, 0, 0});
    a->set_span_info(7, velSpanSideLeft);
    const velAbsSpancoPrf b = f->invalid_span()->create_temp_line_span({1, 0, 0}, {1, 2, 0});
    b->set_span_info(2, velSpanSideRight);
    EXPECT_EQ(f->append(a), 1);
    EXPECT_EQ(f->append(b), 1);
    EXPECT_EQ(flagged.num_pos(), 3);
    const velOffsetInfocoPageArrcoPrf records = flagged.get_current_flags();
    ASSERT_TRUE(records && records->size() >= 2);
    EXPECT_EQ((*records)[0], (velOffsetInfo{0, 7, velSpanSideLeft}));
    EXPECT_EQ((*records)[1], (velOffsetInfo{1, 2, velSpanSideRight}));
}

// Views outlive the cursor they came from, follow changes through span handles, and append to themselves.
TEST(velPolyArcLineAdapter, ViewsOutliveAndFollowWhatTheyView) {
    velAbsContourcoPrf kept;
    velOffsetInfocoPageArrcoPrf first_records;
    {
        velPolylineWithOffsetFlagsListCursor flagged(ut_ptr_claim, new velAbsPolyArcLineListCursor);
        flagged.create_polyline();
        ++flagged;
        kept = flagged.get_current();
        const velAbsSpancoPrf a = kept->invalid_span()->create_line_span({0, 0, 0}, {1, 0, 0});
        a->set_span_info(42, velSpanSideLeft);
        ASSERT_EQ(kept->append(a), 1);
        first_records = flagged.get_current_flags();
        // The cursor moves on to a polyline of its own; appending to the old view leaves that one alone.
        flagged.create_polyline();
        ++flagged;
        flagged.set_offset_flag(0, 0, 9, velSpanSideRight);
        ASSERT_EQ(kept->append(a->create_line_span({1, 0, 0}, {1, 1, 0})), 1);
        EXPECT_EQ(flagged.get_current_flags()->size(), 1);
        EXPECT_EQ((*flagged.get_current_flags())[0].span_position, 9);
        EXPECT_EQ(flagged.contour_locked(), 0);
        ASSERT_GE(first_records->size(), 2);
    }
    // The cursor is gone; the view still works on the polyline it shares.
    EXPECT_EQ(kept->append(kept->invalid_span()->create_line_span({1, 1, 0}, {0, 1, 0})), 1);
    EXPECT_EQ(kept->size(), 3);
    EXPECT_EQ(kept->get_span(1)->span_position(), 42);

    Line sq(new velPolyArcLineDouble);
    for (const giPoint3& p : {giPoint3(0, 0, 0), giPoint3(1, 0, 0), giPoint3(1, 1, 0), giPoint3(0, 1, 0)})
        sq->add_pos(p);
    velPolyArcLineAdapter view(sq.get());
    EXPECT_EQ(view.get_width(), 1.0);
    view.get_span(2)->copy_to_end_point({5, 1, 0});
    EXPECT_EQ(view.get_width(), 5.0);
    EXPECT_EQ(velPolyArcLineAdapter(static_cast<const velAbsPolyArcLine&>(*sq)).get_cursor(), nullptr);
    ASSERT_NE(view.get_cursor(), nullptr);

    const velAbsContourcoPrf same = std::make_shared<velPolyArcLineAdapter>(sq.get());
    EXPECT_EQ(view.append(same), 1);
    EXPECT_EQ(sq->num_spans(), 6);
    EXPECT_EQ(pos(*sq, 7), giPoint3(0, 1, 0));
}

} // namespace velPolyArcLineAdapter_test
