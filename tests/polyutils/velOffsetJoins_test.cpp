// The pieces of a raw offset on their own where the whole offset does not pin them down.

#include "arcline/polyutils/velOffsetGapCloser.h"
#include "arcline/polyutils/velSpanOffset.h"

#include "offsetTestKit.h"

#include <gtest/gtest.h>

namespace velOffsetJoins_test {

using namespace offsettest;

namespace {

velAbsSpancoPrf line(double x0, double y0, double x1, double y1) {
    return std::make_shared<velFreeSpan>(giPoint3(x0, y0, 0), giPoint3(x1, y1, 0));
}

// The arc of the circle (c, r) from angle a0 to a1 (anticlockwise when a1 > a0).
velAbsSpancoPrf arc(double a0, double a1, double r = 1) {
    auto at = [&](double a) { return giPoint3(r * std::cos(a), r * std::sin(a), 0); };
    return std::make_shared<velFreeSpan>(at(a0), at(a1), at((a0 + a1) / 2));
}

// The gap closing rules, on a result ending with the given spans.
TEST(GapCloser, ClosesSmallGapsAndBridgesLargeOnes) {
    struct GapCase {
        const char* name;
        std::vector<velAbsSpancoPrf> result;
        velAbsSpancoPrf span;
        int spans, joint_span; // after the call
        giPoint3 joint;
    };
    const std::vector<GapCase> cases = {
        {"no gap", {line(0, 0, 10, 0)}, line(10, 0, 20, 0), 2, 1, {10, 0, 0}},
        {"small gap, equal lengths", {line(0, 0, 10, 0)}, line(10, 8e-4, 20, 8e-4), 2, 1, {10, 4e-4, 0}},
        {"gap at the tolerance", {line(0, 0, 10, 0)}, line(10, 1e-3, 20, 1e-3), 2, 1, {10, 5e-4, 0}},
        {"the longer moves less", {line(0, 0, 30, 0)}, line(30, 8e-4, 40, 8e-4), 2, 1, {30, 6e-4, 0}},
        {"large gap", {line(0, 0, 10, 0)}, line(10, 0.002, 20, 0.002), 3, 2, {10, 0.002, 0}},
        {"no length", {line(0, 0, 10, 0)}, line(10, 0, 10, 5e-6), 1, 1, {10, 0, 0}},
        // The last span loses its length to the move and goes; or the new one does.
        {"last vanishes",
         {line(-10, 0, 0, 0), line(0, 0, 2.5e-5, 0)},
         line(0, 0, 0, 1.5e-5),
         2,
         1,
         {9.375e-6, 0, 0}},
        {"new vanishes", {line(0, 1.5e-5, 0, 0)}, line(2.5e-5, 0, 0, 0), 1, 1, {0, 0, 0}},
        {"empty result", {}, line(0, 0, 1, 0), 1, 1, {1, 0, 0}},
    };
    for (const GapCase& c : cases) {
        SCOPED_TRACE(c.name);
        velSpanVectorContour result;
        for (const velAbsSpancoPrf& s : c.result)
            result.append(s);
        velOffsetJoinSettings settings;
        settings.tol = 0.001;
        const giPoint3 end = c.span->end_point();
        velOffsetGapCloser::add_span(c.span, result, settings);
        ASSERT_EQ(result.size(), c.spans);
        const giPoint3 joint = result.get_span(c.joint_span)->end_point();
        EXPECT_NEAR(joint.x, c.joint.x, 1e-15);
        EXPECT_NEAR(joint.y, c.joint.y, 1e-15);
        if (std::string(c.name) != "no length") {
            EXPECT_TRUE(result.last_point() == end);
        }
        for (int i = 2; i <= result.size(); ++i)
            EXPECT_TRUE(result.get_span(i)->start_point() == result.get_span(i - 1)->end_point());
    }
    // With span info a bridge carries the corner label of the span after it.
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
    }
}

TEST(SpanOffset, ArcsCollapseIntoTemporaryLinesUnlessTheyAreNearlyFlat) {
    // Radius 3 about the origin, clockwise, offset 5 towards the centre.
    const velAbsSpancoPrf quarter = arc(pi / 2, 0, 3);
    quarter->set_span_info(4, velSpanSideRight);
    const velAbsSpancoPrf collapsed = velSpanOffset::offset_span(5, 1e-5, 1, *quarter);
    EXPECT_TRUE(collapsed->is_temp_line_span());
    EXPECT_TRUE(collapsed->start_point().coincident({0, -2, 0}, 1e-12));
    EXPECT_EQ(collapsed->span_position(), 4);
    // A sliver of the same circle (sagitta 4e-6 < 1e-5) is offset as the line it nearly is.
    const double a = std::acos(1 - 4e-6 / 3);
    const velAbsSpancoPrf sliver = arc(pi / 2 + a, pi / 2 - a, 3);
    const velAbsSpancoPrf straight = velSpanOffset::offset_span(5, 1e-5, 0, *sliver);
    EXPECT_TRUE(straight->is_line_span() && !straight->is_temp_line_span());
    EXPECT_NEAR(straight->start_point().y, sliver->start_point().y - 5, 1e-9);
    // Away from the centre an arc grows about it; without span info it has no label.
    const velAbsSpancoPrf grown = velSpanOffset::offset_span(-1, 1e-5, 0, *quarter);
    EXPECT_NEAR(grown->mid_point().distance({0, 0, 0}), 4, 1e-12);
    EXPECT_EQ(grown->offset_label(), velSpanSideNone);
}

} // namespace

} // namespace velOffsetJoins_test
