#include "debugChannelKit.h"

#include "arcline/debug/velDebugGeometryUtils.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/giFloatArray3.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <cmath>
#include <functional>
#include <numbers>
#include <set>

namespace velDebugGeometryUtils_test {

using namespace dbgtest;
using U = velDebugGeometryUtils;

namespace {

constexpr double pi = std::numbers::pi;
// Drawings are single-precision polylines: positions are rounded to floats.
constexpr double float_tol = 1e-5;

std::vector<giPoint3> positions(const velAbsPolyArcLine& p) {
    std::vector<giPoint3> out;
    for (int i = 1; i <= p.num_pos(); ++i) {
        giPoint3 q;
        p.get_pos(i, q);
        out.push_back(q);
    }
    return out;
}

void expect_near(const std::vector<giPoint3>& got, const std::vector<giPoint3>& want,
                 const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_LT(got[i].distance(want[i]), float_tol * (1.0 + std::fabs(want[i].x) + std::fabs(want[i].y)))
            << what << " position " << i << ": " << got[i] << " want " << want[i];
}

struct DrawingCase {
    std::string name;
    std::function<std::unique_ptr<velAbsPolyArcLine>()> draw;
    std::vector<giPoint3> want;
};

// Expected positions worked out by hand from the table of drawings: u(t) = (sin t, cos t, 0).
std::vector<DrawingCase> cases() {
    const double s60 = std::sqrt(3.0);
    return {
        {"line",
         [] {
             return U::line_drawing({1, 2, 3}, {4, 5, 6});
         },
         {{1, 2, 3}, {4, 5, 6}}},
        {"flat box",
         [] {
             return U::box_drawing(giBox2({3, 4}, {-1, 2}), 7.0);
         },
         {{-1, 2, 7}, {3, 2, 7}, {3, 4, 7}, {-1, 4, 7}, {-1, 2, 7}}},
        {"cross of four spokes, first up",
         [] {
             return U::cross_drawing({1, 1, 0}, 1.0, 4, 0.0);
         },
         {{1, 1, 0}, {1, 2, 0}, {1, 1, 0}, {2, 1, 0}, {1, 1, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, 1, 0}}},
        {"cross of two spokes turned 45 degrees",
         [] {
             return U::cross_drawing({0, 0, 5}, std::sqrt(2.0), 2, 45.0);
         },
         {{0, 0, 5}, {1, 1, 5}, {0, 0, 5}, {-1, -1, 5}, {0, 0, 5}}},
        {"triangle turned 90 degrees",
         [] {
             return U::polygon_drawing({0, 0, 0}, 2.0, 3, 90.0);
         },
         {{2, 0, 0}, {-1, -s60, 0}, {-1, s60, 0}, {2, 0, 0}}},
        {"square",
         [] {
             return U::polygon_drawing({10, 10, 1}, 1.0, 4, 0.0);
         },
         {{10, 11, 1}, {11, 10, 1}, {10, 9, 1}, {9, 10, 1}, {10, 11, 1}}},
        {"arrow in the plane",
         [] {
             return U::arrow_drawing(giPoint3{0, 0, 0}, giPoint3{10, 0, 0});
         },
         {{0, 0, 0}, {10, 0, 0}, {8, 1, 0}, {8, -1, 0}, {10, 0, 0}}},
        {"arrow along a vector",
         [] {
             return U::arrow_drawing(giPoint3{1, 1, 0}, giVector3{0, -5, 0});
         },
         {{1, 1, 0}, {1, -4, 0}, {1.5, -3, 0}, {0.5, -3, 0}, {1, -4, 0}}},
        {"arrow up Z spreads along X",
         [] {
             return U::arrow_drawing(giPoint3{0, 0, 0}, giPoint3{0, 0, 5});
         },
         {{0, 0, 0}, {0, 0, 5}, {0.5, 0, 4}, {-0.5, 0, 4}, {0, 0, 5}}},
        {"arrow of no length",
         [] {
             return U::arrow_drawing(giPoint3{2, 2, 2}, giPoint3{2, 2, 2});
         },
         {{2, 2, 2}, {2, 2, 2}}},
    };
}

class Drawings : public ::testing::TestWithParam<DrawingCase> {};

TEST_P(Drawings, PositionsFollowTheTable) {
    const DrawingCase& c = GetParam();
    const auto drawing = c.draw();
    expect_near(positions(*drawing), c.want, c.name);
    for (int i = 1; i < drawing->num_pos(); ++i)
        EXPECT_TRUE(drawing->span_linear(i)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, Drawings, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<DrawingCase>& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return n;
                         });

TEST(DebugDrawings, StarStartsUpAtHalfSizeThenAPoint) {
    const auto star = U::star_drawing({0, 0, 0}, 2.0);
    const std::vector<giPoint3> p = positions(*star);
    ASSERT_EQ(p.size(), 11u);
    expect_near({p[0], p[1]}, {{0, 1, 0}, {2 * std::sin(pi / 5), 2 * std::cos(pi / 5), 0}}, "star");
    // Points at the size, dents at half of it, every 36 degrees, and closed.
    for (int i = 0; i <= 10; ++i) {
        const double r = i % 2 ? 2.0 : 1.0;
        expect_near({p[static_cast<std::size_t>(i)]},
                    {{r * std::sin(i * pi / 5), r * std::cos(i * pi / 5), 0}}, "star " + std::to_string(i));
    }
    EXPECT_LT(p.front().distance(p.back()), 1e-12); // sin(2 pi) is not quite 0
    // Moved: every position moves with the centre.
    expect_near(
        positions(*U::star_drawing({100, -50, 3}, 2.0)),
        [&] {
            std::vector<giPoint3> moved;
            for (const giPoint3& q : p)
                moved.push_back({q.x + 100, q.y - 50, q.z + 3});
            return moved;
        }(),
        "moved star");
}

TEST(DebugDrawings, ArcGoesThroughItsMidPoint) {
    const auto arc = U::arc_drawing({1, 0, 0}, {-1, 0, 0}, {0, 1, 0});
    ASSERT_EQ(arc->num_pos(), 2);
    EXPECT_FALSE(arc->span_linear(1));
    giPoint3 mid;
    arc->get_mid_pos(1, mid);
    EXPECT_EQ(mid, (giPoint3{0, 1, 0}));
    EXPECT_NEAR(arc->length(), pi, 1e-6);
}

struct CircleCase {
    giPoint3 centre;
    double radius;
    giVector3 normal;
    giPoint3 start; // c + r e1
    giPoint3 mid;   // c + r e2
};

class Circles : public ::testing::TestWithParam<CircleCase> {};

TEST_P(Circles, TwoHalfArcsAnticlockwiseAboutTheNormal) {
    const CircleCase c = GetParam();
    const auto circle = U::circle_drawing(c.centre, c.radius, c.normal);
    ASSERT_EQ(circle->num_pos(), 3);
    const std::vector<giPoint3> p = positions(*circle);
    giPoint3 m1, m2;
    circle->get_mid_pos(1, m1);
    circle->get_mid_pos(2, m2);
    const giVector3 to_start = c.start - c.centre;
    const giPoint3 opposite = c.centre - to_start;
    const giPoint3 other_mid = c.centre - (c.mid - c.centre);
    expect_near({p[0], m1, p[1], m2, p[2]}, {c.start, c.mid, opposite, other_mid, c.start}, "circle");
    EXPECT_NEAR(circle->length(), 2 * pi * c.radius, 1e-5 * c.radius);
}

INSTANTIATE_TEST_SUITE_P(
    Normals, Circles,
    ::testing::Values(CircleCase{{0, 0, 0}, 1.0, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
                      CircleCase{{5, 5, 2}, 2.0, {0, 0, 7}, {7, 5, 2}, {5, 7, 2}},
                      // Seen from below the circle turns the other way.
                      CircleCase{{0, 0, 0}, 1.0, {0, 0, -1}, {1, 0, 0}, {0, -1, 0}},
                      // X normal: Y is the first of the two least aligned axes; e2 = X x Y = Z.
                      CircleCase{{0, 0, 0}, 3.0, {2, 0, 0}, {0, 3, 0}, {0, 0, 3}},
                      // A zero normal is Z.
                      CircleCase{{1, 1, 1}, 1.0, {0, 0, 0}, {2, 1, 1}, {1, 2, 1}},
                      // Tilted: the normal (0, 1, 1)/sqrt2; X is least aligned, e2 = n x X.
                      CircleCase{
                          {0, 0, 0}, 1.0, {0, 1, 1}, {1, 0, 0}, {0, std::sqrt(0.5), -std::sqrt(0.5)}}));

TEST(DebugDrawings, BoxInSpaceWalksEveryEdge) {
    const giBox3 box({-1, 0, 2}, {3, 5, 4});
    const std::vector<giPoint3> p = positions(*U::box_drawing(box));
    ASSERT_EQ(p.size(), 16u);
    EXPECT_EQ(p.front(), box.min());
    std::set<std::pair<std::vector<double>, std::vector<double>>> edges;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        const giPoint3 a = p[i], b = p[i + 1];
        // Each step runs along one edge: one coordinate changes, from one side of the box to the other.
        const int changed = (a.x != b.x) + (a.y != b.y) + (a.z != b.z);
        EXPECT_EQ(changed, 1) << i;
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
    // The squares [0, 2]^2 and [1, 3]^2 cross at (2, 1) and (1, 2).
    std::set<std::pair<double, double>> centres, points;
    ASSERT_EQ(calls[0].polylines.size(), 2u);
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
