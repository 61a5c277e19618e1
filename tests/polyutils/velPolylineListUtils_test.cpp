// Whole-list operations: measures, filters, editing, regions, distances (brute force), box trimming.

#include "../debug/debugChannelKit.h"
#include "../intersect/bspTestKit.h"
#include "../lists/listTestKit.h"
#include "../polyline/utils/utilsTestKit.h"
#include "support/metamorphic.h"

#include "arcline/intersect/velPolyarcline2dBoxCache.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineVecListCursor.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velTolerances.h"
#include "arcline/polyutils/velPolylineListUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velPolylineListUtils_test {

using LU = velPolylineListUtils;
using U = velPolylineUtils;
using support::Polylines;
using utiltest::Rng;
using utiltest::V;

namespace {

constexpr double pi = utiltest::pi;

// A list of polylines behind a cursor.
struct List {
    velAbsPolyArcLineListCursor c;
    List() = default;
    explicit List(const Polylines& ps) { listtest::fill(c, ps); }
    velPolylineListIter& it() const { return c.iterator(); }
};

Polylines one(std::unique_ptr<velAbsPolyArcLine> p) {
    Polylines out;
    out.push_back(std::move(p));
    return out;
}

std::unique_ptr<velAbsPolyArcLine> xy(std::initializer_list<std::array<double, 2>> pts, double z = 0.0) {
    std::vector<V> vs;
    for (const auto& p : pts)
        vs.push_back({{p[0], p[1], z}, {}});
    return utiltest::make_line(vs);
}

// Rectangle [x0, x1] x [y0, y1], closed, anticlockwise unless `cw`.
std::unique_ptr<velAbsPolyArcLine> rect(double x0, double y0, double x1, double y1, bool cw = false) {
    return cw ? xy({{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}})
              : xy({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}});
}

// Circle of radius r about (cx, cy) as two half arcs, anticlockwise.
std::unique_ptr<velAbsPolyArcLine> circle(double cx, double cy, double r, double z = 0.0) {
    return utiltest::make_line({{{cx + r, cy, z}, {}},
                                {{cx - r, cy, z}, giPoint3{cx, cy + r, z}},
                                {{cx + r, cy, z}, giPoint3{cx, cy - r, z}}});
}

Polylines concat(Polylines a, Polylines b) {
    for (auto& p : b)
        a.push_back(std::move(p));
    return a;
}

// Per polyline, as the iterator presents them.
std::vector<support::Props> each_props(velPolylineListIter& it) {
    std::vector<support::Props> out;
    for (it.reset(); ++it;)
        out.push_back(support::props_of(it, 0.0));
    return out;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Measures

TEST(ListUtilsMeasures, AgreeWithIndependentSumsOnRandomLists) {
    Rng rng(7101);
    for (int trial = 0; trial < 40; ++trial) {
        const Polylines in = listtest::random_list(rng, rng.pick(0, 9), trial % 2 == 1);
        List list(in);
        const auto props = each_props(list.it());
        int positions = 0, spans = 0, arcs = 0, empty = 0, closed = 0, largest = -1, smallest = -1;
        double length = 0, area = 0, adjacent = DBL_MAX;
        giBox3 box;
        for (std::size_t i = 0; i < in.size(); ++i) {
            const support::Props& p = props[i];
            // One position is a closed polyline, as velPolylineUtils::closed has it.
            const int n = p.positions;
            const bool is_closed = n > 0 && polytest::pos(*in[i], 1) == polytest::pos(*in[i], n);
            positions += n;
            spans += std::max(0, n - 1);
            arcs += p.arcs;
            empty += n == 0;
            closed += is_closed;
            length += p.length;
            area += p.area;
            box.merge(p.box);
            if (is_closed && (largest < 0 || std::fabs(p.area) > std::fabs(props[std::size_t(largest)].area)))
                largest = static_cast<int>(i);
            if (is_closed &&
                (smallest < 0 || std::fabs(p.area) < std::fabs(props[std::size_t(smallest)].area)))
                smallest = static_cast<int>(i);
            for (int k = 1; k < p.positions; ++k)
                adjacent =
                    std::min(adjacent, polytest::pos(*in[i], k).distance(polytest::pos(*in[i], k + 1)));
        }
        const double tol = 1e-9 * std::max(1.0, length);
        const int n = static_cast<int>(in.size());
        EXPECT_EQ((std::vector<int>{LU::num_points(list.it()), LU::num_spans(list.it()),
                                    LU::num_arc_spans(list.it()), LU::num_empty_polylines(list.it()),
                                    LU::num_closed_polylines(list.it(), 0.0),
                                    LU::num_open_polylines(list.it(), 0.0), LU::closed(list.it())}),
                  (std::vector<int>{positions, spans, arcs, empty, closed, n - closed, closed == n ? 1 : 0}));
        EXPECT_NEAR(LU::length(list.it()), length, tol);
        EXPECT_NEAR(LU::average_span_length(list.it()), spans ? length / spans : 0.0, tol);
        const bool tilted = trial % 2 == 1; // XY areas of tilted arcs are the library's own convention
        if (!tilted) {
            EXPECT_EQ(LU::largest_area(list.it()), largest);
            EXPECT_EQ(LU::smallest_area(list.it()), smallest);
        }
        EXPECT_EQ(LU::distance_between_closest_adjacent_points(list.it()), adjacent);
        const giBox3 b = LU::box(list.it(), vel_3d_box);
        ASSERT_EQ(b.empty(), box.empty());
        if (!box.empty()) {
            EXPECT_TRUE(b.min().coincident(box.min(), 1e-9) && b.max().coincident(box.max(), 1e-9))
                << b << box;
        }
        // The area of open polylines counts as closed by their chord: compare on the closed ones only.
        if (tilted) continue;
        List closed_only(in);
        LU::remove_open_polylines(0.0, closed_only.c);
        EXPECT_NEAR(LU::area(closed_only.it()), area, tol * 100);
    }
}

TEST(ListUtilsMeasures, EmptyListsAndOpenPolylines) {
    List empty;
    EXPECT_EQ(LU::num_points(empty.it()), 0);
    EXPECT_EQ(LU::closed(empty.it()), 1);
    EXPECT_EQ(LU::largest_area(empty.it()), -1);
    EXPECT_EQ(LU::average_span_length(empty.it()), 0.0);
    EXPECT_TRUE(LU::box(empty.it(), vel_2d_box).empty());
    EXPECT_EQ(LU::distance_between_closest_adjacent_points(empty.it()), DBL_MAX);
    List open(concat(one(xy({{0, 0}, {10, 0}, {10, 10}})), one(xy({{0, 0}, {5, 5}}))));
    EXPECT_EQ(LU::largest_area(open.it()), -1);
    EXPECT_EQ(LU::smallest_area(open.it()), -1);
    EXPECT_EQ(LU::closed(open.it()), 0);
    // Turning: the first polyline turns 90 degrees, the second not at all.
    EXPECT_NEAR(LU::unsigned_turn_angle(open.it(), 0), 90.0, 1e-9);
    EXPECT_NEAR(LU::unsigned_turn_angle(open.it(), 1), 0.0, 1e-9);
    EXPECT_NEAR(LU::unsigned_turn_angle(open.it(), -1), 90.0, 1e-9);
}

// ---------------------------------------------------------------------------------------------------------
// The per-polyline family: the list operation is the single-polyline one, polyline by polyline, after what
// the output already holds.

TEST(ListUtilsFamily, WritesEachPolylineAsTheSinglePolylineOperationDoes) {
    using Write = std::function<void(const velPolylineListIter&, velPolylineListCursor&)>;
    struct Row {
        const char* name;
        std::function<void(const velPolylineListIter&, velPolylineListCursor&)> list_op;
        Write single_op;
    };
    const Row rows[] = {
        {"strip", [](auto& in, auto& out) { LU::strip(in, 0.5, out); },
         [](auto& it, auto& c) { U::strip(it, 0.5, c); }},
        {"simple_strip", [](auto& in, auto& out) { LU::simple_strip(in, 0.5, out); },
         [](auto& it, auto& c) { U::simple_strip(it, 0.5, c); }},
        {"smash", [](auto& in, auto& out) { LU::smash_spans_by_length(in, 7.0, out); },
         [](auto& it, auto& c) { U::smash_spans_by_length(it, 7.0, c); }},
        {"dog_ears", [](auto& in, auto& out) { LU::shave_off_tips_of_dog_ears(in, out, 2.0); },
         [](auto& it, auto& c) { U::shave_off_tips_of_dog_ears(it, c, 2.0); }},
    };
    Rng rng(7102);
    const Polylines in = listtest::random_list(rng, 12, true);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        List list(in), out(one(xy({{0, 0}, {1, 1}})));
        row.list_op(list.it(), out.c);
        EXPECT_EQ(out.c.index(), out.c.size() - 1);
        std::vector<support::Props> want{support::props_of(*xy({{0, 0}, {1, 1}}), 0.0)};
        for (const auto& p : in) {
            if (p->num_pos() == 0) continue;
            velSingleAbsArcLineListIter src(*p);
            ++src;
            velAbsPolyArcLineListCursor single;
            single.create_polyline();
            ++single;
            row.single_op(src, single);
            want.push_back(support::props_of(single.iterator(), 0.0));
        }
        const auto got = each_props(out.it());
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_TRUE(support::same_props(got[i], want[i])) << "polyline " << i;
    }
}

TEST(ListUtilsFamily, PolygonizeKeepsEveryPointWithinTheTolerance) {
    List list(concat(one(circle(0, 0, 10)), one(rect(20, 0, 30, 5))));
    List out;
    LU::polygonize(list.it(), out.c, 0.01);
    EXPECT_EQ(LU::num_arc_spans(out.it()), 0);
    EXPECT_EQ(out.c.size(), 2);
    EXPECT_LT(LU::max_distance(out.it(), list.it()), 0.01 + 1e-9);
    EXPECT_GT(LU::num_points(out.it()), 30);
}

TEST(ListUtilsFamily, InPlaceOperationsKeepEveryPolyline) {
    // A spike, a kink and two short spans, one polyline each, and one polyline without any of them.
    List list(Polylines{});
    listtest::fill(list.c, [] {
        Polylines ps;
        ps.push_back(xy({{0, 0}, {10, 0}, {15, 0.001}, {10, 0.002}, {10, 10}}));
        ps.push_back(xy({{0, 20}, {10, 20}, {9.5, 20.1}, {20, 20.1}, {30, 20.1}}));
        ps.push_back(xy({{0, 30}, {5, 30}, {5, 30.05}, {10, 30}}));
        ps.push_back(rect(0, 40, 5, 45));
        return ps;
    }());
    const double before = LU::length(list.it());
    EXPECT_EQ(LU::remove_spikes(0.01, list.c), 1);
    EXPECT_EQ(LU::remove_kinks(30, 1, list.c), 1);
    LU::remove_spans_shorter_than(0.1, list.c);
    EXPECT_EQ(list.c.size(), 4);
    EXPECT_EQ(LU::num_points(list.it()), 3 + 4 + 3 + 5);
    EXPECT_LT(LU::length(list.it()), before - 10.0); // the spike was about 10 long
    // forcably_close closes the three open ones; reverse_contours flips the area.
    LU::forcably_close(list.c);
    EXPECT_EQ(LU::num_closed_polylines(list.it(), 0.0), 4);
    const double area = LU::area(list.it());
    LU::reverse_contours(list.c);
    EXPECT_NEAR(LU::area(list.it()), -area, 1e-9);
}

TEST(ListUtilsFamily, SpikeRemovalShowsTheChangedPolylinesOnItsChannel) {
    dbgtest::Recorder recorder;
    velDebugGeometry& channel = velDebugGeometry::get_from_manager("velPolylineListUtils");
    dbgtest::LevelGuard level(channel, 2);
    List list(
        concat(one(xy({{0, 0}, {10, 0}, {15, 0.001}, {10, 0.002}, {10, 10}})), one(rect(0, 20, 5, 25))));
    EXPECT_EQ(LU::remove_xy_spikes(0.01, list.c), 1);
    channel.flush_level();
    const auto calls = recorder.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].label, "velPolylineListUtils:remove_spikes:input");
    EXPECT_EQ(calls[1].label, "velPolylineListUtils:remove_spikes:output");
    ASSERT_EQ(calls[0].polylines.size(), 1u); // the square did not change
    EXPECT_EQ(calls[0].polylines[0].size(), 5u);
    EXPECT_EQ(calls[1].polylines[0].size(), 3u);
}

TEST(ListUtilsFamily, TemporaryArcStateIsClearedInTheRecords) {
    velPolylineWithOffsetFlagsListCursor c(ut_ptr_claim, new velAbsPolyArcLineListCursor);
    listtest::fill(c, one(circle(0, 0, 5)));
    c.reset();
    ++c;
    c.set_offset_flag(0, 1, 7, velSpanSide(2));
    c.set_offset_flag(1, 0, 8, velSpanSide(1));
    EXPECT_EQ(LU::remove_arc_span_temp_state(c), 1);
    c.reset();
    ++c;
    velOffsetInfo info;
    const auto& view = *velPolylineListIterWithOffsetFlags::ut_dynamic_cast(&c.iterator());
    EXPECT_EQ(view.temporary_arc(0), 0);
    view.get_offset_info(0, info);
    EXPECT_EQ(info.span_position, 7);
    EXPECT_EQ(info.span_side, velSpanSide(2));
    EXPECT_EQ(LU::remove_arc_span_temp_state(c), 0);
}

// ---------------------------------------------------------------------------------------------------------
// Filters

TEST(ListUtilsFilters, RemoveWhatTheyNameAndCountIt) {
    struct Row {
        const char* name;
        std::function<int(velPolylineListCursor&)> filter;
        int removed;
        int closed_left;
    };
    // data/polyutils/filters.txt: squares, an open L, empty, a point, a circle, a thin rectangle, a spike.
    auto make = [] { return bsptest::load_lines("polyutils", "filters"); };
    const Row rows[] = {
        {"closed", [](auto& l) { return LU::remove_closed_polylines(0.0, l); }, 6, 0},
        {"open", [](auto& l) { return LU::remove_open_polylines(0.0, l); }, 2, 6},
        {"longer than 20", [](auto& l) { return LU::remove_polylines_longer_than(20.0, l); }, 2, 4},
        {"longer than 0", [](auto& l) { return LU::remove_polylines_longer_than(0.0, l); }, 6, 1},
        {"shorter than 20", [](auto& l) { return LU::remove_polylines_shorter_than(20.0, l); }, 4, 3},
        {"fewer than 4 points", [](auto& l) { return LU::remove_polylines_with_less_points_than(4, l); }, 5,
         3},
        {"fewer than 100 points", [](auto& l) { return LU::remove_polylines_with_less_points_than(100, l); },
         8, 0},
        {"closed of fewer than 4",
         [](auto& l) { return LU::remove_closed_polylines_with_less_points_than(4, l); }, 3, 3},
        // The circle's mean width is 0.5, the spike's 0.
        {"thin", [](auto& l) { return LU::remove_thin_closed_polylines(1.0, 100.0, l); }, 3, 3},
        // The empty polyline, and the circle and the spike, which are thinner than sqrt(5) all round.
        {"small area", [](auto& l) { return LU::remove_closed_polylines_with_less_area_than(5.0, l); }, 3, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        List list(make());
        EXPECT_EQ(row.filter(list.c), row.removed);
        EXPECT_EQ(list.c.size(), 8 - row.removed);
        EXPECT_EQ(LU::num_closed_polylines(list.it(), 0.0), row.closed_left);
        EXPECT_EQ(list.c.index(), -1);
    }
}

TEST(ListUtilsFilters, CleanRemovesDegenerateSpansOverEveryKindOfCursor) {
    auto make = [] {
        Polylines ps =
            concat(one(xy({{0, 0}, {5, 0}, {5, 1e-7}, {5, 5}, {5, 5}})), one(xy({{1, 1}, {1, 1}})));
        ps.push_back(rect(10, 0, 12, 2));
        return ps;
    };
    List list(make());
    EXPECT_EQ(LU::clean(1e-6, list.c), 3);
    // A list cursor over a vector of polylines offers no contours: the same result through copies.
    velAbsPolyArcLineVec storage;
    velAbsPolyArcLineVecListCursor vec(&storage);
    listtest::fill(vec, make());
    EXPECT_EQ(LU::clean(1e-6, vec), 3);
    for (velPolylineListCursor* c :
         {static_cast<velPolylineListCursor*>(&list.c), static_cast<velPolylineListCursor*>(&vec)}) {
        EXPECT_EQ(c->size(), 2); // the polyline of two equal points became empty and went
        EXPECT_EQ(LU::num_points(c->iterator()), 3 + 5);
        EXPECT_NEAR(LU::length(c->iterator()), 10.0 + 8.0, 1e-6);
    }
}

// ---------------------------------------------------------------------------------------------------------
// List editing

TEST(ListUtilsEditing, MoveAndReverseOrderKeepEveryPolyline) {
    for (int n = 0; n < 6; ++n) {
        Polylines in;
        for (int k = 0; k < n; ++k)
            in.push_back(rect(10 * k, 0, 10 * k + 1 + k, 1));
        List list(in), to(one(xy({{-5, -5}})));
        LU::reverse_order(list.c);
        auto props = each_props(list.it());
        ASSERT_EQ(props.size(), std::size_t(n));
        for (int k = 0; k < n; ++k)
            EXPECT_NEAR(props[std::size_t(k)].area, n - k, 1e-12) << k;
        LU::move(list.c, to.c);
        EXPECT_EQ(list.c.size(), 0);
        props = each_props(to.it());
        ASSERT_EQ(props.size(), std::size_t(n) + 1);
        for (int k = 0; k < n; ++k)
            EXPECT_NEAR(props[std::size_t(k) + 1].area, n - k, 1e-12) << k;
    }
}

TEST(ListUtilsEditing, ScatteringMovesEveryPositionByTheDistanceAndKeepsClosure) {
    const Polylines in = concat(concat(one(rect(0, 0, 10, 10)), one(circle(20, 0, 3))),
                                concat(one(xy({{0, 20}, {5, 21}, {9, 20}})), one(xy({{7, 7}}))));
    List list(in);
    const double d = 1e-3;
    LU::move(list.c, d);
    const int total = LU::num_points(list.it());
    ASSERT_EQ(total, 5 + 3 + 3 + 1);
    int k = total;
    std::vector<giVector3> moves;
    list.it().reset();
    for (const auto& p : in) {
        ASSERT_TRUE(++list.it());
        const int n = p->num_pos();
        ASSERT_EQ(list.it().num_pos(), n);
        for (int i = 0; i < n; ++i, --k) {
            const giVector3 m = list.it().get_pos(i) - polytest::pos(*p, i + 1);
            if (n == 1) {
                EXPECT_EQ(m.length(), 0.0);
                continue;
            }
            EXPECT_NEAR(m.length(), d, 1e-12);
            EXPECT_EQ(m.z(), 0.0);
            const bool closing = i == n - 1 && support::props_of(*p, 0.0).closed;
            const double angle = 2 * pi * (closing ? k + n - 1 : k) / total;
            EXPECT_NEAR(m.x(), d * std::cos(angle), 1e-12) << i;
            EXPECT_NEAR(m.y(), d * std::sin(angle), 1e-12) << i;
        }
    }
    EXPECT_EQ(LU::num_closed_polylines(list.it(), 0.0), 3);
    EXPECT_EQ(LU::num_arc_spans(list.it()), 2);
}

TEST(ListUtilsEditing, TouchingSegmentsJoinIntoChains) {
    // A square cut into four pieces, given out of order and one of them a little apart; and a lone piece.
    Polylines in;
    in.push_back(xy({{10, 0}, {10, 10}}));
    in.push_back(xy({{20, 20}, {30, 20}}));
    in.push_back(xy({{0, 10}, {0, 0}}));
    in.push_back(xy({{0, 0}, {10, 0}}));
    in.push_back(xy({{10, 10 + 1e-7}, {0, 10}}));
    List list(in), out;
    EXPECT_EQ(LU::append_touching_segments(list.it(), out.c, 1e-6), 2);
    const auto props = each_props(out.it());
    ASSERT_EQ(props.size(), 2u);
    EXPECT_EQ(props[0].positions, 5);
    EXPECT_EQ(props[0].closed, 1);
    EXPECT_NEAR(props[0].area, 100.0, 1e-5);
    EXPECT_EQ(props[1].positions, 2);
    // With tolerance 0 the piece a little apart does not join at its start.
    List out2;
    EXPECT_EQ(LU::append_touching_segments(list.it(), out2.c, 0.0), 2);
    const auto open = each_props(out2.it());
    EXPECT_EQ(open[0].positions, 5);
    EXPECT_EQ(open[0].closed, 0);
}

TEST(ListUtilsEditing, TemporarySpansAreTakenOutOfOffsetFlagListsOnly) {
    velPolylineWithOffsetFlagsListCursor c(ut_ptr_claim, new velAbsPolyArcLineListCursor);
    listtest::fill(c, one(utiltest::make_line({{{0, 0, 0}, {}},
                                               {{10, 0, 0}, {}},
                                               {{10, 10, 0}, giPoint3{15, 5, 0}},
                                               {{0, 10, 0}, {}},
                                               {{0, 5, 0}, {}},
                                               {{0, 0, 0}, {}}})));
    c.reset();
    ++c;
    for (int span : {0, 2, 3, 4})
        c.set_offset_flag(span, 1, -1, velSpanSide(0));
    c.set_offset_flag(1, 1, -1, velSpanSide(0));
    List lines, arcs;
    EXPECT_EQ(LU::extract_temp_lines(c.iterator(), lines.c), 2); // span 0, and spans 2 to 4
    EXPECT_NEAR(LU::length(lines.it()), 10 + 10 + 5 + 5, 1e-12);
    EXPECT_EQ(LU::extract_temp_arcs(c.iterator(), arcs.c), 1);
    EXPECT_EQ(LU::num_arc_spans(arcs.it()), 1);
    List plain(one(rect(0, 0, 1, 1))), none;
    EXPECT_EQ(LU::extract_temp_lines(plain.it(), none.c), 0);
    EXPECT_EQ(none.c.size(), 0);
}

// ---------------------------------------------------------------------------------------------------------
// Regions

TEST(ListUtilsRegions, TheRegionAroundAPointIsItsBoundaryAndItsHoles) {
    // Outer 0..20 with holes 2..8 (holding an island 4..6) and 12..18; another part 30..40 beside it.
    Polylines in = concat(one(rect(0, 0, 20, 20)), one(rect(2, 2, 8, 8, true)));
    in.push_back(rect(4, 4, 6, 6));
    in.push_back(rect(12, 12, 18, 18, true));
    in.push_back(rect(30, 0, 40, 10));
    List list(in);
    struct Row {
        giPoint3 P;
        int written;
        double area; // of what was written
    };
    const Row rows[] = {{{1, 1, 0}, 3, 400 - 36 - 36},
                        {{5, 5, 0}, 1, 4},
                        {{3, 3, 0}, 2, -36 + 4},
                        {{35, 5, 0}, 1, 100},
                        {{25, 5, 0}, 0, 0}};
    for (const Row& row : rows) {
        List out;
        EXPECT_EQ(LU::find_region_containing_pos(list.it(), row.P, out.c), row.written) << row.P;
        EXPECT_NEAR(LU::area(out.it()), row.area, 1e-9) << row.P;
    }
}

TEST(ListUtilsRegions, ContainmentInTheRegionOfNestedBoundaries) {
    List region(concat(one(rect(0, 0, 10, 10)), one(rect(4, 4, 6, 6, true))));
    for (const auto& row : bsptest::table_rows("polyutils/contains", "cases")) {
        SCOPED_TRACE(row.at(0));
        List b(bsptest::load_lines("polyutils/contains", row[0]));
        EXPECT_EQ(LU::contains(region.it(), b.it(), 1e-3), std::stoi(row.at(1)));
    }
    List empty;
    EXPECT_EQ(LU::contains(region.it(), empty.it(), 0.0), 1);
    EXPECT_EQ(LU::contains(empty.it(), region.it(), 0.0), 0);
}

TEST(ListUtilsRegions, ClosureContactsAndConvexShadows) {
    // A figure of eight closed at its crossing, and a square.
    List eight(one(xy({{0, 0}, {5, 5}, {10, 0}, {10, 10}, {5, 5}, {0, 10}, {0, 0}})));
    List eight_at_crossing(one(xy({{5, 5}, {10, 0}, {10, 10}, {5, 5}, {0, 10}, {0, 0}, {5, 5}})));
    List square(one(rect(0, 0, 1, 1)));
    EXPECT_EQ(LU::has_self_intersections_at_closure_in_2d(eight.it(), 1.1e-5), 0);
    EXPECT_EQ(LU::has_self_intersections_at_closure_in_2d(eight_at_crossing.it(), 1.1e-5), 1);
    EXPECT_EQ(LU::has_self_intersections_at_closure_in_2d(square.it(), 1.1e-5), 0);

    for (const auto& row : bsptest::table_rows("polyutils/convex", "cases")) {
        SCOPED_TRACE(row.at(0));
        List list(bsptest::load_lines("polyutils/convex", row[0]));
        EXPECT_EQ(LU::xy_projection_is_convex(list.it(), std::stod(row.at(1))), std::stoi(row.at(2)));
    }
}

// ---------------------------------------------------------------------------------------------------------
// Distances

namespace {

// Distance from X to the list, by exact nearest points span by span (circles through the three points).
double brute_distance(const Polylines& list, const giPoint3& X) {
    double best = DBL_MAX;
    for (const auto& p : list) {
        velSingleAbsArcLineListIter it(*p);
        ++it;
        if (it.num_pos() == 1) best = std::min(best, X.distance(it.get_pos(0)));
        for (int k = 0; k + 1 < it.num_pos(); ++k) {
            double f;
            best = std::min(best, utiltest::reference_nearest(it, k, X, f));
        }
    }
    return best;
}

// The smallest of dist(point of the list) by sampling each polyline and refining (utiltest::brute_minimum).
template <class Dist>
double brute_list_minimum(const Polylines& list, Dist dist) {
    double best = DBL_MAX;
    for (const auto& p : list) {
        velSingleAbsArcLineListIter it(*p);
        ++it;
        if (it.num_pos() == 0) continue;
        double t;
        best = std::min(best, it.num_pos() == 1 ? dist(it, 0.0)
                                                : utiltest::brute_minimum(
                                                      it, [&](double tt) { return dist(it, tt); }, t));
    }
    return best;
}

Polylines nonempty_random_list(Rng& rng, int count, bool tilt) {
    Polylines out;
    for (auto& p : listtest::random_list(rng, count, tilt))
        if (p->num_pos() > 0) out.push_back(std::move(p));
    return out;
}

} // namespace

TEST(ListUtilsDistances, ClosestPointsAgreeWithBruteForceSampling) {
    Rng rng(7105);
    for (int trial = 0; trial < 12; ++trial) {
        const Polylines in = nonempty_random_list(rng, 4, trial % 2 == 0);
        if (in.empty()) continue;
        List list(in);
        const giPoint3 P{rng.uniform(-60, 60), rng.uniform(-60, 60), rng.uniform(-10, 10)};
        const giPoint3 Q{rng.uniform(-60, 60), rng.uniform(-60, 60), rng.uniform(-10, 10)};
        const giVector3 dir = Q - P;
        const giPlane plane(P, giUnitVec3(giVector3{rng.uniform(-1, 1), rng.uniform(-1, 1), 1}));
        giBox3 box(giPoint3{-20, -20, -20}, giPoint3{20, 20, 20});
        auto at = [](const velPolylineListIter& it, double t) { return it.get_interpolated_pos(t); };
        auto seg = [&](const giPoint3& X) { return utiltest::segment_distance(X, P, Q); };
        auto line = [&](const giPoint3& X) {
            const giVector3 v = X - P;
            return (v - dir * (v.dot(dir) / dir.dot(dir))).length();
        };
        auto in_plane = [&](const giPoint3& X) { return plane.project(X).distance(plane.project(P)); };
        struct Row {
            const char* name;
            double got;
            double want;
        };
        int index;
        double t;
        const Row rows[] = {
            {"point", LU::closest_point(P, list.it(), index, t),
             brute_list_minimum(in, [&](auto& it, double tt) { return P.distance(at(it, tt)); })},
            {"segment", LU::closest_point(P, Q, list.it(), index, t),
             brute_list_minimum(in, [&](auto& it, double tt) { return seg(at(it, tt)); })},
            {"line", LU::closest_point(P, dir, list.it(), 0, index, t),
             brute_list_minimum(in, [&](auto& it, double tt) { return line(at(it, tt)); })},
            {"plane", LU::closest_point_in_plane(P, plane, list.it(), index, t),
             brute_list_minimum(in, [&](auto& it, double tt) { return in_plane(at(it, tt)); })},
            {"within box", LU::closest_point_within_box(P, box, list.it(), index, t),
             brute_list_minimum(in,
                                [&](auto& it, double tt) {
                                    return box.contains(at(it, tt)) ? P.distance(at(it, tt)) : DBL_MAX;
                                })},
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            if (row.want == DBL_MAX) {
                EXPECT_EQ(row.got, DBL_MAX);
                continue;
            }
            // Exact: never farther than the refined brute force, and as near up to its refinement (except at
            // the box's faces, where the samples stop short).
            EXPECT_LE(row.got, row.want + 1e-7);
            if (std::string(row.name) != "within box") {
                EXPECT_GE(row.got, row.want - 1e-6);
            }
        }
        // The point found is at the distance answered, on the polyline answered.
        const double d = LU::closest_point(P, list.it(), index, t);
        ASSERT_GE(index, 0);
        list.it().set_index(index);
        EXPECT_NEAR(P.distance(list.it().get_interpolated_pos(t)), d, 1e-9);
        // The position forms stand on points at the distances answered.
        velPolylinePosition pos;
        double dp = LU::closest_point(P, list.it(), pos);
        EXPECT_NEAR(P.distance(pos.point()), dp, 1e-9);
        dp = LU::closest_point(P, Q, list.it(), pos);
        EXPECT_NEAR(seg(pos.point()), dp, 1e-9);
        dp = LU::closest_point(P, dir, list.it(), 0, pos);
        EXPECT_NEAR(line(pos.point()), dp, 1e-9);
        // Leaving that polyline out finds something no nearer.
        int other;
        double t2;
        EXPECT_GE(LU::closest_point_on_all_but(P, list.it(), index, other, t2), d);
        EXPECT_NE(other, index);
    }
}

TEST(ListUtilsDistances, ChordDistancesBetweenListsAgreeWithSampling) {
    Rng rng(7106);
    for (int trial = 0; trial < 10; ++trial) {
        const Polylines a = nonempty_random_list(rng, 3, false), b = nonempty_random_list(rng, 3, true);
        if (a.empty() || b.empty()) continue;
        List la(a), lb(b);
        // Brute force: points of a's chords against b's chords.
        double want = DBL_MAX;
        for (const auto& pa : a)
            for (int i = 1; i <= std::max(1, pa->num_pos() - 1); ++i) {
                const giPoint3 A = polytest::pos(*pa, i),
                               B = polytest::pos(*pa, std::min(i + 1, pa->num_pos()));
                for (int s = 0; s <= 2000; ++s) {
                    const giPoint3 X = A + (B - A) * (s / 2000.0);
                    for (const auto& pb : b)
                        for (int j = 1; j <= std::max(1, pb->num_pos() - 1); ++j)
                            want = std::min(want, utiltest::segment_distance(
                                                      X, polytest::pos(*pb, j),
                                                      polytest::pos(*pb, std::min(j + 1, pb->num_pos()))));
                }
            }
        int ia, ib;
        double ta, tb;
        const double got = LU::min_distance(la.it(), lb.it(), ia, ta, ib, tb);
        EXPECT_LE(got, want + 1e-9);
        EXPECT_GE(got, want - 0.1);
        EXPECT_EQ(LU::min_distance_smaller_than(la.it(), lb.it(), got + 1e-9), 1);
        EXPECT_EQ(LU::min_distance_smaller_than(la.it(), lb.it(), got), 0);
    }
}

TEST(ListUtilsDistances, HausdorffDistancesAgreeWithDenseSampling) {
    Rng rng(7107);
    for (int trial = 0; trial < 8; ++trial) {
        const Polylines a = nonempty_random_list(rng, 2, trial % 2 == 0),
                        b = nonempty_random_list(rng, 3, true);
        if (a.empty() || b.empty()) continue;
        List la(a), lb(b);
        // Every sample's distance is a lower bound; samples 1/m of a span apart miss at most half that
        // length.
        double sampled = 0.0, slack = 0.0;
        const int m = 400;
        for (const auto& p : a) {
            velSingleAbsArcLineListIter it(*p);
            ++it;
            for (const giPoint3& X : utiltest::polygonize(it, m))
                sampled = std::max(sampled, brute_distance(b, X));
            for (int k = 0; k + 1 < it.num_pos(); ++k)
                slack = std::max(slack, 2 * U::span_length(k, it) / m);
        }
        // The bisection's promise: within distance_accuracy of the size of the lists' common box.
        giBox3 common = LU::box(la.it(), vel_3d_box);
        common.merge(LU::box(lb.it(), vel_3d_box));
        const double accuracy = std::max(velTol::coincident, LU::distance_accuracy * common.diagonal());
        const double got = LU::max_distance_one_way(la.it(), lb.it());
        EXPECT_GE(got, sampled - accuracy);
        EXPECT_LE(got, sampled + slack + accuracy);
        const double both = LU::max_distance(la.it(), lb.it());
        EXPECT_GE(both, got);
        EXPECT_NEAR(both, std::max(got, LU::max_distance_one_way(lb.it(), la.it())), 1e-12);
        EXPECT_EQ(LU::max_distance_smaller_than(la.it(), lb.it(), both * 1.001), 1);
        EXPECT_EQ(LU::max_distance_smaller_than(la.it(), lb.it(), both * 0.999), 0);
    }
}

TEST(ListUtilsDistances, EmptyListsAndPolylinesTakeNoPart) {
    List line(one(xy({{0, 0}, {100, 0}}))), empty;
    Polylines with_empty = one(xy({{0, 1}, {100, 1}}));
    with_empty.insert(with_empty.begin(), std::make_unique<velPolyArcLineDouble>());
    List parallel_and_empty(with_empty);
    EXPECT_NEAR(LU::max_distance(parallel_and_empty.it(), line.it()), 1.0, 1e-9);
    EXPECT_NEAR(LU::max_distance(line.it(), parallel_and_empty.it()), 1.0, 1e-9);
    EXPECT_EQ(LU::max_distance_one_way(empty.it(), line.it()), 0.0);
    EXPECT_EQ(LU::max_distance_one_way(line.it(), empty.it()), DBL_MAX);
}

// ---------------------------------------------------------------------------------------------------------
// Boxes and planes

TEST(ListUtilsBoxes, TrimmingOutsideABoxKeepsTheSpansThatReachIntoIt) {
    Rng rng(7108);
    for (int trial = 0; trial < 20; ++trial) {
        const Polylines in = listtest::random_list(rng, 10, trial % 2 == 1);
        List list(in);
        const giPoint3 lo{rng.uniform(-50, 10), rng.uniform(-50, 10), -3};
        const giBox3 box(lo, giPoint3{lo.x + rng.uniform(5, 40), lo.y + rng.uniform(5, 40), 3});
        // Independent choice: spans whose own box (support's arc extremes) crosses the box; the length
        // inside the box by sampling, which what is kept must cover.
        double want = 0.0, inside = 0.0;
        for (const auto& p : in) {
            velSingleAbsArcLineListIter it(*p);
            ++it;
            for (int k = 0; k + 1 < it.num_pos(); ++k) {
                Polylines span_only;
                std::vector<V> vs{{it.get_pos(k), {}}, {it.get_pos(k + 1), {}}};
                if (!it.span_linear(k)) vs[1].mid = it.get_mid_pos(k);
                const support::Props sp = support::props_of(*utiltest::make_line(vs));
                if (sp.box.crosses(box)) want += sp.length;
                const std::vector<giPoint3> pts = utiltest::polygonize(it, 200);
                for (std::size_t i = std::size_t(k) * 200; i < std::size_t(k + 1) * 200; ++i)
                    if (box.contains(pts[i].interpolate(pts[i + 1], 0.5)))
                        inside += pts[i].distance(pts[i + 1]);
            }
        }
        velTrimmedPolylineListIter trimmed(list.it());
        LU::trim_outside_box(box, trimmed);
        const double kept = LU::length(trimmed);
        EXPECT_NEAR(kept, want, 1e-9 * std::max(1.0, want));
        EXPECT_GE(kept, inside - 1e-6);
        // The 2D form keeps the same in XY with or without the box cache (these boxes reach over all z).
        velTrimmedPolylineListIter flat(list.it()), cached(list.it());
        velPolyarcline2dBoxCache cache;
        cache.cache_boxes(list.it());
        LU::trim_outside_box(box.xy(), flat);
        LU::trim_outside_box(box.xy(), cached, &cache);
        EXPECT_NEAR(LU::length(flat), LU::length(cached), 1e-9);
        EXPECT_EQ(flat.size(), cached.size());
        EXPECT_GE(LU::length(flat), kept - 1e-9);
    }
}

TEST(ListUtilsBoxes, BestFitPlaneOfATiltedListAndTheLeastBoxAroundIt) {
    for (double tilt : {0.0, 0.4, -1.1}) {
        SCOPED_TRACE(tilt);
        auto tilted = [&](double x, double y) { return listtest::tilted({x, y, 2.0}, tilt); };
        // An anticlockwise rectangle 8 x 3 turned by 30 degrees in its plane, and a circle in the same plane.
        const double c = std::cos(pi / 6), s = std::sin(pi / 6);
        std::vector<V> vs;
        for (auto [x, y] : {std::array<double, 2>{0, 0}, {8, 0}, {8, 3}, {0, 3}, {0, 0}})
            vs.push_back({tilted(c * x - s * y, s * x + c * y), {}});
        List list(one(utiltest::make_line(vs)));
        const giUnitVec3 n = LU::best_fit_plane_normal(list.it());
        EXPECT_NEAR(n.x(), 0.0, 1e-12);
        EXPECT_NEAR(n.y(), -std::sin(tilt), 1e-12);
        EXPECT_NEAR(n.z(), std::cos(tilt), 1e-12);
        giWorkplane3 wp;
        giBox3 box;
        ASSERT_EQ(LU::optimised_box(list.it(), wp, box), 1);
        EXPECT_NEAR(box.xlength() * box.ylength(), 24.0, 1e-9);
        EXPECT_NEAR(box.zlength(), 0.0, 1e-9);
        // The box holds the list in workplane coordinates.
        for (const V& v : vs)
            EXPECT_TRUE(box.contains(wp.to_work(v.p), 1e-9));
    }
    // A circle's least box is its square; a horizontal line lies in a horizontal plane.
    List round(one(circle(3, 4, 2, 1)));
    giWorkplane3 wp;
    giBox3 box;
    ASSERT_EQ(LU::optimised_box(round.it(), wp, box), 1);
    EXPECT_NEAR(box.xlength(), 4.0, 1e-9);
    EXPECT_NEAR(box.ylength(), 4.0, 1e-9);
    List line(one(xy({{0, 0}, {5, 1}})));
    const giUnitVec3 up = LU::best_fit_plane_normal(line.it());
    EXPECT_NEAR(up.z(), 1.0, 1e-12);
    List empty;
    EXPECT_EQ(LU::optimised_box(empty.it(), wp, box), 0);
}

TEST(ListUtilsMeasures, FollowTheMetamorphicVariantsOfAList) {
    Polylines in = concat(one(rect(0, 0, 4, 3)), one(circle(10, 2, 1.5)));
    in.push_back(xy({{0, 5}, {3, 6}, {5, 5}, {6, 5}}));
    const support::Props want = support::list_props_of(in);
    support::for_each_morph(in, [&](const support::Morph& m, const Polylines& morphed) {
        List list(morphed);
        const support::Props p = m.props(want);
        const support::Tol tol = m.tol({});
        EXPECT_NEAR(LU::length(list.it()), p.length, 1e-9 * p.length);
        // The open polyline adds its area closed by its chord (clockwise, -2.5), with the morph's sign and
        // scale.
        const double open = -2.5 * (m.flips_orientation() ? -1 : 1) * m.length_factor() * m.length_factor();
        EXPECT_NEAR(LU::area(list.it()), p.area + open, 1e-9 * std::fabs(p.area) + tol.abs);
        EXPECT_EQ(LU::largest_area(list.it()), 0);
        EXPECT_EQ(LU::smallest_area(list.it()), 1);
        const giBox3 b = LU::box(list.it(), vel_3d_box);
        EXPECT_TRUE(b.min().coincident(p.box.min(), 1e-9 * m.length_factor() + tol.abs));
        EXPECT_TRUE(b.max().coincident(p.box.max(), 1e-9 * m.length_factor() + tol.abs));
    });
}

} // namespace velPolylineListUtils_test
