#include "arcline/intersect/velBSPCanonicalRules.h"

#include "arcline/intersect/velBSPPieceSplitter.h"
#include "arcline/intersect/velBSPSpanPair.h"
#include "arcline/intersect/velPolylineBSPUtils.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velTolerances.h"

#include <cmath>
#include <numbers>

velDirection velBSPNodeData::side(const giPoint2& p, int flag) const {
    if (flag >= velDirectionTop && flag <= velDirectionRight) return static_cast<velDirection>(flag);
    return velPolylineBSPUtils::node_side(p, box);
}

namespace {

// Tangent directions are compared with this much room below a half turn.
constexpr double half_turn_margin = 1e-9;
// A loop whose turns add up to less than this is one convex loop.
constexpr double convex_loop_turning = 400.0 * std::numbers::pi / 180.0;

struct Portion {
    int span;
    double u0, u1;
};

double cross(const giPoint2& a, const giPoint2& b) {
    return a.x * b.y - a.y * b.x;
}
double dot(const giPoint2& a, const giPoint2& b) {
    return a.x * b.x + a.y * b.y;
}

giPoint2 direction(const velBSPRun& run, int poly, int k, double u) {
    return run.span_direction(poly, k, u);
}

bool zero_chord(const velBSPRun& run, int poly, int k) {
    const auto& s = run.vertex(poly, k);
    const auto& e = run.vertex(poly, k + 1);
    return s.x == e.x && s.y == e.y;
}

// The turning of an arc between bulge parameters u0 and u1 (the angle swept, signed like b).
double sweep(double b, double u0, double u1) {
    if (b == 0.0) return 0.0;
    return 2.0 * (std::atan((2.0 * u1 - 1.0) * b) - std::atan((2.0 * u0 - 1.0) * b));
}

std::vector<Portion> portions(const velBSPRun& run, const velBSPPiece& p) {
    std::vector<Portion> out;
    velBSPPieceSplitter::for_each_span(run, p, [&](int k, double u0, double u1) {
        out.push_back({k, u0, u1});
        return true;
    });
    return out;
}

bool cone_test(const velBSPRun& run, const velBSPPiece& p) {
    double theta = 0.0, lo = 0.0, hi = 0.0;
    bool first = true, ok = true;
    giPoint2 prev;
    velBSPPieceSplitter::for_each_span(run, p, [&](int k, double u0, double u1) {
        if (zero_chord(run, p.poly, k)) return ok = false;
        const giPoint2 t0 = direction(run, p.poly, k, u0);
        if (!first) {
            const double turn = std::atan2(cross(prev, t0), dot(prev, t0));
            if (std::fabs(turn) > std::numbers::pi - half_turn_margin) return ok = false;
            theta += turn;
            lo = std::min(lo, theta);
            hi = std::max(hi, theta);
        }
        theta += sweep(run.bulge(p.poly, k), u0, u1);
        lo = std::min(lo, theta);
        hi = std::max(hi, theta);
        prev = direction(run, p.poly, k, u1);
        first = false;
        return hi - lo < std::numbers::pi - half_turn_margin;
    });
    return ok && hi - lo < std::numbers::pi - half_turn_margin;
}

bool convex_loop(const velBSPRun& run, int poly) {
    const int last = run.num_spans(poly);
    double total = 0.0;
    int sense = 0;
    auto add = [&](double a) {
        if (a == 0.0) return true;
        const int s = a > 0.0 ? 1 : -1;
        if (sense != 0 && s != sense) return false;
        sense = s;
        total += std::fabs(a);
        return true;
    };
    for (int k = 0; k < last; ++k) {
        if (zero_chord(run, poly, k)) return false;
        const giPoint2 in = direction(run, poly, k == 0 ? last - 1 : k - 1, 1.0);
        const giPoint2 out = direction(run, poly, k, 0.0);
        const double turn = std::atan2(cross(in, out), dot(in, out));
        if (std::fabs(turn) > std::numbers::pi - half_turn_margin) return false;
        if (!add(turn) || !add(sweep(run.bulge(poly, k), 0.0, 1.0))) return false;
    }
    return total < convex_loop_turning;
}

// The spans of the piece, pairwise, meet nowhere but at the common vertex of neighbours (`loop`: the last
// and the first are neighbours too).
bool pairwise_free(const velBSPRun& run, const velBSPPiece& p, bool loop) {
    const std::vector<Portion> s = portions(run, p);
    const int n = static_cast<int>(s.size());
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            velBSPSpanHits hits;
            velBSPSpanPair::intersect(run, p.poly, s[i].span, s[i].u0, s[i].u1, p.poly, s[j].span, s[j].u0,
                                      s[j].u1, velTol::coincident, hits);
            const int count = hits.count, coincident = hits.coincident;
            const double* ta = hits.ta;
            const double* tb = hits.tb;
            if (count == 0) continue;
            if (coincident) return false;
            const bool next = j == i + 1, wrap = loop && i == 0 && j == n - 1;
            for (int h = 0; h < count; ++h) {
                // The common vertex: the end of i and the start of j (or, around a loop, the other way).
                const bool at_vertex = (next && ta[h] == s[i].u1 && tb[h] == s[j].u0) ||
                                       (wrap && ta[h] == s[i].u0 && tb[h] == s[j].u1);
                if (!at_vertex) return false;
            }
        }
    }
    return true;
}

} // namespace

bool velBSPCanonicalRules::certainly_free(const velBSPNodeData& node, const velBSPPiece& p) {
    const int spans = velBSPPieceSplitter::num_spans(node.run, p);
    if (spans <= 1) return true;
    if (p.whole) {
        if (convex_loop(node.run, p.poly)) return true;
        return spans <= max_checked_spans && pairwise_free(node.run, p, true);
    }
    if (cone_test(node.run, p)) return true;
    return spans <= max_checked_spans && pairwise_free(node.run, p, false);
}

bool velBSPCanonicalRules::ok_to_be_degenerate(const velBSPNodeData& node) {
    for (const velBSPPiece& p : node.pieces)
        if (velBSPPieceSplitter::num_spans(node.run, p) > 2) return false;
    return true;
}

bool velBSPCanonicalRules::interior_vertex_test(const velBSPNodeData& node) {
    int vertices = 0, spans = 0;
    for (const velBSPPiece& p : node.pieces) {
        const int n = velBSPPieceSplitter::num_spans(node.run, p);
        spans += n;
        vertices += n - 1;
        if (vertices > max_interior_vertices || spans > max_node_spans) return false;
    }
    return true;
}

bool velBSPCanonicalRules::vertex_near_other_piece(const velBSPNodeData& node, double tol) {
    const velBSPRun& run = node.run;
    const int n = static_cast<int>(node.pieces.size());
    for (int i = 0; i < n; ++i) {
        const velBSPPiece& pi = node.pieces[static_cast<std::size_t>(i)];
        // The vertices of piece i: the positions of its polyline strictly inside it, and its true ends (a
        // cut end is no vertex, only where the node's side crosses the polyline).
        std::vector<giPoint2> vertices;
        if (pi.start_flag == velBSPPiece::true_end) vertices.push_back(pi.p0);
        if (pi.end_flag == velBSPPiece::true_end) vertices.push_back(pi.p1);
        bool first = true;
        velBSPPieceSplitter::for_each_span(run, pi, [&](int k, double, double) {
            if (!first) vertices.push_back(run.point(pi.poly, k));
            first = false;
            return true;
        });
        for (int j = 0; j < n; ++j) {
            if (j == i) continue;
            const velBSPPiece& pj = node.pieces[static_cast<std::size_t>(j)];
            bool near = false;
            velBSPPieceSplitter::for_each_span(run, pj, [&](int k, double u0, double u1) {
                giBox2 box = run.span_box(pj.poly, k);
                box.offset(tol);
                for (const giPoint2& v : vertices) {
                    if (!box.contains(v)) continue;
                    double d, t, nearest[2];
                    if (!velBSPSpanPair::distance(run, pj.poly, k, u0, u1, v.x, v.y, tol, d, t, nearest))
                        continue;
                    if (d < tol) return !(near = true);
                }
                return true;
            });
            if (near) return true;
        }
    }
    return false;
}
