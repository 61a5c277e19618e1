// The region operations against an outside oracle: GEOS (C interface) on the same regions polygonized
// finely. Each region is a union of random circles, turned rectangles and stadiums (arcs and lines) with
// smaller circles taken out of it: regions with arcs, holes and several loops. Both sides build the regions
// from the same shapes (arcline by sorting and its own difference, GEOS from the polygons), then take the
// union, intersection, difference and exclusive or; the areas agree within the polygonization error and the
// numbers of boundary loops agree.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velRegionBoolean.h"
#include "tests/intersect/bspTestKit.h"
#include "tests/support/geosKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>

#ifdef ARCLINE_TEST_HAVE_GEOS
#include <geos_c.h>
#endif

namespace velRegionBooleanOracle_test {

using namespace bsptest;
constexpr double pi = std::numbers::pi;
// Polygons follow arcs within this sagitta (their vertices lie on the arcs).
constexpr double sagitta = 1e-6;

// A shape by its boundary: straight pieces and arcs, anticlockwise.
struct Piece {
    V a, e;
    double bulge; // 0: straight
};
using Shape = std::vector<Piece>;

Shape circle(V c, double r) {
    return {{{c.x + r, c.y}, {c.x - r, c.y}, 1.0}, {{c.x - r, c.y}, {c.x + r, c.y}, 1.0}};
}

Shape turned_rect(V c, double w, double h, double angle) {
    const double ca = std::cos(angle), sa = std::sin(angle);
    auto at = [&](double x, double y) { return V{c.x + ca * x - sa * y, c.y + sa * x + ca * y}; };
    const V p[4] = {at(-w, -h), at(w, -h), at(w, h), at(-w, h)};
    return {{p[0], p[1], 0}, {p[1], p[2], 0}, {p[2], p[3], 0}, {p[3], p[0], 0}};
}

Shape stadium(V c, double half, double r, double angle) {
    const double ca = std::cos(angle), sa = std::sin(angle);
    auto at = [&](double x, double y) { return V{c.x + ca * x - sa * y, c.y + sa * x + ca * y}; };
    const V p0 = at(-half, -r), p1 = at(half, -r), p2 = at(half, r), p3 = at(-half, r);
    return {{p0, p1, 0}, {p1, p2, 1.0}, {p2, p3, 0}, {p3, p0, 1.0}};
}

std::unique_ptr<velAbsPolyArcLine> arcline_of(const Shape& s) {
    std::vector<V> pts{s.front().a};
    std::vector<double> bulges;
    for (const Piece& p : s) {
        pts.push_back(p.e);
        bulges.push_back(p.bulge);
    }
    return polyline(pts, bulges);
}

// The shape's boundary as points on it, arcs cut so that no chord leaves the arc by more than the sagitta.
std::vector<V> polygon_of(const Shape& s) {
    std::vector<V> out;
    for (const Piece& p : s) {
        out.push_back(p.a);
        if (p.bulge == 0.0) continue;
        const double sweep = 4.0 * std::atan(p.bulge);
        const double dx = p.e.x - p.a.x, dy = p.e.y - p.a.y, chord = std::hypot(dx, dy);
        const double r = chord / (2.0 * std::sin(sweep / 2.0));
        // The centre on the chord's left normal for an anticlockwise arc.
        const double k =
            std::sqrt(std::max(r * r - chord * chord / 4.0, 0.0)) * (std::fabs(sweep) > pi ? -1 : 1);
        const V m{(p.a.x + p.e.x) / 2, (p.a.y + p.e.y) / 2};
        const V c{m.x - dy / chord * k, m.y + dx / chord * k};
        const double a0 = std::atan2(p.a.y - c.y, p.a.x - c.x);
        const int n = static_cast<int>(std::ceil(std::fabs(sweep) / (2.0 * std::acos(1.0 - sagitta / r))));
        for (int i = 1; i < n; ++i) {
            const double a = a0 + sweep * i / n;
            out.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
        }
    }
    return out;
}

double perimeter_of(const Shape& s) {
    double l = 0.0;
    for (const Piece& p : s) {
        const double chord = std::hypot(p.e.x - p.a.x, p.e.y - p.a.y);
        const double sweep = 4.0 * std::atan(p.bulge);
        l += p.bulge == 0.0 ? chord : chord / (2.0 * std::sin(sweep / 2.0)) * sweep;
    }
    return l;
}

// A region: the union of `plus` without the union of `minus`.
struct Region {
    std::vector<Shape> plus, minus;
};

Region random_region(std::mt19937& rng, double x0) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    auto pick = [&](double lo, double hi) { return lo + (hi - lo) * u(rng); };
    Region r;
    const int shapes = 2 + static_cast<int>(u(rng) * 3);
    for (int k = 0; k < shapes; ++k) {
        const V c{x0 + pick(0, 8), pick(0, 8)};
        const double kind = u(rng);
        if (kind < 0.4)
            r.plus.push_back(circle(c, pick(1.0, 3.0)));
        else if (kind < 0.7)
            r.plus.push_back(turned_rect(c, pick(0.5, 2.5), pick(0.5, 2.5), pick(0, pi)));
        else
            r.plus.push_back(stadium(c, pick(0.5, 2.5), pick(0.4, 1.5), pick(0, pi)));
        if (u(rng) < 0.5) r.minus.push_back(circle({c.x + pick(-1, 1), c.y + pick(-1, 1)}, pick(0.2, 0.9)));
    }
    return r;
}

double polygonization_error(const Region& r) {
    double e = 0.0;
    for (const auto* list : {&r.plus, &r.minus})
        for (const Shape& s : *list)
            e += perimeter_of(s) * sagitta;
    return e;
}

// arcline's region: sort the plus shapes and the minus shapes into their unions, then the difference.
void arcline_region(const Region& r, velAbsPolyArcLineListCursor& out) {
    List plus, minus;
    for (const Shape& s : r.plus)
        plus.add(arcline_of(s));
    for (const Shape& s : r.minus)
        minus.add(arcline_of(s));
    velAbsPolyArcLineListCursor plus_u, minus_u;
    velPolylineSorter sorter;
    sorter.sort(plus.iter, plus_u);
    sorter.sort(minus.iter, minus_u);
    region_difference(plus_u.iterator(), minus_u.iterator(), out);
}

#ifdef ARCLINE_TEST_HAVE_GEOS
struct Geos : support::GeosContext {
    GEOSGeometry* union_of(const std::vector<Shape>& shapes) const {
        std::vector<GEOSGeometry*> parts;
        for (const Shape& s : shapes)
            parts.push_back(polygon(polygon_of(s)));
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
    const Region ra = random_region(rng, 0.0), rb = random_region(rng, 3.0);
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
