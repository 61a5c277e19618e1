// The raw offset of one poly-arc-line: corner kinds by exact properties (a table), gaps, labels, lists.

#include "arcline/polyutils/velPolyArcLineOffsetter.h"

#include "offsetTestKit.h"

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/polyline/velPolyArcLine.h"
#include "arcline/polyline/velPolyLine.h"

#include <typeinfo>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace velPolyArcLineOffsetter_test {

using namespace offsettest;

namespace {

constexpr double X = std::numeric_limits<double>::quiet_NaN(); // not checked
const double r2 = std::sqrt(2.0);

Line sq_cw() {
    return square(10, true);
}
Line sq_ccw() {
    return square(10, false);
}
// (-10, 0) -> (0, 0) -> (0, 10), turning left: positive offsets lie outside the corner.
Line right_angle() {
    return corners({{-10, 0, 0}, {0, 0, 0}, {0, 10, 0}});
}
Line zigzag() {
    return corners({{-10, 0, 0}, {0, 0, 0}, {0, 10, 0}, {10, 10, 0}});
}
Line turn_back() {
    return corners({{0, 0, 0}, {10, 0, 0}, {2, 0, 0}});
}
Line there_and_back() {
    return corners({{0, 0, 0}, {10, 0, 0}, {0, 0, 0}});
}

// The right angle offset by 1, cut at 1.2 from the input corner: each line extends by k past its end.
const double chamfer_k = 1.0 - (r2 - 1.2) / std::cos(pi / 4);
const double chamfer_length = 20 + 2 * chamfer_k + r2 * (1 - chamfer_k);

// Two arcs of radius 1.25 (bulge 0.5) on the chord (-1, 0)-(1, 0), about (0, 0.75) and (0, -0.75).
Line lens() {
    return make_line(
        {{{-1, 0, 0}, {}}, {{1, 0, 0}, giPoint3{0, -0.5, 0}}, {{-1, 0, 0}, giPoint3{0, 0.5, 0}}});
}
const double lens_R = 1.25, lens_sweep = 4.0 * std::atan(0.5);
const double lens_area = lens_R * lens_R * (lens_sweep - std::sin(lens_sweep));
const double lens_length = 2.0 * lens_R * lens_sweep;
const double lens_steiner = lens_area + lens_length + pi; // grown by 1
// Sharp corners: circles of radius 2.25 about (0, +-0.75) meet at x = +-sqrt(4.5).
const double sharp_lens_area = 2.0 * (2.25 * 2.25 * std::acos(0.75 / 2.25) - 0.75 * std::sqrt(4.5));

// A line into the origin, a clockwise arc of radius 3 about (-3, 0) sweeping 20 degrees, the tangent line on.
Line short_arc_corner() {
    const double sweep = 20.0 * pi / 180.0;
    auto at = [](double a) { return giPoint3(-3.0 + 3.0 * std::cos(a), 3.0 * std::sin(a), 0.0); };
    const giPoint3 end = at(-sweep);
    const giVector3 t(-std::sin(sweep), -std::cos(sweep), 0.0);
    return make_line({{{-10, 0, 0}, {}}, {{0, 0, 0}, {}}, {end, at(-sweep / 2)}, {end + t * 10.0, {}}});
}

// A clockwise quarter arc of radius 3 about the origin between two lines: offset by +5 it collapses.
Line collapsing_arc() {
    return make_line(
        {{{-5, -2, 0}, {}}, {{0, 3, 0}, {}}, {{3, 0, 0}, giPoint3{3 / r2, 3 / r2, 0}}, {{-2, -5, 0}, {}}});
}

// Two lines with a kink of 5e-6 radians at (10, 0), turning left.
const double kink = 5e-6;
Line kinked() {
    return corners({{0, 0, 0}, {10, 0, 0}, {10 + 10 * std::cos(kink), 10 * std::sin(kink), 0}});
}

Options sharp() {
    Options o;
    o.extend = 1;
    return o;
}
Options chamfered(double max) {
    Options o = sharp();
    o.chamfer = 1;
    o.max_corner_offset = max;
    return o;
}

struct EdgeCase {
    std::string name;
    std::function<Line()> input;
    double d;
    Options options;
    int spans, arcs, temps; // spans < 0: the contour vanishes
    double area, length, width, height;
};

std::ostream& operator<<(std::ostream& os, const EdgeCase& c) {
    return os << c.name;
}

// clang-format off
const std::vector<EdgeCase> edge_cases = {
    // A clockwise square of side 10: positive offsets move inward.
    {"square_plus6_vanishes", sq_cw, 6, {}, -1, 0, 0, X, X, X, X},
    {"square_plus5_vanishes", sq_cw, 5, {}, -1, 0, 0, X, X, X, X},
    {"square_plus4_side2", sq_cw, 4, {}, 4, 0, 0, -4, 8, 2, 2},
    {"square_minus4_rounded", sq_cw, -4, {}, 8, 4, 0, -(260 + 16 * pi), 40 + 8 * pi, 18, 18},
    {"square_minus4_sharp", sq_cw, -4, sharp(), 4, 0, 0, -324, 72, 18, 18},
    {"ccw_square_plus4_rounded", sq_ccw, 4, {}, 8, 4, 0, 260 + 16 * pi, 40 + 8 * pi, 18, 18},
    {"ccw_square_minus4_side2", sq_ccw, -4, {}, 4, 0, 0, 4, 8, 2, 2},
    {"ccw_square_minus6_vanishes", sq_ccw, -6, {}, -1, 0, 0, X, X, X, X},
    // Outside the right angle: the sharp corner lies sqrt(2) from the input corner.
    {"right_angle_chamfer_1.2", right_angle, 1, chamfered(1.2), 3, 0, 0, X, chamfer_length, 11, 11},
    {"right_angle_chamfer_limit_sqrt2_stays_sharp", right_angle, 1, chamfered(r2), 2, 0, 0, X, 22, 11, 11},
    {"right_angle_chamfer_no_limit", right_angle, 1, chamfered(-1), 2, 0, 0, X, 22, 11, 11},
    {"right_angle_chamfer_0_9_rounds", right_angle, 1, chamfered(0.9), 3, 1, 0, X, 20 + pi / 2, 11, 11},
    {"right_angle_sharp", right_angle, 1, sharp(), 2, 0, 0, X, 22, 11, 11},
    {"right_angle_rounded", right_angle, 1, {}, 3, 1, 0, X, 20 + pi / 2, 11, 11},
    // Inside two spans nothing is trimmed: a temporary line closes the overlap; a third span trims it.
    {"right_angle_inside_temporary", right_angle, -1, {}, 3, 0, 1, X, 20 + r2, 10, 10},
    {"zigzag_inside_trimmed", zigzag, -1, {}, 4, 1, 0, X, 28 + pi / 2, 20, 10},
    // Turning back: a half circle of radius 1 about the turning point; closed, one at each end.
    {"turn_back_half_circle", turn_back, 1, {}, 3, 1, 0, X, 18 + pi, 11, 2},
    {"turn_back_half_circle_extend", turn_back, 1, sharp(), 3, 1, 0, X, 18 + pi, 11, 2},
    {"there_and_back_band", there_and_back, 1, {}, 4, 2, 0, 20 + pi, 20 + 2 * pi, 12, 2},
    // Rounded corners obey Steiner; sharp ones continue the circles; chamfers give tangent lines to the
    // sharp point (2.25, 0) or a cut at x = 2.1.
    {"lens_rounded", lens, 1, {}, 4, 4, 0, lens_steiner, lens_length + 2 * pi, 4, 3},
    {"lens_sharp", lens, 1, sharp(), 2, 2, 0, sharp_lens_area, X, 2 * std::sqrt(4.5), 3},
    {"lens_tangent_lines", lens, 1, chamfered(1.5), 6, 2, 0, X, X, 4.5, 3},
    {"lens_chamfer_1.1", lens, 1, chamfered(1.1), 8, 2, 0, X, X, 4.2, 3},
    {"lens_chamfer_below_offset_rounds", lens, 1, chamfered(0.5), 4, 4, 0, lens_steiner, X, 4, X},
    // The collapsed arc and both corner spans beside it become temporary lines.
    {"collapsed_arc", collapsing_arc, 5, {}, 5, 0, 3, X, X, X, X},
    // An untrimmable overlap beside an arc: the corner arc, over a half circle, as two temporary arcs.
    {"untrimmed_arc_corner_split", short_arc_corner, 1, {}, 5, 3, 2, X, X, X, X},
    // Offset ends 5e-6 apart (within tol): joined by moving both ends, no corner span.
    {"kink_gap_closed", kinked, 1, {}, 2, 0, 0, X, X, X, X},
};
// clang-format on

class EdgeCases : public ::testing::TestWithParam<EdgeCase> {};

void expect_near_rel(double actual, double expected, const char* what) {
    if (std::isnan(expected)) return;
    EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << what;
}

TEST_P(EdgeCases, HaveTheExpectedProperties) {
    const EdgeCase& c = GetParam();
    const Line input = c.input();
    const Raw r = raw_offset(*input, c.d, c.options);
    if (c.spans < 0) {
        EXPECT_FALSE(r.contour);
        return;
    }
    ASSERT_TRUE(r.contour);
    EXPECT_EQ(r.changed, 1);
    EXPECT_EQ(r.spans, c.spans);
    EXPECT_EQ(r.arcs, c.arcs);
    EXPECT_EQ(r.temps(), c.temps);
    EXPECT_EQ(r.closed(),
              input->num_pos() > 1 && polytest::pos(*input, 1) == polytest::pos(*input, input->num_pos()));
    expect_near_rel(r.area, c.area, "area");
    expect_near_rel(r.length, c.length, "length");
    expect_near_rel(r.box.xlength(), c.width, "width");
    expect_near_rel(r.box.ylength(), c.height, "height");
}

INSTANTIATE_TEST_SUITE_P(RawOffset, EdgeCases, ::testing::ValuesIn(edge_cases), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '.', '_');
    return name;
});

void expect_point(const giPoint3& p, double x, double y, const char* what) {
    EXPECT_NEAR(p.x, x, 1e-12) << what;
    EXPECT_NEAR(p.y, y, 1e-12) << what;
}

TEST(RawOffsetGaps, EndsWithinTheToleranceMeetHalfWayAndFartherOnesAreBridged) {
    const Raw r = raw_offset(*kinked(), 1);
    ASSERT_EQ(r.spans, 2);
    expect_point(r.contour->get_span(1)->end_point(), 10 + std::sin(kink) / 2, (-1 - std::cos(kink)) / 2,
                 "joint");
    EXPECT_TRUE(r.contour->get_span(2)->start_point() == r.contour->get_span(1)->end_point());
    // The middle span is offset under property set 2 only: under set 1 the gaps of 1 are bridged by lines.
    auto contour = property_contour({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}}, {1, 2, 1});
    Options o;
    const Raw b = raw_offset(*contour, 1, o);
    ASSERT_EQ(b.spans, 5);
    EXPECT_EQ(b.changed, 1);
    expect_point(b.contour->get_span(2)->start_point(), 10, -1, "bridge start");
    expect_point(b.contour->get_span(3)->start_point(), 10, 0, "kept span");
    expect_point(b.contour->get_span(4)->end_point(), 20, -1, "bridge back");
    EXPECT_EQ(b.temps(), 0);
    o.set = 2;
    const Raw middle = raw_offset(*contour, 1, o);
    EXPECT_EQ(middle.spans, 5);
    expect_point(middle.contour->get_span(3)->start_point(), 10, -1, "moved middle");
}

TEST(RawOffset, NothingMovedGivesACopy) {
    const Line input = square(10, true);
    for (double d : {0.0, 1e-16, -1e-15}) {
        const Raw r = raw_offset(*input, d);
        ASSERT_TRUE(r.contour);
        EXPECT_EQ(r.changed, 0);
        EXPECT_EQ(r.spans, 4);
        EXPECT_DOUBLE_EQ(r.area, -100);
    }
    Options o;
    o.set = 3; // no span is offset under set 3
    const Raw none = raw_offset(*property_contour({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {2, 2}), 1, o);
    EXPECT_EQ(none.changed, 0);
    EXPECT_DOUBLE_EQ(none.length, 20);
    const Raw empty = raw_offset(velPolyArcLineDouble(), 1);
    ASSERT_TRUE(empty.contour);
    EXPECT_EQ(empty.spans + empty.changed, 0);
}

TEST(RawOffset, ResultKeepsTheHeightAndTheStorageClass) {
    const Raw lifted = raw_offset(*corners({{0, 0, 5}, {10, 0, 5}, {10, 10, 5}, {0, 10, 5}, {0, 0, 5}}), 2);
    ASSERT_EQ(lifted.spans, 8);
    for (int i = 1; i <= lifted.spans; ++i)
        EXPECT_DOUBLE_EQ(lifted.contour->get_span(i)->start_point().z, 5);
    for (velAbsPolyArcLine* proto :
         std::initializer_list<velAbsPolyArcLine*>{new velPolyArcLine, new velPolyLine}) {
        const Line owner(proto);
        Line input(proto->create_empty());
        for (const giPoint3& p : {giPoint3{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}})
            input->add_pos(p);
        const Raw r = raw_offset(*input, 2);
        ASSERT_TRUE(r.contour);
        EXPECT_EQ(typeid(r.line()), typeid(*proto));
        // Single precision; a polyline of lines refuses the corner arcs, as appending them would.
        EXPECT_EQ(r.spans, proto->can_hold_arcs() ? 8 : 4);
        if (proto->can_hold_arcs()) {
            EXPECT_NEAR(r.area, 100 + 80 + 4 * pi, 1e-4);
        }
    }
}

TEST(RawOffsetLabels, OffsetSpansKeepTheirLabelsAndCornersDeriveTheirs) {
    const Line input = square(10, false);
    velPolyArcLineAdapter contour(input.get());
    for (int i = 1; i <= 4; ++i)
        contour.get_span(i)->set_span_info(10 + i, i == 3 ? velSpanSideLeft : velSpanSideRight);
    Options o;
    o.span_info = 1;
    const Raw r = raw_offset(contour, 2, o);
    ASSERT_EQ(r.spans, 8);
    // Line k is span 2k - 1; the corner after it is span 2k, labelled from line k + 1.
    for (int k = 1; k <= 4; ++k) {
        const velAbsSpancoPrf line = r.contour->get_span(2 * k - 1), corner = r.contour->get_span(2 * k);
        EXPECT_EQ(line->span_position(), 10 + k);
        EXPECT_EQ(line->offset_label(), k == 3 ? velSpanSideLeft : velSpanSideRight);
        const int next = k % 4 + 1;
        EXPECT_EQ(corner->span_position(), 10 + next);
        EXPECT_EQ(corner->offset_label(), next == 3 ? velSpanSideLeftCorner : velSpanSideRightCorner);
    }
    // Without span info nothing is labelled; the input keeps its labels.
    const Raw plain = raw_offset(contour, 2);
    for (int i = 1; i <= plain.spans; ++i)
        EXPECT_EQ(plain.contour->get_span(i)->span_position(), -1);
    EXPECT_EQ(contour.get_span(3)->offset_label(), velSpanSideLeft);
    // A collapsed arc and its corners keep the labels of the spans they come from.
    const Line arc = collapsing_arc();
    velPolyArcLineAdapter collapsing(arc.get());
    for (int i = 1; i <= 3; ++i)
        collapsing.get_span(i)->set_span_info(i - 1, velSpanSideEndCap);
    const Raw c = raw_offset(collapsing, 5, o);
    ASSERT_EQ(c.spans, 5);
    const int positions[] = {0, 1, 1, 2, 2};
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(c.contour->get_span(i)->span_position(), positions[i - 1]) << i;
        EXPECT_EQ(c.contour->get_span(i)->offset_label(), velSpanSideEndCap) << i;
    }
}

PropertySpan::Hook hook_of(const velAbsContour& c, int i) {
    return dynamic_cast<const PropertySpan&>(*c.get_span(i)).hook;
}

TEST(RawOffsetProperties, NewSpansReceivePropertiesOrOrderPropertiesOnly) {
    for (int keep_order : {0, 1}) {
        auto contour = property_contour({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}});
        Options o;
        o.keep_order = keep_order;
        const Raw r = raw_offset(*contour, 1, o);
        ASSERT_EQ(r.spans, 8);
        ASSERT_TRUE(dynamic_cast<const velSpanVectorContour*>(r.contour.get())); // the input's kind
        for (int k = 1; k <= 4; ++k) {
            EXPECT_EQ(hook_of(*r.contour, 2 * k - 1),
                      keep_order ? PropertySpan::order_kept : PropertySpan::none);
            EXPECT_EQ(hook_of(*r.contour, 2 * k),
                      keep_order ? PropertySpan::added_order : PropertySpan::added);
        }
        EXPECT_NEAR(r.area, 100 + 40 + pi, 1e-9);
    }
}

TEST(RawOffsetList, EveryPolylineIsOffsetAndTemporarySpansAreRecorded) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor add(list);
    add.insert_last(velAbsPolyArcLinecoPrg(square(10, true).release()));
    add.insert_last(velAbsPolyArcLinecoPrg(square(2, true, 20, 0).release())); // vanishes at +4
    add.insert_last(velAbsPolyArcLinecoPrg(collapsing_arc().release()));
    velAbsPolyArcLineListIter in(list);
    velPolylineWithOffsetFlagsListCursor out(ut_ptr_claim, new velAbsPolyArcLineListCursor);
    std::vector<int> sources;
    EXPECT_EQ(velPolyArcLineOffsetter::offset_list(in, out, 4, 0, 0, 0, &sources), 2);
    EXPECT_EQ(sources, (std::vector<int>{0, 2}));
    auto& it = static_cast<velPolylineWithOffsetFlagsListIter&>(out.iterator());
    ASSERT_EQ(it.size(), 2);
    it.reset();
    ASSERT_TRUE(++it);
    ASSERT_EQ(it.num_pos(), 5); // the square of side 2
    EXPECT_DOUBLE_EQ(velPolylineUtils::area(it), -4);
    for (int k = 0; k < 4; ++k)
        EXPECT_FALSE(it.temporary_line(k) || it.temporary_arc(k));
    ASSERT_TRUE(++it);
    ASSERT_EQ(it.num_pos(), 6);
    const int temporary[] = {0, 1, 1, 1, 0};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(it.temporary_line(k) != 0, temporary[k] != 0) << k;
    // New polylines go after those the cursor holds.
    velAbsPolyArcLineListIter again(list);
    EXPECT_EQ(velPolyArcLineOffsetter::offset_list(again, out, -1, 1), 3);
    EXPECT_EQ(out.size(), 5);
}

// Arc-line joints with concave kinks of microradians (blob_10k offset by -2).
TEST(RawOffsetRegressions, NearTangentKinksAreJoinedNotLooped) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    ASSERT_TRUE(velGeometryIO::read(ARCLINE_TEST_DATA_DIR "/raw_offset_near_tangent_kinks.txt", list));
    ASSERT_EQ(list.size(), 2);
    for (const velAbsPolyArcLinecoPrg& line : list) {
        const Raw r = raw_offset(*line, -2);
        ASSERT_TRUE(r.contour);
        EXPECT_EQ(r.temps(), 0);
        EXPECT_EQ(r.spans, 4);
        for (int i = 1; i <= r.spans; ++i) {
            const auto [lo, hi] = distance_range(*r.contour->get_span(i), *line);
            EXPECT_NEAR(lo, 2, 1e-6) << i;
            EXPECT_NEAR(hi, 2, 1e-6) << i;
        }
    }
}

} // namespace

} // namespace velPolyArcLineOffsetter_test
