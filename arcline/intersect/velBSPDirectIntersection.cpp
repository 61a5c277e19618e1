#include "arcline/intersect/velBSPDirectIntersection.h"

#include "arcline/intersect/velBSPCanonicalRules.h"
#include "arcline/intersect/velBSPLeafCrossings.h"
#include "arcline/intersect/velBSPPieceSplitter.h"
#include "arcline/intersect/velBSPSpanPair.h"
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

// Boxes of parts of straight spans grow by this fraction of the span's size: more than the rounding of
// the computed cut points at their ends.
constexpr double part_box_margin = 1e-12;

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

} // namespace

bool velBSPDirectIntersection::intersect(const velBSPNodeData& node, velCrossingcoPageArr& out, int& count) {
    const velBSPRun& run = node.run;
    std::vector<SpanUse>& uses = run.scratch().uses;
    std::vector<UniqueSpan>& spans = run.scratch().spans;
    std::vector<int>& free = run.scratch().free;
    uses.clear();
    spans.clear();
    const int np = static_cast<int>(node.pieces.size());
    // Pieces inside one straight span each: a line meets a box in one stretch, so no two of them share a
    // span and the uses need no sorting.
    bool distinct = true;
    for (int i = 0; i < np; ++i) {
        const velBSPPiece& p = node.pieces[static_cast<std::size_t>(i)];
        if (!p.wraps) {
            int first, final;
            velBSPPieceSplitter::span_range(p.t0, p.t1, run.num_spans(p.poly), first, final);
            if (first == final) {
                uses.push_back({p.poly, first, i, p.t0 - first, p.t1 - first});
                distinct = distinct && run.bulge(p.poly, first) == 0.0;
                continue;
            }
        }
        distinct = false;
        velBSPPieceSplitter::for_each_span(run, p, [&](int k, double u0, double u1) {
            uses.push_back({p.poly, k, i, u0, u1});
            return true;
        });
    }
    if (!distinct) {
        std::sort(uses.begin(), uses.end(), [](const SpanUse& a, const SpanUse& b) {
            return a.poly != b.poly ? a.poly < b.poly : (a.span != b.span ? a.span < b.span : a.u0 < b.u0);
        });
    }
    // A straight span's part in the node is boxed by its ends (grown by a rounding margin, since a part's
    // ends are computed cut points); other spans by their whole box. An intersection that this node owns
    // lies on the parts of both spans here, so parts whose boxes miss each other need no test.
    for (int i = 0; i < static_cast<int>(uses.size()); ++i) {
        const SpanUse& u = uses[static_cast<std::size_t>(i)];
        if (!spans.empty() && spans.back().poly == u.poly && spans.back().span == u.span) {
            ++spans.back().n;
            spans.back().box = run.span_box(u.poly, u.span);
            continue;
        }
        giBox2 box = run.span_box(u.poly, u.span);
        if (run.bulge(u.poly, u.span) == 0.0 && (u.u0 > 0.0 || u.u1 < 1.0)) {
            // The piece's own ends when it lies in this one span; else the points of the part.
            const velBSPPiece& p = node.pieces[static_cast<std::size_t>(u.piece)];
            const bool single = !p.wraps && p.t0 >= u.span && p.t1 <= u.span + 1;
            const giPoint2 a = single ? p.p0 : run.span_point(u.poly, u.span, u.u0);
            const giPoint2 b = single ? p.p1 : run.span_point(u.poly, u.span, u.u1);
            giBox2 part(a, b);
            part.offset(part_box_margin * (box.xlength() + box.ylength()) + velTol::coincident);
            box = part;
        }
        spans.push_back({u.poly, u.span, i, 1, box});
    }
    // Spans in order of their boxes' left sides: the pairs to test are then swept, each span meeting only
    // those that start before its box ends.
    std::sort(spans.begin(), spans.end(),
              [](const UniqueSpan& a, const UniqueSpan& b) { return a.box.min().x < b.box.min().x; });
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
        const giBox2& ibox = spans[static_cast<std::size_t>(i)].box;
        for (int j = i + 1; j < ns; ++j) {
            // Boxes are in order of their left sides: j's starts at or after i's, so they meet in x until
            // one starts after i's right side, and then no later one does either. (An empty box sorts last
            // and meets nothing.)
            const giBox2& jbox = spans[static_cast<std::size_t>(j)].box;
            if (jbox.min().x > ibox.max().x) break;
            if (jbox.min().y > ibox.max().y || jbox.max().y < ibox.min().y) continue;
            // a is the first of the two in polyline and span order: it owns their intersections.
            const UniqueSpan* pa = &spans[static_cast<std::size_t>(i)];
            const UniqueSpan* pb = &spans[static_cast<std::size_t>(j)];
            if (pb->poly < pa->poly || (pb->poly == pa->poly && pb->span < pa->span)) std::swap(pa, pb);
            const UniqueSpan& a = *pa;
            const UniqueSpan& b = *pb;
            if (run.two_boundaries() && run.boundary(a.poly) == run.boundary(b.poly)) continue;
            const bool same = a.poly == b.poly;
            if (same && only_in_free_piece(a, b)) continue;
            velBSPSpanHits hits;
            velBSPSpanPair::intersect(run, a.poly, a.span, 0.0, 1.0, b.poly, b.span, 0.0, 1.0,
                                      velTol::coincident, hits);
            const int n = hits.count;
            const double* ta = hits.ta;
            const double* tb = hits.tb;
            const auto& pts = hits.pts;
            const int coincident = hits.coincident;
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
                const giPoint2 t1 = run.span_direction(a.poly, a.span, ta[h]);
                const giPoint2 t2 = run.span_direction(b.poly, b.span, tb[h]);
                if (ok && same) {
                    const double dot = t1.x * t2.x + t1.y * t2.y;
                    const double norms = (t1.x * t1.x + t1.y * t1.y) * (t2.x * t2.x + t2.y * t2.y);
                    ok = dot * dot <= max_same_polyline_cosine * max_same_polyline_cosine * norms;
                }
                if (!ok) {
                    out.shrink(before);
                    return false;
                }
                found += velBSPLeafCrossings::record(
                    run, velCrossing({p.x, p.y, 0.0}, a.poly, a.span + ta[h], b.poly, b.span + tb[h], 0),
                    velBSPLeafCrossings::start_curve(t1, t2), out);
            }
        }
    }
    count += found;
    return true;
}
