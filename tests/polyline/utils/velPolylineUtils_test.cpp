// Measures and queries of one polyline against polygonizations, circles and brute-force searches.

#include "utilsTestKit.h"

#include "support/metamorphic.h"

#include "arcline/intersect/velPolyarcline3dBoxCache.h"
#include "arcline/platform/giAngle.h"
#include "arcline/platform/utMath.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

namespace velPolylineUtils_test {

using namespace utiltest;
using U = velPolylineUtils;

namespace {

// Polygon measure extrapolated from m and 2m samples per span: exact to about 1/m^4.
template <class Measure>
double extrapolated(const velPolylineListIter& it, Measure measure, int m = 1000) {
    return (4 * measure(polygonize(it, 2 * m)) - measure(polygonize(it, m))) / 3;
}

// The smallest of dist over the parameters, by brute force.
double brute_min(const velPolylineListIter& it, auto dist) {
    double t;
    return brute_minimum(it, dist, t);
}

One copy(const velAbsPolyArcLine& line) {
    return One(std::unique_ptr<velAbsPolyArcLine>(line.create_new()));
}

// Length of the piece [t1, t2] from samples within each span it covers, extrapolated.
double piece_length(const velPolylineListIter& it, double t1, double t2) {
    auto at = [&](int m) {
        double s = 0;
        for (int k = static_cast<int>(std::floor(t1)); k < t2; ++k) {
            const double a = std::max(t1, double(k)), z = std::min(t2, k + 1.0);
            for (int j = 0; j < m; ++j)
                s += it.get_interpolated_pos(a + (z - a) * j / m)
                         .distance(it.get_interpolated_pos(a + (z - a) * (j + 1) / m));
        }
        return s;
    };
    return (4 * at(2000) - at(1000)) / 3;
}

const std::vector<V> square{
    {{0, 0, 0}, {}}, {{1, 0, 0}, {}}, {{1, 1, 0}, {}}, {{0, 1, 0}, {}}, {{0, 0, 0}, {}}};
const std::vector<V> two_spans{{{0, 0, 0}, {}}, {{10, 0, 0}, {}}, {{10, 10, 0}, {}}};

} // namespace

TEST(velPolylineUtils, ClosureCountsAndSpanParameters) {
    One empty(std::vector<V>{}), single(std::vector<V>{{{1, 2, 3}, {}}}), sq(square);
    EXPECT_EQ(U::closed(empty.it, 0.0), 0);
    EXPECT_EQ(U::closed(single.it, 0.0), 1);
    EXPECT_EQ(U::closed(sq.it, 0.0), 1);
    One open(std::vector<V>{{{0, 0, 0}, {}}, {{1, 0, 0}, giPoint3{0.5, -0.5, 0}}, {{0, 1e-7, 0}, {}}});
    EXPECT_EQ(U::closed(open.it, 0.0), 0);
    EXPECT_EQ(U::closed(open.it, 1e-6), 1);
    EXPECT_EQ(U::num_arc_spans(open.it), 1);
    EXPECT_EQ(U::num_arc_spans(sq.it), 0);
    EXPECT_DOUBLE_EQ(U::distance_between_closest_adjacent_points(open.it), 1.0);
    EXPECT_EQ(U::distance_between_closest_adjacent_points(single.it), DBL_MAX);
    int k;
    double f;
    for (const auto& [one, t, wk, wf] :
         {std::tuple{&sq, 4.0, 3, 1.0}, {&sq, 2.25, 2, 0.25}, {&single, 0.0, -1, 0.0}}) {
        U::span_param(one->it, t, k, f);
        EXPECT_TRUE(k == wk && (k < 0 || f == wf)) << t << ": " << k << " " << f;
    }
    EXPECT_EQ(U::area(One(two_spans).it), 0.0); // three positions without an arc enclose nothing
}

TEST(velPolylineUtils, AreaOfRandomArcPolylinesAgreesWithPolygonsAndFollowsMorphs) {
    Rng rng(11);
    for (int trial = 0; trial < 40; ++trial) {
        support::Polylines in;
        in.push_back(listtest::random_polyline(rng, rng.pick(3, 9), 0.0, true));
        const double a = U::area(copy(*in[0]).it), scale = 1 + std::fabs(a);
        EXPECT_NEAR(a, extrapolated(copy(*in[0]).it, shoelace), 1e-9 * scale) << trial;
        support::for_each_morph(in, [&](const support::Morph& m, const support::Polylines& out) {
            const double f = m.length_factor() * m.length_factor() * (m.flips_orientation() ? -1 : 1);
            EXPECT_NEAR(U::area(copy(*out[0]).it), f * a, (1e-9 * std::fabs(f) + 1e-7) * scale);
        });
    }
}

TEST(velPolylineUtils, LengthsAgreeWithPolygonsAndAddUp) {
    const One two(two_spans);
    EXPECT_EQ(U::length(two.it, 0.5, 0.5), 0.0);
    EXPECT_EQ(U::length(two.it, 1.5, 0.5), 0.0);
    EXPECT_EQ(U::longer_than(One(std::vector<V>{{{0, 0, 0}, {}}}).it, 0.0), 0);
    EXPECT_EQ(U::longer_than(two.it, 20.0), 1);
    EXPECT_EQ(U::longer_than(two.it, 20.000001), 0);
    Rng rng(12);
    for (int trial = 0; trial < 30; ++trial) {
        const One one(listtest::random_polyline(rng, {3, 8}, {-1, 1}, trial % 2 == 0));
        const double end = one.it.num_pos() - 1.0, L = U::length(one.it);
        EXPECT_NEAR(L, extrapolated(one.it, polygon_length), 1e-9 * L) << trial;
        double cuts[3] = {rng.uniform(0, end), rng.uniform(0, end), rng.uniform(0, end)};
        std::sort(cuts, cuts + 3);
        EXPECT_NEAR(U::length(one.it, cuts[0], cuts[2]), piece_length(one.it, cuts[0], cuts[2]), 1e-9 * L);
        EXPECT_NEAR(U::length(one.it, 0, cuts[1]) + U::length(one.it, cuts[1], end), L, 1e-9 * L);
        EXPECT_NEAR(U::length(one.it, cuts[0], cuts[1]) + U::length(one.it, cuts[1], cuts[2]),
                    U::length(one.it, cuts[0], cuts[2]), 1e-9 * L);
        EXPECT_NEAR(U::length_closed(one.it, cuts[2], cuts[0]), L - U::length(one.it, cuts[0], cuts[2]),
                    1e-9 * L);
    }
}

TEST(velPolylineUtils, ParameterAtLengthRoundTrips) {
    const One two(two_spans);
    EXPECT_EQ(U::get_par_at_length(two.it, 0, 25, 1, 0), -1.0);
    EXPECT_EQ(U::get_par_at_length(two.it, 0, -1, 1, 0), -1.0);
    EXPECT_DOUBLE_EQ(U::get_par_at_length(One(square).it, 3.5, 2.0, 1, 1), 1.5);
    EXPECT_DOUBLE_EQ(U::get_par_at_length(One(square).it, 0.5, 9.0, 0, 1), 3.5);
    Rng rng(13);
    for (int trial = 0; trial < 40; ++trial) {
        const One one(listtest::random_polyline(rng, {3, 8}, {-1, 1}, true));
        const double end = one.it.num_pos() - 1.0, L = U::length(one.it);
        const double t = rng.uniform(0, end), ahead = U::length(one.it, t, end);
        const double s = rng.uniform(0, 1) * ahead, back = rng.uniform(0, 1) * (L - ahead);
        const double fwd = U::get_par_at_length(one.it, t, s, 1, 0);
        EXPECT_NEAR(U::length(one.it, t, fwd), s, 1e-9 * L) << trial;
        const double bwd = U::get_par_at_length(one.it, t, back, 0, 0);
        EXPECT_NEAR(U::length(one.it, bwd, t), back, 1e-9 * L) << trial;
        EXPECT_EQ(U::get_par_at_length(one.it, t, ahead + 0.01 * L, 1, 0), -1.0);
        // Round the closing point, and more than a lap.
        const double wrapped = U::get_par_at_length(one.it, t, ahead + back + 2 * L, 1, 1);
        EXPECT_LT(wrapped, t);
        EXPECT_NEAR(U::length_closed(one.it, t, wrapped), ahead + back, 1e-9 * L);
        const giPoint3 p = U::point_at_length(one.it, s);
        EXPECT_LT(p.distance(one.it.get_interpolated_pos(U::get_par_at_length(one.it, 0, s, 1, 0))),
                  1e-12 * L);
    }
    EXPECT_EQ(U::point_at_length(two.it, 99), giPoint3(10, 10, 0));
    EXPECT_EQ(U::point_at_length(two.it, -1), giPoint3(0, 0, 0));
}

TEST(velPolylineUtils, PointAtZOffsetFindsTheFirstCrossingOfTheHeight) {
    Rng rng(14);
    int found = 0;
    for (int trial = 0; trial < 60; ++trial) {
        const One one(listtest::random_polyline(rng, {2, 6}, {-1.2, 1.2}));
        const double end = one.it.num_pos() - 1.0, t = rng.uniform(0, end), dz = rng.uniform(-30, 30);
        const int forward = trial % 2;
        const double z = one.it.get_interpolated_pos(t).z + dz;
        giPoint3 p;
        const double r = U::point_at_z_offset(one.it, t, dz, forward, p);
        // Dense samples between t and the answer (or the end) stay on t's side of the height.
        const double stop = r < 0 ? (forward ? end : 0.0) : r;
        bool crossed = false;
        for (int j = 1; j < 4000; ++j) {
            const double zz = one.it.get_interpolated_pos(t + (stop - t) * j / 4000).z;
            crossed = crossed || (zz - z) * (-dz) < 0;
        }
        EXPECT_FALSE(crossed) << trial;
        if (r >= 0) {
            ++found;
            EXPECT_NEAR(p.z, z, 1e-9);
            EXPECT_EQ(p, one.it.get_interpolated_pos(r));
            EXPECT_TRUE(forward ? r >= t : r <= t);
        } else {
            EXPECT_TRUE(p.is_unset());
        }
    }
    EXPECT_GT(found, 10);
}

TEST(velPolylineUtils, TangentsFollowTheCurveAndFallBackOverZeroLengthSpans) {
    Rng rng(15);
    for (int trial = 0; trial < 20; ++trial) {
        const One one(listtest::random_polyline(rng, 5, rng.uniform(-1.2, 1.2)));
        for (int j = 0; j < 10; ++j) {
            const double t = rng.uniform(0, one.it.num_pos() - 1.0), h = 1e-6;
            if (std::fabs(t - std::round(t)) < 1e-5) continue;
            giVector3 fd = one.it.get_interpolated_pos(t + h) - one.it.get_interpolated_pos(t - h);
            fd.unitize();
            const giUnitVec3 after = U::tangent_after(one.it, t), before = U::tangent_before(one.it, t);
            EXPECT_GT(after.dot(giUnitVec3(fd)), 1 - 1e-8);
            EXPECT_EQ(after, before);
        }
    }
    // Zero spans are passed over; a closed polyline wraps round, an open one takes its end span's.
    const One dup(std::vector<V>{
        {{0, 0, 0}, {}}, {{1, 0, 0}, {}}, {{1, 0, 0}, {}}, {{1, 0, 0}, giPoint3{1, 0, 0}}, {{1, 1, 0}, {}}});
    const One sq(square), two(two_spans);
    const giUnitVec3 x(1, 0, 0), y(0, 1, 0), down(0, -1, 0);
    const std::tuple<const One*, double, bool, giUnitVec3> rows[] = {
        {&dup, 1.0, true, y},    {&dup, 3.0, false, x}, {&dup, 1.5, true, y},  {&dup, 2.5, false, x},
        {&sq, 0.0, false, down}, {&sq, 4.0, true, x},   {&two, 0.0, false, x}, {&two, 2.0, true, y}};
    for (const auto& [one, t, after, want] : rows)
        EXPECT_EQ(after ? U::tangent_after(one->it, t) : U::tangent_before(one->it, t), want) << t;
    const One point(std::vector<V>{{{1, 1, 0}, {}}, {{1, 1, 0}, {}}});
    EXPECT_TRUE(U::tangent_after(point.it, 0.5).invalid());
    EXPECT_TRUE(U::span_tangent(point.it, 0, 0.5).invalid());
}

TEST(velPolylineUtils, TurningAnglesOfLoopsAndOfRandomPolylines) {
    EXPECT_NEAR(U::signed_turn_angle(One(square).it), 360, 1e-12);
    EXPECT_NEAR(U::unsigned_turn_angle(One(two_spans).it, 0), 90, 1e-12);
    // A vertical circle turns 360 degrees in space; seen from above it runs there and back.
    const One upright(
        std::vector<V>{{{1, 0, 0}, {}}, {{-1, 0, 0}, giPoint3{0, 0, 1}}, {{1, 0, 0}, giPoint3{0, 0, -1}}});
    EXPECT_NEAR(U::unsigned_turn_angle(upright.it, 0), 360, 1e-9);
    EXPECT_NEAR(U::unsigned_turn_angle(upright.it, 1), 360, 1e-9);
    Rng rng(16);
    for (int trial = 0; trial < 30; ++trial) {
        const bool closed = trial % 2 == 0;
        const int n = rng.pick(3, 7);
        const One one(listtest::random_polyline(rng, n, closed ? 0.0 : rng.uniform(-1, 1), closed));
        auto pts = polygonize(one.it, 20000);
        if (closed) pts.push_back(pts[1]);
        double signed_sum = 0, unsigned_sum = 0;
        bool reversal = false;
        for (std::size_t i = 2; i < pts.size(); ++i) {
            const giVector3 a = pts[i - 1] - pts[i - 2], b = pts[i] - pts[i - 1];
            const double corner =
                utMath::degrees(std::atan2(a.x() * b.y() - a.y() * b.x(), a.x() * b.x() + a.y() * b.y()));
            signed_sum += corner;
            unsigned_sum += giAngle::unsigned_angle(a, b).degrees();
            reversal = reversal || std::fabs(corner) > 179;
        }
        // A corner that turns straight back has no sense: + or -180 is a matter of rounding.
        if (reversal) continue;
        const double tol = closed ? 1e-6 : 0.1;
        EXPECT_NEAR(U::signed_turn_angle(one.it), signed_sum, tol) << trial;
        EXPECT_NEAR(U::unsigned_turn_angle(one.it, 0), unsigned_sum, 0.1) << trial;
    }
}

TEST(velPolylineUtils, ClosestPointsMatchCirclesAndBruteForce) {
    Rng rng(17);
    int checked = 0;
    for (int trial = 0; trial < 60; ++trial) {
        const One one(listtest::random_polyline(rng, {2, 7}, {-1.2, 1.2}, trial % 3 == 0));
        const giPoint3 P{rng.uniform(-70, 70), rng.uniform(-70, 70), rng.uniform(-40, 40)};
        // The exact nearest point of each span; the minimum must be unique to compare parameters.
        std::vector<std::pair<double, double>> per_span;
        for (int k = 0; k + 1 < one.it.num_pos(); ++k) {
            double f;
            const double d = reference_nearest(one.it, k, P, f);
            per_span.push_back({d, k + f});
        }
        std::sort(per_span.begin(), per_span.end());
        double t, d;
        U::get_closest_point(P, one.it, 0, one.it.num_pos() - 1.0, t, d);
        EXPECT_NEAR(d, per_span[0].first, 1e-9) << trial;
        EXPECT_NEAR(P.distance(one.it.get_interpolated_pos(t)), d, 1e-9);
        EXPECT_GE(brute_min(one.it, [&](double x) { return P.distance(one.it.get_interpolated_pos(x)); }),
                  d - 1e-9);
        if (per_span.size() < 2 || per_span[1].first - per_span[0].first > 1e-6) {
            ++checked;
            EXPECT_NEAR(t, per_span[0].second, 1e-9) << trial;
        }
        // Within a range, and through the closing point.
        const double end = one.it.num_pos() - 1.0, t1 = rng.uniform(0, end), t2 = rng.uniform(0, end);
        auto in_range = [&](double x) { return t1 <= t2 ? x >= t1 && x <= t2 : x >= t1 || x <= t2; };
        const double tr = U::closest_point(P, one.it, t1, t2);
        EXPECT_TRUE(in_range(tr));
        double best = DBL_MAX;
        for (int j = 0; j <= 20000; ++j)
            if (in_range(end * j / 20000))
                best = std::min(best, P.distance(one.it.get_interpolated_pos(end * j / 20000)));
        best = std::min(
            {best, P.distance(one.it.get_interpolated_pos(t1)), P.distance(one.it.get_interpolated_pos(t2))});
        EXPECT_LE(P.distance(one.it.get_interpolated_pos(tr)), best + 1e-9);
        EXPECT_EQ(U::min_distance_smaller_than(one.it, P, d + 1e-9), 1);
        EXPECT_EQ(U::min_distance_smaller_than(one.it, P, d - 1e-9), 0);
        // A point on an arc, tilted too, lies at 0 (|w|^2 - x^2 - y^2 used to leave about 1e-8 |w|).
        U::get_closest_point(one.it.get_interpolated_pos(t1), one.it, 0, end, t, d);
        EXPECT_LT(d, 1e-10) << trial;
    }
    EXPECT_GT(checked, 40);
    double t, d;
    U::get_closest_point({0, 0, 0}, One(two_spans).it, 1.5, 3.0, t, d);
    EXPECT_EQ(t, -1.0);
    EXPECT_EQ(d, DBL_MAX);
}

TEST(velPolylineUtils, ClosestPointsToLinesPlanesAndSegments) {
    Rng rng(18);
    for (int trial = 0; trial < 30; ++trial) {
        const One one(listtest::random_polyline(rng, {2, 5}, {-1.2, 1.2}));
        const giPoint3 P{rng.uniform(-60, 60), rng.uniform(-60, 60), rng.uniform(-30, 30)};
        giVector3 dir{rng.uniform(-1, 1), rng.uniform(-1, 1), rng.uniform(-1, 1)};
        dir.unitize();
        // Distance to the line through P along dir, or (lo = 0) to the half line from P.
        auto to_line = [&](double x, double lo) {
            const giVector3 w = one.it.get_interpolated_pos(x) - P;
            return (w - dir * std::max(lo, w.dot(dir))).length();
        };
        double brute[2];
        for (int half : {0, 1}) {
            const double lo = half ? 0.0 : -DBL_MAX;
            brute[half] = brute_min(one.it, [&](double x) { return to_line(x, lo); });
            EXPECT_NEAR(to_line(U::closest_point(P, dir * 3.0, one.it, half), lo), brute[half], 1e-9)
                << trial;
        }
        // Distances within a plane are distances between shadows on it.
        giLength d;
        const double t = U::closest_point_in_plane(P, giPlane(P, giUnitVec3(dir)), one.it, d);
        EXPECT_NEAR(d.value(), brute[0], 1e-9);
        EXPECT_NEAR(to_line(t, -DBL_MAX), d.value(), 1e-9);
    }
    // The chord query takes arcs by their chords.
    const One arc(std::vector<V>{{{0, 0, 0}, {}}, {{10, 0, 0}, giPoint3{5, -5, 0}}, {{10, 10, 0}, {}}});
    EXPECT_DOUBLE_EQ(U::closest_point({5, -3, 0}, {5, -1, 0}, arc.it), 0.5);
    EXPECT_EQ(U::closest_point({4, -3, 0}, {6, -3, 0}, One(std::vector<V>{{{0, 0, 0}, {}}}).it), -1.0);
    // Where the chord query answers the chord, the arc itself is nearer.
    double d;
    EXPECT_DOUBLE_EQ(U::closest_point_to_segment({5, -8, 0}, {5, -6, 0}, arc.it, d), 0.5);
    EXPECT_NEAR(d, 1.0, 1e-12);
    EXPECT_EQ(U::closest_point_to_segment({4, -3, 0}, {6, -3, 0}, One(std::vector<V>{}).it, d), -1.0);
    EXPECT_EQ(d, DBL_MAX);
}

TEST(velPolylineUtils, ClosestPointsToASegmentTakeArcsExactly) {
    Rng rng(19);
    for (int trial = 0; trial < 30; ++trial) {
        const One one(listtest::random_polyline(rng, {2, 5}, {-1.2, 1.2}));
        const giPoint3 P{rng.uniform(-60, 60), rng.uniform(-60, 60), rng.uniform(-30, 30)};
        const giPoint3 Q = trial % 5 == 0 ? P : giPoint3{rng.uniform(-60, 60), rng.uniform(-60, 60), 0};
        auto to_segment = [&](double x) { return segment_distance(one.it.get_interpolated_pos(x), P, Q); };
        double d;
        const double t = U::closest_point_to_segment(P, Q, one.it, d);
        EXPECT_NEAR(d, brute_min(one.it, to_segment), 1e-9) << trial;
        EXPECT_NEAR(to_segment(t), d, 1e-9) << trial;
    }
}

TEST(velPolylineUtils, ClosestPointsWithinABox) {
    Rng rng(19);
    int inside = 0;
    for (int trial = 0; trial < 40; ++trial) {
        const One one(listtest::random_polyline(rng, {2, 5}, {-1.2, 1.2}));
        const giPoint3 c{rng.uniform(-40, 40), rng.uniform(-40, 40), rng.uniform(-20, 20)};
        giBox3 box(c, c);
        box.offset(rng.uniform(5, 40));
        const giPoint3 P{rng.uniform(-60, 60), rng.uniform(-60, 60), rng.uniform(-30, 30)}, Q{0, 0, 0};
        auto masked = [&](auto dist) {
            return brute_min(one.it, [&, dist](double x) {
                const giPoint3 X = one.it.get_interpolated_pos(x);
                return box.contains(X) ? dist(X) : 1e300;
            });
        };
        const double b1 = masked([&](const giPoint3& X) { return P.distance(X); });
        const double b2 = masked([&](const giPoint3& X) { return segment_distance(X, P, Q); });
        const double t1 = U::closest_point_within_box(P, box, one.it),
                     t2 = U::closest_point_within_box(P, Q, box, one.it);
        // The box cache only passes over spans that cannot answer: the same parameters exactly.
        velPolyarcline3dBoxCache cache;
        cache.cache_boxes(*std::unique_ptr<velPolylineListIter>(one.it.create_new()));
        EXPECT_EQ(U::closest_point_within_box(P, box, one.it, cache), t1);
        EXPECT_EQ(U::closest_point_within_box(P, Q, box, one.it, cache), t2);
        // A miss must be a miss of the samples too; a find must be inside and no farther than the samples.
        EXPECT_EQ(t1 < 0, t2 < 0) << trial;
        if (t1 < 0) {
            EXPECT_GT(b1, 1e299) << trial;
            continue;
        }
        ++inside;
        const giPoint3 X1 = one.it.get_interpolated_pos(t1), X2 = one.it.get_interpolated_pos(t2);
        EXPECT_TRUE(box.contains(X1, 1e-9) && box.contains(X2, 1e-9)) << trial;
        EXPECT_LE(P.distance(X1), b1 + 1e-9) << trial;
        EXPECT_LE(segment_distance(X2, P, Q), b2 + 1e-9) << trial;
    }
    EXPECT_GT(inside, 15);
}

TEST(velPolylineUtils, DistancesBetweenPolylines) {
    const One a(two_spans), b(std::vector<V>{{{12, 3, 0}, {}}, {{20, 3, 0}, {}}}), empty(std::vector<V>{});
    double ta, tb;
    EXPECT_DOUBLE_EQ(U::min_distance(a.it, b.it, ta, tb), 2.0);
    EXPECT_DOUBLE_EQ(ta, 1.3);
    EXPECT_DOUBLE_EQ(tb, 0.0);
    EXPECT_EQ(U::min_distance(a.it, empty.it, ta, tb), 1.3407807929942596e154);
    EXPECT_EQ(ta, -1.0);
    EXPECT_DOUBLE_EQ(U::min_distance(One(std::vector<V>{{{5, 1, 0}, {}}}).it, a.it, ta, tb), 1.0);
    EXPECT_DOUBLE_EQ(tb, 0.5);
    EXPECT_DOUBLE_EQ(U::get_min_distance({0, 0, 0}, {3, 0, 0}, {1, 2, 0}, {1, 5, 0}).value(), 2.0);
    EXPECT_DOUBLE_EQ(U::get_min_distance({5, 1, 0}, {0, 0, 0}, {10, 0, 0}).value(), 1.0);
}

TEST(velPolylineUtils, RegionsCloserThanADistanceMatchDenseSamples) {
    Rng rng(20);
    int several = 0;
    for (int trial = 0; trial < 60; ++trial) {
        const bool closed = trial % 2 == 0;
        const One one(listtest::random_polyline(rng, {2, 7}, {-1, 1}, closed));
        const giPoint3 P{rng.uniform(-40, 40), rng.uniform(-40, 40), rng.uniform(-10, 10)};
        const double d = rng.uniform(5, 50);
        const auto pts = polygonize(one.it, 4000);
        int runs = 0;
        bool prev = false, near_boundary = false;
        for (const giPoint3& p : pts) {
            const double dist = p.distance(P);
            near_boundary = near_boundary || std::fabs(dist - d) < 1e-3;
            if (dist < d && !prev) ++runs;
            prev = dist < d;
        }
        if (near_boundary) continue;
        if (closed && runs > 1 && pts.front().distance(P) < d && pts.back().distance(P) < d) --runs;
        several += runs > 1;
        EXPECT_EQ(U::number_of_regions_closer_than(one.it, P, d), runs) << trial;
    }
    EXPECT_GE(several, 5) << "too few cases with more than one region";
    // A circle of radius 1 about a point at distance 1 from its centre, with d = 1: touching is not a region.
    const One circle(
        std::vector<V>{{{1, 0, 0}, {}}, {{-1, 0, 0}, giPoint3{0, 1, 0}}, {{1, 0, 0}, giPoint3{0, -1, 0}}});
    EXPECT_EQ(U::number_of_regions_closer_than(circle.it, {0, 0, 0}, 2), 1);
    EXPECT_EQ(U::number_of_regions_closer_than(circle.it, {2, 0, 0}, 1), 0);
    EXPECT_EQ(U::number_of_regions_closer_than(circle.it, {1, 0, 0}, 0.5), 1);
}

// Random polylines and exact classifications: velPolylineInside_test.
TEST(velPolylineUtils, InsideTestOfASquareAndWithinABox) {
    const One sq(square);
    EXPECT_EQ(U::point_inside_closed_polyline(giPoint2(0.5, 0.5), One(two_spans).it, nullptr), 0);
    const giBox3 small({0, 0, 0}, {0.2, 0.2, 0});
    EXPECT_EQ(U::point_inside_closed_polyline(giPoint3(0.5, 0.5, 9), sq.it, &small), 0);
    EXPECT_EQ(U::point_inside_closed_polyline(giPoint3(0.1, 0.1, 9), sq.it, &small), 1);
}

TEST(velPolylineUtils, SelfContactAndPlanarity) {
    const One hook(std::vector<V>{
        {{0, 0, 0}, {}}, {{2, 0, 0}, {}}, {{2, 2, 0}, {}}, {{1, 0.05, 0}, {}}, {{1, -2, 0}, {}}});
    EXPECT_TRUE(U::point_is_self_intersected_in_2d(3, hook.it, 0.1));
    EXPECT_FALSE(U::point_is_self_intersected_in_2d(3, hook.it, 0.01));
    EXPECT_FALSE(U::point_is_self_intersected_in_2d(1, One(two_spans).it, 1.0));
    // A 300 degree arc tilted by alpha: ends 0.5 sin(alpha), body sin(alpha) off the plane of the rest.
    const double alpha = 0.01, s = std::sin(alpha), c = std::cos(alpha);
    auto on = [&](double deg) {
        const double p = deg * pi / 180;
        return giPoint3(std::cos(p), std::sin(p) * c, std::sin(p) * s);
    };
    const One bent(std::vector<V>{
        {{-10, -10, 0}, {}}, {{10, -10, 0}, {}}, {{10, 10, 0}, {}}, {on(150), {}}, {on(-150), on(0)}});
    giPlane plane;
    EXPECT_EQ(U::planar(bent.it, 0.75 * s, plane), 0);
    EXPECT_EQ(U::planar(bent.it, 1.01 * s, plane), 1);
    EXPECT_NEAR(plane.normal().z(), 1.0, 1e-15);
    Rng rng(22);
    for (int trial = 0; trial < 20; ++trial) {
        const double tilt = rng.uniform(-1.2, 1.2);
        const One one(listtest::random_polyline(rng, rng.pick(3, 7), tilt));
        ASSERT_EQ(U::planar(one.it, 1e-9, plane), 1);
        EXPECT_NEAR(std::fabs(plane.normal().vector().dot(listtest::tilted({0, 0, 1}, tilt).as_vector())),
                    1.0, 1e-12);
    }
    const One line3d(std::vector<V>{{{0, 0, 0}, {}}, {{1, 1, 1}, {}}, {{2, 2, 2}, {}}});
    EXPECT_EQ(U::planar(line3d.it, 0.0, plane), 1);
    EXPECT_NEAR(plane.normal().vector().dot({1, 1, 1}), 0.0, 1e-15);
}

} // namespace velPolylineUtils_test
