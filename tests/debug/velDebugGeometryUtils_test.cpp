#include "debugChannelKit.h"

#include "arcline/debug/velDebugGeometryUtils.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/giFloatArray3.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <cmath>
#include <numbers>
#include <set>

namespace velDebugGeometryUtils_test {

using namespace dbgtest;
using U = velDebugGeometryUtils;

namespace {

constexpr double pi = std::numbers::pi;

// Positions and mid points in order; drawings are single-precision polylines, so positions are compared
// within float rounding.
std::vector<giPoint3> positions(const velAbsPolyArcLine& p, bool mids = false) {
    std::vector<giPoint3> out;
    for (int i = 1; i <= p.num_pos(); ++i) {
        giPoint3 q;
        if (mids && i > 1 && !p.span_linear(i - 1)) {
            p.get_mid_pos(i - 1, q);
            out.push_back(q);
        }
        p.get_pos(i, q);
        out.push_back(q);
    }
    return out;
}

void expect_near(const std::vector<giPoint3>& got, const std::vector<giPoint3>& want,
                 const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_LT(got[i].distance(want[i]), 1e-5 * (1.0 + std::fabs(want[i].x) + std::fabs(want[i].y)))
            << what << " position " << i << ": " << got[i] << " want " << want[i];
}

// Expected positions worked out by hand from the table of drawings: u(t) = (sin t, cos t, 0). Every span
// straight.
TEST(DebugDrawings, PositionsFollowTheTable) {
    const double s60 = std::sqrt(3.0);
    struct Case {
        const char* name;
        std::unique_ptr<velAbsPolyArcLine> drawing;
        std::vector<giPoint3> want;
    };
    // clang-format off
    Case cases[] = {
        {"line", U::line_drawing({1, 2, 3}, {4, 5, 6}), {{1, 2, 3}, {4, 5, 6}}},
        {"flat box", U::box_drawing(giBox2({3, 4}, {-1, 2}), 7.0), {{-1, 2, 7}, {3, 2, 7}, {3, 4, 7}, {-1, 4, 7}, {-1, 2, 7}}},
        {"cross, first spoke up", U::cross_drawing({1, 1, 0}, 1.0, 4, 0.0), {{1, 1, 0}, {1, 2, 0}, {1, 1, 0}, {2, 1, 0}, {1, 1, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, 1, 0}}},
        {"cross turned 45", U::cross_drawing({0, 0, 5}, std::sqrt(2.0), 2, 45.0), {{0, 0, 5}, {1, 1, 5}, {0, 0, 5}, {-1, -1, 5}, {0, 0, 5}}},
        {"triangle turned 90", U::polygon_drawing({0, 0, 0}, 2.0, 3, 90.0), {{2, 0, 0}, {-1, -s60, 0}, {-1, s60, 0}, {2, 0, 0}}},
        {"square", U::polygon_drawing({10, 10, 1}, 1.0, 4, 0.0), {{10, 11, 1}, {11, 10, 1}, {10, 9, 1}, {9, 10, 1}, {10, 11, 1}}},
        {"arrow", U::arrow_drawing(giPoint3{0, 0, 0}, giPoint3{10, 0, 0}), {{0, 0, 0}, {10, 0, 0}, {8, 1, 0}, {8, -1, 0}, {10, 0, 0}}},
        {"arrow along a vector", U::arrow_drawing(giPoint3{1, 1, 0}, giVector3{0, -5, 0}), {{1, 1, 0}, {1, -4, 0}, {1.5, -3, 0}, {0.5, -3, 0}, {1, -4, 0}}},
        {"arrow up Z spreads along X", U::arrow_drawing(giPoint3{0, 0, 0}, giPoint3{0, 0, 5}), {{0, 0, 0}, {0, 0, 5}, {0.5, 0, 4}, {-0.5, 0, 4}, {0, 0, 5}}},
        {"arrow of no length", U::arrow_drawing(giPoint3{2, 2, 2}, giPoint3{2, 2, 2}), {{2, 2, 2}, {2, 2, 2}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        expect_near(positions(*c.drawing), c.want, c.name);
        for (int i = 1; i < c.drawing->num_pos(); ++i)
            EXPECT_TRUE(c.drawing->span_linear(i)) << c.name;
    }
}

// An arc through its mid point; circles of two half arcs anticlockwise about the normal, starting at
// c + r e1 through c + r e2.
TEST(DebugDrawings, ArcsAndCirclesAboutTheirNormals) {
    const auto arc = U::arc_drawing({1, 0, 0}, {-1, 0, 0}, {0, 1, 0});
    expect_near(positions(*arc, true), {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}}, "arc");
    EXPECT_NEAR(arc->length(), pi, 1e-6);
    struct Circle {
        giPoint3 centre;
        double radius;
        giVector3 normal;
        giPoint3 start, mid;
    };
    const double h = std::sqrt(0.5);
    const Circle circles[] = {
        {{0, 0, 0}, 1.0, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {{5, 5, 2}, 2.0, {0, 0, 7}, {7, 5, 2}, {5, 7, 2}},
        {{0, 0, 0}, 1.0, {0, 0, -1}, {1, 0, 0}, {0, -1, 0}}, // seen from below it turns the other way
        {{0, 0, 0}, 3.0, {2, 0, 0}, {0, 3, 0}, {0, 0, 3}},   // Y the first of the least aligned axes
        {{1, 1, 1}, 1.0, {0, 0, 0}, {2, 1, 1}, {1, 2, 1}},   // a zero normal is Z
        {{0, 0, 0}, 1.0, {0, 1, 1}, {1, 0, 0}, {0, h, -h}},  // tilted: e2 = n x X
    };
    for (const Circle& c : circles) {
        const auto circle = U::circle_drawing(c.centre, c.radius, c.normal);
        const giPoint3 opposite = c.centre - (c.start - c.centre), other_mid = c.centre - (c.mid - c.centre);
        expect_near(positions(*circle, true), {c.start, c.mid, opposite, other_mid, c.start}, "circle");
        EXPECT_NEAR(circle->length(), 2 * pi * c.radius, 1e-5 * c.radius);
    }
}

TEST(DebugDrawings, BoxInSpaceWalksEveryEdge) {
    const giBox3 box({-1, 0, 2}, {3, 5, 4});
    const std::vector<giPoint3> p = positions(*U::box_drawing(box));
    ASSERT_EQ(p.size(), 16u);
    EXPECT_EQ(p.front(), box.min());
    std::set<std::pair<std::vector<double>, std::vector<double>>> edges;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        const giPoint3 a = p[i], b = p[i + 1];
        // Each step runs along one edge: one coordinate changes, from one side of the box to the other.
        EXPECT_EQ((a.x != b.x) + (a.y != b.y) + (a.z != b.z), 1) << i;
        for (const giPoint3& q : {a, b})
            EXPECT_TRUE((q.x == -1 || q.x == 3) && (q.y == 0 || q.y == 5) && (q.z == 2 || q.z == 4)) << q;
        std::vector<double> u{a.x, a.y, a.z}, v{b.x, b.y, b.z};
        if (v < u) std::swap(u, v);
        edges.insert({u, v});
    }
    EXPECT_EQ(edges.size(), 12u);
    EXPECT_EQ(U::box_drawing(giBox3())->num_pos(), 0);
    EXPECT_EQ(U::box_drawing(giBox2(), 0.0)->num_pos(), 0);
}

// The squares [0, 2]^2 and [1, 3]^2 cross at (2, 1) and (1, 2): circles about them, or points.
TEST(DebugDrawings, CrossingsOfAListAsCirclesOrPoints) {
    Recorder rec;
    velDebugGeometry channel("test:crossings", "", "");
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    coDListcoCursor<velAbsPolyArcLinecoPrg> cursor(list);
    for (const double o : {0.0, 1.0}) {
        auto sq = std::make_shared<velPolyArcLineDouble>();
        for (const giPoint3& q : {giPoint3(o, o, 0), giPoint3(o + 2, o, 0), giPoint3(o + 2, o + 2, 0),
                                  giPoint3(o, o + 2, 0), giPoint3(o, o, 0)})
            sq->add_pos(q);
        cursor.insert_last(sq);
    }
    const velAbsPolyArcLineListIter it(list);
    U::output_polyline_intersections(it, 0.25, channel, "crossings", 1); // level 0: nothing computed
    EXPECT_EQ(channel.num_polylines(), 0);
    const LevelGuard guard(channel, 1);
    U::output_polyline_intersections(it, 0.25, channel, "crossings", 1);
    U::output_polyline_intersections(it, 0.0, channel, "points", 1);
    channel.flush_level();
    const std::vector<Call> calls = rec.calls();
    ASSERT_EQ(calls.size(), 2u);
    std::set<std::pair<double, double>> centres, points;
    EXPECT_EQ(calls[0].arcs, 4);
    for (const auto& circle : calls[0].polylines) {
        ASSERT_EQ(circle.size(), 3u);
        const giPoint3 c = circle[0].interpolate(circle[1], 0.5);
        EXPECT_NEAR(circle[0].distance(c), 0.25, 1e-6);
        centres.emplace(std::round(c.x * 1e5) / 1e5, std::round(c.y * 1e5) / 1e5);
    }
    for (const auto& point : calls[1].polylines) {
        ASSERT_EQ(point.size(), 1u);
        points.emplace(point[0].x, point[0].y);
    }
    const std::set<std::pair<double, double>> want{{1, 2}, {2, 1}};
    EXPECT_EQ(centres, want);
    EXPECT_EQ(points, want);
}

} // namespace

} // namespace velDebugGeometryUtils_test
