#include "arcline/polyline/spans/velArc2Utils.h"

#include "arcline/platform/giWorkplane2.h"
#include "arcline/platform/utMath.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

// The canonical chord of the parameter routines: from (-1, 0) to (1, 0).
constexpr double canon0[2] = {-1.0, 0.0};
constexpr double canon1[2] = {1.0, 0.0};

// Arcs closer than this count as touching.
constexpr double touch_tol = velTol::touching;
// reparameterise: arcs flatter than this keep the sub-arc's own parameter.
constexpr double reparameterise_flat_bulge = 0.001;
// trimmed_mid_parameter: below this bulge the parametrisation is linear to within a parameter snap, and the
// mid point is taken at the mean parameter.
constexpr double mean_mid_bulge = velTol::parameter_snap;

// A point as the coordinate pair that the bulge routines take; lives to the end of the call it is made in.
struct xy {
    double v[2];
    explicit xy(const giPoint2& p) : v{p.x, p.y} {}
    operator const double*() const { return v; }
};

void position(const giPoint2& P0, const giPoint2& P1, double b, double t, double out[2]) {
    velCirbul::arc_evaluate_position(xy(P0), xy(P1), b, t, out);
}

double point_distance(const giPoint2& P0, const giPoint2& P1, double b, const double p[2], double& t) {
    double d, nearest[2];
    velCirbul::cbdspt_g(xy(P0), xy(P1), b, 0.0, 1.0, p, touch_tol, d, t, nearest);
    return d;
}

// Parameters on arc a (up to two) where a point of a can be nearest to arc b without either being at an end:
// where a's tangent is parallel to line b, or perpendicular to the line of the two centres.
int critical_parameters(const giPoint2& P0a, const giPoint2& P1a, double ba, const giPoint2& P0b,
                        const giPoint2& P1b, double bb, double t[2]) {
    if (ba == 0.0) return 0;
    double ex, ey;
    if (bb == 0.0) {
        ex = P1b.x - P0b.x;
        ey = P1b.y - P0b.y;
    } else {
        double ca[2], cb[2], ra, rb;
        velCirbul::cbbucr(xy(P0a), xy(P1a), ba, ca, ra);
        velCirbul::cbbucr(xy(P0b), xy(P1b), bb, cb, rb);
        ex = -(cb[1] - ca[1]);
        ey = cb[0] - ca[0];
    }
    if (ex == 0.0 && ey == 0.0) return 0;
    int count;
    velCirbul::cbtapa_g(xy(P0a), xy(P1a), ba, ex, ey, count, t);
    return count;
}

} // namespace

giAngle velArc2Utils::arc_angle(double b) {
    // 4 atan(b) through the double-angle form; odd in b, so the formula is applied to |b|.
    const double m = std::fabs(b);
    double a;
    if (m < 1.0) {
        a = 2.0 * std::atan(2.0 * m / (1.0 - m * m));
    } else if (m == 1.0) {
        a = utMath::pi;
    } else {
        a = 2.0 * (utMath::pi - std::atan(-2.0 * m / (1.0 - m * m)));
    }
    return giAngle::from_radians(b < 0.0 ? -a : a);
}

double velArc2Utils::arc_length(double L, double b) {
    b = std::fabs(b);
    if (b >= velTol::flat_bulge) return arc_angle(b).radians() * (b * b + 1.0) * L / (4.0 * b);
    return (1.0 + 2.0 * b * b / 3.0) * L;
}

double velArc2Utils::parameter_at_distance(const giPoint2& P0, const giPoint2& P1, double b, double s) {
    const double chord = P0.distance(P1);
    if (chord < velTol::zero_chord) return 0.0;
    if (std::fabs(b) < velTol::flat_bulge) return s / chord;
    double centre[2], radius;
    velCirbul::cbbucr(xy(P0), xy(P1), b, centre, radius);
    double tan0[2];
    velCirbul::cbpata(xy(P0), xy(P1), b, 0.0, tan0);
    const giPoint2 C(centre[0], centre[1]);
    const giVector2 radial = P0 - C;
    const double r = std::fabs(radius);
    // Turn from P0 about the centre, in the sense in which the start tangent turns.
    const double sense = radial.cross(giVector2(tan0[0], tan0[1])) < 0.0 ? -1.0 : 1.0;
    const double angle = sense * s / r;
    const giWorkplane2 wp(C, radial);
    const giPoint2 p = wp.to_world(giPoint2(r * std::cos(angle), r * std::sin(angle)));
    return velCirbul::arc_evaluate_parameter(xy(P0), xy(P1), b, xy(p));
}

double velArc2Utils::trimmed_bulge(double t0, double t1, double b) {
    double sub;
    velCirbul::cbsebu(canon0, canon1, b, std::min(t0, t1), std::max(t0, t1), sub);
    return t1 < t0 ? -sub : sub;
}

double velArc2Utils::trimmed_mid_parameter(double t0, double t1, double b) {
    const double mean = 0.5 * (t0 + t1);
    // A flat arc, or a sub-arc that is one point (no chord direction to find the mid point by).
    if (std::fabs(b) < mean_mid_bulge || t0 == t1) return mean;
    double p0[2], p1[2];
    velCirbul::arc_evaluate_position(canon0, canon1, b, t0, p0);
    velCirbul::arc_evaluate_position(canon0, canon1, b, t1, p1);
    int count;
    double t[2];
    velCirbul::cbtapa_g(canon0, canon1, b, p1[0] - p0[0], p1[1] - p0[1], count, t);
    if (count == 0) return mean;
    if (count == 2 && (t[0] < std::min(t0, t1) || t[0] > std::max(t0, t1))) return t[1];
    return t[0];
}

namespace {

// The whole arc's parameter of the point at the sub-arc [t0, t1]'s own parameter t, or false when it is not
// found. The point is found by its tangent direction, which fixes it on an arc that turns less than a turn.
bool whole_arc_parameter(double t0, double t1, double b, double t, double& s) {
    double p0[2], p1[2];
    velCirbul::arc_evaluate_position(canon0, canon1, b, t0, p0);
    velCirbul::arc_evaluate_position(canon0, canon1, b, t1, p1);
    const double sub = velArc2Utils::trimmed_bulge(t0, t1, b);
    double tan[2];
    velCirbul::cbpata(p0, p1, sub, t, tan);
    int count;
    double ts[2];
    velCirbul::cbtapa_g(canon0, canon1, b, tan[0], tan[1], count, ts);
    if (count == 0) return false;
    s = ts[0];
    return true;
}

bool keeps_parameter(double t0, double t1, double b, double t) {
    return std::fabs(b) < reparameterise_flat_bulge || (t0 == 0.0 && t1 == 1.0) || t == 0.0 || t == 1.0 ||
           t1 - t0 < velTol::span_fraction;
}

} // namespace

double velArc2Utils::reparameterise(double t0, double t1, double b, double t) {
    if (keeps_parameter(t0, t1, b, t)) return t;
    double s;
    if (!whole_arc_parameter(t0, t1, b, t, s)) return t;
    return std::clamp((s - t0) / (t1 - t0), 0.0, 1.0);
}

double velArc2Utils::sub_arc_parameter(double t0, double t1, double b, double t) {
    // Where reparameterise keeps t as the fraction, the whole arc's parameter is the matching linear blend.
    double s = t0 + t * (t1 - t0);
    if (!keeps_parameter(t0, t1, b, t)) whole_arc_parameter(t0, t1, b, t, s);
    return std::clamp(s, 0.0, 1.0);
}

giPoint2 velArc2Utils::arc_midpoint(const giPoint2& S, const giPoint2& E, const giPoint2& C, int clockwise) {
    const giVector2 d = E - S;
    const double len = d.length();
    if (len == 0.0) return S; // zero chord: the arc is a point
    const double r = S.distance(C);
    const giPoint2 m0 = S.interpolate(E, 0.5);
    const giVector2 u = (clockwise ? d.left_normal() : d.right_normal()) / len;
    const giVector2 cm = m0 - C;
    const double proj = cm.dot(u);
    const double sigma = proj > 0.0 ? 1.0 : (proj < 0.0 ? -1.0 : 0.0);
    return m0 + u * (r - sigma * cm.length());
}

giPoint2 velArc2Utils::clockwise_arc_midpoint(const giPoint2& S, const giPoint2& E, const giPoint2& C) {
    return arc_midpoint(S, E, C, 1);
}

giPoint2 velArc2Utils::anticlockwise_arc_midpoint(const giPoint2& S, const giPoint2& E, const giPoint2& C) {
    return arc_midpoint(S, E, C, 0);
}

void velArc2Utils::bounding_box(const giPoint2& P0, const giPoint2& P1, double b, giBox2& box) {
    box = giBox2(P0, P1);
    if (b == 0.0) return;
    for (const auto& [ex, ey] : {std::pair{0.0, 1.0}, std::pair{1.0, 0.0}}) {
        int count;
        double t[2];
        velCirbul::cbtapa_g(xy(P0), xy(P1), b, ex, ey, count, t);
        for (int i = 0; i < count; ++i) {
            double p[2];
            velCirbul::cbpapo(xy(P0), xy(P1), b, t[i], p);
            box.merge(giPoint2(p[0], p[1]));
        }
    }
}

int velArc2Utils::arc_closer_to_point_than(const giPoint2& P0, const giPoint2& P1, double b,
                                           const giPoint2& point, double d) {
    double t;
    return point_distance(P0, P1, b, xy(point), t) < d;
}

double velArc2Utils::arcs_closer_than_solver(const giPoint2& P0a, const giPoint2& P1a, double ba,
                                             const giPoint2& P0b, const giPoint2& P1b, double bb, double& ta,
                                             double& tb) {
    int count, coincident;
    double tas[velCirbul::max_intersections], tbs[velCirbul::max_intersections];
    double pts[velCirbul::max_intersections][2];
    velCirbul::cbincb_g(xy(P0a), xy(P1a), ba, 0.0, 1.0, xy(P0b), xy(P1b), bb, 0.0, 1.0, touch_tol, count, tas,
                        tbs, pts, coincident);
    if (count > 0) {
        ta = tas[0];
        tb = tbs[0];
        return 0.0;
    }
    // Apart: the least distance is reached at an end of one arc, or at a point of one arc where its tangent
    // is parallel to the other (a line) or square to the line of centres (an arc).
    double best = DBL_MAX;
    // A point of one arc (a when on_a) against the whole other arc.
    auto from = [&](bool on_a, double t) {
        double p[2], t_other;
        if (on_a) {
            position(P0a, P1a, ba, t, p);
        } else {
            position(P0b, P1b, bb, t, p);
        }
        const double d =
            on_a ? point_distance(P0b, P1b, bb, p, t_other) : point_distance(P0a, P1a, ba, p, t_other);
        if (d < best) {
            best = d;
            ta = on_a ? t : t_other;
            tb = on_a ? t_other : t;
        }
    };
    for (double t : {0.0, 1.0}) {
        from(true, t);
        from(false, t);
    }
    double t[2];
    for (int i = 0, n = critical_parameters(P0a, P1a, ba, P0b, P1b, bb, t); i < n; ++i)
        from(true, t[i]);
    for (int i = 0, n = critical_parameters(P0b, P1b, bb, P0a, P1a, ba, t); i < n; ++i)
        from(false, t[i]);
    return best;
}

int velArc2Utils::arcs_closer_than(const giPoint2& P0a, const giPoint2& P1a, double ba, const giPoint2& P0b,
                                   const giPoint2& P1b, double bb, double d, int& touching) {
    double ta, tb;
    const double least = arcs_closer_than_solver(P0a, P1a, ba, P0b, P1b, bb, ta, tb);
    touching = least == 0.0;
    return least < d;
}

int velArc2Utils::portion_of_arcs_closer_than(const giPoint2& P0a, const giPoint2& P1a, double ba,
                                              const giPoint2& P0b, const giPoint2& P1b, double bb, double d,
                                              double& t0, double& t1) {
    t0 = t1 = -1.0;
    // The points of arc a within d of arc b form runs whose ends lie where arc a crosses the boundary of
    // b's neighbourhood: the two offsets of b by +-d and the circles of radius d about b's ends.
    double cuts[2 + 4 * 4 * velCirbul::max_intersections];
    int ncuts = 0;
    cuts[ncuts++] = 0.0;
    cuts[ncuts++] = 1.0;
    auto add_cuts = [&](const double Q0[2], const double Q1[2], double bq) {
        int count, coincident;
        double tas[velCirbul::max_intersections], tbs[velCirbul::max_intersections];
        double pts[velCirbul::max_intersections][2];
        velCirbul::cbincb_g(xy(P0a), xy(P1a), ba, 0.0, 1.0, Q0, Q1, bq, 0.0, 1.0, touch_tol, count, tas, tbs,
                            pts, coincident);
        for (int i = 0; i < count; ++i)
            cuts[ncuts++] = tas[i];
    };
    double n0[2], n1[2];
    velCirbul::cbpata(xy(P0b), xy(P1b), bb, 0.0, n0);
    velCirbul::cbpata(xy(P0b), xy(P1b), bb, 1.0, n1);
    for (double side : {d, -d}) {
        // Offset along the right-hand normals of the end tangents; an arc keeps its sweep unless it
        // collapses through its centre.
        const double Q0[2] = {P0b.x + side * n0[1], P0b.y - side * n0[0]};
        const double Q1[2] = {P1b.x + side * n1[1], P1b.y - side * n1[0]};
        const double dot_chords = (Q1[0] - Q0[0]) * (P1b.x - P0b.x) + (Q1[1] - Q0[1]) * (P1b.y - P0b.y);
        if (dot_chords > 0.0) add_cuts(Q0, Q1, bb);
    }
    for (const giPoint2* e : {&P0b, &P1b}) {
        // The end circle as two half circles.
        const double E0[2] = {e->x + d, e->y}, E1[2] = {e->x - d, e->y};
        add_cuts(E0, E1, 1.0);
        add_cuts(E1, E0, 1.0);
    }
    std::sort(cuts, cuts + ncuts);
    auto inside = [&](double t) {
        double p[2], tb;
        position(P0a, P1a, ba, t, p);
        return point_distance(P0b, P1b, bb, p, tb) < d;
    };
    auto take = [&](double lo, double hi) {
        if (t0 < 0.0 || lo < t0) t0 = lo;
        if (hi > t1) t1 = hi;
    };
    for (int i = 0; i < ncuts; ++i) {
        // Each cut point, and each run between two cuts judged at its middle.
        if (inside(cuts[i])) take(cuts[i], cuts[i]);
        if (i + 1 < ncuts && inside(0.5 * (cuts[i] + cuts[i + 1]))) take(cuts[i], cuts[i + 1]);
    }
    return t0 >= 0.0;
}

int velArc2Utils::share_tangent_direction(const giPoint2& P0a, const giPoint2& P1a, double ba,
                                          const giPoint2& P0b, const giPoint2& P1b, double bb, double tol,
                                          double cos_tol) {
    int count, coincident;
    double tas[velCirbul::max_intersections], tbs[velCirbul::max_intersections];
    double pts[velCirbul::max_intersections][2];
    velCirbul::cbincb_g(xy(P0a), xy(P1a), ba, 0.0, 1.0, xy(P0b), xy(P1b), bb, 0.0, 1.0, tol, count, tas, tbs,
                        pts, coincident);
    for (int i = 0; i < count; ++i) {
        double ta[2], tb[2];
        velCirbul::cbpata(xy(P0a), xy(P1a), ba, tas[i], ta);
        velCirbul::cbpata(xy(P0b), xy(P1b), bb, tbs[i], tb);
        if (ta[0] * tb[0] + ta[1] * tb[1] >= 1.0 - cos_tol) return 1;
    }
    return 0;
}
