#include "arcline/platform/torArc3.h"

#include "arcline/platform/torArc3Utils.h"
#include "arcline/platform/torCompCurve3.h"
#include "arcline/platform/torLine3.h"
#include "arcline/platform/torPolygonizeTRP3.h"
#include "arcline/platform/torPolyline2.h"
#include "arcline/platform/torPolyline3.h"
#include "arcline/platform/torTrimmedCurve3.h"

#include "../polyline/polylineTestKit.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>

namespace torArc3_test {

namespace {

constexpr double pi = std::numbers::pi;

TEST(torArc3, DegenerateArcsPolygonizeAsTheirChord) {
    std::vector<giPoint3> pts;
    std::vector<double> ts;
    const auto straight = std::make_shared<torArc3>(giPoint3(0, 0, 0), giPoint3(1, 0, 0), giPoint3(3, 0, 0));
    torPolygonizeTRP3::polygonize(*straight, 0.0, pts, ts);
    EXPECT_EQ(ts, (std::vector<double>{0, 1}));
    EXPECT_EQ(straight->radius(), 0.0);
    // Collinear but for rounding: a vast radius, still one chord.
    const auto nearly = std::make_shared<torArc3>(giPoint3(0, 0, 0), giPoint3(1, 1, 1), giPoint3(3, 3, 3));
    torPolygonizeTRP3::polygonize(*nearly, 0.0, pts, ts);
    EXPECT_EQ(ts, (std::vector<double>{0, 1}));
    // A zero tolerance is raised to the smallest one, not endless chords.
    const auto half = std::make_shared<torArc3>(giPoint3(-1, 0, 0), giPoint3(0, 1, 0), giPoint3(1, 0, 0));
    torPolygonizeTRP3::polygonize(*half, 0.0, pts, ts);
    EXPECT_GT(ts.size(), 1000u);
    EXPECT_LT(ts.size(), 100000u);
}

// Random arcs in space: the parameter runs from S (0) through M (0.5) to E (1), on the circle, onwards, and
// the derivatives are those of that motion.
TEST(torArc3Utils, EvaluateAndDerivativesFollowTheArc) {
    polytest::Rng rng(31);
    for (int i = 0; i < 150; ++i) {
        const polytest::Circle k = polytest::random_circle(rng, 0.05, 50, 100);
        const double a = rng.uniform(-pi, pi), sweep = rng.uniform(0.02, 1.95 * pi);
        const giPoint3 S = k.at(a), M = k.at(a + sweep / 2), E = k.at(a + sweep);
        const double eps = 1e-11 * (200 + k.R);
        EXPECT_LT(torArc3Utils::evaluate(S, M, E, 0).distance(S), eps);
        EXPECT_LT(torArc3Utils::evaluate(S, M, E, 0.5).distance(M), eps);
        EXPECT_LT(torArc3Utils::evaluate(S, M, E, 1).distance(E), eps);
        double last = a - 1e-6;
        for (int j = 0; j < 8; ++j) {
            const double t = j / 8.0 + rng.uniform(0, 0.125);
            const giPoint3 p = torArc3Utils::evaluate(S, M, E, t);
            ASSERT_LT(k.distance(p), eps);
            const double angle = k.angle(p, a - 1e-6);
            ASSERT_GT(angle, last);
            last = angle;

            // Central differences with a step that keeps truncation and rounding both small.
            const double h = 1e-5;
            auto d1 = [&](double s) { return torArc3Utils::derivative(S, M, E, 1, s); };
            const giVector3 v = d1(t), acc = torArc3Utils::derivative(S, M, E, 2, t);
            const giVector3 fd1 =
                (torArc3Utils::evaluate(S, M, E, t + h) - torArc3Utils::evaluate(S, M, E, t - h)) / (2 * h);
            EXPECT_LT((v - fd1).length(), 1e-6 * v.length() + 1e-13 * (200 + k.R) / h);
            EXPECT_LT((acc - (d1(t + h) - d1(t - h)) / (2 * h)).length(), 1e-5 * (acc.length() + v.length()));
            EXPECT_EQ(torArc3Utils::derivative(S, M, E, 0, t), p.as_vector());
        }
        EXPECT_EQ(torArc3Utils::derivative(S, M, E, 3, 0.3), giVector3(0, 0, 0));
        EXPECT_EQ(torArc3Utils::derivative(S, M, E, -1, 0.3), giVector3(0, 0, 0));
    }
}

TEST(torArc3Utils, DegenerateArcs) {
    const giPoint3 S(1, 2, 3), E(5, 2, 3), M(4, 2, 3); // M on the chord: the chord itself
    EXPECT_EQ(torArc3Utils::evaluate(S, M, E, 0.25), giPoint3(2, 2, 3));
    EXPECT_EQ(torArc3Utils::derivative(S, M, E, 1, 0.7), E - S);
    EXPECT_EQ(torArc3Utils::derivative(S, M, E, 2, 0.7), giVector3(0, 0, 0));
    EXPECT_EQ(torArc3Utils::evaluate(S, {2, 7, 3}, S, 0.4), S); // coincident ends
    // A half circle of radius 2 in the plane y = 2 (bulge 1): t = 0.75 is 2 atan(1 / 2) past the top.
    EXPECT_NEAR(torArc3Utils::evaluate(S, {3, 2, 5}, E, 0.75).distance({4.6, 2, 4.2}), 0, 1e-15);
}

// A line of range 1, a quarter circle of range 1 and a point-array curve of range 2, end to end.
std::shared_ptr<torCompCurve3> line_arc_polyline() {
    const double h = std::sqrt(0.5);
    return std::make_shared<torCompCurve3>(std::vector<torCurvePtr3>{
        std::make_shared<torLine3>(giPoint3(0, 0, 0), giPoint3(2, 0, 0)),
        std::make_shared<torArc3>(giPoint3(2, 0, 0), giPoint3(2 + h, 1 - h, 0), giPoint3(3, 1, 0)),
        std::make_shared<torPolyline3>(std::vector<giPoint3>{{3, 1, 0}, {3, 2, 0}, {4, 2, 1}})});
}

TEST(torCompCurve3, PartsTakeShiftedParameters) {
    const auto c = line_arc_polyline();
    EXPECT_EQ(c->num_curves(), 3);
    EXPECT_EQ(c->part_start(2), 2.0);
    EXPECT_EQ(c->end_param(), 4.0);
    EXPECT_EQ(c->evaluate(0.25), giPoint3(0.5, 0, 0));
    EXPECT_EQ(c->evaluate(1.5), c->get_curve(1)->evaluate(0.5));
    EXPECT_EQ(c->evaluate(3.5), giPoint3(3.5, 2, 0.5));
    EXPECT_EQ(c->evaluate(9), giPoint3(4, 2, 1));
}

// The composite's polygon is its parts' polygons joined once at each joint; a piece from inside one part to
// inside another polygonizes from its own start.
TEST(torCompCurve3, PolygonJoinsThePartsPolygons) {
    const auto c = line_arc_polyline();
    std::vector<giPoint3> pts;
    std::vector<double> ts;
    torPolygonizeTRP3::polygonize(*c, 0.01, pts, ts);
    // Line: 0, 1. Quarter circle of radius 1 within 0.01: 6 chords (2 acos(0.99) = 0.283 rad each at most).
    // Polyline: 3, 4.
    ASSERT_EQ(ts.size(), 10u);
    EXPECT_EQ(ts[1], 1.0);
    EXPECT_EQ(ts[7], 2.0);
    EXPECT_EQ(ts[8], 3.0);
    for (std::size_t k = 0; k < ts.size(); ++k)
        EXPECT_EQ(pts[k], c->evaluate(ts[k]));

    const torCurvePtr3 piece = c->subcurve(3.5, 0.5);
    torPolygonizeTRP3::polygonize(*piece, 0.01, pts, ts);
    EXPECT_EQ(pts.front(), giPoint3(3.5, 2, 0.5));
    EXPECT_EQ(pts.back(), giPoint3(1, 0, 0));
    EXPECT_EQ(ts.size(), 10u); // 3.5, 3, 2, the arc's six chords back to 1, then 0.5
}

TEST(torPolyline3, ParametersRunAlongTheChords) {
    torPolyline3 p(std::vector<giPoint3>{{1, 1, 1}, {3, 1, 1}});
    p.append({3, 5, 1});
    EXPECT_EQ(p.evaluate(1.25), giPoint3(3, 2, 1));
    std::vector<double> ts;
    p.polygon_params(0.5, 2.0, 1e-3, ts);
    EXPECT_EQ(ts, (std::vector<double>{0.5, 1.0, 2.0}));
    EXPECT_EQ(torPolyline2(std::vector<giPoint2>{{0, 0}, {2, 0}, {2, 2}}).evaluate(1.5), giPoint2(2, 1));
}

} // namespace

} // namespace torArc3_test
