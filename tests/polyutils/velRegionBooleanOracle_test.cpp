// The region operations against an outside oracle.

#include "offsetterTestKit.h"
#include "tests/support/geosKit.h"

#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velRegionBoolean.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace velRegionBooleanOracle_test {

using namespace offsettertest;
constexpr double sagitta = 1e-6;

// A region: the union of `plus` less the union of `minus` (anticlockwise loops).
struct Region {
    Polylines plus, minus;
};

Region random_boolean_region(std::mt19937& rng, double x0) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    auto pick = [&](double lo, double hi) { return lo + (hi - lo) * u(rng); };
    Region r;
    const int shapes = 2 + static_cast<int>(u(rng) * 3);
    for (int k = 0; k < shapes; ++k) {
        const double cx = x0 + pick(0, 8), cy = pick(0, 8);
        const double kind = u(rng);
        if (kind < 0.4) {
            r.plus.push_back(line_of(circle(cx, cy, pick(1.0, 3.0))));
        } else if (kind < 0.7) {
            const double w = pick(0.5, 2.5), h = pick(0.5, 2.5);
            r.plus.push_back(line_of(turned_rect(cx, cy, w, h, pick(0, pi))));
        } else {
            const double half = pick(0.5, 2.5), radius = pick(0.4, 1.5);
            r.plus.push_back(line_of(stadium(cx, cy, half, radius, pick(0, pi))));
        }
        if (u(rng) < 0.5) {
            const double mx = cx + pick(-1, 1), my = cy + pick(-1, 1);
            r.minus.push_back(line_of(circle(mx, my, pick(0.2, 0.9))));
        }
    }
    return r;
}

// The chords of the polygons leave the arcs by at most the sagitta.
double polygonization_error(const Region& r) {
    return (support::list_props_of(r.plus).length + support::list_props_of(r.minus).length) * sagitta;
}

// arcline's region: sort the plus shapes and the minus shapes into their unions, then the difference.
void arcline_region(const Region& r, velAbsPolyArcLineListCursor& out) {
    ListOf plus(r.plus), minus(r.minus);
    velAbsPolyArcLineListCursor plus_u, minus_u;
    velPolylineSorter sorter;
    sorter.sort(plus.it, plus_u);
    sorter.sort(minus.it, minus_u);
    region_difference(plus_u.iterator(), minus_u.iterator(), out);
}

#ifdef ARCLINE_TEST_HAVE_GEOS
struct Geos : support::GeosContext {
    GEOSGeometry* union_of(const Polylines& shapes) const {
        std::vector<GEOSGeometry*> parts;
        for (const auto& s : shapes)
            parts.push_back(polygon(ring_of(*s, sagitta)));
        GEOSGeometry* all = GEOSGeom_createCollection_r(h, GEOS_MULTIPOLYGON, parts.data(),
                                                        static_cast<unsigned>(parts.size()));
        GEOSGeometry* u = GEOSUnaryUnion_r(h, all);
        GEOSGeom_destroy_r(h, all);
        return u;
    }
    GEOSGeometry* region(const Region& r) const {
        GEOSGeometry* plus = union_of(r.plus);
        if (r.minus.empty()) return plus;
        GEOSGeometry* minus = union_of(r.minus);
        GEOSGeometry* d = GEOSDifference_r(h, plus, minus);
        GEOSGeom_destroy_r(h, plus);
        GEOSGeom_destroy_r(h, minus);
        return d;
    }
};
#endif

using Operation =
    std::function<int(const velPolylineListIter&, const velPolylineListIter&, velPolylineListCursor&)>;

class GeosOracle : public ::testing::TestWithParam<unsigned> {};

TEST_P(GeosOracle, AreasAndLoopsAgree) {
#ifndef ARCLINE_TEST_HAVE_GEOS
    GTEST_SKIP() << "GEOS (libgeos-dev) was not found at configure time";
#else
    std::mt19937 rng(GetParam());
    const Region ra = random_boolean_region(rng, 0.0), rb = random_boolean_region(rng, 3.0);
    const double tol = 2.0 * (polygonization_error(ra) + polygonization_error(rb)) + 1e-9;
    velAbsPolyArcLineListCursor a, b;
    arcline_region(ra, a);
    arcline_region(rb, b);
    Geos geos;
    GEOSGeometry* ga = geos.region(ra);
    GEOSGeometry* gb = geos.region(rb);
    ASSERT_NEAR(velPolylineListUtils::area(a.iterator()), geos.area(ga), tol);
    ASSERT_NEAR(velPolylineListUtils::area(b.iterator()), geos.area(gb), tol);
    struct Op {
        const char* name;
        Operation ours;
        GEOSGeometry* (*theirs)(GEOSContextHandle_t, const GEOSGeometry*, const GEOSGeometry*);
    };
    const Op ops[] = {{"union", region_union, GEOSUnion_r},
                      {"intersection", region_intersection, GEOSIntersection_r},
                      {"difference", region_difference, GEOSDifference_r},
                      {"xor", region_xor, GEOSSymDifference_r}};
    for (const Op& op : ops) {
        SCOPED_TRACE(op.name);
        velAbsPolyArcLineListCursor out;
        EXPECT_EQ(op.ours(a.iterator(), b.iterator(), out), 0);
        GEOSGeometry* g = op.theirs(geos.h, ga, gb);
        EXPECT_NEAR(velPolylineListUtils::area(out.iterator()), geos.area(g), tol);
        EXPECT_EQ(out.size(), geos.loops(g));
        GEOSGeom_destroy_r(geos.h, g);
    }
    GEOSGeom_destroy_r(geos.h, ga);
    GEOSGeom_destroy_r(geos.h, gb);
#endif
}

INSTANTIATE_TEST_SUITE_P(RandomRegions, GeosOracle, ::testing::Range(1u, 41u));

} // namespace velRegionBooleanOracle_test
