#include "arcline/polyutils/velPolyArcLineOffsetter.h"

#include "offsetTestKit.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/polyline/velPolyArcLine.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

using namespace offsettest;

namespace {

constexpr double unchecked = std::numeric_limits<double>::quiet_NaN();
const double r2 = std::sqrt(2.0);

// The open right angle (-10, 0) -> (0, 0) -> (0, 10), turning left at the origin: its right side (positive
// offsets) is the outside of the corner.
Line right_angle() {
    return corners({{-10, 0, 0}, {0, 0, 0}, {0, 10, 0}});
}

// The chamfer of the right angle offset by 1 with the corner cut at 1.2 from the input corner: each line is
// extended by k beyond its offset end.
const double chamfer_k = 1.0 - (r2 - 1.2) / std::cos(pi / 4);

// A lens: two arcs of radius 1.25 (bulge 0.5) on the chord from (-1, 0) to (1, 0), anticlockwise, about
// the centres (0, 0.75) below and (0, -0.75) above.
Line lens() {
    return make_line(
        {{{-1, 0, 0}, {}}, {{1, 0, 0}, giPoint3{0, -0.5, 0}}, {{-1, 0, 0}, giPoint3{0, 0.5, 0}}});
}
const double lens_R = 1.25, lens_sweep = 4.0 * std::atan(0.5);
const double lens_area = lens_R * lens_R * (lens_sweep - std::sin(lens_sweep)); // two segments
const double lens_length = 2.0 * lens_R * lens_sweep;
// The lens offset by 1 with sharp corners: the circles of radius 2.25 about (0, +-0.75) meet at
// x = +-sqrt(4.5); the region is two segments cut at 0.75 from their centres.
const double sharp_lens_area = 2.0 * (2.25 * 2.25 * std::acos(0.75 / 2.25) - 0.75 * std::sqrt(4.5));

// A line along +x into the origin, then a clockwise arc of radius 3 about (-3, 0) sweeping 20 degrees, then
// the tangent line on. Offset by +1 (towards the arc's centre) the arc's offset stops short of the first
// line's offset, so the corner at the origin is an overlap that cannot be trimmed.
Line short_arc_corner() {
    const double sweep = 20.0 * pi / 180.0;
    auto at = [](double a) { return giPoint3(-3.0 + 3.0 * std::cos(a), 3.0 * std::sin(a), 0.0); };
    const giPoint3 end = at(-sweep);
    const giVector3 t(-std::sin(sweep), -std::cos(sweep), 0.0);
    return make_line({{{-10, 0, 0}, {}}, {{0, 0, 0}, {}}, {end, at(-sweep / 2)}, {end + t * 10.0, {}}});
}

// A clockwise quarter arc of radius 3 about the origin from (0, 3) to (3, 0) between two lines that turn
// right into it and out of it. Offset by +5 the arc collapses through its centre.
Line collapsing_arc() {
    return make_line(
        {{{-5, -2, 0}, {}}, {{0, 3, 0}, {}}, {{3, 0, 0}, giPoint3{3 / r2, 3 / r2, 0}}, {{-2, -5, 0}, {}}});
}

// Two lines with a kink of 5e-6 radians at (10, 0), turning left.
const double kink = 5e-6;
Line kinked() {
    return corners({{0, 0, 0}, {10, 0, 0}, {10 + 10 * std::cos(kink), 10 * std::sin(kink), 0}});
}

struct EdgeCase {
    std::string name;
    std::function<Line()> input;
    double d;
    Options options;
    // Expected: spans < 0 means the contour vanishes; NaN values are not checked.
    int spans, arcs, temps;
    double area, length, width, height;
};

std::ostream& operator<<(std::ostream& os, const EdgeCase& c) {
    return os << c.name;
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

const std::vector<EdgeCase> edge_cases = {
    // A clockwise square of side 10: positive offsets move inward.
    {"square_plus6_vanishes",
     [] { return square(10, true); },
     6,
     {},
     -1,
     0,
     0,
     unchecked,
     unchecked,
     unchecked,
     unchecked},
    {"square_plus5_vanishes",
     [] { return square(10, true); },
     5,
     {},
     -1,
     0,
     0,
     unchecked,
     unchecked,
     unchecked,
     unchecked},
    {"square_plus4_side2", [] { return square(10, true); }, 4, {}, 4, 0, 0, -4, 8, 2, 2},
    {"square_minus4_rounded",
     [] { return square(10, true); },
     -4,
     {},
     8,
     4,
     0,
     -(260 + 16 * pi),
     40 + 8 * pi,
     18,
     18},
    {"square_minus4_sharp", [] { return square(10, true); }, -4, sharp(), 4, 0, 0, -324, 72, 18, 18},
    {"ccw_square_plus4_rounded",
     [] { return square(10, false); },
     4,
     {},
     8,
     4,
     0,
     260 + 16 * pi,
     40 + 8 * pi,
     18,
     18},
    {"ccw_square_minus4_side2", [] { return square(10, false); }, -4, {}, 4, 0, 0, 4, 8, 2, 2},
    {"ccw_square_minus6_vanishes",
     [] { return square(10, false); },
     -6,
     {},
     -1,
     0,
     0,
     unchecked,
     unchecked,
     unchecked,
     unchecked},
    // The right angle offset by 1 on the outside: sharp corner at sqrt(2) from the input corner.
    {"right_angle_chamfer_1.2", right_angle, 1, chamfered(1.2), 3, 0, 0, unchecked,
     20 + 2 * chamfer_k + r2*(1 - chamfer_k), 11, 11},
    {"right_angle_chamfer_limit_sqrt2_stays_sharp", right_angle, 1, chamfered(r2), 2, 0, 0, unchecked, 22, 11,
     11},
    {"right_angle_chamfer_no_limit", right_angle, 1, chamfered(-1), 2, 0, 0, unchecked, 22, 11, 11},
    {"right_angle_chamfer_below_offset_rounds", right_angle, 1, chamfered(0.9), 3, 1, 0, unchecked,
     20 + pi / 2, 11, 11},
    {"right_angle_sharp", right_angle, 1, sharp(), 2, 0, 0, unchecked, 22, 11, 11},
    {"right_angle_rounded", right_angle, 1, {}, 3, 1, 0, unchecked, 20 + pi / 2, 11, 11},
    // On the inside of two spans nothing is trimmed (that needs three or more): a temporary line closes
    // the overlap. With a third span the inside corner is trimmed and the next (outside) corner rounded.
    {"right_angle_inside_temporary", right_angle, -1, {}, 3, 0, 1, unchecked, 20 + r2, 10, 10},
    {"zigzag_inside_trimmed",
     [] {
         return corners({{-10, 0, 0}, {0, 0, 0}, {0, 10, 0}, {10, 10, 0}});
     },
     -1,
     {},
     4,
     1,
     0,
     unchecked,
     28 + pi / 2,
     20,
     10},
    // Turning back on itself: a half circle of radius 1 about the turning point.
    {"turn_back_half_circle",
     [] {
         return corners({{0, 0, 0}, {10, 0, 0}, {2, 0, 0}});
     },
     1,
     {},
     3,
     1,
     0,
     unchecked,
     18 + pi,
     11,
     2},
    {"turn_back_half_circle_extend",
     [] {
         return corners({{0, 0, 0}, {10, 0, 0}, {2, 0, 0}});
     },
     1, sharp(), 3, 1, 0, unchecked, 18 + pi, 11, 2},
    // There and back, closed: a half circle at both ends, the band of width 2 round the segment.
    {"there_and_back_band",
     [] {
         return corners({{0, 0, 0}, {10, 0, 0}, {0, 0, 0}});
     },
     1,
     {},
     4,
     2,
     0,
     20 + pi,
     20 + 2 * pi,
     12,
     2},
    // Lens of two arcs: rounded corners obey the Steiner formula; sharp corners continue the circles.
    {"lens_rounded", lens, 1, {}, 4, 4, 0, lens_area + lens_length + pi, lens_length + 2 * pi, 4, 3},
    {"lens_sharp", lens, 1, sharp(), 2, 2, 0, sharp_lens_area, unchecked, 2 * std::sqrt(4.5), 3},
    // Chamfer mode with arcs: tangent lines to the sharp point (2.25, 0), or a chamfer at x = 2.1.
    {"lens_tangent_lines", lens, 1, chamfered(1.5), 6, 2, 0, unchecked, unchecked, 4.5, 3},
    {"lens_chamfer_1.1", lens, 1, chamfered(1.1), 8, 2, 0, unchecked, unchecked, 4.2, 3},
    {"lens_chamfer_below_offset_rounds", lens, 1, chamfered(0.5), 4, 4, 0, lens_area + lens_length + pi,
     unchecked, 4, unchecked},
    // An arc of radius 3 offset by 5 towards its centre collapses: it and both corner spans beside it
    // become temporary lines.
    {"collapsed_arc", collapsing_arc, 5, {}, 5, 0, 3, unchecked, unchecked, unchecked, unchecked},
    // A corner overlap next to an arc that cannot be trimmed: the corner arc round the back of the corner
    // is longer than a half circle and is split into two temporary arcs.
    {"untrimmed_arc_corner_split",
     short_arc_corner,
     1,
     {},
     5,
     3,
     2,
     unchecked,
     unchecked,
     unchecked,
     unchecked},
    // Offset ends 5e-6 apart (within tol = 0.001): joined by moving both ends, no corner span.
    {"kink_gap_closed", kinked, 1, {}, 2, 0, 0, unchecked, unchecked, unchecked, unchecked},
};

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

} // namespace
