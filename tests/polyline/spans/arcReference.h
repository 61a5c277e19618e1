#pragma once
// Reference geometry for the span tests, built from the angles of the arc rather than from the bulge
// parameterization under test: an arc of bulge b sweeps 4 atan(b) (anticlockwise positive), and the point at
// the fraction f of that sweep is found by turning, either about the centre (well conditioned for
// |b| >= 0.5) or along the sub-chord from P0 (well conditioned for small sweeps). Also the random arcs of the
// property tests, with fixed seeds.

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

// A giPoint3 expression against its expected coordinates.
#define EXPECT_P3_NEAR(p, qx, qy, qz, tol)                                                                   \
    do {                                                                                                     \
        const giPoint3 p_ = (p);                                                                             \
        EXPECT_NEAR(p_.x, (qx), (tol));                                                                      \
        EXPECT_NEAR(p_.y, (qy), (tol));                                                                      \
        EXPECT_NEAR(p_.z, (qz), (tol));                                                                      \
    } while (0)

namespace arcref {

using Pt = std::array<double, 2>;

struct Arc {
    Pt p0, p1;
    double b;
};

inline double chord(const Arc& a) {
    return std::hypot(a.p1[0] - a.p0[0], a.p1[1] - a.p0[1]);
}
inline double dist(const Pt& p, const Pt& q) {
    return std::hypot(p[0] - q[0], p[1] - q[1]);
}

// Centre and unsigned radius (b != 0). tan(2 atan b) and sin(2 atan b) are taken in closed form so that
// arcs near a full circle keep their accuracy.
inline Pt centre(const Arc& a) {
    const double dx = a.p1[0] - a.p0[0], dy = a.p1[1] - a.p0[1];
    const double k = (1.0 - a.b * a.b) / (4.0 * a.b); // (h / tan(half sweep)) / |d|
    return {0.5 * (a.p0[0] + a.p1[0]) - k * dy, 0.5 * (a.p0[1] + a.p1[1]) + k * dx};
}
inline double radius(const Arc& a) {
    return chord(a) * (1.0 + a.b * a.b) / (4.0 * std::fabs(a.b));
}

// The point at the fraction f of the sweep (f = 0 at P0, 1 at P1).
inline Pt point_at_fraction(const Arc& a, double f) {
    const double dx = a.p1[0] - a.p0[0], dy = a.p1[1] - a.p0[1];
    if (a.b == 0.0) return {a.p0[0] + f * dx, a.p0[1] + f * dy};
    const double q = std::atan(a.b); // a quarter of the sweep
    if (std::fabs(a.b) >= 0.5) {
        const Pt c = centre(a);
        const double r = radius(a);
        const double ang = std::atan2(a.p0[1] - c[1], a.p0[0] - c[0]) + 4.0 * q * f;
        return {c[0] + r * std::cos(ang), c[1] + r * std::sin(ang)};
    }
    // Sub-chord from P0: length |d| sin(2 f q) / sin(2 q), turned from the chord by 2 (f - 1) q.
    const double scale = std::sin(2.0 * f * q) * (1.0 + a.b * a.b) / (2.0 * a.b);
    const double rot = 2.0 * (f - 1.0) * q, c = std::cos(rot), s = std::sin(rot);
    return {a.p0[0] + scale * (c * dx - s * dy), a.p0[1] + scale * (s * dx + c * dy)};
}

// The point at bulge parameter u = 2t - 1 lies 2 atan(u b) from the mid point, so the sweep fraction is
// (atan(u b) / atan(b) + 1) / 2.
inline double fraction_of_param(double b, double t) {
    if (b == 0.0) return t;
    return 0.5 * (std::atan((2.0 * t - 1.0) * b) / std::atan(b) + 1.0);
}
inline double param_of_fraction(double b, double f) {
    if (b == 0.0) return f;
    return 0.5 * (std::tan((2.0 * f - 1.0) * std::atan(b)) / b + 1.0);
}
inline Pt point_at_param(const Arc& a, double t) {
    return point_at_fraction(a, fraction_of_param(a.b, t));
}

// Bulge of the sub-arc between parameters t0 and t1: a quarter of its sweep, 2 atan(u1 b) - 2 atan(u0 b).
inline double sub_bulge(double b, double t0, double t1) {
    return std::tan(0.5 * (std::atan((2.0 * t1 - 1.0) * b) - std::atan((2.0 * t0 - 1.0) * b)));
}

// |dX/dt| at bulge parameter t: the parameter's own rounding moves the point by about eps times this, which
// near the middle of an arc that is nearly a full circle dwarfs the coordinates.
inline double speed(const Arc& a, double t) {
    const double ub = (2.0 * t - 1.0) * a.b;
    return chord(a) * (1.0 + a.b * a.b) / (1.0 + ub * ub);
}
// How much the parameter of a point, taken through the point opposite the mid point, moves along the arc
// per unit of the point's distance from the circle: 2 / (the angle between that far point and the point).
inline double far_gain(double b, double t) {
    return 2.0 / (std::numbers::pi - 2.0 * std::fabs(std::atan((2.0 * t - 1.0) * b)));
}
inline double max_coord(const Pt& p) {
    return std::fmax(std::fabs(p[0]), std::fabs(p[1]));
}

// Size of the arc's neighbourhood, for tolerances relative to the coordinates in play.
inline double extent(const Arc& a) {
    const double pos = std::fmax(std::fmax(std::fabs(a.p0[0]), std::fabs(a.p0[1])),
                                 std::fmax(std::fabs(a.p1[0]), std::fabs(a.p1[1])));
    return pos + chord(a) * std::fmax(1.0, std::fabs(a.b));
}
// Distance tolerance: about 500 units in the last place of the largest coordinate.
inline double tol_x(const Arc& a) {
    return 1e-13 * (extent(a) + 1.0);
}
// The same for results built about the centre, which may lie far off for small bulges.
inline double tol_centre(const Arc& a) {
    return tol_x(a) + (a.b == 0.0 ? 0.0 : 1e-13 * radius(a));
}

// Whether the circle point at angle `ang` (about the centre) lies on the arc.
inline bool angle_on_arc(const Arc& a, double ang) {
    const Pt c = centre(a);
    const double a0 = std::atan2(a.p0[1] - c[1], a.p0[0] - c[0]);
    const double sweep = 4.0 * std::atan(a.b);
    double rel = (sweep > 0.0 ? ang - a0 : a0 - ang);
    rel = std::fmod(std::fmod(rel, 2.0 * std::numbers::pi) + 2.0 * std::numbers::pi, 2.0 * std::numbers::pi);
    return rel <= std::fabs(sweep);
}

// The exact box: the ends and the circle's extreme points in x and y that lie on the arc.
struct Box {
    Pt lo, hi;
};
inline Box exact_box(const Arc& a) {
    Box box{{std::fmin(a.p0[0], a.p1[0]), std::fmin(a.p0[1], a.p1[1])},
            {std::fmax(a.p0[0], a.p1[0]), std::fmax(a.p0[1], a.p1[1])}};
    if (a.b == 0.0) return box;
    const Pt c = centre(a);
    const double r = radius(a);
    for (int k = 0; k < 4; ++k) {
        const double ang = k * std::numbers::pi / 2;
        if (!angle_on_arc(a, ang)) continue;
        const Pt p{c[0] + r * std::cos(ang), c[1] + r * std::sin(ang)};
        for (int i = 0; i < 2; ++i) {
            box.lo[i] = std::fmin(box.lo[i], p[i]);
            box.hi[i] = std::fmax(box.hi[i], p[i]);
        }
    }
    return box;
}

// Random arcs: chord lengths and |b| log-uniform, both bulge signs, any direction, start anywhere within
// `far` of the origin.
class ArcGen {
public:
    explicit ArcGen(std::uint64_t seed) : m_rng(seed) {}

    double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(m_rng); }
    double log_uniform(double lo, double hi) { return std::exp(uniform(std::log(lo), std::log(hi))); }
    bool coin() { return (m_rng() & 1U) != 0; }

    Arc next(double bmin, double bmax, double cmin = 1e-3, double cmax = 1e3, double far = 1e4) {
        const double len = log_uniform(cmin, cmax), dir = uniform(-std::numbers::pi, std::numbers::pi);
        const Pt p0{uniform(-far, far), uniform(-far, far)};
        const double b = log_uniform(bmin, bmax) * (coin() ? 1.0 : -1.0);
        return {p0, {p0[0] + len * std::cos(dir), p0[1] + len * std::sin(dir)}, b};
    }

private:
    std::mt19937_64 m_rng;
};

} // namespace arcref
