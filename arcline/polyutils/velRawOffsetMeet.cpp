#include "arcline/polyutils/velRawOffsetMeet.h"

#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cmath>

namespace {

// A span's support about a local origin O as the zero set of F(Y) = a |Y|^2 + bx Y.x + by Y.y + c,
// Y = X - O, with a = the bulge: the generalized circle of the span, which stays finite as an arc
// straightens and is the chord's line at bulge 0. F > 0 on the span's right near the span.
struct Support {
    double a, bx, by, c;
    double L2; // squared chord

    double value(double x, double y) const { return a * (x * x + y * y) + bx * x + by * y + c; }
    // Squared gradient: F / |grad F| is the first-order signed distance, exact for a line and at least half
    // the true distance from a circle.
    double gradient2(double x, double y) const {
        const double gx = 2.0 * a * x + bx, gy = 2.0 * a * y + by;
        return gx * gx + gy * gy;
    }
    // The first-order distance of (x, y) exceeds `d`.
    bool farther(double x, double y, double d) const {
        const double f = value(x, y);
        return f * f > d * d * gradient2(x, y);
    }
    // Whether this support curves at least as much as `o` (curvature 4|b| / (L (1 + b^2))).
    bool more_curved(const Support& o) const {
        const double k = 1.0 + a * a, ko = 1.0 + o.a * o.a;
        return a * a * o.L2 * ko * ko >= o.a * o.a * L2 * k * k;
    }
};

Support support(const velRawOffsetSpan& span, const giPoint3& O) {
    const double b = span.b;
    const double dx = span.e.x - span.s.x, dy = span.e.y - span.s.y;
    const double cx = 0.5 * (span.s.x + span.e.x) - O.x, cy = 0.5 * (span.s.y + span.e.y) - O.y;
    const double nx = -dy, ny = dx; // left normal, as long as the chord
    const double L2 = dx * dx + dy * dy;
    const double k = 0.5 * (1.0 - b * b);
    Support g;
    g.a = b;
    g.bx = -2.0 * b * cx - k * nx;
    g.by = -2.0 * b * cy - k * ny;
    g.c = b * (cx * cx + cy * cy - 0.25 * L2) + k * (cx * nx + cy * ny);
    g.L2 = L2;
    return g;
}

// The arc's sign of a side is the side of its circle only between its circle's two branches: a point a
// quarter of the radius off the arc (radius L (1 + b^2) / 4|b|) is well within them.
bool near_enough(const velRawOffsetSpan& span, double distance2) {
    if (span.b == 0.0) return true;
    const double dx = span.e.x - span.s.x, dy = span.e.y - span.s.y, k = 1.0 + span.b * span.b;
    return 64.0 * span.b * span.b * distance2 < (dx * dx + dy * dy) * k * k;
}

} // namespace

int velRawOffsetMeet::intersect(const velRawOffsetSpan& a, const velRawOffsetSpan& b, double* ta, double* tb,
                                int max) {
    const double sa[2] = {a.s.x, a.s.y}, ea[2] = {a.e.x, a.e.y}, sb[2] = {b.s.x, b.s.y},
                 eb[2] = {b.e.x, b.e.y};
    int count, coincident;
    double t1[velCirbul::max_intersections], t2[velCirbul::max_intersections];
    double pts[velCirbul::max_intersections][2];
    velCirbul::cbincb_g(sa, ea, a.arc ? a.b : 0.0, 0.0, 1.0, sb, eb, b.arc ? b.b : 0.0, 0.0, 1.0,
                        velCirbul::intersection_tol, count, t1, t2, pts, coincident);
    // cbincb_g orders by a's parameter, ascending: reported nearer a's end first.
    const int n = std::min(count, std::max(0, std::min(max, 2)));
    for (int i = 0; i < n; ++i) {
        ta[i] = t1[count - 1 - i];
        tb[i] = t2[count - 1 - i];
    }
    return n;
}

bool velRawOffsetMeet::joined(const velRawOffsetSpan& before, const velRawOffsetSpan& after, double gap_tol,
                              double input_gap2) {
    if (!(input_gap2 < velTol::span_fraction * velTol::span_fraction)) return false;
    if (std::fabs(before.b) > joined_bulge || std::fabs(after.b) > joined_bulge) return false;
    const giPoint3 &a = before.e, &b = after.s;
    const double gap2 = (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
    if (!(gap2 <= gap_tol * gap_tol)) return false;
    // The ends far closer than either span is long.
    const double ax = a.x - before.s.x, ay = a.y - before.s.y, bx = after.e.x - b.x, by = after.e.y - b.y;
    if (!(16.0 * gap2 < ax * ax + ay * ay && 16.0 * gap2 < bx * bx + by * by)) return false;
    // Tangents at the joint, each (1 + bulge^2) times as long as its chord.
    const double kA = 1.0 - before.b * before.b, kB = 1.0 - after.b * after.b;
    const double tax = kA * ax - 2.0 * before.b * ay, tay = kA * ay + 2.0 * before.b * ax;
    const double tbx = kB * bx + 2.0 * after.b * by, tby = kB * by - 2.0 * after.b * bx;
    const double dot = tax * tbx + tay * tby, cross = tax * tby - tay * tbx;
    return dot > 0.0 &&
           cross * cross <= joined_turn * joined_turn * (tax * tax + tay * tay) * (tbx * tbx + tby * tby);
}

velRawOffsetMeet::Joint velRawOffsetMeet::classify(const velRawOffsetSpan& before,
                                                   const velRawOffsetSpan& after, double gap_tol,
                                                   double input_gap2, double& t_before, double& t_after) {
    if (joined(before, after, gap_tol, input_gap2)) return Joint::joined;
    // Each span a graph over u: below a half circle, its end tangents within 60 degrees of u.
    if (std::fabs(before.b) >= 1.0 || std::fabs(after.b) >= 1.0) return Joint::unknown;
    giVector3 tA0, tA1, tB0, tB1;
    before.tangents(tA0, tA1);
    after.tangents(tB0, tB1);
    // u, the sum of the unit tangents at the joint, is 1 to 2 long: places along it are scaled alike.
    const double ux = tA1.x() + tB0.x(), uy = tA1.y() + tB0.y(), u2 = ux * ux + uy * uy;
    if (!(u2 >= 1.0)) return Joint::unknown; // a turn of more than 120 degrees, or a span of no length
    const auto cone = [&](const giVector3& t) {
        const double along = t.x() * ux + t.y() * uy;
        return along > 0.0 && 4.0 * along * along >= u2;
    };
    if (!cone(tA0) || !cone(tB1)) return Joint::unknown;

    // Places along u from the joint's end a of `before`; `before` starts behind after's start, `after`
    // ends beyond a.
    const giPoint3& a = before.e;
    const auto along = [&](const giPoint3& p) { return (p.x - a.x) * ux + (p.y - a.y) * uy; };
    const double a0 = along(before.s), b0 = along(after.s), b1 = along(after.e);
    const double margin = sign_margin * std::max({-a0, b1 - b0, std::fabs(b0)});
    if (!(a0 < b0 - margin && b1 > margin)) return Joint::unknown;
    // Signs must also clear the general intersection's touching distance (lengths along u are up to twice
    // as long as in the plane).
    const double clear = std::max(margin, 2.0 * touching);
    if (b0 > clear) return Joint::apart; // the line across u between the joint's ends separates them
    if (b0 >= -margin) return Joint::unknown;

    // They overlap along u from b0 to 0. Sides: of the start b of `after` from `before`, of a from `after`
    // (the margin, a length along u, is at least as long in the plane).
    const double bx = after.s.x - a.x, by = after.s.y - a.y, gap2 = bx * bx + by * by;
    if (!near_enough(before, gap2) || !near_enough(after, gap2)) return Joint::unknown;
    const Support A = support(before, a), B = support(after, a);
    if (!A.farther(bx, by, margin) || !B.farther(0.0, 0.0, margin)) return Joint::unknown;
    const bool lines = before.b == 0.0 && after.b == 0.0;
    const bool one_crossing = (A.value(bx, by) > 0.0) == (B.value(0.0, 0.0) > 0.0);
    if (!one_crossing) {
        // Two lines that do not cross in the overlap stay apart there by at least the smaller side, and
        // cross (if at all) away from the spans.
        if (!lines || !A.farther(bx, by, clear) || !B.farther(0.0, 0.0, clear)) return Joint::unknown;
    }

    // The common points of the supports: one for two lines, up to two otherwise.
    double xs[2], ys[2];
    int n = 0;
    if (lines) {
        const double det = A.bx * B.by - A.by * B.bx;
        if (det != 0.0) {
            xs[0] = (A.by * B.c - B.by * A.c) / det;
            ys[0] = (B.bx * A.c - A.bx * B.c) / det;
            n = 1;
        }
    } else {
        // The radical line B.a F_A - A.a F_B holds the common points (for a line and an arc, the line);
        // cut the more curved support with it.
        const double nx = B.a * A.bx - A.a * B.bx, ny = B.a * A.by - A.a * B.by, e = B.a * A.c - A.a * B.c;
        const double nlen = std::sqrt(nx * nx + ny * ny);
        if (!(nlen > 0.0)) return Joint::unknown;
        const Support& K = A.more_curved(B) ? A : B;
        const double thx = -ny / nlen, thy = nx / nlen;
        const double fx = -e / nlen * nx / nlen, fy = -e / nlen * ny / nlen;
        const double B2 = fx * thx + fy * thy + 0.5 * (K.bx * thx + K.by * thy) / K.a;
        const double C = K.value(fx, fy) / K.a;
        const double disc = B2 * B2 - C; // the squared half distance of the two points
        // Points whose chord cuts K less than `touching` deep are one touch for the general intersection.
        // Depth disc / 2R with R = L (1 + b^2) / 4|b|.
        const double k = 1.0 + K.a * K.a;
        if (!(4.0 * disc * disc * K.a * K.a > touching * touching * K.L2 * k * k)) return Joint::unknown;
        const double q = -(B2 + std::copysign(std::sqrt(disc), B2));
        const double roots[2] = {q, q != 0.0 ? C / q : -B2};
        for (const double s : roots) {
            xs[n] = fx + s * thx;
            ys[n] = fy + s * thy;
            ++n;
        }
    }
    int found = -1;
    for (int i = 0; i < n; ++i) {
        // Both spans are graphs over u: a point farther along u from the overlap than `touching` (in the
        // plane; up to twice that along u) is on one of them at most, and near no end of the other.
        const double u = xs[i] * ux + ys[i] * uy;
        if (u < b0 - margin - 2.0 * touching || u > margin + 2.0 * touching) continue;
        const double x = a.x + xs[i], y = a.y + ys[i];
        // The general intersection takes a point within its tolerance of an end as that end: near an end
        // it decides by rounding, so leave such a meeting to it.
        const auto near = [&](const giPoint3& end) {
            return (x - end.x) * (x - end.x) + (y - end.y) * (y - end.y) <= touching * touching;
        };
        const bool near_before = near(before.s) || near(before.e),
                   near_after = near(after.s) || near(after.e);
        const double t1 = before.parameter(x, y), t2 = after.parameter(x, y);
        const bool on_before = near_before || (t1 >= 0.0 && t1 <= 1.0);
        const bool on_after = near_after || (t2 >= 0.0 && t2 <= 1.0);
        if (!on_before || !on_after) continue; // off a span: no meeting
        if (near_before || near_after || !one_crossing) return Joint::unknown;
        if (u < b0 - margin || u > margin) return Joint::unknown;
        // A point computed off the supports (near-concentric circles) is no answer.
        const double off = 2.0 * margin + velCirbul::intersection_tol;
        if (A.farther(xs[i], ys[i], off) || B.farther(xs[i], ys[i], off)) return Joint::unknown;
        if (found >= 0) return Joint::unknown;
        t_before = t1;
        t_after = t2;
        found = i;
    }
    if (!one_crossing) return Joint::apart;
    if (found < 0 || !(t_before > 0.0 && t_before < 1.0 && t_after > 0.0 && t_after < 1.0))
        return Joint::unknown;
    return Joint::crossing;
}

int velRawOffsetMeet::trim(velRawOffsetSpan& before, velRawOffsetSpan& after, double gap_tol,
                           double input_gap2) {
    double t1 = 0.0, t2 = 0.0;
    switch (classify(before, after, gap_tol, input_gap2, t1, t2)) {
    case Joint::joined:
        return 1;
    case Joint::apart:
        return 0;
    case Joint::crossing:
        after.trim(t2, 1.0);
        before.trim(0.0, t1);
        return 1;
    case Joint::unknown:
        break;
    }
    double t_before[2], t_after[2];
    if (intersect(before, after, t_before, t_after, 2) == 1 && t_before[0] != 0.0 && t_after[0] != 1.0) {
        const int cut_after = after.trim(t_after[0], 1.0);
        const int cut_before = before.trim(0.0, t_before[0]);
        if (cut_after || cut_before) return 1;
    }
    return 0;
}
