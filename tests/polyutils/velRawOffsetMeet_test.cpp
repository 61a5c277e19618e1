// How consecutive offset spans meet, told on values: the quick classification of joints against the general
// span intersection (cbincb_g, the routine behind velAbsSpan::intersect) on random joints of every kind
// (lines and arcs, turns from none to 85 degrees, ends that coincide, leave a gap or overlap by 1e-13 to
// 1e-2), and the trimmed corner against velTrimJoin on span objects.

#include "arcline/polyutils/velRawOffsetMeet.h"

#include "offsetTestKit.h"

#include "arcline/polyutils/velTrimJoin.h"

#include <gtest/gtest.h>

#include <array>

namespace velRawOffsetMeet_test {

using namespace offsettest;

namespace {

giVector3 rotated(const giVector3& v, double a) {
    return {v.x() * std::cos(a) - v.y() * std::sin(a), v.x() * std::sin(a) + v.y() * std::cos(a), 0.0};
}

double log_uniform(Rng& rng, double lo, double hi) {
    return std::exp(rng.uniform(std::log(lo), std::log(hi)));
}

// A span of chord L and bulge b (a line for b = 0) that ends at P with end tangent T (at_end), or starts at
// P with start tangent T. An arc's end tangents lie a quarter of its sweep, 2 atan b, off its chord.
velRawOffsetSpan span_at(const giPoint3& P, const giVector3& T, double L, double b, bool at_end) {
    const double half_sweep = 2.0 * std::atan(b);
    if (at_end) {
        const giVector3 chord = rotated(T, -half_sweep) * L;
        return b == 0.0 ? velRawOffsetSpan::line(P - chord, P) : velRawOffsetSpan::arc_span(P - chord, P, b);
    }
    const giVector3 chord = rotated(T, half_sweep) * L;
    return b == 0.0 ? velRawOffsetSpan::line(P, P + chord) : velRawOffsetSpan::arc_span(P, P + chord, b);
}

struct Joint {
    velRawOffsetSpan before, after;
    double gap_tol, input_gap2;
};

// The offsets by d of two spans meeting at P with tangents T1 and T2 (turning by none to 85 degrees): they
// end at a = P + d n1 and start at b = P + d n2 (n the right-hand normals), where b may be nudged by up to
// 1e-6 as earlier joins move ends. Lines, flat arcs and arcs up to 1.5 bulge, 1e-2 to 20 long.
Joint random_joint(Rng& rng) {
    const giPoint3 P(rng.uniform(-100, 100), rng.uniform(-100, 100), 0.0);
    const giVector3 T1 = rotated({1, 0, 0}, rng.uniform(0, 2 * pi));
    const double turns[] = {0.0, log_uniform(rng, 1e-12, 1e-6), log_uniform(rng, 1e-6, 1e-2),
                            log_uniform(rng, 1e-2, 1.5)};
    const double turn = (rng.pick(0, 1) ? 1 : -1) * turns[rng.pick(0, 3)];
    const giVector3 T2 = rotated(T1, turn);
    const double d = (rng.pick(0, 1) ? 1 : -1) * log_uniform(rng, 0.1, 10.0);
    const auto bulge = [&] {
        if (rng.pick(0, 2) == 0) return 0.0;
        const double m = rng.pick(0, 9) == 0 ? rng.uniform(0.6, 1.5) : log_uniform(rng, 1e-5, 0.6);
        return rng.pick(0, 1) ? m : -m;
    };
    const giPoint3 a = P + velRawOffsetSpan::right_normal(T1) * d;
    const double nudges[] = {0.0, 0.0, log_uniform(rng, 1e-13, 1e-6)};
    const giPoint3 b = P + velRawOffsetSpan::right_normal(T2) * d +
                       rotated({1, 0, 0}, rng.uniform(0, 2 * pi)) * nudges[rng.pick(0, 2)];
    Joint j{span_at(a, T1, log_uniform(rng, 1e-2, 20.0), bulge(), true),
            span_at(b, T2, log_uniform(rng, 1e-2, 20.0), bulge(), false), 1e-3 * std::fabs(d), 0.0};
    const giVector3 D = T2 - T1;
    j.input_gap2 = d * d * (D.x() * D.x() + D.y() * D.y());
    return j;
}

double xy_distance(const giPoint3& p, const giPoint3& q) {
    return std::hypot(p.x - q.x, p.y - q.y);
}

TEST(RawOffsetMeet, ClassifiedJointsAgreeWithTheGeneralIntersection) {
    Rng rng(2201);
    std::array<int, 4> seen{};
    for (int k = 0; k < 20000; ++k) {
        const Joint j = random_joint(rng);
        double t1 = -1, t2 = -1;
        const auto kind = velRawOffsetMeet::classify(j.before, j.after, j.gap_tol, j.input_gap2, t1, t2);
        ++seen[static_cast<std::size_t>(kind)];
        double ta[2], tb[2];
        const int n = velRawOffsetMeet::intersect(j.before, j.after, ta, tb, 2);
        const giPoint3 &a = j.before.e, &b = j.after.s;
        switch (kind) {
        case velRawOffsetMeet::Joint::crossing: {
            ASSERT_TRUE(t1 > 0 && t1 < 1 && t2 > 0 && t2 < 1) << k;
            const giPoint3 X = j.before.point(t1);
            EXPECT_LT(xy_distance(X, j.after.point(t2)), 1e-9) << k;
            // Crossing at an angle, the general intersection finds the same one point; crossing nearly
            // tangentially it may take the two as one touch, or none.
            const giVector3 u = j.before.start_tangent(), v = j.after.start_tangent();
            const double sine = std::fabs(u.x() * v.y() - u.y() * v.x());
            if (sine > 1e-3) {
                ASSERT_EQ(n, 1) << k;
                EXPECT_LT(xy_distance(X, j.before.point(ta[0])), 1e-9) << k;
            }
            break;
        }
        case velRawOffsetMeet::Joint::apart:
            // Apart by more than the general intersection's touching distance.
            EXPECT_TRUE(n == 0 || xy_distance(a, b) <= 1e-9) << k << " " << n;
            break;
        case velRawOffsetMeet::Joint::joined:
            // Whatever meets does so within the joint's gap.
            for (int i = 0; i < n; ++i)
                EXPECT_LE(xy_distance(j.before.point(ta[i]), a), xy_distance(a, b) + 1e-9) << k;
            break;
        case velRawOffsetMeet::Joint::unknown:
            break;
        }
    }
    // Every kind was met, and most joints are told without the general intersection.
    for (const int count : seen)
        EXPECT_GT(count, 500);
    EXPECT_LT(seen[static_cast<std::size_t>(velRawOffsetMeet::Joint::unknown)], 20000 / 2);
}

// The trimmed corner made on values and on span objects: the same cut, or, where the spans run on
// tangentially, the same shape (the values may join the ends where the objects cut them a gap's length
// away).
TEST(RawOffsetMeet, TrimmedCornersAgreeWithSpanObjects) {
    Rng rng(2202);
    int trimmed = 0;
    for (int k = 0; k < 20000; ++k) {
        const Joint j = random_joint(rng);
        velRawOffsetSpan before = j.before, after = j.after;
        const int cut = velRawOffsetMeet::trim(before, after, j.gap_tol, j.input_gap2);
        velAbsSpancoPrf b0 =
            std::make_shared<velFreeSpan>(j.before.s, j.before.e, j.before.arc ? j.before.mid() : giPoint3());
        velAbsSpancoPrf a0 =
            std::make_shared<velFreeSpan>(j.after.s, j.after.e, j.after.arc ? j.after.mid() : giPoint3());
        const int cut_objects = velTrimJoin::join(b0, a0);
        double t1, t2;
        const bool joined = velRawOffsetMeet::classify(j.before, j.after, j.gap_tol, j.input_gap2, t1, t2) ==
                            velRawOffsetMeet::Joint::joined;
        if (joined) {
            EXPECT_EQ(cut, 1) << k;
            EXPECT_LE(xy_distance(b0->end_point(), before.e), xy_distance(j.before.e, j.after.s) + 1e-9) << k;
            continue;
        }
        const giVector3 u = j.before.end_tangent(), v = j.after.start_tangent();
        if (std::fabs(u.x() * v.y() - u.y() * v.x()) < 1e-3) continue; // nearly tangential: the shape only
        // Ends within the touching distance: the general intersection decides by rounding.
        if (xy_distance(j.before.e, j.after.s) < 1e-8) continue;
        EXPECT_EQ(cut, cut_objects) << k;
        const double tol = 1e-9 * (1 + std::fabs(j.before.e.x) + std::fabs(j.before.e.y));
        EXPECT_LT(xy_distance(before.e, b0->end_point()), tol) << k;
        EXPECT_LT(xy_distance(after.s, a0->start_point()), tol) << k;
        EXPECT_LT(xy_distance(before.s, b0->start_point()), tol) << k;
        trimmed += cut;
    }
    EXPECT_GT(trimmed, 1000);
}

} // namespace

} // namespace velRawOffsetMeet_test
