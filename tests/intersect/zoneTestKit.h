#pragma once
// Shared pieces of the zone tests: lists, leaves, independent span-meets-box and distance references.

#include "../lists/listTestKit.h"
#include "bspTestKit.h"

#include "arcline/intersect/velPolylineZoneNode.h"
#include "arcline/lists/velAbsPolyArcLineVecListIter.h"
#include "arcline/platform/giBox2.h"
#include "arcline/platform/giBox3.h"

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace zonetest {

using bsptest::RefSpan;
using bsptest::V;
using listtest::Polylines;
using polytest::Rng;

// Polylines and an iterator over them (not copyable: the iterator points at the vector).
struct ZoneList {
    Polylines polylines;
    velAbsPolyArcLineVecListIter iter{&polylines};

    ZoneList() = default;
    explicit ZoneList(Polylines p) : polylines(std::move(p)) {}
    ZoneList(const ZoneList&) = delete;
    ZoneList& operator=(const ZoneList&) = delete;
};

// Every leaf of a tree with its depth below `node`.
template <int D>
void leaves(const velPolylineZoneNode<D>& node,
            std::vector<std::pair<const velPolylineZoneNode<D>*, int>>& out, int depth = 0) {
    if (!node.contains_children()) {
        out.emplace_back(&node, depth);
        return;
    }
    for (int q = 0; q < velPolylineZoneNode<D>::num_children; ++q)
        leaves(*node.child(q), out, depth + 1);
}

template <int D>
bool listed(const velPolylineZoneNode<D>& leaf, int span) {
    if (!leaf.items()) return false;
    for (int j : *leaf.items())
        if (j == span) return true;
    return false;
}

// Whether segment AB meets the box grown by `slack` (separating axes).
inline bool segment_meets_box(const giPoint3& A, const giPoint3& B, const giBox3& box, double slack) {
    const giPoint3 c = box.centre();
    const double h[3] = {0.5 * box.xlength() + slack, 0.5 * box.ylength() + slack,
                         0.5 * box.zlength() + slack};
    const double m[3] = {0.5 * (A.x + B.x) - c.x, 0.5 * (A.y + B.y) - c.y, 0.5 * (A.z + B.z) - c.z};
    const double d[3] = {0.5 * (B.x - A.x), 0.5 * (B.y - A.y), 0.5 * (B.z - A.z)};
    const double ad[3] = {std::fabs(d[0]), std::fabs(d[1]), std::fabs(d[2])};
    for (int k = 0; k < 3; ++k)
        if (std::fabs(m[k]) > h[k] + ad[k]) return false;
    if (std::fabs(m[1] * d[2] - m[2] * d[1]) > h[1] * ad[2] + h[2] * ad[1]) return false;
    if (std::fabs(m[2] * d[0] - m[0] * d[2]) > h[0] * ad[2] + h[2] * ad[0]) return false;
    if (std::fabs(m[0] * d[1] - m[1] * d[0]) > h[0] * ad[1] + h[1] * ad[0]) return false;
    return true;
}

inline bool segment_meets_box(const giPoint3& A, const giPoint3& B, const giBox2& box, double slack) {
    const giBox3 flat({box.min().x, box.min().y, 0.0}, {box.max().x, box.max().y, 0.0});
    return segment_meets_box(giPoint3(A.x, A.y, 0.0), giPoint3(B.x, B.y, 0.0), flat, slack);
}

// Whether the arc meets the closed box: an end inside, or its circle crossing an edge at a point of the arc.
inline bool arc_meets_box(const RefSpan& s, const giBox2& box) {
    auto inside = [&](V p) { return box.contains({p.x, p.y}); };
    if (inside(s.a) || inside(s.e)) return true;
    const double lo[2] = {box.min().x, box.min().y}, hi[2] = {box.max().x, box.max().y};
    const double c[2] = {s.c.x, s.c.y};
    for (int k = 0; k < 2; ++k) {
        for (const double edge : {lo[k], hi[k]}) {
            const double off = edge - c[k], h2 = s.r * s.r - off * off;
            if (h2 < 0.0) continue;
            for (const double sign : {-1.0, 1.0}) {
                const double other = c[1 - k] + sign * std::sqrt(h2);
                if (other < lo[1 - k] || other > hi[1 - k]) continue;
                const V p = k == 0 ? V{edge, other} : V{other, edge};
                if (bsptest::on_span(s, p)) return true;
            }
        }
    }
    return false;
}

// Span j of the current polyline in XY, for the references.
inline RefSpan ref_span(const velPolylineListIter& it, int j) {
    const giPoint3 a = it.get_pos(j), e = it.get_pos(j + 1);
    return bsptest::ref_span({a.x, a.y}, {e.x, e.y}, it.span_linear(j) ? 0.0 : it.get_bulge(j));
}

// Whether span j (in XY) truly meets the box; straight spans are tested with `slack`, arcs exactly.
inline bool span_meets_box(const velPolylineListIter& it, int j, const giBox2& box, double slack) {
    if (it.span_linear(j)) return segment_meets_box(it.get_pos(j), it.get_pos(j + 1), box, slack);
    return arc_meets_box(ref_span(it, j), box);
}

// Distance in the plane from p to the span: the chord's foot for a segment; for an arc the distance to its
// circle when p's angle lies within the sweep, else the nearer end.
inline double ref_distance(const RefSpan& s, V p) {
    auto dist = [](V u, V v) { return std::hypot(u.x - v.x, u.y - v.y); };
    const double ends = std::min(dist(p, s.a), dist(p, s.e));
    if (s.b == 0.0) {
        const double dx = s.e.x - s.a.x, dy = s.e.y - s.a.y, L2 = dx * dx + dy * dy;
        if (L2 == 0.0) return ends;
        const double t = ((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / L2;
        if (t <= 0.0 || t >= 1.0) return ends;
        return dist(p, {s.a.x + t * dx, s.a.y + t * dy});
    }
    const double to_centre = dist(p, s.c);
    if (to_centre == 0.0) return s.r;
    const V foot{s.c.x + (p.x - s.c.x) * s.r / to_centre, s.c.y + (p.y - s.c.y) * s.r / to_centre};
    if (bsptest::on_span(s, foot)) return std::min(ends, std::fabs(to_centre - s.r));
    return ends;
}

} // namespace zonetest
