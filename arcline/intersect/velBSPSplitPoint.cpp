#include "arcline/intersect/velBSPSplitPoint.h"

#include "arcline/intersect/velBSPPieceSplitter.h"
#include "arcline/polyline/velTolerances.h"
#include "arcline/polyutils/velAbstractFragments.h"

#include <algorithm>
#include <cmath>

giBox2 velBSPSplitPoint::root_box(const giBox2& input) {
    if (input.empty()) return input;
    const double m = 0.01 * input.diagonal();
    const giPoint2 lo = input.min(), hi = input.max();
    return giBox2({lo.x - 2.4271 * m - m, lo.y - 4.2185 * m - m}, {hi.x + m, hi.y + m});
}

namespace {

// The ranges [min, max] of the x values of vertical straight spans and of the y values of horizontal ones
// (velBSPRun marks them).
struct AxisSpans {
    std::vector<std::pair<double, double>> vertical, horizontal;
};

AxisSpans axis_spans(const velBSPNodeData& node) {
    AxisSpans out;
    const velBSPRun& run = node.run;
    if (!run.any_axis_spans()) return out;
    auto add = [&](int poly, int k) {
        const unsigned char kind = run.axis_span(poly, k);
        if (kind == 0) return true;
        const auto& s = run.vertex(poly, k);
        const auto& e = run.vertex(poly, k + 1);
        if (kind & velBSPRun::vertical_span)
            out.vertical.emplace_back(std::min(s.x, e.x), std::max(s.x, e.x));
        if (kind & velBSPRun::horizontal_span)
            out.horizontal.emplace_back(std::min(s.y, e.y), std::max(s.y, e.y));
        return true;
    };
    for (const velBSPPiece& p : node.pieces) {
        if (!p.wraps) {
            int first, final;
            velBSPPieceSplitter::span_range(p.t0, p.t1, run.num_spans(p.poly), first, final);
            if (first == final) {
                add(p.poly, first);
                continue;
            }
        }
        velBSPPieceSplitter::for_each_span(run, p, [&](int k, double, double) { return add(p.poly, k); });
    }
    return out;
}

bool clear_of(const std::vector<std::pair<double, double>>& ranges, double v, double tol) {
    for (const auto& [lo, hi] : ranges)
        if (v >= lo - tol && v <= hi + tol) return false;
    return true;
}

// v moved out of the merged ranges (grown by tol) to the nearest end of the range it falls in.
double move_out(const std::vector<std::pair<double, double>>& ranges, double v, double tol) {
    std::vector<std::pair<double, double>> sorted(ranges);
    std::sort(sorted.begin(), sorted.end());
    velAbstractFragments frags;
    for (const auto& [lo, hi] : sorted)
        frags.append(lo - tol, hi + tol);
    for (int k = 0; k < frags.num_fragments(); ++k)
        if (v >= frags.start(k) && v <= frags.end(k))
            return v - frags.start(k) <= frags.end(k) - v ? frags.start(k) : frags.end(k);
    return v;
}

} // namespace

giPoint2 velBSPSplitPoint::choose(const velBSPNodeData& node) {
    const giBox2& box = node.box;
    const giPoint2 c = box.centre();
    const AxisSpans spans = axis_spans(node);
    if (spans.vertical.empty() && spans.horizontal.empty()) return c;
    const double w = box.xlength(), h = box.ylength();
    const double tol = std::min(velTol::span_fraction, 0.05 * std::min(w, h));
    auto good = [&](const giPoint2& q) {
        return clear_of(spans.vertical, q.x, tol) && clear_of(spans.horizontal, q.y, tol);
    };
    if (good(c)) return c;
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j) {
            const giPoint2 q(c.x + i * w / 6.0, c.y + j * h / 6.0);
            if (good(q)) return q;
        }
    giPoint2 q(move_out(spans.vertical, c.x, tol), move_out(spans.horizontal, c.y, tol));
    // An interval end outside the box would leave a child without room: split through the centre then.
    if (!(q.x > box.min().x && q.x < box.max().x)) q.x = c.x;
    if (!(q.y > box.min().y && q.y < box.max().y)) q.y = c.y;
    return q;
}
