// The pieces of a raw offset on their own: corner numbers, the trimmed, extended and rounded joins' helpers,
// the gap closing rules, the span offset with straightened flat arcs, and the validity tests.

#include "arcline/polyutils/velCornerGeometry.h"
#include "arcline/polyutils/velExtendJoin.h"
#include "arcline/polyutils/velOffsetGapCloser.h"
#include "arcline/polyutils/velOffsetValidity.h"
#include "arcline/polyutils/velSpanOffset.h"
#include "arcline/polyutils/velTrimJoin.h"

#include "offsetTestKit.h"

#include <gtest/gtest.h>

namespace velOffsetJoins_test {

using namespace offsettest;

namespace {

const double r2 = std::sqrt(2.0);

velAbsSpancoPrf line(double x0, double y0, double x1, double y1) {
    return std::make_shared<velFreeSpan>(giPoint3(x0, y0, 0), giPoint3(x1, y1, 0));
}

// The arc of the unit circle about c from angle a0 to a1 (anticlockwise when a1 > a0).
velAbsSpancoPrf unit_arc(double a0, double a1, giPoint3 c = {0, 0, 0}, double r = 1) {
    auto at = [&](double a) { return c + giVector3(r * std::cos(a), r * std::sin(a), 0); };
    return std::make_shared<velFreeSpan>(at(a0), at(a1), at((a0 + a1) / 2));
}

TEST(CornerGeometry, RightAngleNumbers) {
    const velCornerGeometry g({1, 0, 0}, {0, 1, 0}, -2);
    ASSERT_FALSE(g.degenerate());
    EXPECT_NEAR(g.q, 0, 1e-15);
    EXPECT_NEAR(g.extension, 2, 1e-12);
    EXPECT_NEAR(g.corner_distance, 2 * r2, 1e-12);
    EXPECT_NEAR(g.chamfer_extension(2.4), 2 - (2 * r2 - 2.4) * r2, 1e-12);
    // A 60 degree turn: interior angle 120 degrees, h = 60.
    const velCornerGeometry s({1, 0, 0}, {0.5, std::sqrt(0.75), 0}, 1);
    EXPECT_NEAR(s.extension, 1 / std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(s.corner_distance, 2 / std::sqrt(3.0), 1e-12);
    // Parallel and opposed tangents have no sharp corner.
    EXPECT_TRUE(velCornerGeometry({1, 0, 0}, {1, 1e-3, 0}, 1).degenerate());
    EXPECT_TRUE(velCornerGeometry({1, 0, 0}, {-1, 1e-3, 0}, 1).degenerate());
}

TEST(CornerGeometry, ConvexOnTheOffsetSide) {
    struct Row {
        giVector3 before, after;
        double offset;
        bool convex;
    };
    for (const Row& r : std::vector<Row>{{{1, 0, 0}, {0, 1, 0}, 1, true},   // left turn, offset right
                                         {{1, 0, 0}, {0, 1, 0}, -1, false}, // left turn, offset left
                                         {{1, 0, 0}, {0, -1, 0}, -1, true},
                                         {{1, 0, 0}, {0, -1, 0}, 0, true},     // no offset counts as left
                                         {{1, 0, 0}, {1, 5e-6, 0}, 1, false}}) // within the turn tolerance
        EXPECT_EQ(velCornerGeometry::convex(r.before, r.after, r.offset), r.convex);
}

TEST(TrimJoin, CutsCrossingSpansBackToTheCrossing) {
    velAbsSpancoPrf a = line(0, 0, 10, 0), b = line(8, -2, 8, 8);
    ASSERT_EQ(velTrimJoin::join(a, b), 1);
    EXPECT_TRUE(a->end_point() == giPoint3(8, 0, 0));
    EXPECT_TRUE(b->start_point() == giPoint3(8, 0, 0));
    // An arc cut by a line keeps its circle.
    velAbsSpancoPrf arc = unit_arc(-pi / 2, pi / 2, {0, 0, 0}, 2), l = line(1, 3, 1, 0);
    ASSERT_EQ(velTrimJoin::join(arc, l), 1);
    EXPECT_NEAR(arc->end_point().x, 1, 1e-12);
    EXPECT_NEAR(arc->end_point().y, std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(arc->mid_point().distance({0, 0, 0}), 2, 1e-12);
    EXPECT_NEAR(l->start_point().y, std::sqrt(3.0), 1e-12);
    // Spans that only meet at their joint count as cut and stay as they were.
    velAbsSpancoPrf c = line(0, 0, 1, 0), d = line(1, 0, 1, 1);
    EXPECT_EQ(velTrimJoin::join(c, d), 1);
    EXPECT_TRUE(c->end_point() == giPoint3(1, 0, 0));
    // Spans that miss each other, or cross twice, are left alone.
    velAbsSpancoPrf e = line(0, 0, 1, 0), f = line(2, 1, 2, 2);
    EXPECT_EQ(velTrimJoin::join(e, f), 0);
    velAbsSpancoPrf g = unit_arc(0, pi), h = line(-2, 0.5, 2, 0.5);
    EXPECT_EQ(velTrimJoin::join(g, h), 0);
    EXPECT_TRUE(g->end_point().coincident({-1, 0, 0}, 1e-15));
}

TEST(ExtendJoin, ArcForCircleIsTheRestOfTheCircle) {
    // A quarter of the unit circle, anticlockwise from (1, 0) to (0, 1).
    const velAbsSpancoPrf q = unit_arc(0, pi / 2);
    double r = 0.0;
    const velAbsSpancoPrf beyond = velExtendJoin::create_arc_for_circle(*q, r, 0);
    EXPECT_DOUBLE_EQ(r, 1.0);
    EXPECT_TRUE(beyond->start_point().coincident({0, 1, 0}, 1e-15));
    EXPECT_TRUE(beyond->end_point().coincident({1, 0, 0}, 1e-15));
    EXPECT_NEAR(beyond->get_bulge(), std::tan(3 * pi / 8), 1e-12); // three quarters, anticlockwise
    const velAbsSpancoPrf before = velExtendJoin::create_arc_for_circle(*q, r, 1);
    EXPECT_TRUE(before->start_point().coincident({1, 0, 0}, 1e-15));
    EXPECT_NEAR(before->get_bulge(), -std::tan(3 * pi / 8), 1e-12); // the same points, clockwise
    // A clockwise arc has a negative radius; a half circle has an opposite point too.
    const velAbsSpancoPrf half = unit_arc(pi, 0);
    velExtendJoin::create_arc_for_circle(*half, r, 0);
    EXPECT_DOUBLE_EQ(r, -1.0);
    const velAbsSpancoPrf other = velExtendJoin::create_arc_for_circle(*half, r, 0);
    EXPECT_TRUE(other->mid_point().coincident({0, -1, 0}, 1e-15));
}

TEST(ExtendJoin, BulgeFactorFollowsTheCircleInTheArcsSense) {
    const giPoint3 c(0, 0, 0);
    auto at = [](double deg) { return giPoint3(std::cos(deg * pi / 180), std::sin(deg * pi / 180), 0); };
    struct Row {
        double from, to, r, sweep; // degrees; the sense by the sign of r
    };
    for (const Row& row : std::vector<Row>{{0, 90, 1, 90},
                                           {0, 90, -1, -270},
                                           {0, 210, 1, 210}, // a quarter continued past the half circle
                                           {0, 180, 1, 180},
                                           {30, -150, -1, -180},
                                           {350, 10, 1, 20},
                                           {10, 350, 1, 340}})
        EXPECT_NEAR(velExtendJoin::find_bulge_factor(at(row.from), at(row.to), c, row.r),
                    std::tan(row.sweep * pi / 180 / 4), 1e-12)
            << row.from << " " << row.to << " " << row.r;
}

// An arc continued along its circle past its opposite point keeps running the same way round: a D shape
// (a clockwise arc of 94 degrees on its chord) offset outwards by 3.1 with sharp corners continues the
// grown arc down the sides to the chord's offset, sweeping 207 degrees.
TEST(ExtendJoin, ArcsContinuedPastTheHalfCircleStayOnTheirSide) {
    // Rebuild the arc from its bulge -0.43803 (the mid point from the chord).
    const giPoint3 s(-6.85824, -3.30244, 0), e(-3.01722, -3.75944, 0);
    const double b = -0.43803;
    const giPoint3 m((s.x + e.x) / 2 + (e.y - s.y) * b / 2, (s.y + e.y) / 2 - (e.x - s.x) * b / 2, 0);
    const Line line = make_line({{s, {}}, {e, m}, {s, {}}});
    Options o;
    o.extend = 1;
    const Raw r = raw_offset(*line, -3.09623, o);
    ASSERT_EQ(r.spans, 2);
    const velAbsSpancoPrf arc = r.contour->get_span(1);
    EXPECT_LT(arc->get_bulge(), -1.0); // more than a half circle, clockwise
    EXPECT_GE(distance_range(*arc, *line).first, 3.09623 * (1 - 1e-9));
}

// The gap closing rules, on a result ending with the given spans.
struct GapCase {
    const char* name;
    std::vector<velAbsSpancoPrf> result;
    velAbsSpancoPrf span;
    double tol;
    int spans;      // after the call
    giPoint3 joint; // end of the span before the appended one (or of the last span)
};

TEST(GapCloser, ClosesSmallGapsAndBridgesLargeOnes) {
    const std::vector<GapCase> cases = {
        {"no gap", {line(0, 0, 10, 0)}, line(10, 0, 20, 0), 0.001, 2, {10, 0, 0}},
        // Equal lengths: both ends move half way.
        {"small gap", {line(0, 0, 10, 0)}, line(10, 0.0008, 20, 0.0008), 0.001, 2, {10, 0.0004, 0}},
        {"gap at the tolerance", {line(0, 0, 10, 0)}, line(10, 0.001, 20, 0.001), 0.001, 2, {10, 0.0005, 0}},
        // Unequal lengths: the longer span moves less.
        {"uneven", {line(0, 0, 30, 0)}, line(30, 0.0008, 40, 0.0008), 0.001, 2, {30, 0.0006, 0}},
        {"large gap", {line(0, 0, 10, 0)}, line(10, 0.002, 20, 0.002), 0.001, 3, {10, 0.002, 0}},
        {"no length", {line(0, 0, 10, 0)}, line(10, 0, 10, 5e-6), 0.001, 1, {10, 0, 0}},
        // The last span loses its length to the move: it goes, and the span before ends at the joint.
        {"last span vanishes",
         {line(-10, 0, 0, 0), line(0, 0, 2.5e-5, 0)},
         line(0, 0, 0, 1.5e-5),
         0.001,
         2,
         {9.375e-6, 0, 0}},
        // The new span loses its length: the last span takes its end instead.
        {"new span vanishes", {line(0, 1.5e-5, 0, 0)}, line(2.5e-5, 0, 0, 0), 0.001, 1, {0, 0, 0}},
        {"empty result", {}, line(0, 0, 1, 0), 0.001, 1, {1, 0, 0}},
    };
    for (const GapCase& c : cases) {
        velSpanVectorContour result;
        for (const velAbsSpancoPrf& s : c.result)
            result.append(s);
        velOffsetJoinSettings settings;
        settings.tol = c.tol;
        const giPoint3 end = c.span->end_point();
        velOffsetGapCloser::add_span(c.span, result, settings);
        ASSERT_EQ(result.size(), c.spans) << c.name;
        const int before = c.spans >= 2 && std::string(c.name) != "large gap" ? c.spans - 1 : c.spans;
        const giPoint3 joint = std::string(c.name) == "large gap" ? result.get_span(2)->end_point()
                                                                  : result.get_span(before)->end_point();
        EXPECT_NEAR(joint.x, c.joint.x, 1e-15) << c.name;
        EXPECT_NEAR(joint.y, c.joint.y, 1e-15) << c.name;
        if (std::string(c.name) != "no length") {
            EXPECT_TRUE(result.last_point() == end) << c.name;
        }
        for (int i = 2; i <= result.size(); ++i)
            EXPECT_TRUE(result.get_span(i)->start_point() == result.get_span(i - 1)->end_point()) << c.name;
    }
}

TEST(GapCloser, BridgesCarryCornerLabelsWithSpanInfo) {
    for (int span_info : {0, 1}) {
        velSpanVectorContour result;
        result.append(line(0, 0, 10, 0));
        velAbsSpancoPrf next = line(10, 1, 20, 1);
        next->set_span_info(7, velSpanSideLeft);
        velOffsetJoinSettings settings;
        settings.tol = 0.001;
        settings.span_info = span_info;
        velOffsetGapCloser::add_span(next, result, settings);
        ASSERT_EQ(result.size(), 3);
        EXPECT_EQ(result.get_span(2)->span_position(), span_info ? 7 : -1);
        EXPECT_EQ(result.get_span(2)->offset_label(), span_info ? velSpanSideLeftCorner : velSpanSideNone);
        EXPECT_FALSE(result.get_span(2)->is_temp_line_span());
    }
}

TEST(SpanOffset, ArcsCollapseIntoTemporaryLinesUnlessTheyAreNearlyFlat) {
    // Radius 3 about the origin, clockwise, offset 5 towards the centre.
    const velAbsSpancoPrf arc = unit_arc(pi / 2, 0, {0, 0, 0}, 3);
    const velAbsSpancoPrf collapsed = velSpanOffset::offset_span(5, 1e-5, 0, *arc);
    EXPECT_TRUE(collapsed->is_temp_line_span());
    EXPECT_TRUE(collapsed->start_point().coincident({0, -2, 0}, 1e-12));
    // A sliver of the same circle (sagitta 4e-6 < 1e-5) is offset as the line it nearly is.
    const double a = std::acos(1 - 4e-6 / 3);
    const velAbsSpancoPrf sliver = unit_arc(pi / 2 + a, pi / 2 - a, {0, 0, 0}, 3);
    const velAbsSpancoPrf straight = velSpanOffset::offset_span(5, 1e-5, 0, *sliver);
    EXPECT_FALSE(straight->is_temp_line_span());
    EXPECT_TRUE(straight->is_line_span());
    EXPECT_NEAR(straight->start_point().y, sliver->start_point().y - 5, 1e-9);
    // Away from the centre an arc grows about it.
    const velAbsSpancoPrf grown = velSpanOffset::offset_span(-1, 1e-5, 0, *arc);
    EXPECT_TRUE(grown->is_arc_span());
    EXPECT_NEAR(grown->mid_point().distance({0, 0, 0}), 4, 1e-12);
}

TEST(SpanOffset, LabelsFollowWithSpanInfoOnly) {
    const velAbsSpancoPrf arc = unit_arc(0, pi / 2);
    arc->set_span_info(4, velSpanSideRight);
    EXPECT_EQ(velSpanOffset::offset_span(1, 1e-5, 1, *arc)->span_position(), 4);
    EXPECT_EQ(velSpanOffset::offset_span(1, 1e-5, 1, *arc)->offset_label(), velSpanSideRight);
    EXPECT_EQ(velSpanOffset::offset_span(1, 1e-5, 0, *arc)->span_position(), -1);
    const velAbsSpancoPrf l = line(0, 0, 1, 0);
    l->set_span_info(2, velSpanSideLeft);
    EXPECT_EQ(velSpanOffset::offset_span(1, 1e-5, 0, *l)->offset_label(), velSpanSideNone);
}

TEST(OffsetValidity, ArcsShrinkingTowardsTheirCentreAreInvalid) {
    const velAbsSpancoPrf anticlockwise = unit_arc(0, pi / 2), clockwise = unit_arc(pi / 2, 0);
    EXPECT_EQ(velOffsetValidity::is_valid_arcspan(*anticlockwise, -1), 0);
    EXPECT_EQ(velOffsetValidity::is_valid_arcspan(*anticlockwise, 1), 1);
    EXPECT_EQ(velOffsetValidity::is_valid_arcspan(*clockwise, 1), 0);
    EXPECT_EQ(velOffsetValidity::is_valid_arcspan(*clockwise, -1), 1);
    EXPECT_EQ(velOffsetValidity::is_valid_arcspan(*anticlockwise, 0), 1);
    EXPECT_EQ(velOffsetValidity::is_valid_arcspan(*line(0, 0, 1, 0), -1), 1);
}

TEST(OffsetValidity, ClosedContoursVanishInwardByHalfTheirExtent) {
    struct Row {
        bool clockwise;
        double offset;
        bool vanishes;
    };
    for (const Row& r : std::vector<Row>{{true, 6, true},
                                         {true, 5, true},        // 10 <= 1e-5 + 10
                                         {true, 4.999996, true}, // 10 <= 1e-5 + 9.999992
                                         {true, 4.9999, false},
                                         {true, -6, false}, // outward
                                         {false, -5, true},
                                         {false, 5, false},
                                         {false, 0, false}}) {
        const Line sq = square(10, r.clockwise);
        velPolyArcLineAdapter contour(*sq);
        EXPECT_EQ(velOffsetValidity::vanishes(contour, r.offset), r.vanishes)
            << r.clockwise << " " << r.offset;
    }
    // Open contours never vanish.
    const Line open = corners({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    velPolyArcLineAdapter contour(*open);
    EXPECT_FALSE(velOffsetValidity::vanishes(contour, 100));
}

} // namespace

} // namespace velOffsetJoins_test
