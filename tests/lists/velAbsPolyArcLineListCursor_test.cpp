#include "listTestKit.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineVecListCursor.h"
#include "arcline/polyline/spans/velArc2Utils.h"
#include "arcline/polyline/velPolyArcLine.h"
#include "arcline/polyline/velPolyLine.h"

#include <memory>

namespace velAbsPolyArcLineListCursor_test {

using namespace listtest;

namespace {

// A polyline along the x axis whose span 2 (numbered from 0) is a half circle from (2, 0) to (4, 0).
std::unique_ptr<velAbsPolyArcLine> with_arc_span_2() {
    auto p = std::make_unique<velPolyArcLineDouble>();
    for (const double x : {0.0, 1.0, 2.0})
        p->add_pos({x, 0, 0});
    p->add_arc({3, -1, 0}, {4, 0, 0});
    p->add_pos({5, 0, 0});
    return p;
}

// Appends polylines of one position each, at x = from, from + 1, ...
void fill_numbered(velPolylineListCursor& c, int n, int from = 0) {
    Polylines in;
    for (int k = from; k < from + n; ++k) {
        in.push_back(std::make_unique<velPolyArcLineDouble>());
        in.back()->add_pos({double(k), 0, 0});
    }
    fill(c, in);
}

std::vector<double> first_xs(velPolylineListCursor& c) {
    std::vector<double> xs;
    for (c.reset(); ++c;)
        xs.push_back(c.get_pos(0).x);
    return xs;
}

TEST(velAbsPolyArcLineListCursor, PrototypeDecidesStorageAndStraightness) {
    velAbsPolyArcLineListCursor c;
    c.create_polyline(5); // the size hint changes nothing
    ++c;
    EXPECT_NE(dynamic_cast<velPolyArcLineDouble*>(c.current_polyarcline()), nullptr);
    EXPECT_EQ(c.iterator().all_spans_linear(), 0);
    c.set_arcline_type(velPolyLine());
    EXPECT_EQ(c.iterator().all_spans_linear(), 1);
    c.create_polyline();
    ++c;
    EXPECT_NE(dynamic_cast<velPolyLine*>(c.current_polyarcline()), nullptr);
    // Arcs into straight-only storage come out as their end points, without a refusal.
    polytest::ReportCapture reports;
    auto src = with_arc_span_2();
    velSingleAbsArcLineListIter it(*src);
    ++it;
    c.add_pos(it, 0);
    for (int i = 0; i < 4; ++i)
        c.add_span(it, i, i + 1);
    EXPECT_TRUE(reports.log.empty());
    ASSERT_EQ(c.num_pos(), 5);
    EXPECT_EQ(c.get_pos(3), (giPoint3{4, 0, 0}));
    c.set_index(-1);
    EXPECT_EQ(c.current_polyarcline(), nullptr);

    c.set_arcline_type(velPolyArcLine());
    c.set_add_coincident_point_type(vel_add_start_point_if_apart);
    c.set_coincidence_check_tol(0.5);
    const std::unique_ptr<velPolylineListCursor> e(c.create_empty());
    auto& empty = dynamic_cast<velAbsPolyArcLineListCursor&>(*e);
    EXPECT_EQ(empty.size(), 0);
    EXPECT_NE(dynamic_cast<const velPolyArcLine*>(empty.get_arcline_type()), nullptr);
    EXPECT_EQ(empty.add_coincident_point_type(), vel_add_start_point_if_apart);
    EXPECT_EQ(empty.coincidence_check_tol(), 0.5);
}

TEST(velAbsPolyArcLineListCursor, AddSpanWritesWholeArcsPartsAndSlivers) {
    auto src = with_arc_span_2();
    velSingleAbsArcLineListIter it(*src);
    ++it;
    velAbsPolyArcLineListCursor c;
    c.create_polyline();
    ++c;
    c.add_pos(it, 2);
    // The whole arc keeps the source's own mid point, in either direction.
    c.add_span(it, 2.0, 3.0);
    c.add_span(it, 3.0, 2.0);
    ASSERT_EQ(c.num_pos(), 3);
    EXPECT_FALSE(c.span_linear(0));
    EXPECT_EQ(c.get_mid_pos(0), (giPoint3{3, -1, 0}));
    EXPECT_EQ(c.get_mid_pos(1), (giPoint3{3, -1, 0}));
    EXPECT_EQ(c.get_pos(2), (giPoint3{2, 0, 0}));
    // A part goes through the source point at the trimmed mid parameter.
    c.add_interpolated_pos(it, 2.25);
    c.add_span(it, 2.25, 2.75);
    const int j = c.num_pos() - 2;
    EXPECT_FALSE(c.span_linear(j));
    const double tm = 2 + velArc2Utils::trimmed_mid_parameter(0.25, 0.75, it.get_bulge(2));
    EXPECT_TRUE(c.get_mid_pos(j).coincident(it.get_interpolated_pos(tm), 1e-15));
    EXPECT_TRUE(c.get_pos(j + 1).coincident(it.get_interpolated_pos(2.75), 1e-15));
    // A sliver has no room for an arc: one straight span to its end, or nothing when already there.
    const int before = c.num_pos();
    c.add_span(it, 2.75, 2.75 + 1e-12);
    ASSERT_EQ(c.num_pos(), before + 1);
    EXPECT_TRUE(c.span_linear(before - 1));
    c.add_span(it, 2.75 + 1e-12, 2.75 + 1e-12);
    EXPECT_EQ(c.num_pos(), before + 1);
    // Asked to, a span's start is written when further than the tolerance from the last position.
    for (velAddCoincidentPointType type : {vel_add_no_start_point, vel_add_start_point_if_apart}) {
        velAbsPolyArcLineListCursor d;
        d.set_add_coincident_point_type(type);
        d.set_coincidence_check_tol(1e-3);
        d.create_polyline();
        ++d;
        d.add_pos(it, 0);
        d.add_span(it, 0.0005, 1.0); // starts within the tolerance of the last position
        d.add_span(it, 2.0, 3.0);    // starts 1 away from it
        d.add_span(it, 3.0, 3.5);    // straight, starts at the last position
        ASSERT_EQ(d.num_pos(), type == vel_add_start_point_if_apart ? 5 : 4);
        EXPECT_EQ(d.span_linear(2) == 0, type == vel_add_start_point_if_apart);
    }
}

TEST(velAbsPolyArcLineListCursor, MoveSharesTheObjectBetweenListsAndCopiesFromOtherKinds) {
    velAbsPolyArcLineListCursor a, b;
    fill_numbered(a, 3);
    fill_numbered(b, 2);
    b.set_index(0);
    const velAbsPolyArcLine* moved = b.current_polyarcline();
    a.set_index(1);
    a.move_polyline_after(b);
    a.set_index(2);
    EXPECT_EQ(a.current_polyarcline(), moved);
    // From a vector cursor: the geometry, arcs included, is copied and the source slot removed.
    Polylines storage;
    storage.push_back(with_arc_span_2());
    velAbsPolyArcLineVecListCursor v(&storage);
    v.set_index(0);
    a.set_index(-1);
    a.move_polyline_after(v);
    EXPECT_EQ(v.size(), 0);
    EXPECT_EQ(a.index(), -1);
    a.set_index(0);
    expect_same_polyline(a.iterator(), *with_arc_span_2(), true);
    // append: onto the end; an undefined cursor ends on polyline 0.
    velAbsPolyArcLineListCursor c;
    fill_numbered(b, 1);
    b.set_index(0);
    c.append(b);
    EXPECT_EQ(c.index(), 0);
    b.set_index(0);
    c.append(b);
    EXPECT_EQ(first_xs(c), (std::vector<double>{1, 0}));
    // Over a list it does not own, which stays when the cursor goes.
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    {
        velAbsPolyArcLineListCursor d(list);
        fill_numbered(d, 2);
        const std::unique_ptr<velAbsPolyArcLineListIter> it(d.native_iter());
        EXPECT_EQ(it->size(), 2);
        EXPECT_EQ(it->index(), -1);
    }
    EXPECT_EQ(list.size(), 2);
}

} // namespace

} // namespace velAbsPolyArcLineListCursor_test
