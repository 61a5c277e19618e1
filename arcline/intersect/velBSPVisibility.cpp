#include "arcline/intersect/velBSPVisibility.h"

#include "arcline/intersect/velBSPCanonicalRules.h"
#include "arcline/intersect/velPolylineBSPUtils.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyutils/velBoundaryNesting.h"
#include "arcline/polyutils/velVisibilityCalculator.h"
#include "arcline/polyutils/velVisibilityResult.h"

#include <algorithm>
#include <cmath>

namespace {

// A starting point this close (as a fraction of the node's smaller side) to a fragment end is not safe.
constexpr double unsafe_fraction = 0.01;
// A starting point moved off a corner goes this far towards the neighbouring corner.
constexpr double moved_fraction = 0.8;

giPoint3 corner(const giBox2& box, int i) {
    const giPoint2 lo = box.min(), hi = box.max();
    switch (i & 3) {
    case 0:
        return {lo.x, lo.y, 0.0};
    case 1:
        return {lo.x, hi.y, 0.0};
    case 2:
        return {hi.x, hi.y, 0.0};
    default:
        return {hi.x, lo.y, 0.0};
    }
}

velDirection side_of(int flag, const giPoint3& p, const giBox2& box) {
    return flag == velBSPPiece::true_end ? velPolylineBSPUtils::node_side(p, box)
                                         : static_cast<velDirection>(flag);
}

} // namespace

double velBSPVisibility::area(const velBSPRun& run, int poly) {
    const int spans = run.num_spans(poly);
    if (spans < 1) return 0.0;
    // Measured from the first vertex: products of coordinates far from the origin would swamp the area.
    const auto& o = run.vertex(poly, 0);
    double twice = 0.0, arcs = 0.0;
    for (int k = 0; k < spans; ++k) {
        const auto& s = run.vertex(poly, k);
        const auto& e = run.vertex(poly, k + 1);
        twice += (s.x - o.x) * (e.y - o.y) - (e.x - o.x) * (s.y - o.y);
        if (s.b != 0.0) {
            const double P0[2] = {s.x, s.y}, P1[2] = {e.x, e.y};
            double a = 0.0;
            velCirbul::cbbuar(P0, P1, s.b, a);
            arcs += a;
        }
    }
    // The closing chord, when the polyline's ends are apart (closed by its closure function), adds nothing
    // measured from the first vertex.
    return 0.5 * twice + arcs;
}

int velBSPVisibility::closed_visible(double area, int count, const velVisibilityCalculator& calculator) {
    const int use = calculator.visibility_to_use(count);
    if (use != 0 && use != 1) return 0;
    return (area > 0.0 ? 1 : 0) != use;
}

velBoundarySorterFragments velBSPVisibility::decide(const velBSPNodeData& node,
                                                    const std::function<int()>& canonical, const giPoint3& P,
                                                    int count, const velSegmentMap* segments,
                                                    const velVisibilityCalculator& calculator, int flags,
                                                    velVisibilityResult& result, velBoundaryNesting* nesting,
                                                    bool& divide, bool& stop_here) {
    const velBSPRun& run = node.run;
    divide = false;
    stop_here = false;
    velBoundarySorterFragments frags(node.box, static_cast<int>(node.pieces.size()));
    frags.set_segment_map(segments);
    auto add_open = [&](const velBSPPiece& p) {
        if (velBSPCanonicalRules::has_true_end(p)) return;
        const giPoint3 a(p.p0.x, p.p0.y, 0.0), b(p.p1.x, p.p1.y, 0.0);
        frags.add_fragment(p.poly, a, side_of(p.start_flag, a, node.box), p.t0, b,
                           side_of(p.end_flag, b, node.box), p.t1);
    };
    int complete = 1;

    // Two boundaries, and only one of them here: the other boundary's count holds throughout the node.
    if (run.two_boundaries() && !node.pieces.empty()) {
        const int b = run.boundary(node.pieces.front().poly);
        const bool one = std::all_of(node.pieces.begin(), node.pieces.end(),
                                     [&](const velBSPPiece& p) { return run.boundary(p.poly) == b; });
        if (one) {
            const bool any_whole = std::any_of(node.pieces.begin(), node.pieces.end(),
                                               [](const velBSPPiece& p) { return p.whole; });
            const bool any_open = std::any_of(node.pieces.begin(), node.pieces.end(),
                                              [](const velBSPPiece& p) { return !p.whole; });
            if (any_whole && any_open) {
                for (const velBSPPiece& p : node.pieces)
                    if (!p.whole) add_open(p);
                frags.sort_frags(count, P, calculator, flags, result, complete);
                const int vis = frags.average_visibility() <= 1.0;
                for (const velBSPPiece& p : node.pieces)
                    if (p.whole) result.set_visibility(p.poly, vis);
                divide = !complete;
                return frags;
            }
            if (any_whole) {
                double largest = 0.0;
                for (const velBSPPiece& p : node.pieces) {
                    const double a = area(run, p.poly);
                    if (std::fabs(a) > std::fabs(largest)) largest = a;
                }
                const int vis = (largest > 0.0) != (count % 2 != 0);
                for (const velBSPPiece& p : node.pieces)
                    result.set_visibility(p.poly, vis);
                frags.sort_frags(count, P, calculator, flags, result, complete);
                stop_here = true;
                return frags;
            }
        }
    }

    for (const velBSPPiece& p : node.pieces) {
        if (!p.whole) {
            add_open(p);
            continue;
        }
        if (result.blocked(p.poly) || result.visibility_certain(p.poly)) continue;
        if (!canonical()) {
            divide = true;
            continue;
        }
        result.set_visibility(p.poly, closed_visible(area(run, p.poly), count, calculator));
        if (nesting) nesting->place_here(p.poly);
    }
    frags.sort_frags(count, P, calculator, flags, result, complete);
    divide = divide || !complete;
    return frags;
}

giPoint3 velBSPVisibility::start_point(const giBox2& box, const giBox2& child_box, int child,
                                       const velBoundarySorterFragments& frags) {
    const double tol = unsafe_fraction * std::min(box.xlength(), box.ylength());
    const giPoint3 q = corner(box, child);
    if (!frags.close_to_point(q, tol)) return q;
    // Along the child's sides from that corner, which lie on the node's boundary.
    for (const int other : {child + 1, child + 3}) {
        const giPoint3 c = corner(child_box, other);
        const giPoint3 moved(q.x + moved_fraction * (c.x - q.x), q.y + moved_fraction * (c.y - q.y), 0.0);
        if (!frags.close_to_point(moved, tol)) return moved;
    }
    return q;
}
