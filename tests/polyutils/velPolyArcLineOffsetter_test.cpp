// The raw offset of one poly-arc-line: corner kinds by exact properties (a table), gaps, properties, lists.

#include "arcline/polyutils/velPolyArcLineOffsetter.h"

#include "../intersect/bspTestKit.h"
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

const double r2 = std::sqrt(2.0);

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

// Corner kinds as data (tests/data/polyutils/raw_offset: the inputs, and the table `cases` of options and
// exact properties).
class EdgeCases : public ::testing::TestWithParam<std::vector<std::string>> {};

void expect_near_rel(double actual, double expected, const char* what) {
    if (std::isnan(expected)) return;
    EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << what;
}

TEST_P(EdgeCases, HaveTheExpectedProperties) {
    const std::vector<std::string>& c = GetParam();
    ASSERT_EQ(c.size(), 13u);
    std::vector<double> v;
    for (std::size_t i = 2; i < c.size(); ++i)
        v.push_back(std::stod(c[i]));
    Options o;
    o.extend = static_cast<int>(v[1]);
    o.chamfer = static_cast<int>(v[2]);
    o.max_corner_offset = v[3];
    support::Polylines lines = bsptest::load_lines("polyutils/raw_offset", c[1]);
    ASSERT_EQ(lines.size(), 1u);
    const Line input = std::move(lines[0]);
    const Raw r = raw_offset(*input, v[0], o);
    if (v[4] < 0) {
        EXPECT_FALSE(r.contour);
        return;
    }
    ASSERT_TRUE(r.contour);
    EXPECT_EQ(r.changed, 1);
    EXPECT_EQ(r.spans, static_cast<int>(v[4]));
    EXPECT_EQ(r.arcs, static_cast<int>(v[5]));
    EXPECT_EQ(r.temps(), static_cast<int>(v[6]));
    EXPECT_EQ(r.closed(),
              input->num_pos() > 1 && polytest::pos(*input, 1) == polytest::pos(*input, input->num_pos()));
    expect_near_rel(r.area, v[7], "area");
    expect_near_rel(r.length, v[8], "length");
    expect_near_rel(r.box.xlength(), v[9], "width");
    expect_near_rel(r.box.ylength(), v[10], "height");
}

INSTANTIATE_TEST_SUITE_P(RawOffset, EdgeCases,
                         ::testing::ValuesIn(bsptest::table_rows("polyutils/raw_offset", "cases")),
                         [](const auto& info) { return info.param[0]; });

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
