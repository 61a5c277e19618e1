#include "arcline/polyline/spans/velCirbul.h"

#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

namespace {

// Bulges and denominators below this count as zero in the closed formulas.
constexpr double zero_eps = velTol::formula_zero;
// Below this bulge the area between chord and arc is summed as its series: the closed form cancels.
constexpr double series_bulge = 1e-3;
// cbsebu: tangents whose cosine is below this turn by nearly a half circle.
constexpr double nearly_half_turn_cos = -0.999999999999999;
// cbincb_g: a radical line shorter than this fraction of its terms' size is lost in rounding (the two
// circles are concentric to working accuracy).
constexpr double radical_line_lost = 1e-14;
// Parameters beyond this are the far point of the circle (or of the line), where arc_evaluate_parameter
// puts the point opposite the mid point (+-far_parameter_value) and a straight span's far point lies at
// +-far_coordinate.
constexpr double far_parameter = 1e99;
constexpr double far_parameter_value = 1e100;
constexpr double far_coordinate = 1e20;

struct V2 {
    double x, y;
};

inline V2 sub(const double a[2], const double b[2]) {
    return {a[0] - b[0], a[1] - b[1]};
}
inline double dot(V2 a, V2 b) {
    return a.x * b.x + a.y * b.y;
}
inline double cross(V2 a, V2 b) {
    return a.x * b.y - a.y * b.x;
}
inline double norm(V2 a) {
    return std::hypot(a.x, a.y);
}

inline void set(double out[2], double x, double y) {
    out[0] = x;
    out[1] = y;
}

inline double dist(const double a[2], const double b[2]) {
    return std::hypot(a[0] - b[0], a[1] - b[1]);
}

// Normalizes (x, y) into out; a zero vector is written unnormalized.
inline void unit_into(double x, double y, double out[2]) {
    const double len = std::hypot(x, y);
    if (len > 0.0) {
        x /= len;
        y /= len;
    }
    set(out, x, y);
}

// A span as the zero set of a generalized circle about a local origin O:
//   F(Y) = a |Y|^2 + bx Y.x + by Y.y + c = 0,   Y = X - O.
// With a = b (the bulge) the form stays finite as the arc straightens: at b = 0 it is the chord's line, so
// nearly straight arcs and lines go through the same arithmetic as strongly curved arcs.
struct GenCircle {
    double a, bx, by, c;
    double curvature; // 1 / radius, 0 for a line

    double value(V2 y) const { return a * (y.x * y.x + y.y * y.y) + bx * y.x + by * y.y + c; }
    // First-order distance |F| / |grad F|: exact for a line, and never less than half the true distance
    // from a circle, so a small value always means a point near the curve.
    double distance(V2 y) const {
        const double gx = 2.0 * a * y.x + bx, gy = 2.0 * a * y.y + by;
        const double g = std::hypot(gx, gy);
        const double f = std::fabs(value(y));
        if (g == 0.0) return f == 0.0 ? 0.0 : DBL_MAX;
        return f / g;
    }
};

GenCircle gen_circle(const double P0[2], const double P1[2], double b, const double O[2]) {
    const V2 d = sub(P1, P0);
    const V2 c0 = {0.5 * (P0[0] + P1[0]) - O[0], 0.5 * (P0[1] + P1[1]) - O[1]};
    const V2 nl = {-d.y, d.x}; // left normal, length L
    const double h2 = 0.25 * dot(d, d);
    const double k = 0.5 * (1.0 - b * b);
    GenCircle g;
    g.a = b;
    g.bx = -2.0 * b * c0.x - k * nl.x;
    g.by = -2.0 * b * c0.y - k * nl.y;
    g.c = b * (dot(c0, c0) - h2) + k * dot(c0, nl);
    const double h = std::sqrt(h2);
    g.curvature = (b == 0.0 || h == 0.0) ? 0.0 : 2.0 * std::fabs(b) / (h * (1.0 + b * b));
    return g;
}

struct Span {
    const double* P0;
    const double* P1;
    double b, t0, t1;
};

void eval(const Span& s, double t, double out[2]) {
    velCirbul::arc_evaluate_position(s.P0, s.P1, s.b, t, out);
}

// Takes a point of the span's support into the span's range: its parameter when it lies in [t0, t1], or the
// nearer range end when the point lies within tol of it, and then the end point itself in `X`, so that
// spans meeting at a shared vertex report that vertex exactly. Returns false when the point is outside.
bool in_range(const Span& s, double X[2], double tol, double& t) {
    t = velCirbul::arc_evaluate_parameter(s.P0, s.P1, s.b, X);
    constexpr double param_eps = 1e-13;
    const bool inside = t >= s.t0 - param_eps && t <= s.t1 + param_eps;
    double e0[2], e1[2];
    eval(s, s.t0, e0);
    eval(s, s.t1, e1);
    const double d0 = dist(X, e0), d1 = dist(X, e1);
    if (std::min(d0, d1) <= tol) {
        t = d0 <= d1 ? s.t0 : s.t1;
        const double* e = d0 <= d1 ? e0 : e1;
        set(X, e[0], e[1]);
        return true;
    }
    if (!inside) return false;
    t = std::clamp(t, s.t0, s.t1);
    return true;
}

struct Hit {
    double ta, tb, x, y;
};

// Adds a hit unless one within tol is already there.
void add_hit(Hit* hits, int& n, const Hit& h, double tol) {
    for (int i = 0; i < n; ++i) {
        if (std::hypot(hits[i].x - h.x, hits[i].y - h.y) <= tol) return;
    }
    if (n < velCirbul::max_intersections) hits[n++] = h;
}

// A zero-chord span is a point: it meets the other span where the other passes within tol.
void point_against_span(const double P[2], double tp, const Span& other, double tol, bool point_is_a,
                        Hit* hits, int& n) {
    double distance, t, nearest[2];
    velCirbul::cbdspt_g(other.P0, other.P1, other.b, other.t0, other.t1, P, tol, distance, t, nearest);
    if (distance > tol) return;
    Hit h{};
    h.ta = point_is_a ? tp : t;
    h.tb = point_is_a ? t : tp;
    h.x = P[0];
    h.y = P[1];
    add_hit(hits, n, h, tol);
}

// Every range end of either span that lies on the other span: the ends of their shared stretches.
void shared_stretch_ends(const Span& a, const Span& b, double tol, Hit* hits, int& n) {
    const Span* spans[2] = {&a, &b};
    for (int which = 0; which < 2; ++which) {
        const Span& s = *spans[which];
        const Span& o = *spans[1 - which];
        for (double ts : {s.t0, s.t1}) {
            double X[2], to;
            eval(s, ts, X);
            if (!in_range(o, X, tol, to)) continue;
            eval(s, ts, X); // the end itself, not the other span's nearby end
            Hit h{};
            h.ta = which == 0 ? ts : to;
            h.tb = which == 0 ? to : ts;
            h.x = X[0];
            h.y = X[1];
            add_hit(hits, n, h, tol);
        }
    }
}

bool same_support(const Span& a, const GenCircle& ga, const Span& b, const GenCircle& gb, const double O[2],
                  double tol) {
    auto on = [&](const GenCircle& g, const Span& s) {
        double M[2];
        velCirbul::cbbump(s.P0, s.P1, s.b, M);
        for (const double* p : {s.P0, static_cast<const double*>(M), s.P1}) {
            if (g.distance({p[0] - O[0], p[1] - O[1]}) > tol) return false;
        }
        return true;
    };
    return on(ga, b) && on(gb, a);
}

} // namespace

void velCirbul::cbbump(const double P0[2], const double P1[2], double b, double mid[2]) {
    const V2 d = sub(P1, P0);
    set(mid, 0.5 * (P0[0] + P1[0]) + 0.5 * b * d.y, 0.5 * (P0[1] + P1[1]) - 0.5 * b * d.x);
}

void velCirbul::cbbucr(const double P0[2], const double P1[2], double b, double centre[2], double& radius) {
    const V2 d = sub(P1, P0);
    const double h = 0.5 * norm(d);
    const double hb = h * b;
    const double cx = 0.5 * (P0[0] + P1[0]), cy = 0.5 * (P0[1] + P1[1]);
    if (hb == 0.0) {
        // Zero chord or straight span: no circle.
        radius = 0.0;
        set(centre, cx, cy);
        return;
    }
    radius = (h * h / hb + hb) / 2.0;
    const double k = radius / h - b;
    set(centre, cx + k * (-d.y / 2.0), cy + k * (d.x / 2.0));
}

void velCirbul::cbbuar(const double P0[2], const double P1[2], double b, double& area) {
    const V2 d = sub(P1, P0);
    const double q = dot(d, d) / 4.0;
    if (b == 0.0) {
        area = 0.0;
        return;
    }
    const double b2 = b * b;
    if (std::fabs(b) < series_bulge) {
        // The closed form cancels to nothing for small bulges (atan(b) - b); its series to b^5 is exact to
        // the last bit here.
        area = q * b * (4.0 / 3.0 + b2 * (4.0 / 15.0 - b2 * (4.0 / 105.0)));
        return;
    }
    const double at = std::atan(b);
    area = (((b2 + 2.0) * at + b) * b2 + at - b) * q / (2.0 * b2);
}

void velCirbul::cbmpbu(const double P0[2], const double P1[2], const double M[2], double& b) {
    const V2 d = sub(P1, P0);
    const double l2 = dot(d, d);
    if (l2 == 0.0) {
        b = 0.0;
        return;
    }
    b = 2.0 * ((M[0] - P0[0]) * d.y - (M[1] - P0[1]) * d.x) / l2;
}

void velCirbul::cbrabu(const double P0[2], const double P1[2], double R, double& b) {
    const double h = 0.5 * dist(P0, P1);
    b = 0.0;
    // A chord longer than the diameter: no arc of that radius. Decided here and not by the solver, whose
    // slack would take a slightly negative discriminant for a double root (a half circle).
    if (h > std::fabs(R)) return;
    double roots[2];
    int count;
    roots_of_quadratic(h, -2.0 * std::fabs(R), h, count, roots);
    if (count < 1 || count > 2) return;
    for (int i = 0; i < count; ++i) {
        if (roots[i] >= 0.0 && roots[i] <= 1.0) {
            b = R < 0.0 ? -roots[i] : roots[i];
            return;
        }
    }
}

void velCirbul::cbpapo(const double P0[2], const double P1[2], double b, double t, double pos[2]) {
    if (t <= 0.0) {
        set(pos, P0[0], P0[1]);
    } else if (t >= 1.0) {
        set(pos, P1[0], P1[1]);
    } else if (t == 0.5) {
        cbbump(P0, P1, b, pos);
    } else {
        cbpapo_g(P0, P1, b, 0.0, 1.0, t, pos);
    }
}

void velCirbul::cbpapo_g(const double P0[2], const double P1[2], double b, double t0, double t1, double t,
                         double pos[2]) {
    t = std::clamp(t, t0, t1);
    const V2 d = sub(P1, P0);
    const double v = 1.0 - 2.0 * t;
    const double w = v * v * b * b + 1.0;
    const double r = (1.0 - v * b * b) * t;
    const double g = 2.0 * (1.0 - t) * t * b;
    set(pos, P0[0] + (g * d.y + r * d.x) / w, P0[1] + (r * d.y - g * d.x) / w);
}

void velCirbul::cbpata(const double P0[2], const double P1[2], double b, double t, double tan[2]) {
    const V2 d = sub(P1, P0);
    const double k = 1.0 - b * b;
    if (t <= 0.0) {
        unit_into(k * d.x + 2.0 * b * d.y, k * d.y - 2.0 * b * d.x, tan);
    } else if (t >= 1.0) {
        unit_into(k * d.x - 2.0 * b * d.y, k * d.y + 2.0 * b * d.x, tan);
    } else if (t == 0.5) {
        unit_into(d.x, d.y, tan);
    } else {
        cbpata_g(P0, P1, b, 0.0, 1.0, t, tan);
    }
}

void velCirbul::cbpata_g(const double P0[2], const double P1[2], double b, double t0, double t1, double t,
                         double tan[2]) {
    t = std::clamp(t, t0, t1);
    const V2 d = sub(P1, P0);
    const double v = 1.0 - 2.0 * t;
    const double g = 2.0 * v * b;
    const double r = 1.0 - b * b * v * v;
    unit_into(r * d.x + g * d.y, r * d.y - g * d.x, tan);
}

void velCirbul::cbtapa_g(const double P0[2], const double P1[2], double b, double ex, double ey, int& count,
                         double t[2]) {
    count = 0;
    t[0] = t[1] = -1.0;
    if (b == 0.0) return;
    const V2 d = sub(P1, P0);
    const double g = ex * d.x + ey * d.y;
    const double h = ey * d.x - ex * d.y;
    const double b2 = b * b;
    double roots[2];
    int n;
    roots_of_quadratic(-4.0 * b2 * h, 4.0 * (b2 * h - b * g), 2.0 * b * g + (1.0 - b2) * h, n, roots);
    if (n > 2) {
        // Every parameter solves it (a zero chord): the ends stand for them.
        n = 2;
        roots[0] = 0.0;
        roots[1] = 1.0;
    }
    for (int i = 0; i < n; ++i) {
        if (roots[i] >= -zero_eps && roots[i] <= 1.0 + zero_eps) t[count++] = std::clamp(roots[i], 0.0, 1.0);
    }
    if (count == 2) {
        double tan[2];
        cbpata(P0, P1, b, t[0], tan);
        if (tan[0] * ex + tan[1] * ey <= 0.0) std::swap(t[0], t[1]);
    }
}

void velCirbul::cbsebu(const double P0[2], const double P1[2], double b, double t0, double t1,
                       double& bulge) {
    bulge = 0.0;
    if (b == 0.0) return;
    if (t0 == 0.0 && t1 == 1.0) {
        bulge = b;
        return;
    }
    double T0[2], T1[2];
    cbpata(P0, P1, b, t0, T0);
    cbpata(P0, P1, b, t1, T1);
    const double c = T0[0] * T1[0] + T0[1] * T1[1];
    const double cr = T0[0] * T1[1] - T0[1] * T1[0];
    if (c >= nearly_half_turn_cos) {
        // tan(psi / 2) for the turning angle psi: sqrt((1 - c) / (1 + c)) written as |sin| / (1 + cos), which
        // keeps its digits when the sub-arc turns very little.
        const double s = std::fabs(cr) / (1.0 + c);
        double roots[2];
        int n;
        roots_of_quadratic(-s, -2.0, s, n, roots);
        if (n != 2) return;
        const bool minor = (cr > 0.0) == (b > 0.0);
        const double small = std::fabs(roots[0]) <= std::fabs(roots[1]) ? roots[0] : roots[1];
        const double large = std::fabs(roots[0]) <= std::fabs(roots[1]) ? roots[1] : roots[0];
        const double m = std::fabs(minor ? small : large);
        bulge = b < 0.0 ? -m : m;
    } else {
        // Nearly a half circle.
        const double m = std::tan(std::acos(std::max(c, -1.0)) / 4.0);
        bulge = b < 0.0 ? -m : m;
    }
}

void velCirbul::cbdspt_g(const double P0[2], const double P1[2], double b, double t0, double t1,
                         const double point[2], double tol, double& distance, double& t, double nearest[2]) {
    if (t0 > t1) std::swap(t0, t1);
    const V2 d = sub(P1, P0);
    const double L = norm(d);
    // The range ends, each evaluated once: candidates themselves, and where a nearby interior point snaps.
    double ends[2][2];
    arc_evaluate_position(P0, P1, b, t0, ends[0]);
    arc_evaluate_position(P0, P1, b, t1, ends[1]);
    const double d0 = dist(point, ends[0]), d1 = dist(point, ends[1]);
    double best_t = d1 < d0 ? t1 : t0;
    double best_d = std::min(d0, d1);
    double best[2];
    set(best, ends[d1 < d0][0], ends[d1 < d0][1]);
    if (L > 0.0) {
        // The circle point nearest to the point, found without the centre (which runs away as the arc
        // straightens): in the chord frame (x along the chord from its midpoint, y to the left, half chord
        // h) V = 2b (Q - centre) = (2b qx, 2b qy - h (1 - b^2)), and the nearest point has
        // u = 2t - 1 = 2 qx / (|V| - V.y). |V| - V.y = 0 means the nearest point is the one opposite the mid
        // point, outside any finite range.
        const double h = 0.5 * L;
        const V2 q = {point[0] - 0.5 * (P0[0] + P1[0]), point[1] - 0.5 * (P0[1] + P1[1])};
        const double qx = dot(q, d) / L, qy = cross(d, q) / L;
        const double vx = 2.0 * b * qx, vy = 2.0 * b * qy - h * (1.0 - b * b);
        const double den = std::hypot(vx, vy) - vy;
        const double tc = den > 0.0 ? 0.5 * (2.0 * qx / den + 1.0) : t0;
        if (tc > t0 && tc < t1) {
            double p[2];
            arc_evaluate_position(P0, P1, b, tc, p);
            const double dc = dist(point, p);
            if (dc < best_d) {
                // A nearest point within tol of a range end is taken at the end.
                const int end = dist(p, ends[1]) < dist(p, ends[0]);
                if (dist(p, ends[end]) <= tol) {
                    best_t = end ? t1 : t0;
                    best_d = dist(point, ends[end]);
                    set(best, ends[end][0], ends[end][1]);
                } else {
                    best_t = tc;
                    best_d = dc;
                    set(best, p[0], p[1]);
                }
            }
        }
    }
    distance = best_d;
    t = best_t;
    set(nearest, best[0], best[1]);
}

void velCirbul::cbincb_g(const double P0a[2], const double P1a[2], double ba, double t0a, double t1a,
                         const double P0b[2], const double P1b[2], double bb, double t0b, double t1b,
                         double tol, int& count, double ta[max_intersections], double tb[max_intersections],
                         double points[max_intersections][2], int& coincident) {
    count = 0;
    coincident = 0;
    if (t0a > t1a) std::swap(t0a, t1a);
    if (t0b > t1b) std::swap(t0b, t1b);
    const Span A{P0a, P1a, ba, t0a, t1a};
    const Span B{P0b, P1b, bb, t0b, t1b};
    Hit hits[max_intersections];
    int n = 0;

    const bool a_point = P0a[0] == P1a[0] && P0a[1] == P1a[1];
    const bool b_point = P0b[0] == P1b[0] && P0b[1] == P1b[1];
    if (a_point || b_point) {
        if (a_point && b_point) {
            if (dist(P0a, P0b) <= tol) add_hit(hits, n, {t0a, t0b, P0a[0], P0a[1]}, tol);
        } else if (a_point) {
            point_against_span(P0a, t0a, B, tol, true, hits, n);
        } else {
            point_against_span(P0b, t0b, A, tol, false, hits, n);
        }
    } else {
        // Work about the middle of the four ends, so that far-away coordinates do not eat the digits.
        const double O[2] = {0.25 * (P0a[0] + P1a[0] + P0b[0] + P1b[0]),
                             0.25 * (P0a[1] + P1a[1] + P0b[1] + P1b[1])};
        const GenCircle ga = gen_circle(P0a, P1a, ba, O);
        const GenCircle gb = gen_circle(P0b, P1b, bb, O);
        if (same_support(A, ga, B, gb, O, tol)) {
            coincident = 1;
            shared_stretch_ends(A, B, tol, hits, n);
        } else {
            // The radical line bb F_a - ba F_b holds every common point; for a line and an arc it is the
            // line itself, for two lines any combination (then take line a).
            const bool two_lines = ba == 0.0 && bb == 0.0;
            double nx, ny, e;
            if (two_lines) {
                nx = ga.bx;
                ny = ga.by;
                e = ga.c;
            } else {
                nx = gb.a * ga.bx - ga.a * gb.bx;
                ny = gb.a * ga.by - ga.a * gb.by;
                e = gb.a * ga.c - ga.a * gb.c;
            }
            const double nlen = std::hypot(nx, ny);
            const double scale =
                std::fabs(gb.a) * std::hypot(ga.bx, ga.by) + std::fabs(ga.a) * std::hypot(gb.bx, gb.by);
            if (nlen > 0.0 && (two_lines || nlen > radical_line_lost * scale)) {
                const V2 nh = {nx / nlen, ny / nlen};
                const V2 th = {-nh.y, nh.x};
                const V2 foot = {-e / nlen * nh.x, -e / nlen * nh.y};
                double s_roots[2];
                int ns = 0;
                if (two_lines) {
                    // Line a against line b: F_b is linear along line a.
                    const double slope = gb.bx * th.x + gb.by * th.y;
                    if (slope != 0.0) {
                        s_roots[0] = -gb.value(foot) / slope;
                        ns = 1;
                    }
                } else {
                    // Against the more curved of the two: the better conditioned cut.
                    const GenCircle& k = std::fabs(ga.curvature) >= std::fabs(gb.curvature) ? ga : gb;
                    const double B2 = 0.5 * (k.bx * th.x + k.by * th.y) / k.a; // half the linear coefficient
                    const double C = k.value(foot) / k.a;
                    const double disc = B2 * B2 - C; // squared half chord of the cut
                    const double R = 1.0 / k.curvature;
                    if (disc < 0.0) {
                        // A miss by less than tol counts as touching.
                        const double gap = -disc / (std::sqrt(R * R - disc) + R);
                        if (gap <= tol) {
                            s_roots[0] = -B2;
                            ns = 1;
                        }
                    } else {
                        // A cut less than tol deep is a touch, as a miss by less than tol is: two points
                        // that far in are one tangent point blurred by rounding.
                        const double sq = std::sqrt(disc);
                        const double depth = disc / (R + std::sqrt(std::max(0.0, R * R - disc)));
                        if (sq <= tol || depth <= tol) {
                            s_roots[0] = -B2;
                            ns = 1;
                        } else {
                            // The roots of x^2 + 2 B2 x + C, solved scaled by the larger one's size so
                            // that the solver's zero tests act relative to the cut.
                            const double sigma = std::fabs(B2) + sq;
                            double y[2];
                            int ny = 0;
                            roots_of_quadratic(1.0, 2.0 * B2 / sigma, C / sigma / sigma, ny, y);
                            for (int i = 0; ny == 2 && i < 2; ++i)
                                s_roots[ns++] = sigma * y[i];
                        }
                    }
                }
                for (int i = 0; i < ns; ++i) {
                    double X[2] = {O[0] + foot.x + s_roots[i] * th.x, O[1] + foot.y + s_roots[i] * th.y};
                    double tpa, tpb;
                    if (!std::isfinite(X[0]) || !std::isfinite(X[1])) continue;
                    // When both snap to an end, span b is judged at span a's vertex.
                    if (!in_range(A, X, tol, tpa) || !in_range(B, X, tol, tpb)) continue;
                    add_hit(hits, n, {tpa, tpb, X[0], X[1]}, tol);
                }
            }
        }
    }
    // At most four hits: insertion sort by the parameter on span a.
    for (int i = 1; i < n; ++i) {
        for (int j = i; j > 0 && hits[j].ta < hits[j - 1].ta; --j)
            std::swap(hits[j], hits[j - 1]);
    }
    count = n;
    for (int i = 0; i < n; ++i) {
        ta[i] = hits[i].ta;
        tb[i] = hits[i].tb;
        points[i][0] = hits[i].x;
        points[i][1] = hits[i].y;
    }
}

void velCirbul::liinli(const double A[2], const double B[2], const double C[2], const double D[2], int& count,
                       double& s, double& t) {
    double ta[max_intersections], tb[max_intersections], pts[max_intersections][2];
    int coincident;
    cbincb_g(A, B, 0.0, 0.0, 1.0, C, D, 0.0, 0.0, 1.0, intersection_tol, count, ta, tb, pts, coincident);
    if (count > 1) {
        count = -1;
    } else if (count == 1) {
        s = ta[0];
        t = tb[0];
    }
}

void velCirbul::arc_evaluate_position(const double P0[2], const double P1[2], double b, double t,
                                      double pos[2]) {
    if (t == 0.0) {
        set(pos, P0[0], P0[1]);
        return;
    }
    if (t == 1.0) {
        set(pos, P1[0], P1[1]);
        return;
    }
    if (t == 0.5) {
        cbbump(P0, P1, b, pos);
        return;
    }
    const V2 d = sub(P1, P0);
    const double cx = 0.5 * (P0[0] + P1[0]), cy = 0.5 * (P0[1] + P1[1]);
    if (std::fabs(t) > far_parameter) {
        // The far point: opposite the mid point, or off to infinity along a straight span.
        if (std::fabs(b) < zero_eps) {
            set(pos, std::fabs(d.x) >= zero_eps ? std::copysign(far_coordinate, d.x * t) : cx,
                std::fabs(d.y) >= zero_eps ? std::copysign(far_coordinate, d.y * t) : cy);
        } else {
            set(pos, cx - (0.5 / b) * d.y, cy + (0.5 / b) * d.x);
        }
        return;
    }
    const double u = 2.0 * t - 1.0;
    const double ub = u * b;
    const double w = 2.0 * (ub * ub + 1.0);
    const double a = (b * b + 1.0) * u / w;
    const double c = (1.0 - u) * b * (u + 1.0) / w;
    set(pos, cx + a * d.x + c * d.y, cy + a * d.y - c * d.x);
}

void velCirbul::arc_evaluate_tangent(const double P0[2], const double P1[2], double b, double t,
                                     double tan[2]) {
    const V2 d = sub(P1, P0);
    if (t == 0.5) {
        unit_into(d.x, d.y, tan);
        return;
    }
    if (std::fabs(t) > far_parameter) {
        if (std::fabs(b) >= zero_eps && t > 0.0) {
            unit_into(-d.x, -d.y, tan);
        } else {
            unit_into(d.x, d.y, tan);
        }
        return;
    }
    const double u = 2.0 * t - 1.0;
    const double k = 1.0 - u * b * u * b;
    const double g = -2.0 * b * u;
    unit_into(k * d.x + g * d.y, k * d.y - g * d.x, tan);
}

double velCirbul::arc_evaluate_parameter(const double P0[2], const double P1[2], double b,
                                         const double Q[2]) {
    const V2 d = sub(P1, P0);
    const double L = norm(d);
    if (L < zero_eps) return 0.0;
    const V2 q = {Q[0] - 0.5 * (P0[0] + P1[0]), Q[1] - 0.5 * (P0[1] + P1[1])};
    const double e = dot(q, d) / L;
    const double f = L / 2.0 - ((q.y * d.x - q.x * d.y) / L) * b;
    if (std::fabs(f) >= zero_eps) return (e / f + 1.0) / 2.0;
    return e >= 0.0 ? far_parameter_value : -far_parameter_value;
}

void velCirbul::arc_arc_intersection(const double P0a[2], const double P1a[2], double ba, const double P0b[2],
                                     const double P1b[2], double bb, int& count, double ta[max_intersections],
                                     double tb[max_intersections]) {
    double pts[max_intersections][2];
    int coincident;
    cbincb_g(P0a, P1a, ba, 0.0, 1.0, P0b, P1b, bb, 0.0, 1.0, intersection_tol, count, ta, tb, pts,
             coincident);
}

void velCirbul::roots_of_quadratic(double a, double b, double c, int& count, double roots[2]) {
    constexpr double eps = zero_eps;
    if (a < 0.0) {
        // Signs as for a positive leading coefficient.
        a = -a;
        b = -b;
        c = -c;
    }
    roots[0] = roots[1] = 0.0;
    if (a < eps) {
        if (std::fabs(b) < eps) {
            count = std::fabs(c) < eps ? INT_MAX : -1;
            return;
        }
        roots[0] = roots[1] = -c / b;
        count = 1;
        return;
    }
    if (std::fabs(b) < eps) {
        if (c > 0.0) {
            count = 0;
            return;
        }
        const double r = std::sqrt(-c / a);
        roots[0] = -r;
        roots[1] = r;
        count = 2;
        return;
    }
    if (std::fabs(c) < eps) {
        const double r = -b / a;
        roots[0] = std::min(0.0, r);
        roots[1] = std::max(0.0, r);
        count = 2;
        return;
    }
    double D = b * b - 4.0 * a * c;
    if (D < -std::max(eps, velTol::discriminant_slack * b * b)) {
        count = 0;
        return;
    }
    if (D < 0.0) D = 0.0;
    const double sq = std::sqrt(D);
    auto residual = [&](double x) { return std::fabs((a * x + b) * x + c); };
    // Each root from the ordinary formula or from its reciprocal form 2c / (-b -+ sqrt(D)), whichever fits
    // better.
    auto pick = [&](double sign) {
        const double ordinary = (-b + sign * sq) / (2.0 * a);
        const double den = -b - sign * sq;
        if (den == 0.0) return ordinary;
        const double reciprocal = 2.0 * c / den;
        return residual(reciprocal) < residual(ordinary) ? reciprocal : ordinary;
    };
    const double r1 = pick(-1.0), r2 = pick(1.0);
    roots[0] = std::min(r1, r2);
    roots[1] = std::max(r1, r2);
    count = 2;
}
