#include "arcline/debug/torCurvePtr2velDbg.h"

#include "arcline/platform/torCurve2.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <cmath>

namespace {

// Distance of p from the segment a-b.
double off_chord(const giPoint2& p, const giPoint2& a, const giPoint2& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::fmin(1.0, std::fmax(0.0, t));
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Appends the points after `a` of the piece t0..t1 (a at t0, b at t1).
void refine(const torCurve2& c, double t0, const giPoint2& a, double t1, const giPoint2& b, double tol,
            int depth, velPolyArcLineDouble& out) {
    const double tm = 0.5 * (t0 + t1);
    const giPoint2 m = c.evaluate(tm);
    if (depth > 0 && off_chord(m, a, b) > tol) {
        refine(c, t0, a, tm, m, tol, depth - 1, out);
        refine(c, tm, m, t1, b, tol, depth - 1, out);
        return;
    }
    out.add_pos(b.xyz(0.0));
}

} // namespace

void torCurvePtr2velDbg::calculate() {
    clear();
    if (!m_curve) return;
    const torCurve2& c = *m_curve;
    const double lo = c.start_param(), hi = c.end_param();
    auto line = std::make_unique<velPolyArcLineDouble>();
    giPoint2 a = c.evaluate(lo);
    line->add_pos(a.xyz(0.0));
    for (int k = 1; k <= min_pieces; ++k) {
        const double t0 = lo + (hi - lo) * (k - 1) / min_pieces;
        const double t1 = k == min_pieces ? hi : lo + (hi - lo) * k / min_pieces;
        const giPoint2 b = c.evaluate(t1);
        refine(c, t0, a, t1, b, m_tol, max_depth, *line);
        a = b;
    }
    add(std::move(line));
}
