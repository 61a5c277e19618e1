// The self-contact and inside tests of velPolylineUtils: where a point lies against a closed polyline.

#include "arcline/polyline/utils/velPolylineUtils.h"

#include "arcline/polyline/spans/velArc2Utils.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/spans/velExactPredicates.h"

#include <algorithm>
#include <cmath>

namespace {

// Relative room given to the disc that holds a span, for the rounding of its radius.
constexpr double reach_margin = 1e-9;

// An undefined iterator reads as a polyline without positions.
int positions(const velPolylineListIter& iter) {
    return iter.index() < 0 ? 0 : iter.num_pos();
}

// One span in XY: from A to B, straight, or the arc of the circle through A, M and B. An arc whose three
// points lie on one line is straight; one whose chord is zero is the point A.
struct Span2 {
    giPoint2 A, B, M;
    bool arc = false;
    int turn = 0;      // orientation of (A, B, M): -1 when the arc runs anticlockwise, 1 clockwise
    double bulge = 0.; // signed, positive anticlockwise
    giPoint2 C0;       // chord midpoint
    double reach = 0.; // every point of the span, and of the region between an arc and its chord, lies
                       // within this distance of C0
};

// The bulge of the arc through A, M and B from the angle at M: tan(sweep / 4) = cot(AMB / 2), written as
// |u x v| / (|u| |v| - u.v) (u, v from M to A and B) so that nearly straight arcs keep their digits. Any
// point of the arc serves as M.
double bulge_through(const giPoint2& A, const giPoint2& M, const giPoint2& B) {
    const giVector2 u = A - M, v = B - M;
    const double den = u.length() * v.length() - u.dot(v);
    return den > 0.0 ? -u.cross(v) / den : 0.0;
}

Span2 span_of(const velPolylineListIter& iter, int k) {
    Span2 s;
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

// Whether P lies within tol of the span.
bool near_span(const Span2& s, const giPoint2& P, double tol) {
    if (P.distance(s.C0) > s.reach + tol) return false;
    if (!s.arc) {
        const giVector2 d = s.B - s.A;
        const double l2 = d.length_squared();
        const double t = l2 > 0.0 ? std::clamp((P - s.A).dot(d) / l2, 0.0, 1.0) : 0.0;
        return P.distance_squared(s.A + d * t) <= tol * tol;
    }
    const double p0[2] = {s.A.x, s.A.y}, p1[2] = {s.B.x, s.B.y}, q[2] = {P.x, P.y};
    double d, t, nearest[2];
    velCirbul::cbdspt_g(p0, p1, s.bulge, 0.0, 1.0, q, 0.0, d, t, nearest);
    return d <= tol;
}

// The span's share of the winding number about P. The chord counts by the crossing rule of the ray from P
// to +x (a vertex at P's height counts as below it; a point on the chord adds nothing), which takes P as
// moved by (eps, eps^2). An arc adds, besides, +-1 when P lies in the region between the arc and its
// chord: strictly inside the circle and on the mid point's side of the chord (judged at that moved P).
int winding_share(const Span2& s, const giPoint2& P) {
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

} // namespace

bool velPolylineUtils::point_is_self_intersected_in_2d(int i, const velPolylineListIter& iter, double tol) {
    const int n = positions(iter);
    if (n < 2) return false;
    const int before = i == 0 ? n - 2 : i - 1;
    const int after = i == n - 1 ? 0 : i;
    const giPoint2 P = iter.get_pos(i).xy();
    const giBox2 near(giPoint2(P.x - tol, P.y - tol), giPoint2(P.x + tol, P.y + tol));
    for (int k = 0; k + 1 < n; ++k) {
        if (k == before || k == after) continue;
        if (!iter.span_box(k, vel_2d_box).crosses(near)) continue;
        if (velArc2Utils::arc_closer_to_point_than(iter.get_pos(k).xy(), iter.get_pos(k + 1).xy(),
                                                   iter.get_bulge(k), P, tol))
            return true;
    }
    return false;
}

int velPolylineUtils::winding_number(const giPoint2& P, const velPolylineListIter& iter) {
    const int n = positions(iter);
    int w = 0;
    for (int k = 0; k + 1 < n; ++k)
        w += winding_share(span_of(iter, k), P);
    if (n > 1 && !closed(iter, 0.0)) {
        // The closing chord.
        Span2 chord;
        chord.A = iter.get_pos(n - 1).xy();
        chord.B = iter.get_pos(0).xy();
        w += winding_share(chord, P);
    }
    return w;
}

velPolylineUtils::Location velPolylineUtils::point_location(const giPoint2& P,
                                                            const velPolylineListIter& iter, double tol,
                                                            const giBox2* box) {
    const int n = positions(iter);
    if (n < 2 || !closed(iter, 0.0)) return outside;
    if (!(box != nullptr ? *box : iter.box(vel_2d_box)).contains(P, tol)) return outside;
    std::vector<Span2> spans;
    spans.reserve(static_cast<std::size_t>(n - 1));
    for (int k = 0; k + 1 < n; ++k) {
        spans.push_back(span_of(iter, k));
        if (near_span(spans.back(), P, tol)) return on_boundary;
    }
    int w = 0;
    for (const Span2& s : spans)
        w += winding_share(s, P);
    return w != 0 ? inside : outside;
}

int velPolylineUtils::point_inside_closed_polyline(const giPoint2& P, const velPolylineListIter& iter,
                                                   const giBox2* box) {
    return point_location(P, iter, velTol::on_boundary, box) != outside ? 1 : 0;
}

int velPolylineUtils::point_inside_closed_polyline(const giPoint3& P, const velPolylineListIter& iter,
                                                   const giBox3* box) {
    if (box == nullptr)
        return point_inside_closed_polyline(P.xy(), iter, static_cast<const giBox2*>(nullptr));
    const giBox2 flat = box->xy();
    return point_inside_closed_polyline(P.xy(), iter, &flat);
}
