#include "arcline/intersect/velZoneCloseFragments.h"

#include "arcline/polyline/spans/velCirbul.h"

#include <algorithm>
#include <array>

velZoneCloseFragments::Span velZoneCloseFragments::span(const velPolylineListIter& iter, int j) {
    return {iter.get_pos(j).xy(), iter.get_pos(j + 1).xy(), iter.span_linear(j) ? 0.0 : iter.get_bulge(j)};
}

void velZoneCloseFragments::close_runs(const Span& a, const Span& b, double radius,
                                       std::vector<std::pair<double, double>>& runs) {
    runs.clear();
    if (!(radius > 0.0)) return;
    const double A0[2] = {a.s.x, a.s.y}, A1[2] = {a.e.x, a.e.y};
    const double B0[2] = {b.s.x, b.s.y}, B1[2] = {b.e.x, b.e.y};

    // Where a crosses the boundary of b's neighbourhood: at most two offsets and four half circles, each
    // met at most max_intersections times, and a's two ends.
    std::array<double, 2 + 6 * velCirbul::max_intersections> cuts;
    int num_cuts = 0;
    cuts[static_cast<std::size_t>(num_cuts++)] = 0.0;
    cuts[static_cast<std::size_t>(num_cuts++)] = 1.0;
    auto add_cuts = [&](const double Q0[2], const double Q1[2], double bq) {
        int count = 0, coincident = 0;
        double ta[velCirbul::max_intersections], tb[velCirbul::max_intersections];
        double points[velCirbul::max_intersections][2];
        velCirbul::cbincb_g(A0, A1, a.b, 0.0, 1.0, Q0, Q1, bq, 0.0, 1.0, velCirbul::intersection_tol, count,
                            ta, tb, points, coincident);
        for (int i = 0; i < count; ++i)
            cuts[static_cast<std::size_t>(num_cuts++)] = std::clamp(ta[i], 0.0, 1.0);
    };
    const bool b_is_point = b.s.coincident(b.e, 0.0);
    if (!b_is_point) {
        // The offsets along the right-hand normals of b's end tangents: an arc keeps its bulge, and an arc
        // offset past its centre (its chord turned round) bounds nothing.
        double n0[2], n1[2];
        velCirbul::cbpata(B0, B1, b.b, 0.0, n0);
        velCirbul::cbpata(B0, B1, b.b, 1.0, n1);
        for (const double side : {radius, -radius}) {
            const double Q0[2] = {B0[0] + side * n0[1], B0[1] - side * n0[0]};
            const double Q1[2] = {B1[0] + side * n1[1], B1[1] - side * n1[0]};
            const double along = (Q1[0] - Q0[0]) * (B1[0] - B0[0]) + (Q1[1] - Q0[1]) * (B1[1] - B0[1]);
            if (along > 0.0) add_cuts(Q0, Q1, b.b);
        }
    }
    for (int end = 0; end < (b_is_point ? 1 : 2); ++end) {
        // The circle about the end as two half circles (bulge 1: half a turn anticlockwise).
        const giPoint2& c = end == 0 ? b.s : b.e;
        const double E0[2] = {c.x + radius, c.y}, E1[2] = {c.x - radius, c.y};
        add_cuts(E0, E1, 1.0);
        add_cuts(E1, E0, 1.0);
    }
    std::sort(cuts.begin(), cuts.begin() + num_cuts);

    auto inside = [&](double t) {
        double p[2], d, tb, nearest[2];
        velCirbul::cbpapo(A0, A1, a.b, t, p);
        velCirbul::cbdspt_g(B0, B1, b.b, 0.0, 1.0, p, velCirbul::intersection_tol, d, tb, nearest);
        return d < radius;
    };
    for (int i = 0; i + 1 < num_cuts; ++i) {
        const double lo = cuts[static_cast<std::size_t>(i)], hi = cuts[static_cast<std::size_t>(i) + 1];
        if (!(hi > lo) || !inside(0.5 * (lo + hi))) continue;
        if (!runs.empty() && runs.back().second == lo)
            runs.back().second = hi;
        else
            runs.emplace_back(lo, hi);
    }
}

void velZoneCloseFragments::remove_fragments_closer_than_radius(const Span& a, const Span& b, double radius,
                                                                int shared, velAbstractFragments& free) {
    std::vector<std::pair<double, double>> runs;
    close_runs(a, b, radius, runs);
    velAbstractFragments keep;
    double from = 0.0;
    bool removed = false;
    for (const auto& [lo, hi] : runs) {
        // Contact at a vertex the two spans share.
        if ((shared & shared_start) && lo == 0.0) continue;
        if ((shared & shared_end) && hi == 1.0) continue;
        removed = true;
        // The ends of a removed stretch lie at the radius exactly; they are not kept as fragments of no
        // length.
        if (lo > from) keep.append(from, lo);
        from = std::max(from, hi);
    }
    if (!removed) return;
    if (from < 1.0) keep.append(from, 1.0);
    free.merge_fragments_and(free, keep);
}

void velZoneCloseFragments::remove_fragments_same_polyline(const velPolylineListIter& iter, int j,
                                                           double radius, const velPolylineZoneNode<2>& zones,
                                                           velAbstractFragments& free) {
    const int n = iter.num_pos(), last_span = n - 2;
    const bool closed = n > 2 && iter.get_pos(0).coincident(iter.get_pos(n - 1), 0.0);
    const Span a = span(iter, j);
    giBox2 near = zones.span_box(j);
    near.offset(radius);
    std::vector<int> candidates;
    zones.spans_near_box(near, candidates);
    for (int k : candidates) {
        if (k == j || !zones.span_box(k).crosses(near)) continue;
        int shared = no_shared_end;
        if (k == j - 1 || (closed && j == 0 && k == last_span)) shared |= shared_start;
        if (k == j + 1 || (closed && j == last_span && k == 0)) shared |= shared_end;
        remove_fragments_closer_than_radius(a, span(iter, k), radius, shared, free);
        if (free.empty()) return;
    }
}

void velZoneCloseFragments::remove_fragments_other_polylines(const velPolylineListIter& iter, int index,
                                                             int j, double radius,
                                                             const velPolylineListZoneNode<2>& zones,
                                                             velAbstractFragments& free) {
    const velPolyarcline2dBoxCache& cache = zones.box_cache();
    const Span a = span(iter, j);
    giBox2 near = cache.get_span_box(index, j);
    near.offset(radius);
    std::vector<int> candidates;
    for (int q = 0; q < zones.size(); ++q) {
        if (q == index || !cache.get_seg_box(q).crosses(near)) continue;
        const velPolylineZoneNode<2>& other = zones.individual_polyline_zones(q);
        candidates.clear();
        other.spans_near_box(near, candidates);
        for (int k : candidates) {
            if (!cache.get_span_box(q, k).crosses(near)) continue;
            remove_fragments_closer_than_radius(a, span(other.iterator(), k), radius, no_shared_end, free);
            if (free.empty()) return;
        }
    }
}

double velZoneCloseFragments::middle_of_longest(const velAbstractFragments& free) {
    double best = 0.0, middle = -1.0;
    for (int k = 0; k < free.num_fragments(); ++k) {
        const double length = free.end(k) - free.start(k);
        if (length > best) {
            best = length;
            middle = 0.5 * (free.start(k) + free.end(k));
        }
    }
    return middle;
}
