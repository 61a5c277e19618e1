// Regions of velPolylineListUtils: inside tests against the closed polylines of a list, the region around a
// point, containment of one list in the region of another, and the closure and convexity tests.

#include "arcline/polyutils/velPolylineListUtils.h"

#include "arcline/intersect/velListIntersector.h"
#include "arcline/intersect/velPolyarcline2dBoxCache.h"
#include "arcline/intersect/velPolylineListZoneNode.h"
#include "arcline/intersect/velZonedPolylineListUtils.h"
#include "arcline/lists/velFlattenedPolylineListIter.h"
#include "arcline/lists/velPolylineListIterAppend.h"
#include "arcline/lists/velPolylineListIterSubset.h"
#include "arcline/platform/itRangeIterator.h"
#include "arcline/platform/utMath.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using U = velPolylineUtils;

// contains(): samples of a piece at half its length, then quarters, ... (1 + 2 + 4 + 8 samples).
constexpr int piece_sample_levels = 4;
// The zones of the boundaries are made about this many to a side of their box.
constexpr double zones_per_side = 64.0;
// A tangent whose XY part is shorter than this (of a unit tangent) runs along Z: it has no XY direction.
constexpr double vertical_tangent = 1e-12;
// xy_projection_is_convex: tangents are read at these fractions of an arc span, so that each step between
// them turns less than half a turn.
constexpr double arc_tangent_fractions[] = {0.0, 0.25, 0.5, 0.75, 1.0};

// Where X lies against the closed polyline in XY, on the polyline (within velTol::on_boundary) counting
// as neither: 1 inside, 0 outside, -1 on it.
int side_of(const giPoint3& X, const velPolylineListIter& closed) {
    switch (U::point_location(X.xy(), closed, velTol::on_boundary)) {
    case U::inside:
        return 1;
    case U::outside:
        return 0;
    default:
        return -1;
    }
}

// Whether the polyline `inner` lies inside the closed polyline `outer`, judged by its first position (then
// span mid point) that does not lie on `outer`. A polyline lying on `outer` all along is not inside.
bool nested_in(const velPolylineListIter& inner, const velPolylineListIter& outer) {
    const int n = inner.num_pos();
    for (int i = 0; i < n; ++i) {
        const int s = side_of(inner.get_pos(i), outer);
        if (s >= 0) return s == 1;
    }
    for (int k = 0; k + 1 < n; ++k) {
        const int s = side_of(inner.get_interpolated_pos(k + 0.5), outer);
        if (s >= 0) return s == 1;
    }
    return false;
}

} // namespace

int velPolylineListUtils::point_inside_closed_polylines(const giPoint3& point, const velPolylineListIter& in,
                                                        const velPolyarcline2dBoxCache* cache) {
    const std::unique_ptr<velPolylineListIter> w(in.create_new());
    const giPoint2 P = point.xy();
    int count = 0;
    w->reset();
    while (++*w) {
        if (cache) {
            const giBox2& b = cache->get_seg_box(w->index());
            if (!b.contains(P)) continue;
            count += U::point_inside_closed_polyline(P, *w, &b);
        } else {
            count += U::point_inside_closed_polyline(P, *w, nullptr);
        }
    }
    return count;
}

int velPolylineListUtils::find_region_containing_pos(const velPolylineListIter& in, const giPoint3& point,
                                                     velPolylineListCursor& out) {
    const std::unique_ptr<velPolylineListIter> w(in.create_new()), other(in.create_new());
    struct Closed {
        int index;
        double area;
        bool holds;
    };
    std::vector<Closed> closed;
    w->reset();
    while (++*w) {
        if (w->num_pos() < 2 || !U::closed(*w, 0.0)) continue;
        closed.push_back({w->index(), std::fabs(U::area(*w)),
                          U::point_inside_closed_polyline(point.xy(), *w, nullptr) != 0});
    }
    // The boundary: the least polyline holding the point.
    const Closed* outer = nullptr;
    for (const Closed& c : closed)
        if (c.holds && (!outer || c.area < outer->area)) outer = &c;
    if (!outer) return 0;
    w->set_index(outer->index);
    std::vector<const Closed*> inside; // candidates for holes
    for (const Closed& c : closed) {
        if (c.holds || c.index == outer->index || !(c.area < outer->area)) continue;
        other->set_index(c.index);
        if (nested_in(*other, *w)) inside.push_back(&c);
    }
    // Holes are the candidates that lie in no other candidate.
    std::vector<int> written_order{outer->index};
    for (const Closed* c : inside) {
        other->set_index(c->index);
        bool nested = false;
        for (const Closed* d : inside) {
            if (d == c || !(c->area < d->area)) continue;
            w->set_index(d->index);
            if (nested_in(*other, *w)) {
                nested = true;
                break;
            }
        }
        if (!nested) written_order.push_back(c->index);
    }
    if (out.size() > 0) out.set_index(out.size() - 1);
    for (int index : written_order) {
        w->set_index(index);
        out.create_polyline();
        ++out;
        U::append(*w, out);
    }
    return static_cast<int>(written_order.size());
}

int velPolylineListUtils::contains(const velPolylineListIter& a, const velPolylineListIter& b, double tol) {
    if (num_points(b) == 0) return 1;
    // The boundaries: a's closed polylines.
    std::vector<int> boundaries;
    {
        const std::unique_ptr<velPolylineListIter> w(a.create_new());
        w->reset();
        while (++*w)
            if (w->num_pos() > 1 && U::closed(*w, 0.0)) boundaries.push_back(w->index());
    }
    if (boundaries.empty()) return 0;
    const int k = static_cast<int>(boundaries.size());
    const velPolylineListIterSubset bounds(itRangeIterator<std::vector<int>>(boundaries), a);

    // Where b crosses the boundaries: b's parameters, per polyline of b.
    velPolylineListIterAppend both(bounds, b);
    velCrossingcoPageArr crossings;
    velListIntersector::crossings_between(both, k, crossings);
    std::vector<std::vector<double>> cuts(static_cast<std::size_t>(b.size()));
    for (int i = 0; i < crossings.size(); ++i) {
        const velCrossing& c = crossings.read(i);
        if (c.invalid() || c.index2() < k) continue;
        cuts[static_cast<std::size_t>(c.index2() - k)].push_back(c.param2());
    }

    // Distances to the boundaries in XY, and the inside count.
    const velFlattenedPolylineListIter flat(bounds, 0.0);
    const giBox2 limits = box(flat, vel_2d_box);
    const double width =
        std::max(std::max(limits.xlength(), limits.ylength()) / zones_per_side, velTol::coincident);
    velPolylineListZoneNode<2> zones(flat, width);
    zones.complete_subdivision();
    velPolyarcline2dBoxCache boxes;
    {
        const std::unique_ptr<velPolylineListIter> w(bounds.create_new());
        boxes.cache_boxes(*w);
    }
    // 1 held, 0 not held, -1 within tol of a boundary (undecided).
    auto judge = [&](const giPoint3& X) {
        double d = DBL_MAX;
        velZonedPolylineListUtils::closest_point_2d(X.xy(), flat, zones, d);
        if (!(d > tol)) return -1;
        return point_inside_closed_polylines(X, bounds, &boxes) % 2;
    };

    const std::unique_ptr<velPolylineListIter> w(b.create_new());
    w->reset();
    while (++*w) {
        const int n = w->num_pos();
        if (n == 0) continue;
        if (n == 1) {
            if (judge(w->get_pos(0)) == 0) return 0;
            continue;
        }
        std::vector<double> bounds_of_pieces{0.0};
        std::vector<double>& c = cuts[static_cast<std::size_t>(w->index())];
        std::sort(c.begin(), c.end());
        for (double t : c)
            if (t > bounds_of_pieces.back() && t < n - 1.0) bounds_of_pieces.push_back(t);
        bounds_of_pieces.push_back(n - 1.0);
        for (std::size_t p = 0; p + 1 < bounds_of_pieces.size(); ++p) {
            const double t0 = bounds_of_pieces[p], t1 = bounds_of_pieces[p + 1];
            const double L = U::length(*w, t0, t1);
            int verdict = -1;
            for (int level = 1; level <= piece_sample_levels && verdict < 0; ++level) {
                const int parts = 1 << level;
                for (int j = 1; j < parts && verdict < 0; j += 2) {
                    double t = U::get_par_at_length(*w, t0, L * j / parts, 1, 0);
                    t = t < 0.0 ? t1 : std::clamp(t, t0, t1);
                    verdict = judge(w->get_interpolated_pos(t));
                }
            }
            if (verdict == 0) return 0;
        }
    }
    return 1;
}

int velPolylineListUtils::has_self_intersections_at_closure_in_2d(const velPolylineListIter& in, double tol) {
    const std::unique_ptr<velPolylineListIter> w(in.create_new());
    w->reset();
    while (++*w)
        if (w->num_pos() > 2 && U::closed(*w, tol) && U::point_is_self_intersected_in_2d(0, *w, tol))
            return 1;
    return 0;
}

namespace {

// The direction of a unit tangent in XY, as an angle in degrees; false when it runs along Z.
bool xy_direction(const giUnitVec3& t, double& degrees) {
    if (t.invalid() || std::hypot(t.x(), t.y()) < vertical_tangent) return false;
    degrees = utMath::degrees(std::atan2(t.y(), t.x()));
    return true;
}

// The turn from direction a to direction b in degrees, within (-180, 180].
double turn(double a, double b) {
    double d = std::fmod(b - a, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}

// Whether the XY shadow of the current polyline turns one way only (see xy_projection_is_convex).
bool convex_shadow(const velPolylineListIter& it, double angle) {
    const int n = it.num_pos();
    std::vector<double> turns;
    bool have = false, have_first = false;
    double last = 0.0, first = 0.0;
    auto visit = [&](const giUnitVec3& t) {
        double d;
        if (!xy_direction(t, d)) return;
        if (have) turns.push_back(turn(last, d));
        if (!have_first) {
            first = d;
            have_first = true;
        }
        last = d;
        have = true;
    };
    for (int k = 0; k + 1 < n; ++k) {
        if (it.span_linear(k)) {
            visit(U::span_tangent(it, k, 0.0));
            continue;
        }
        for (double f : arc_tangent_fractions)
            visit(U::span_tangent(it, k, f));
    }
    // The corner at the closing point of a closed polyline.
    if (have && n > 2 && U::closed(it, 0.0)) turns.push_back(turn(last, first));
    double total = 0.0;
    for (double t : turns)
        total += t;
    const double sense = total < 0.0 ? -1.0 : 1.0;
    for (double t : turns)
        if (sense * t < -angle) return false;
    return std::fabs(total) <= 360.0 + angle;
}

} // namespace

int velPolylineListUtils::xy_projection_is_convex(const velPolylineListIter& in, double angle) {
    const std::unique_ptr<velPolylineListIter> w(in.create_new());
    w->reset();
    while (++*w)
        if (!convex_shadow(*w, angle)) return 0;
    return 1;
}
