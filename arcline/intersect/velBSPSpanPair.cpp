#include "arcline/intersect/velBSPSpanPair.h"

#include <algorithm>
#include <cmath>

namespace {

// Parameters this close to an end of a span's part are left to the general routine.
constexpr double param_margin = 1e-7;
// Supports that meet at an angle whose sine is below this (tangent, parallel) are left to it too.
constexpr double clear_sine = 1e-4;
// Arcs flatter than this have circles too large to intersect well; the general routine takes them.
constexpr double flat_bulge = 1e-4;

// 1 when t lies clearly inside [u0, u1], 0 clearly outside, -1 near an end.
int inside(double t, double u0, double u1) {
    if (t > u0 + param_margin && t < u1 - param_margin) return 1;
    if (t < u0 - param_margin || t > u1 + param_margin) return 0;
    return -1;
}

struct Span {
    const velBSPRun::Vertex* s;
    const velBSPRun::Vertex* e;
    const velBSPRun::Circle* c;
    double u0, u1;
};

// The vertex at the end of a span's part nearest to t, when that end is a vertex (parameter 0 or 1).
const velBSPRun::Vertex* end_vertex(const Span& s, double t, double& at) {
    at = t - s.u0 < s.u1 - t ? s.u0 : s.u1;
    if (at == 0.0) return s.s;
    if (at == 1.0) return s.e;
    return nullptr;
}

// Adds a hit when the point of the candidate is clearly inside both parts; false when it is near an end,
// except at a vertex that both spans end at (neighbours of a polyline, polylines that share a vertex): that
// hit is the vertex itself, at the two end parameters, as the general routine snaps it.
bool candidate(const Span& a, double ta, const Span& b, double tb, double x, double y, velBSPSpanHits& out) {
    const int ia = inside(ta, a.u0, a.u1), ib = inside(tb, b.u0, b.u1);
    if (ia == 0 || ib == 0) return true;
    if (ia < 0 && ib < 0) {
        double ea, eb;
        const velBSPRun::Vertex* va = end_vertex(a, ta, ea);
        const velBSPRun::Vertex* vb = end_vertex(b, tb, eb);
        if (!va || !vb || va->x != vb->x || va->y != vb->y) return false;
        ta = ea;
        tb = eb;
        x = va->x;
        y = va->y;
    } else if (ia < 0 || ib < 0) {
        return false;
    }
    out.ta[out.count] = ta;
    out.tb[out.count] = tb;
    out.pts[out.count][0] = x;
    out.pts[out.count][1] = y;
    ++out.count;
    return true;
}

// The bulge parameter of a point of the arc's circle (the inverse of the position formula, as
// velCirbul::arc_evaluate_parameter computes it, without its zero-chord cases: chords here are not zero).
double arc_parameter(const Span& s, double x, double y) {
    const double dx = s.e->x - s.s->x, dy = s.e->y - s.s->y, L = std::sqrt(dx * dx + dy * dy);
    const double qx = x - 0.5 * (s.s->x + s.e->x), qy = y - 0.5 * (s.s->y + s.e->y);
    const double e = (qx * dx + qy * dy) / L;
    const double f = L / 2.0 - ((qy * dx - qx * dy) / L) * s.s->b;
    return f != 0.0 ? (e / f + 1.0) / 2.0 : (e >= 0.0 ? 1e100 : -1e100);
}

bool line_line(const Span& a, const Span& b, velBSPSpanHits& out) {
    const double dax = a.e->x - a.s->x, day = a.e->y - a.s->y, dbx = b.e->x - b.s->x, dby = b.e->y - b.s->y;
    // Where b's ends lie across line a, and a's across line b: ends strictly on one side are a miss.
    const double s0 = dax * (b.s->y - a.s->y) - day * (b.s->x - a.s->x);
    const double s1 = dax * (b.e->y - a.s->y) - day * (b.e->x - a.s->x);
    if ((s0 > 0.0 && s1 > 0.0) || (s0 < 0.0 && s1 < 0.0)) return true;
    const double r0 = dbx * (a.s->y - b.s->y) - dby * (a.s->x - b.s->x);
    const double r1 = dbx * (a.e->y - b.s->y) - dby * (a.e->x - b.s->x);
    if ((r0 > 0.0 && r1 > 0.0) || (r0 < 0.0 && r1 < 0.0)) return true;
    const double den = dax * dby - day * dbx;
    const double na = dax * dax + day * day, nb = dbx * dbx + dby * dby;
    if (!(den * den > clear_sine * clear_sine * na * nb)) return false;
    const double ta = r0 / (r0 - r1), tb = s0 / (s0 - s1);
    return candidate(a, ta, b, tb, a.s->x + ta * dax, a.s->y + ta * day, out);
}

// Line a against arc b; `swap` when the caller's first span is the arc.
bool line_arc(const Span& a, const Span& b, bool swap, velBSPSpanHits& out) {
    const double dx = a.e->x - a.s->x, dy = a.e->y - a.s->y;
    const double fx = a.s->x - b.c->x, fy = a.s->y - b.c->y;
    const double A = dx * dx + dy * dy, B = fx * dx + fy * dy, r = b.c->r;
    if (A == 0.0 || r == 0.0) return false;
    // The line's distance from the centre, against the radius.
    const double dist2 = fx * fx + fy * fy - B * B / A;
    const double gap2 = r * r - dist2; // r^2 sin^2(angle of the line with the circle)
    if (gap2 < 0.0) {
        // A clear miss: the line passes outside the circle by a clear margin.
        return std::sqrt(std::max(dist2, 0.0)) - r > clear_sine * r;
    }
    if (gap2 < clear_sine * clear_sine * r * r) return false;
    const double h = std::sqrt(gap2 / A);
    for (const double t : {-B / A - h, -B / A + h}) {
        if (inside(t, a.u0, a.u1) == 0) continue;
        const double x = a.s->x + t * dx, y = a.s->y + t * dy;
        const double tb = arc_parameter(b, x, y);
        const bool ok = swap ? candidate(b, tb, a, t, x, y, out) : candidate(a, t, b, tb, x, y, out);
        if (!ok) return false;
    }
    return true;
}

// The common points are found on the smaller circle, from the signed gap between its centre and the larger
// circle: a nearly straight arc has a huge circle, and the squares of its radius and centre distance would
// cancel each other's digits.
bool arc_arc(const Span& a, const Span& b, velBSPSpanHits& out) {
    const bool a_small = a.c->r <= b.c->r;
    const velBSPRun::Circle& s = a_small ? *a.c : *b.c;
    const velBSPRun::Circle& g = a_small ? *b.c : *a.c;
    const double ux = g.x - s.x, uy = g.y - s.y, d = std::sqrt(ux * ux + uy * uy);
    if (d <= clear_sine * s.r) return false; // concentric, or nearly
    const double gap = d - g.r;              // the small centre's distance outside the large circle
    const double along = (s.r * s.r + gap * (d + g.r)) / (2.0 * d);
    const double h2 = s.r * s.r - along * along;
    if (h2 < 0.0 && std::fabs(along) > s.r * (1.0 + clear_sine))
        return true;                                             // apart, or one inside the other
    if (h2 <= clear_sine * clear_sine * s.r * s.r) return false; // touching, or nearly
    const double h = std::sqrt(h2);
    const double mx = s.x + along * ux / d, my = s.y + along * uy / d;
    for (const double sg : {-1.0, 1.0}) {
        const double x = mx - sg * h * uy / d, y = my + sg * h * ux / d;
        if (!candidate(a, arc_parameter(a, x, y), b, arc_parameter(b, x, y), x, y, out)) return false;
    }
    return true;
}

} // namespace

void velBSPSpanPair::intersect(const velBSPRun& run, int pa, int ka, double ua0, double ua1, int pb, int kb,
                               double ub0, double ub1, double tol, velBSPSpanHits& out) {
    out.count = 0;
    out.coincident = 0;
    const velBSPRun::Vertex& a0 = run.vertex(pa, ka);
    const velBSPRun::Vertex& b0 = run.vertex(pb, kb);
    const double ba = a0.b, bb = b0.b;
    // A polyline's vertices are contiguous in the run: the span's end follows its start.
    const Span a{&a0, &a0 + 1, ba != 0.0 ? &run.circle(pa, ka) : nullptr, ua0, ua1};
    const Span b{&b0, &b0 + 1, bb != 0.0 ? &run.circle(pb, kb) : nullptr, ub0, ub1};
    bool decided = false;
    if (ba == 0.0 && bb == 0.0)
        decided = line_line(a, b, out);
    else if (ba == 0.0 && std::fabs(bb) >= flat_bulge)
        decided = line_arc(a, b, false, out);
    else if (bb == 0.0 && std::fabs(ba) >= flat_bulge)
        decided = line_arc(b, a, true, out);
    else if (std::fabs(ba) >= flat_bulge && std::fabs(bb) >= flat_bulge)
        decided = arc_arc(a, b, out);
    // Order the hits by the parameter on a, as the general routine does.
    if (decided && out.count == 2 && out.ta[1] < out.ta[0]) {
        std::swap(out.ta[0], out.ta[1]);
        std::swap(out.tb[0], out.tb[1]);
        std::swap(out.pts[0][0], out.pts[1][0]);
        std::swap(out.pts[0][1], out.pts[1][1]);
    }
    if (decided) return;
    out.count = 0;
    const double A0[2] = {a.s->x, a.s->y}, A1[2] = {a.e->x, a.e->y}, B0[2] = {b.s->x, b.s->y},
                 B1[2] = {b.e->x, b.e->y};
    velCirbul::cbincb_g(A0, A1, ba, ua0, ua1, B0, B1, bb, ub0, ub1, tol, out.count, out.ta, out.tb, out.pts,
                        out.coincident);
}

bool velBSPSpanPair::distance(const velBSPRun& run, int poly, int k, double u0, double u1, double px,
                              double py, double reach, double& d, double& t, double nearest[2]) {
    const auto& s = run.vertex(poly, k);
    const auto& e = run.vertex(poly, k + 1);
    const double dx = e.x - s.x, dy = e.y - s.y, L2 = dx * dx + dy * dy;
    if (s.b == 0.0 && L2 > 0.0) {
        t = std::clamp(((px - s.x) * dx + (py - s.y) * dy) / L2, u0, u1);
        nearest[0] = s.x + t * dx;
        nearest[1] = s.y + t * dy;
        d = std::hypot(px - nearest[0], py - nearest[1]);
        return true;
    }
    if (std::fabs(s.b) >= flat_bulge) {
        const auto& c = run.circle(poly, k);
        const double off = std::fabs(std::hypot(px - c.x, py - c.y) - c.r);
        if (off > reach) return false;
    }
    const double P0[2] = {s.x, s.y}, P1[2] = {e.x, e.y}, Q[2] = {px, py};
    velCirbul::cbdspt_g(P0, P1, s.b, u0, u1, Q, 0.0, d, t, nearest);
    return true;
}
