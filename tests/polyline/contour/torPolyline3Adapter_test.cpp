// The curve-polyline and free-span contours against the poly-arc-line contour: the same edits, the same
// points.

#include "../polylineTestKit.h"

#include "arcline/polyline/contour/torPolyline3Adapter.h"
#include "arcline/polyline/contour/torPolyline3Span.h"
#include "arcline/polyline/contour/velFreeSpan.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/contour/velSpanVectorContour.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace torPolyline3Adapter_test {

namespace {

using polytest::Rng;

std::vector<giPoint3> random_points(Rng& rng, int n, bool closed) {
    std::vector<giPoint3> pts;
    for (int i = 0; i < n; ++i)
        pts.push_back({rng.uniform(-20, 20), rng.uniform(-20, 20), rng.uniform(-1, 1)});
    if (closed) pts.back() = pts.front();
    return pts;
}

std::vector<giPoint3> points_of(const velAbsContour& c) {
    std::vector<giPoint3> pts;
    if (c.size() > 0) pts.push_back(c.first_point());
    for (int i = 1; i <= c.size(); ++i)
        pts.push_back(c.get_span(i)->end_point());
    return pts;
}

void label(velAbsContour& c) {
    for (int i = 1; i <= c.size(); ++i)
        c.get_span(i)->set_span_info(i, velSpanSideLeft);
}

void expect_same(const velAbsContour& a, const velAbsContour& b) {
    EXPECT_EQ(points_of(a), points_of(b));
    EXPECT_EQ(a.is_closed(), b.is_closed());
    EXPECT_EQ(a.is_clockwise(), b.is_clockwise());
    EXPECT_NEAR(a.get_width(), b.get_width(), 1e-12);
    EXPECT_NEAR(a.get_height(), b.get_height(), 1e-12);
    for (int i = 1; i <= std::min(a.size(), b.size()); ++i) {
        EXPECT_EQ(a.get_span(i)->span_position(), b.get_span(i)->span_position()) << i;
    }
}

// The same edit applied to the curve-polyline view and to a vector of free spans must leave the points and
// answers of the poly-arc-line view.
void expect_agree(const std::vector<giPoint3>& pts, const std::function<void(velAbsContour&)>& edit,
                  int at = __builtin_LINE()) {
    torPolyline3 curve(pts);
    velPolyArcLineDouble line;
    velSpanVectorContour spans;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        line.add_pos(pts[i]);
        if (i > 0) spans.append(std::make_shared<velFreeSpan>(pts[i - 1], pts[i]));
    }
    torPolyline3Adapter a(&curve);
    velPolyArcLineAdapter b(&line);
    edit(a);
    edit(b);
    edit(spans);
    SCOPED_TRACE("edit at line " + std::to_string(at) + ": " + ::testing::PrintToString(pts));
    expect_same(a, b);
    expect_same(spans, b);
}

TEST(ContourViews, CurvesAndFreeSpansAgreeWithThePolyArcLineViewUnderEveryEdit) {
    Rng rng(5);
    for (int round = 0; round < 60; ++round) {
        const bool closed = round % 2 == 0;
        const std::vector<giPoint3> pts = random_points(rng, rng.pick(3, 9), closed);
        const int n = static_cast<int>(pts.size()) - 1;
        const int k = rng.pick(1, n);
        expect_agree(pts, [](velAbsContour&) {});
        expect_agree(pts, [](velAbsContour& c) {
            label(c);
            c.reverse();
        });
        expect_agree(pts, [](velAbsContour& c) { // the span-by-span rebuild
            label(c);
            c.velAbsContour::reverse();
        });
        expect_agree(pts, [k](velAbsContour& c) { c.remove_span(k); });
        expect_agree(pts, [](velAbsContour& c) { c.remove_end_span(); });
        expect_agree(pts, [k](velAbsContour& c) {
            for (int i = 1; i <= c.size(); ++i)
                c.get_span(i)->set_span_info(10 * i, velSpanSideRight);
            c.shift_to_start(c.get_span(k));
        });
        expect_agree(pts, [k](velAbsContour& c) {
            // A degenerate span inserted by moving an end onto its neighbour, then cleaned away.
            const giPoint3 start = c.get_span(k)->start_point();
            c.get_span(k)->copy_to_end_point(start);
            if (k < c.size()) c.get_span(k + 1)->copy_to_start_point(start); // free spans move alone
            c.first_span()->copy_to_start_point({1, 2, 3});
            c.clean(1e-9);
        });
        expect_agree(pts, [](velAbsContour& c) {
            velAbsContourcoPrf copy = c.create_new();
            copy->reverse();
            c.append(copy);
            EXPECT_EQ(copy->size(), 0); // handed over: the other contour is left empty
        });
    }
}

TEST(torPolyline3Adapter, RefusesArcsAndReadOnlyChanges) {
    torPolyline3 square({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
    torPolyline3Adapter view(&square);
    EXPECT_EQ(view.is_clockwise(), 0);
    velPolyArcLineDouble arc;
    arc.add_pos({0, 0, 0});
    arc.add_arc({1, 1, 0}, {2, 0, 0});
    const velPolyArcLineAdapter arcs(arc);
    EXPECT_EQ(view.append(arcs.first_span()), 0);
    EXPECT_EQ(view.size(), 4);
    // An arc in the other contour refuses the whole rebuild: appending it leaves both as they were.
    velAbsContourcoPrf other = std::make_shared<velPolyArcLineAdapter>(arc.create_new(), ut_ptr_claim);
    EXPECT_EQ(view.append(other), 0);
    EXPECT_EQ(view.size(), 4);

    const torPolyline3 before = square;
    torPolyline3Adapter frozen(static_cast<const torPolyline3&>(square));
    frozen.get_span(2)->copy_to_end_point({5, 5, 5});
    frozen.reverse();
    frozen.remove_end_span();
    EXPECT_EQ(frozen.append(frozen.first_span()), 0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(square.get_pos(i), before.get_pos(i));
    }
    view.reverse();
    EXPECT_EQ(view.is_clockwise(), 1);
}

TEST(torPolyline3Span, FreeSpansAreStraightAndValidOnlyWithBothPoints) {
    const torPolyline3Span span({0, 0, 0}, {2, 4, 6});
    EXPECT_EQ(span.mid_point(), giPoint3(1, 2, 3));
    EXPECT_EQ(span.is_line_span(), 1);
    EXPECT_FALSE(span.create_arc_span({0, 0, 0}, {1, 0, 0}, {0.5, 0.5, 0}));
    const velAbsSpancoPrf temp = span.create_temp_line_span({0, 0, 0}, {1, 0, 0});
    EXPECT_EQ(temp->is_temp_line_span(), 1);
    EXPECT_NE(*temp, *span.create_line_span({0, 0, 0}, {1, 0, 0}));
    EXPECT_EQ(torPolyline3Span().invalid(), 1);
    EXPECT_EQ(torPolyline3Span({0, 0, 0}, {DBL_MAX, 0, 0}).invalid(), 1);
    EXPECT_EQ(torPolyline3Span({0, 0, 0}, {1, 0, 0}).invalid(), 0);
}

} // namespace

} // namespace torPolyline3Adapter_test
