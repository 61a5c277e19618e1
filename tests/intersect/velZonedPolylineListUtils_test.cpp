// Queries through zones against brute force: closest points and free parameters.

#include "zoneTestKit.h"

#include "arcline/intersect/velPolylineListZoneNode.h"
#include "arcline/intersect/velZonedPolylineListUtils.h"
#include "arcline/lists/velFlattenedPolylineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace velZonedPolylineListUtils_test {

namespace {

using namespace zonetest;

// The scan: the nearest point over every polyline of the list (the first of equals).
struct Nearest {
    int index = -1;
    double t = -1.0, d = DBL_MAX;
};
Nearest scan(const giPoint3& P, const velPolylineListIter& list) {
    std::unique_ptr<velPolylineListIter> it(list.create_new());
    Nearest best;
    it->reset();
    while (++*it) {
        if (it->num_pos() == 0) continue;
        double t, d;
        velPolylineUtils::get_closest_point(P, *it, 0.0, it->num_pos() - 1.0, t, d);
        if (d < best.d) best = {it->index(), t, d};
    }
    return best;
}

giPoint3 point_at(const velPolylineListIter& list, int index, double t) {
    std::unique_ptr<velPolylineListIter> it(list.create_new());
    it->set_index(index);
    return it->get_interpolated_pos(t);
}

// A random list of planar polylines with arcs, built by bulges at scale s and moved by (ox, oy).
Polylines shapes(unsigned seed, double s, double ox, double oy) {
    Rng rng(seed);
    Polylines out;
    for (int k = 0; k < 7; ++k) {
        const int n = rng.pick(1, 9);
        std::vector<V> pts;
        std::vector<double> b;
        for (int i = 0; i < n; ++i) {
            pts.push_back({ox + s * rng.uniform(-50, 50), oy + s * rng.uniform(-50, 50)});
            b.push_back(rng.pick(0, 1) ? rng.uniform(-1.5, 1.5) : 0.0);
        }
        if (n > 2 && rng.pick(0, 1)) pts.back() = pts.front();
        out.push_back(bsptest::polyline(pts, b));
    }
    return out;
}

// The query points: near the list, on its spans, and far away.
std::vector<giPoint3> query_points(Rng& rng, const velPolylineListIter& list, double s, double ox,
                                   double oy) {
    std::vector<giPoint3> out;
    for (int k = 0; k < 60; ++k)
        out.push_back({ox + s * rng.uniform(-70, 70), oy + s * rng.uniform(-70, 70), 0.0});
    std::unique_ptr<velPolylineListIter> it(list.create_new());
    it->reset();
    while (++*it)
        if (it->num_pos() > 1) out.push_back(it->get_interpolated_pos(rng.uniform(0, it->num_pos() - 1.0)));
    out.push_back({ox + s * 1e4, oy - s * 3e3, 0.0});
    return out;
}

void expect_same_nearest(const giPoint3& P, const velPolylineListIter& list, const velPolylinePosition& at,
                         double d, double scale) {
    const Nearest ref = scan(P, list);
    ASSERT_TRUE(at.valid()) << P;
    EXPECT_NEAR(d, ref.d, 1e-12 * std::max(ref.d, scale)) << P;
    const giPoint3 ours = point_at(list, at.polyline_index(), at.parameter());
    const giPoint3 theirs = point_at(list, ref.index, ref.t);
    EXPECT_LE(ours.distance(theirs), 1e-12 * scale) << P << ": " << ours << " vs " << theirs;
    EXPECT_NEAR(P.distance(ours), d, 1e-12 * scale);
}

struct Placed : ::testing::TestWithParam<std::tuple<unsigned, double, double>> {};

TEST_P(Placed, ClosestPointsInThePlaneEqualTheScan) {
    const auto [seed, s, offset] = GetParam();
    ZoneList list(shapes(seed, s, offset, -2 * offset));
    velFlattenedPolylineListIter flat(list.iter, 0.0);
    velPolylineListZoneNode<2> zones(flat, 1.5 * s);
    zones.complete_subdivision();
    const double scale = s * 100 + std::fabs(offset) * 2;
    Rng rng(seed + 7);
    for (const giPoint3& P : query_points(rng, flat, s, offset, -2 * offset)) {
        double d;
        const velPolylinePosition at = velZonedPolylineListUtils::closest_point_2d(P.xy(), flat, zones, d);
        expect_same_nearest(P, flat, at, d, scale);
        EXPECT_EQ(at.iterator(), &flat);
        // Polyline by polyline through its own zones.
        std::unique_ptr<velFlattenedPolylineListIter> one(flat.create_new());
        for (int i = 0; i < zones.size(); ++i) {
            one->set_index(i);
            double di;
            const double t = velZonedPolylineListUtils::single_polyline_closest_point_2d(
                P.xy(), *one, zones.individual_polyline_zones(i), di);
            double tr, dr;
            velPolylineUtils::get_closest_point(P, *one, 0.0, one->num_pos() - 1.0, tr, dr);
            EXPECT_NEAR(di, dr, 1e-12 * std::max(dr, scale));
            EXPECT_LE(one->get_interpolated_pos(t).distance(one->get_interpolated_pos(tr)), 1e-12 * scale);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MovedAndScaled, Placed,
                         ::testing::Values(std::make_tuple(1u, 1.0, 0.0), std::make_tuple(2u, 1.0, 0.0),
                                           std::make_tuple(3u, 1.0, 0.0), std::make_tuple(1u, 1.0, 1e6),
                                           std::make_tuple(2u, 1000.0, 0.0),
                                           std::make_tuple(3u, 1e-3, -50.0)));

// In space with arcs tilted out of XY, through the octree zones.
TEST(velZonedPolylineListUtils, ClosestPointsInSpaceEqualTheScan) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
        Rng rng(seed);
        ZoneList list(listtest::random_list(rng, 8, true));
        velPolylineListZoneNode<3> zones(list.iter, 3.0);
        zones.complete_subdivision();
        for (int k = 0; k < 80; ++k) {
            const giPoint3 P{rng.uniform(-80, 80), rng.uniform(-80, 80), rng.uniform(-80, 80)};
            double d;
            const velPolylinePosition at = velZonedPolylineListUtils::closest_point(P, list.iter, zones, d);
            expect_same_nearest(P, list.iter, at, d, 100.0);

            std::unique_ptr<velPolylineListIter> one(list.iter.create_new());
            const int i = rng.pick(0, zones.size() - 1);
            one->set_index(i);
            double di, tr, dr;
            const double t = velZonedPolylineListUtils::single_polyline_closest_point(
                P, *one, zones.individual_polyline_zones(i), di);
            velPolylineUtils::get_closest_point(P, *one, 0.0, one->num_pos() - 1.0, tr, dr);
            if (one->num_pos() == 0) {
                EXPECT_EQ(t, -1.0);
                EXPECT_EQ(di, DBL_MAX);
                continue;
            }
            EXPECT_NEAR(di, dr, 1e-12 * std::max(dr, 100.0));
        }
    }
}

// --- Free parameters

// The spans beside span j (across the closing point of a closed polyline too).
bool neighbours(int j, int k, int spans, bool closed) {
    if (std::abs(j - k) == 1) return true;
    return closed && ((j == 0 && k == spans - 1) || (k == 0 && j == spans - 1));
}

// The point at t lies farther than tol from every span of the current polyline of `it` but its own and its
// neighbours, and from every span of the other polylines of `list` (when given; polylines of one position
// cross nothing and do not count).
void expect_free(const velPolylineListIter& it, double t, double tol,
                 const velPolylineListIter* list = nullptr) {
    ASSERT_GE(t, 0.0);
    const int n = it.num_pos(), spans = n - 1, j = std::min(static_cast<int>(t), spans - 1);
    const bool closed = n > 2 && it.get_pos(0) == it.get_pos(n - 1);
    const giPoint3 P = it.get_interpolated_pos(t);
    for (int k = 0; k < spans; ++k) {
        if (k == j || neighbours(j, k, spans, closed)) continue;
        EXPECT_GE(ref_distance(ref_span(it, k), {P.x, P.y}), tol * (1 - 1e-9)) << "span " << k << " at " << P;
    }
    if (!list) return;
    std::unique_ptr<velPolylineListIter> other(list->create_new());
    other->reset();
    while (++*other) {
        if (other->index() == it.index()) continue;
        for (int k = 0; k + 1 < other->num_pos(); ++k)
            EXPECT_GE(ref_distance(ref_span(*other, k), {P.x, P.y}), tol * (1 - 1e-9))
                << "polyline " << other->index() << " span " << k;
    }
}

TEST(velZonedPolylineListUtils, FreeParameterEdgeCases) {
    bsptest::List list;
    list.add(bsptest::polyline({{1, 1}}));         // a point
    list.add(bsptest::polyline({{0, 0}, {4, 0}})); // one span
    list.add(
        bsptest::polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}));
    list.add(bsptest::polyline({{0, 0}, {0, 0}, {3, 0}})); // a zero span first
    velFlattenedPolylineListIter flat(list.iter, 0.0);
    velPolylineListZoneNode<2> zones(flat, 1.0);
    zones.complete_subdivision();
    auto free_at = [&](int i) {
        flat.set_index(i);
        return velZonedPolylineListUtils::non_self_intersecting_parameter(flat, 0.1,
                                                                          zones.individual_polyline_zones(i));
    };
    EXPECT_EQ(free_at(0), -1.0);
    EXPECT_DOUBLE_EQ(free_at(1), 0.5);
    EXPECT_EQ(free_at(2), -1.0) << "a square traced twice lies on itself everywhere";
    EXPECT_DOUBLE_EQ(free_at(3), 1.5) << "the zero-length span is skipped";
}

// Every polyline of random lists: a parameter clear of the whole list, or -1 when every point of the
// polyline lies within the tolerance of some other span.
TEST(velZonedPolylineListUtils, NonIntersectingParametersOfRandomLists) {
    int given = 0, refused = 0;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        for (const double tol : {0.05, 0.5, 4.0}) {
            Rng rng(seed * 10);
            ZoneList list(listtest::random_list(rng, 6));
            velFlattenedPolylineListIter flat(list.iter, 0.0);
            velPolylineListZoneNode<2> zones(flat, 2.0);
            zones.complete_subdivision();
            std::vector<double> out;
            const int count = velZonedPolylineListUtils::non_intersecting_parameters(flat, tol, zones, out);
            ASSERT_EQ(static_cast<int>(out.size()), zones.size());
            EXPECT_EQ(count, static_cast<int>(
                                 std::count_if(out.begin(), out.end(), [](double t) { return t >= 0; })));
            std::unique_ptr<velFlattenedPolylineListIter> it(flat.create_new());
            for (int i = 0; i < zones.size(); ++i) {
                it->set_index(i);
                const double t = out[static_cast<std::size_t>(i)];
                if (t >= 0.0) {
                    ++given;
                    expect_free(*it, t, tol, &flat);
                    continue;
                }
                ++refused;
                // Refused: samples of every span lie within the tolerance of some other span.
                for (int j = 0; j + 1 < it->num_pos(); ++j) {
                    if (it->get_pos(j).coincident(it->get_pos(j + 1),
                                                  velZonedPolylineListUtils::zero_span_length))
                        continue;
                    for (int s = 1; s < 20; ++s) {
                        const giPoint3 P = it->get_interpolated_pos(j + s / 20.0);
                        double nearest = DBL_MAX;
                        std::unique_ptr<velFlattenedPolylineListIter> o(flat.create_new());
                        o->reset();
                        while (++*o)
                            for (int k = 0; k + 1 < o->num_pos(); ++k)
                                if (o->index() != i || k != j)
                                    nearest = std::min(nearest, ref_distance(ref_span(*o, k), {P.x, P.y}));
                        EXPECT_LT(nearest, tol * (1 + 1e-9))
                            << "polyline " << i << " span " << j << " at " << P;
                    }
                }
            }
        }
    }
    EXPECT_GT(given, 20);
    EXPECT_GT(refused, 5);
}

} // namespace

} // namespace velZonedPolylineListUtils_test
