// The value span of raw offsets against the span objects whose geometry it repeats (velFreeSpan, built on
// velAbsSpan): on random lines and arcs (bulges up to 3, both turns, heights), every query and edit agrees
// to rounding.

#include "arcline/polyutils/velRawOffsetSpan.h"

#include "offsetTestKit.h"

#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/spans/velCirbul.h"

#include <gtest/gtest.h>

namespace velRawOffsetSpan_test {

using namespace offsettest;

namespace {

constexpr int cases = 400;

// A random span and the same span as a span object.
struct Pair {
    velRawOffsetSpan value;
    std::shared_ptr<velFreeSpan> object;
};

Pair random_pair(Rng& rng) {
    const giPoint3 S(rng.uniform(-50, 50), rng.uniform(-50, 50), rng.uniform(-5, 5));
    const double L = std::exp(rng.uniform(std::log(1e-3), std::log(80.0)));
    const double a = rng.uniform(0, 2 * pi);
    const giPoint3 E(S.x + L * std::cos(a), S.y + L * std::sin(a), S.z);
    if (rng.pick(0, 3) == 0) return {velRawOffsetSpan::line(S, E), std::make_shared<velFreeSpan>(S, E)};
    const double b = (rng.pick(0, 1) ? 1 : -1) * std::exp(rng.uniform(std::log(1e-6), std::log(3.0)));
    const double p0[2] = {S.x, S.y}, p1[2] = {E.x, E.y};
    double m[2];
    velCirbul::cbbump(p0, p1, b, m);
    const giPoint3 M(m[0], m[1], S.z);
    return {velRawOffsetSpan::arc_through(S, M, E), std::make_shared<velFreeSpan>(S, E, M)};
}

double scale(const velRawOffsetSpan& s) {
    return std::max({1.0, std::fabs(s.s.x), std::fabs(s.s.y), std::fabs(s.e.x), std::fabs(s.e.y)});
}

void expect_point(const giPoint3& a, const giPoint3& b, double tol, const char* what, int k) {
    EXPECT_NEAR(a.x, b.x, tol) << what << " " << k;
    EXPECT_NEAR(a.y, b.y, tol) << what << " " << k;
    EXPECT_NEAR(a.z, b.z, tol) << what << " " << k;
}

TEST(RawOffsetSpan, QueriesAgreeWithSpanObjects) {
    Rng rng(2101);
    for (int k = 0; k < cases; ++k) {
        const Pair p = random_pair(rng);
        const velRawOffsetSpan& v = p.value;
        const velAbsSpan& o = *p.object;
        const double tol = 1e-13 * scale(v) * (1 + std::fabs(v.b)) * (1 + std::fabs(v.b));
        EXPECT_NEAR(v.b, o.get_bulge(), 1e-14 * (1 + std::fabs(v.b))) << k;
        EXPECT_NEAR(v.length(), o.get_length(), 1e-13 * o.get_length()) << k;
        giVector3 t0, t1;
        v.tangents(t0, t1);
        for (const auto& [mine, theirs] :
             {std::pair{t0, o.start_vector()}, std::pair{t1, o.end_vector()},
              std::pair{v.start_tangent(), o.start_vector()}, std::pair{v.end_tangent(), o.end_vector()}}) {
            EXPECT_NEAR(mine.x(), theirs.x(), 1e-14) << k;
            EXPECT_NEAR(mine.y(), theirs.y(), 1e-14) << k;
            EXPECT_EQ(mine.z(), 0.0) << k;
        }
        for (const double t : {0.0, 0.1, 0.5, 0.77, 1.0})
            expect_point(v.point(t), o.parameter_point(t), tol, "point", k);
        giPoint3 c, m;
        double r = 0, R = 0;
        v.centre_radius(c, r);
        giPoint3 oc;
        o.get_centre_mid_radius(oc, m, R);
        if (v.arc) {
            EXPECT_NEAR(r, R, 1e-12 * R) << k;
            expect_point(c, oc, 1e-12 * R, "centre", k);
            expect_point(v.mid(), o.mid_point(), tol, "mid", k);
        }
        // Parameters of points of the support, on the span and off it.
        for (const double t : {0.0, 0.3, 0.5, 0.9, 1.0, 1.4, -0.6}) {
            const giPoint3 q = v.point(std::clamp(t, 0.0, 1.0));
            const double p0[2] = {v.s.x, v.s.y}, p1[2] = {v.e.x, v.e.y}, qq[2] = {q.x, q.y};
            EXPECT_NEAR(v.parameter(q.x, q.y), velCirbul::arc_evaluate_parameter(p0, p1, v.b, qq), 1e-11)
                << k;
        }
    }
}

TEST(RawOffsetSpan, TrimAndPartBulgeAgreeWithSpanObjects) {
    Rng rng(2102);
    for (int k = 0; k < cases; ++k) {
        const Pair p = random_pair(rng);
        double t0 = rng.uniform(0, 1), t1 = rng.uniform(0, 1);
        if (t1 < t0) std::swap(t0, t1);
        if (rng.pick(0, 3) == 0) t0 = 0.0;
        if (rng.pick(0, 3) == 0) t1 = 1.0;
        velRawOffsetSpan v = p.value;
        const double bulge = v.b;
        velAbsSpancoPrf o = p.object->create_new();
        EXPECT_EQ(v.trim(t0, t1), o->trim(t0, t1)) << k;
        const double tol = 1e-12 * scale(p.value) * (1 + bulge * bulge);
        expect_point(v.s, o->start_point(), tol, "start", k);
        expect_point(v.e, o->end_point(), tol, "end", k);
        EXPECT_NEAR(v.b, o->get_bulge(), 1e-12 * (1 + std::fabs(v.b))) << k;
        if (p.value.arc) {
            const double p0[2] = {p.value.s.x, p.value.s.y}, p1[2] = {p.value.e.x, p.value.e.y};
            double sub = 0;
            velCirbul::cbsebu(p0, p1, bulge, t0, t1, sub);
            EXPECT_NEAR(velRawOffsetSpan::part_bulge(bulge, t0, t1), sub, 1e-13 * (1 + std::fabs(sub))) << k;
        }
    }
    // A part of a large arc is still large: the part from 0.1 to 0.9 of a bulge 3 arc turns past a half
    // circle; the whole arc keeps its bulge and an empty range is refused.
    EXPECT_GT(std::fabs(velRawOffsetSpan::part_bulge(3.0, 0.1, 0.9)), 1.0);
    EXPECT_DOUBLE_EQ(velRawOffsetSpan::part_bulge(-0.4, 0.0, 1.0), -0.4);
    velRawOffsetSpan line = velRawOffsetSpan::line({0, 0, 0}, {1, 0, 0});
    EXPECT_EQ(line.trim(0.5, 0.5), 0);
}

TEST(RawOffsetSpan, MovedAgreesWithTheSpanObjectsOffset) {
    Rng rng(2103);
    int collapsed = 0;
    for (int k = 0; k < cases; ++k) {
        const Pair p = random_pair(rng);
        const double d = rng.uniform(-30, 30);
        const velRawOffsetSpan v = p.value.moved(d);
        const velAbsSpancoPrf o = p.object->offset(d);
        ASSERT_TRUE(o) << k;
        EXPECT_EQ(v.arc, o->is_of_class_arc() != 0) << k;
        EXPECT_EQ(v.temp_line, o->is_temp_line_span() != 0) << k;
        EXPECT_FALSE(v.temp_arc) << k;
        const double tol = 1e-12 * (scale(p.value) + std::fabs(d));
        expect_point(v.s, o->start_point(), tol, "start", k);
        expect_point(v.e, o->end_point(), tol, "end", k);
        if (v.arc) {
            // The span object measures the bulge again from a mid point rounded to the coordinates' size:
            // off by the rounding over the half chord.
            EXPECT_NEAR(v.b, o->get_bulge(),
                        1e-12 * std::fabs(v.b) + 1e-14 * (scale(p.value) + std::fabs(d)) / v.chord())
                << k;
        }
        collapsed += v.temp_line;
    }
    EXPECT_GT(collapsed, 10);
}

TEST(RawOffsetSpan, BulgeOfThreePointsInThePlaneAndInSpace) {
    Rng rng(2104);
    for (int k = 0; k < cases; ++k) {
        const giPoint3 S(rng.uniform(-9, 9), rng.uniform(-9, 9), rng.uniform(-9, 9));
        const giPoint3 E(rng.uniform(-9, 9), rng.uniform(-9, 9), k % 2 ? S.z : rng.uniform(-9, 9));
        const giPoint3 M(rng.uniform(-9, 9), rng.uniform(-9, 9), k % 2 ? S.z : rng.uniform(-9, 9));
        EXPECT_NEAR(velRawOffsetSpan::arc_through(S, M, E).b, velArc3Utils::bulge(S, E, M),
                    1e-14 * (1 + std::fabs(velArc3Utils::bulge(S, E, M))))
            << k;
    }
    // Coincident ends: bulge 0, still an arc; a mid point on the chord: bulge 0.
    EXPECT_EQ(velRawOffsetSpan::arc_through({1, 1, 0}, {2, 2, 0}, {1, 1, 0}).b, 0.0);
    EXPECT_TRUE(velRawOffsetSpan::arc_through({1, 1, 0}, {2, 2, 0}, {1, 1, 0}).arc);
    EXPECT_EQ(velRawOffsetSpan::arc_through({0, 0, 0}, {1, 0, 0}, {2, 0, 0}).b, 0.0);
}

} // namespace

} // namespace velRawOffsetSpan_test
