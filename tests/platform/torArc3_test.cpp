#include "arcline/platform/torArc3.h"

#include "arcline/platform/torPolygonizeTRP3.h"
#include "arcline/platform/torTrimmedCurve3.h"

#include "../polyline/polylineTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace torArc3_test {

namespace {

constexpr double pi = std::numbers::pi;

double distance_to_segment(const giPoint3& p, const giPoint3& a, const giPoint3& b) {
    const giVector3 ab = b - a;
    const double len2 = ab.length_squared();
    const double f = len2 > 0 ? std::clamp((p - a).dot(ab) / len2, 0.0, 1.0) : 0.0;
    return p.distance(a.interpolate(b, f));
}

// Largest distance from the curve, sampled between the parameters of each chord, to that chord.
double chordal_error(const torCurve3& c, const std::vector<giPoint3>& pts, const std::vector<double>& ts) {
    double worst = 0;
    for (std::size_t k = 0; k + 1 < ts.size(); ++k)
        for (int j = 1; j < 16; ++j) {
            const giPoint3 q = c.evaluate(ts[k] + (ts[k + 1] - ts[k]) * j / 16.0);
            worst = std::max(worst, distance_to_segment(q, pts[k], pts[k + 1]));
        }
    return worst;
}

struct RandomArc {
    polytest::Circle k;
    double a, sweep;
    std::shared_ptr<torArc3> arc;
};

RandomArc random_arc(polytest::Rng& rng) {
    RandomArc r;
    r.k = polytest::random_circle(rng, 0.01, 100, 100);
    r.a = rng.uniform(-pi, pi);
    r.sweep = rng.uniform(0.01, 1.95 * pi);
    r.arc = std::make_shared<torArc3>(r.k.at(r.a), r.k.at(r.a + r.sweep / 2), r.k.at(r.a + r.sweep));
    return r;
}

// Polygons of random arcs keep within the tolerance of the exact circle, use the fewest chords of equal
// angle that can, and their points are the arc's own at increasing parameters.
TEST(torArc3, PolygonWithinChordalToleranceOfTheCircle) {
    polytest::Rng rng(7);
    std::vector<giPoint3> pts;
    std::vector<double> ts;
    for (int n = 0; n < 200; ++n) {
        const RandomArc r = random_arc(rng);
        const double tol = r.k.R * std::pow(10.0, rng.uniform(-6, -0.5));
        torPolygonizeTRP3::polygonize(*r.arc, tol, pts, ts);
        ASSERT_EQ(ts.front(), 0.0);
        ASSERT_EQ(ts.back(), 1.0);
        ASSERT_TRUE(std::is_sorted(ts.begin(), ts.end()));
        const double eps = 1e-11 * (100 + r.k.R);
        EXPECT_NEAR(r.arc->radius(), r.k.R, eps);
        for (const giPoint3& p : pts)
            ASSERT_LT(r.k.distance(p), eps);
        EXPECT_LE(chordal_error(*r.arc, pts, ts), tol + eps);
        const double step = 2 * std::acos(1 - tol / r.k.R); // widest chord angle within tol
        const double chords = static_cast<double>(ts.size() - 1);
        EXPECT_GE(chords, std::ceil(r.sweep / step - 1e-7));
        EXPECT_LE(chords, std::ceil(r.sweep / step + 1e-7));
    }
}

// A piece keeps the base's parameters forward and negates them backward; pieces of pieces trim the arc
// itself; polygons of pieces stay within the tolerance and run from the piece's start.
TEST(torArc3, SubcurvesForwardAndReversed) {
    polytest::Rng rng(8);
    std::vector<giPoint3> pts;
    std::vector<double> ts;
    for (int n = 0; n < 100; ++n) {
        const RandomArc r = random_arc(rng);
        const double t0 = rng.uniform(0, 1), t1 = rng.uniform(0, 1);
        const torCurvePtr3 piece = r.arc->subcurve(t0, t1);
        EXPECT_EQ(piece->start(), r.arc->evaluate(t0));
        EXPECT_EQ(piece->end(), r.arc->evaluate(t1));
        const double s = piece->start_param() + 0.3 * (piece->end_param() - piece->start_param());
        EXPECT_EQ(piece->evaluate(s), r.arc->evaluate(t0 + 0.3 * (t1 - t0)));

        const double tol = 1e-3 * r.k.R;
        torPolygonizeTRP3::polygonize(*piece, tol, pts, ts);
        EXPECT_EQ(pts.front(), piece->start());
        EXPECT_EQ(pts.back(), piece->end());
        EXPECT_LE(chordal_error(*piece, pts, ts), tol * (1 + 1e-9) + 1e-12 * (100 + r.k.R));

        const auto inner = std::dynamic_pointer_cast<torTrimmedCurve3>(
            piece->subcurve(piece->end_param(), piece->start_param()));
        ASSERT_TRUE(inner);
        EXPECT_EQ(inner->base().get(), r.arc.get());
        EXPECT_EQ(inner->base_start(), t1);
        EXPECT_EQ(inner->base_end(), t0);
    }
}

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

} // namespace

} // namespace torArc3_test
