#include "arcline/polyline/utils/velPlaneSpan.h"

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/spans/velExactPredicates.h"

#include <algorithm>
#include <cmath>

namespace {

// Relative room given to the disc that holds a span, for the rounding of its radius.
constexpr double reach_margin = 1e-9;
// Relative room given to the distance from an arc's circle computed from its centre, which is rounded.
constexpr double centre_rounding = 1e-9;

// The bulge of the arc through A, M and B from the angle at M: tan(sweep / 4) = cot(AMB / 2), written as
// |u x v| / (|u| |v| - u.v) (u, v from M to A and B) so that nearly straight arcs keep their digits. Any
// point of the arc serves as M.
double bulge_through(const giPoint2& A, const giPoint2& M, const giPoint2& B) {
    const giVector2 u = A - M, v = B - M;
    const double den = u.length() * v.length() - u.dot(v);
    return den > 0.0 ? -u.cross(v) / den : 0.0;
}

} // namespace

velPlaneSpan velPlaneSpan::of(const velPolylineListIter& iter, int k) {
    velPlaneSpan s;
    s.A = iter.get_pos(k).xy();
    s.B = iter.get_pos(k + 1).xy();
    s.C0 = s.A.interpolate(s.B, 0.5);
    const double h = 0.5 * s.A.distance(s.B);
    s.reach = h;
    if (!iter.span_linear(k) && !(s.A == s.B)) {
        s.M = iter.get_mid_pos(k).xy();
        s.turn = velExactPredicates::orientation(s.A, s.B, s.M);
        if (s.turn != 0) {
            s.arc = true;
            s.bulge = bulge_through(s.A, s.M, s.B);
            // A minor arc stays within h of the chord's midpoint, a major one within its sagitta |b| h.
            s.reach = h * std::max(1.0, std::fabs(s.bulge));
        }
    }
    s.reach *= 1.0 + reach_margin;
    return s;
}

bool velPlaneSpan::near(const giPoint2& P, double tol) const {
    const velPlaneSpan& s = *this;
    if (P.distance(s.C0) > s.reach + tol) return false;
    if (!s.arc) {
        const giVector2 d = s.B - s.A;
        const double l2 = d.length_squared();
        const double t = l2 > 0.0 ? std::clamp((P - s.A).dot(d) / l2, 0.0, 1.0) : 0.0;
        return P.distance_squared(s.A + d * t) <= tol * tol;
    }
    // Off the arc's circle by more than tol (and a margin for the rounding of the centre): not near.
    const giVector2 u = s.A - s.M, v = s.B - s.M;
    const double den = 2.0 * u.cross(v);
    if (den != 0.0) {
        const double uu = u.length_squared(), vv = v.length_squared();
        const giPoint2 centre(s.M.x + (v.y() * uu - u.y() * vv) / den,
                              s.M.y + (u.x() * vv - v.x() * uu) / den);
        const double r = centre.distance(s.M), d = centre.distance(P);
        if (std::fabs(d - r) > tol + centre_rounding * (r + d)) return false;
    }
    const double p0[2] = {s.A.x, s.A.y}, p1[2] = {s.B.x, s.B.y}, q[2] = {P.x, P.y};
    double d, t, nearest[2];
    velCirbul::cbdspt_g(p0, p1, s.bulge, 0.0, 1.0, q, 0.0, d, t, nearest);
    return d <= tol;
}

int velPlaneSpan::winding_share(const giPoint2& P) const {
    const velPlaneSpan& s = *this;
    int w = 0;
    int side = 2; // orientation of (A, B, P), computed when needed
    auto orientation = [&] {
        if (side == 2) side = velExactPredicates::orientation(s.A, s.B, P);
        return side;
    };
    if (s.A.y <= P.y) {
        if (s.B.y > P.y && orientation() > 0) ++w;
    } else if (s.B.y <= P.y && orientation() < 0) {
        --w;
    }
    if (!s.arc || P.distance(s.C0) > s.reach) return w;
    int moved = orientation();
    if (moved == 0) {
        const double dy = s.B.y - s.A.y, dx = s.B.x - s.A.x;
        moved = dy != 0.0 ? (dy > 0.0 ? -1 : 1) : (dx > 0.0 ? 1 : -1);
    }
    if (moved != s.turn) return w;
    // The circle through A, M, B runs anticlockwise in that order when the turn is -1.
    if (velExactPredicates::in_circle(s.A, s.M, s.B, P) * -s.turn > 0) w += s.turn < 0 ? 1 : -1;
    return w;
}

velPlaneSpan velPlaneSpan::chord(const giPoint2& A, const giPoint2& B) {
    velPlaneSpan s;
    s.A = A;
    s.B = B;
    s.C0 = A.interpolate(B, 0.5);
    s.reach = 0.5 * A.distance(B) * (1.0 + reach_margin);
    return s;
}
