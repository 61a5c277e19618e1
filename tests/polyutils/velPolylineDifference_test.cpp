// The two-polyline walker: steps by table, arcs, closest approach against the exact difference curve.

#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/spans/velLinexLine.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "arcline/polyutils/velPolylineDifference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace velPolylineDifference_test {

using P = giPoint3;
constexpr double inf = std::numeric_limits<double>::infinity();

// Distance from p to the segment u v.
double to_segment(const P& p, const P& u, const P& v) {
    const giVector3 d = v - u;
    return p.distance(u.interpolate(v, d.dot(d) > 0 ? std::clamp((p - u).dot(d) / d.dot(d), 0.0, 1.0) : 0.0));
}

// A straight polyline, an iterator on it, and its own evaluation by parameter (independent of the library's).
struct Line {
    std::vector<P> pts;
    velPolyArcLineDouble poly;
    velSingleAbsArcLineListIter it{poly};
    explicit Line(std::vector<P> p) : pts(std::move(p)) {
        for (const P& q : pts)
            poly.add_pos(q);
        it.set_index(0);
    }
    Line(const Line&) = delete;
    int spans() const { return static_cast<int>(pts.size()) - 1; }
    P at(double t) const {
        const int i = std::clamp(static_cast<int>(std::floor(t)), 0, spans() - 1);
        return pts[i].interpolate(pts[i + 1], t - i);
    }
};

// How a polyline moves with the common motion s: clamped to its ends when open, wrapped when closed.
struct Motion {
    const Line& line;
    double t0, v;
    bool closed;
    double param(double s) const {
        const double t = t0 + v * s, n = line.spans();
        return closed ? t - n * std::floor(t / n) : std::clamp(t, 0.0, n);
    }
    // How far s can go in direction dir before this polyline's end (inf when closed or still).
    double reach(int dir) const {
        if (v == 0 || closed) return inf;
        return (dir * v > 0 ? line.spans() - t0 : t0) / std::abs(v);
    }
};

P diff_at(const Motion& a, const Motion& b, double s) {
    return P(a.line.at(a.param(s)) - b.line.at(b.param(s)));
}

// The exact minimum of |A - B| over s in [lo, hi]: between the values of s where either parameter crosses
// a position the difference is straight in s.
double coupled_min(const Motion& a, const Motion& b, double lo, double hi) {
    std::vector<double> cuts{lo, hi};
    for (const Motion* m : {&a, &b}) {
        if (m->v == 0) continue;
        const double p = m->t0 + m->v * lo, q = m->t0 + m->v * hi;
        for (double k = std::ceil(std::min(p, q)); k <= std::max(p, q); ++k)
            cuts.push_back((k - m->t0) / m->v);
    }
    std::sort(cuts.begin(), cuts.end());
    double best = inf;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i)
        best = std::min(best, to_segment({0, 0, 0}, diff_at(a, b, cuts[i]), diff_at(a, b, cuts[i + 1])));
    return best;
}

// Steps by table. Every polyline is straight with unit spans along x; B lies at y = 1.
struct StepCase {
    const char* name;
    int na, nb, closed_a, closed_b; // positions of A and B (closed: the last is the first again)
    double ta, tb, va, vb;
    int free;
    std::string ops;                       // '+' or '-' per step
    std::vector<std::vector<double>> want; // after each step: answer, tA, tB
};

// Points at abscissae xs on a parallel of the x axis; closed: the last is the first again.
std::vector<P> on_line(const std::vector<double>& xs, double y, double z, bool closed = false) {
    std::vector<P> p;
    for (double x : xs)
        p.push_back({x, y, z});
    if (closed) p.back() = p.front();
    return p;
}

const StepCase step_cases[] = {
    {"DefaultVelocitiesMeetAtVertices", 3, 4, 0, 0, 0, 3, 1, -1, 0, "+++", {{1, 1, 2}, {1, 2, 1}, {0, 2, 1}}},
    {"FirstEventWinsOtherInProportion", 3, 4, 0, 0, 0.25, 2.5, 1, -1, 0, "+", {{1, 0.75, 2}}},
    {"SlowerPolylineMovesInProportion", 3, 4, 0, 0, 0, 3, 1, -0.5, 0, "++", {{1, 1, 2.5}, {1, 2, 2}}},
    {"BackwardNegatesVelocities", 3, 4, 0, 0, 1, 2, 1, -1, 0, "--", {{1, 0, 3}, {0, 0, 3}}},
    {"ClosedWrapsForward", 5, 3, 1, 0, 3.5, 0, 1, 1, 0, "++", {{1, 0, 0.5}, {1, 0.5, 1}}},
    {"ClosedWrapsBackward", 5, 5, 1, 1, 0, 0, 1, 1, 0, "--+", {{1, 3, 3}, {1, 2, 2}, {1, 3, 3}}},
    {"OpenEndFailsWithoutFreeMovement", 2, 5, 0, 0, 0, 0, 1, 1, 0, "++", {{1, 1, 1}, {0, 1, 1}}},
    {"FreeMovementHoldsTheEnd", 2, 5, 0, 0, 0, 0, 1, 1, 1, "+++", {{1, 1, 1}, {1, 1, 2}, {1, 1, 3}}},
    {"FreeMovementFailsWhenBothEnded", 2, 3, 0, 0, 0, 1, 1, 1, 1, "++", {{1, 1, 2}, {0, 1, 2}}},
    {"StillPolylineBringsNoEvents", 3, 4, 0, 0, 0, 1.5, 0.5, 0, 0, "++", {{1, 1, 1.5}, {1, 2, 1.5}}},
    {"BothStillFails", 3, 4, 0, 0, 1, 1, 0, 0, 1, "+-", {{0, 1, 1}, {0, 1, 1}}},
    {"NearVertexCountsAsOnIt", 3, 3, 0, 0, 1 - 1e-12, 0, 1, 1, 0, "+", {{1, 2, 1}}},
};

class DifferenceSteps : public ::testing::TestWithParam<StepCase> {};
TEST_P(DifferenceSteps, MoveToTheNextEvent) {
    const StepCase& c = GetParam();
    std::vector<double> xa(c.na), xb(c.nb);
    std::iota(xa.begin(), xa.end(), 0.0);
    std::iota(xb.begin(), xb.end(), 0.0);
    const Line a(on_line(xa, 0, 0, c.closed_a)), b(on_line(xb, 1, 0, c.closed_b));
    velPolylineDifference walker(a.it, c.ta, c.closed_a, b.it, c.tb, c.closed_b);
    walker.set_velocity(c.va, c.vb);
    walker.enable_free_movement_at_end(c.free);
    for (std::size_t i = 0; i < c.ops.size(); ++i) {
        const int ok = c.ops[i] == '+' ? ++walker : --walker;
        double ta, tb;
        walker.indices(ta, tb);
        EXPECT_EQ((std::vector<double>{1.0 * ok, ta, tb}), c.want[i]) << i; // exact: snapped or binary
        EXPECT_NEAR(walker().length(), a.at(ta).distance(b.at(tb)), 1e-12);
    }
}
INSTANTIATE_TEST_SUITE_P(velPolylineDifference, DifferenceSteps, ::testing::ValuesIn(step_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// Over arcs the chord of the difference curve only steers the search; candidates are judged by the points.
TEST(velPolylineDifference, ArcCandidatesAreJudgedByTheActualPoints) {
    auto circle = [](double r) {
        velPolyArcLineDouble c;
        c.add_pos({r, 0, 0});
        c.add_arc({0, r, 0}, {-r, 0, 0});
        c.add_arc({0, -r, 0}, {r, 0, 0});
        return c;
    };
    const velPolyArcLineDouble inner = circle(1), outer = circle(3);
    velSingleAbsArcLineListIter a(inner), b(outer);
    a.set_index(0);
    b.set_index(0);
    for (const double vb : {1.0, -1.0}) {
        velPolylineDifference walker(a, 0, 1, b, vb > 0 ? 0 : 1, 1);
        walker.set_velocity(1, vb);
        EXPECT_NEAR(walker.minimise(4), 2.0, 1e-12) << vb;
        EXPECT_NEAR(walker().length(), 2.0, 1e-12) << vb;
    }
}

// Random polylines in 3D against the independent minimum, per kind of motion.

struct Config {
    const char* name;
    bool closed_a, closed_b;
    double va, vb;
    int free;
};

const Config configs[] = {
    {"OpenDefault", false, false, 1, -1, 0},       {"OpenSameWay", false, false, 1, 1, 0},
    {"OpenUnequal", false, false, 0.5, -2, 0},     {"OpenFree", false, false, 1, -1, 1},
    {"OpenFreeUnequal", false, false, -0.3, 1, 1}, {"OpenBStill", false, false, 1, 0, 0},
    {"ClosedDefault", true, true, 1, -1, 0},       {"ClosedSameWay", true, true, -1, -1, 0},
    {"ClosedAndOpen", true, false, 1, -1, 0},
};

std::vector<P> random_polyline(std::mt19937& rng, bool closed, double shift) {
    std::uniform_real_distribution<double> coord(-5, 5);
    const int n = std::uniform_int_distribution<int>(closed ? 3 : 2, 7)(rng);
    std::vector<P> p;
    for (int i = 0; i < n; ++i)
        p.push_back({coord(rng) + shift, coord(rng), coord(rng) * 0.2});
    if (closed) p.push_back(p.front());
    return p;
}

class DifferenceRandomPairs : public ::testing::TestWithParam<Config> {};
TEST_P(DifferenceRandomPairs, ClosestApproachMatchesTheOracleAndStepsUndo) {
    const Config& c = GetParam();
    std::mt19937 rng(20240611);
    for (int trial = 0; trial < 150; ++trial) {
        const Line a(random_polyline(rng, c.closed_a, 0)), b(random_polyline(rng, c.closed_b, 3));
        std::uniform_real_distribution<double> unit(0, 1);
        const double ta = unit(rng) * a.spans(), tb = unit(rng) * b.spans();
        const Motion ma{a, ta, c.va, c.closed_a}, mb{b, tb, c.vb, c.closed_b};
        // The walked range: to the first end (to the last with free movement); a whole common period when
        // both are closed, which max_steps then covers.
        const int period = std::lcm(a.spans(), b.spans());
        auto range = [&](int dir) {
            const double ra = ma.reach(dir), rb = mb.reach(dir);
            const double r = c.free ? std::max(c.va ? ra : 0, c.vb ? rb : 0) : std::min(ra, rb);
            return r == inf ? period : r;
        };
        const double lo = -range(-1), hi = range(1);
        velPolylineDifference walker(a.it, ta, c.closed_a, b.it, tb, c.closed_b);
        walker.set_velocity(c.va, c.vb);
        walker.enable_free_movement_at_end(c.free);
        const int max_steps = 2 * period + 4 * (a.spans() + b.spans());
        const double found = walker.minimise(max_steps);

        const double exact = coupled_min(ma, mb, lo, hi);
        double sampled = inf, floor_dist = inf;
        for (int i = 0; i <= 2000; ++i)
            sampled = std::min(sampled, diff_at(ma, mb, lo + (hi - lo) * i / 2000).distance({0, 0, 0}));
        // The distance between the polylines, span pair by span pair (a routine the walker does not use).
        for (int i = 0; i < a.spans(); ++i)
            for (int j = 0; j < b.spans(); ++j) {
                double u, v;
                velLinexLine::closest_point(a.pts[i], a.pts[i + 1], b.pts[j], b.pts[j + 1], u, v);
                floor_dist = std::min(floor_dist, a.at(i + u).distance(b.at(j + v)));
            }
        SCOPED_TRACE(::testing::Message() << "trial " << trial);
        ASSERT_NEAR(found, exact, 1e-9);
        EXPECT_LE(found, sampled + 1e-9);
        EXPECT_GE(found, floor_dist - 1e-9);
        double fa, fb;
        walker.indices(fa, fb);
        EXPECT_NEAR(a.at(fa).distance(b.at(fb)), found, 1e-9);
        EXPECT_TRUE(fa >= 0 && fb >= 0 && (c.closed_a ? fa < a.spans() : fa <= a.spans()) &&
                    (c.closed_b ? fb < b.spans() : fb <= b.spans()))
            << fa << " " << fb;                              // in the period
        EXPECT_DOUBLE_EQ(walker.minimise(max_steps), found); // from the reset position again

        // From an event, k steps forward then k back return to it, and the reverse (free movement holds an
        // end going out, not coming back).
        walker.reset();
        if (c.free || !++walker) continue;
        walker.indices(fa, fb);
        for (const int dir : {1, -1}) {
            int k = 0;
            while (k < 6 && (dir > 0 ? ++walker : --walker))
                ++k;
            for (int i = 0; i < k; ++i)
                ASSERT_TRUE(dir > 0 ? --walker : ++walker);
            double ua, ub;
            walker.indices(ua, ub);
            EXPECT_NEAR(ua, fa, 1e-9) << dir;
            EXPECT_NEAR(ub, fb, 1e-9) << dir;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(velPolylineDifference, DifferenceRandomPairs, ::testing::ValuesIn(configs),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace velPolylineDifference_test
