#include "arcline/intersect/velBSPDirectIntersection.h"

#include "arcline/intersect/velBSPCanonicalRules.h"
#include "arcline/intersect/velBSPLeafCrossings.h"
#include "arcline/intersect/velBSPPieceSplitter.h"
#include "arcline/intersect/velCrossData.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cmath>

namespace {

// One span that some piece of the node runs through, with the part [u0, u1] that this piece covers; the
// ranges of one span in the node are uses[first, first + n).
using SpanUse = velBSPRun::SpanUse;
using UniqueSpan = velBSPRun::UniqueSpan;

// The vertices from the end of span i to the start of span j (i before j along the polyline, around the
// closing point when `wrap`) are one point: the spans meet there as neighbours do.
bool joined(const velBSPRun& run, int poly, int i, int j, bool wrap) {
    constexpr int most_between = 8;
    const int last = run.num_spans(poly);
    const int between = wrap ? (last - 1 - i) + j : j - i - 1;
    if (between > most_between) return false;
    const giPoint2 v = run.point(poly, i + 1);
    for (int s = 0, k = i + 1; s < between; ++s, ++k) {
        if (k >= last) k = 0;
        const auto& a = run.vertex(poly, k);
        const auto& b = run.vertex(poly, k + 1);
        if (a.x != b.x || a.y != b.y || a.x != v.x || a.y != v.y) return false;
    }
    return true;
}

// The intersection at `p` of spans i and j (i < j) of one polyline is their common vertex.
bool at_common_vertex(const velBSPRun& run, int poly, int i, int j, const giPoint2& p) {
    const double tol = velTol::coincident;
    if (run.point(poly, i + 1).coincident(p, tol) && run.point(poly, j).coincident(p, tol) &&
        joined(run, poly, i, j, false))
        return true;
    // Around the closing point: the end of j and the start of i.
    return run.closed(poly) && run.point(poly, j + 1).coincident(p, tol) &&
           run.point(poly, i).coincident(p, tol) && joined(run, poly, j, i, true);
}

// Two straight spans: the crossing by the signs of cross products when it is clear (not nearly parallel,
// and either well apart or well inside both spans); -1 when the general routine must decide (near an end,
// nearly parallel, or overlapping). Otherwise the number of intersections (0 or 1) with their fractions.
int clear_segment_crossing(const velBSPRun::Vertex& a0, const velBSPRun::Vertex& a1,
                           const velBSPRun::Vertex& b0, const velBSPRun::Vertex& b1, double& ta, double& tb,
                           double pt[2]) {
    // Fractions this far outside [0, 1] are clear misses; inside [margin, 1 - margin] clear hits.
    constexpr double margin = 1e-4;
    const double dax = a1.x - a0.x, day = a1.y - a0.y, dbx = b1.x - b0.x, dby = b1.y - b0.y;
    const double den = dax * dby - day * dbx;
    const double la = std::fabs(dax) + std::fabs(day), lb = std::fabs(dbx) + std::fabs(dby);
    if (!(std::fabs(den) > 1e-6 * la * lb)) return -1;
    const double ex = b0.x - a0.x, ey = b0.y - a0.y;
    ta = (ex * dby - ey * dbx) / den;
    tb = (ex * day - ey * dax) / den;
    if (ta < -margin || ta > 1 + margin || tb < -margin || tb > 1 + margin) return 0;
    if (ta < margin || ta > 1 - margin || tb < margin || tb > 1 - margin) return -1;
    pt[0] = a0.x + ta * dax;
    pt[1] = a0.y + ta * day;
    return 1;
}

} // namespace

bool velBSPDirectIntersection::intersect(const velBSPNodeData& node, velCrossingcoPageArr& out, int& count) {
    const velBSPRun& run = node.run;
    std::vector<SpanUse>& uses = run.scratch().uses;
    std::vector<UniqueSpan>& spans = run.scratch().spans;
    std::vector<int>& free = run.scratch().free;
    uses.clear();
    spans.clear();
    const int np = static_cast<int>(node.pieces.size());
    for (int i = 0; i < np; ++i) {
        const velBSPPiece& p = node.pieces[static_cast<std::size_t>(i)];
        velBSPPieceSplitter::for_each_span(run, p, [&](int k, double u0, double u1) {
            uses.push_back({p.poly, k, i, u0, u1});
            return true;
        });
    }
    std::sort(uses.begin(), uses.end(), [](const SpanUse& a, const SpanUse& b) {
        return a.poly != b.poly ? a.poly < b.poly : (a.span != b.span ? a.span < b.span : a.u0 < b.u0);
    });
    for (int i = 0; i < static_cast<int>(uses.size()); ++i) {
        const SpanUse& u = uses[static_cast<std::size_t>(i)];
        if (!spans.empty() && spans.back().poly == u.poly && spans.back().span == u.span)
            ++spans.back().n;
        else
            spans.push_back({u.poly, u.span, i, 1});
    }
    // Whether each piece is certainly free of self-intersection, decided when first needed (-1: not yet).
    free.assign(static_cast<std::size_t>(np), -1);
    auto only_in_free_piece = [&](const UniqueSpan& a, const UniqueSpan& b) {
        const int piece = uses[static_cast<std::size_t>(a.first)].piece;
        for (const UniqueSpan* s : {&a, &b})
            for (int k = 0; k < s->n; ++k)
                if (uses[static_cast<std::size_t>(s->first + k)].piece != piece) return false;
        int& f = free[static_cast<std::size_t>(piece)];
        if (f < 0)
            f = velBSPCanonicalRules::certainly_free(node, node.pieces[static_cast<std::size_t>(piece)]);
        return f == 1;
    };
    auto owns = [&](const UniqueSpan& s, double u) {
        for (int k = 0; k < s.n; ++k) {
            const SpanUse& use = uses[static_cast<std::size_t>(s.first + k)];
            if (u >= use.u0 && u < use.u1) return true;
        }
        return false;
    };

    const int before = out.size();
    int found = 0;
    const double lo = velTol::span_fraction, hi = 1.0 - velTol::span_fraction;
    const int ns = static_cast<int>(spans.size());
    for (int i = 0; i < ns; ++i) {
        const UniqueSpan& a = spans[static_cast<std::size_t>(i)];
        const auto& a0 = run.vertex(a.poly, a.span);
        const auto& a1 = run.vertex(a.poly, a.span + 1);
        const giBox2& abox = run.span_box(a.poly, a.span);
        const double A0[2] = {a0.x, a0.y}, A1[2] = {a1.x, a1.y};
        for (int j = i + 1; j < ns; ++j) {
            const UniqueSpan& b = spans[static_cast<std::size_t>(j)];
            if (run.two_boundaries() && run.boundary(a.poly) == run.boundary(b.poly)) continue;
            if (!abox.crosses(run.span_box(b.poly, b.span))) continue;
            const bool same = a.poly == b.poly;
            if (same && only_in_free_piece(a, b)) continue;
            const auto& b0 = run.vertex(b.poly, b.span);
            const auto& b1 = run.vertex(b.poly, b.span + 1);
            const double B0[2] = {b0.x, b0.y}, B1[2] = {b1.x, b1.y};
            int n = -1, coincident = 0;
            double ta[velCirbul::max_intersections], tb[velCirbul::max_intersections];
            double pts[velCirbul::max_intersections][2];
            if (a0.b == 0.0 && b0.b == 0.0) n = clear_segment_crossing(a0, a1, b0, b1, ta[0], tb[0], pts[0]);
            if (n < 0)
                velCirbul::cbincb_g(A0, A1, a0.b, 0.0, 1.0, B0, B1, b0.b, 0.0, 1.0, velTol::coincident, n, ta,
                                    tb, pts, coincident);
            if (n == 0) continue;
            if (coincident) {
                out.shrink(before);
                return false;
            }
            for (int h = 0; h < n; ++h) {
                if (!owns(a, ta[h])) continue; // another node's intersection
                const giPoint2 p(pts[h][0], pts[h][1]);
                if (same && at_common_vertex(run, a.poly, a.span, b.span, p)) continue;
                bool ok = ta[h] >= lo && ta[h] <= hi && tb[h] >= lo && tb[h] <= hi;
                if (ok && same) {
                    const giPoint2 t1 = run.span_tangent(a.poly, a.span, ta[h]);
                    const giPoint2 t2 = run.span_tangent(b.poly, b.span, tb[h]);
                    ok = std::fabs(t1.x * t2.x + t1.y * t2.y) <= max_same_polyline_cosine;
                }
                if (!ok) {
                    out.shrink(before);
                    return false;
                }
                found += velBSPLeafCrossings::record(
                    run, velCrossing({p.x, p.y, 0.0}, a.poly, a.span + ta[h], b.poly, b.span + tb[h], 0),
                    out);
            }
        }
    }
    count += found;
    return true;
}
