#include "arcline/intersect/velAxisCut.h"

#include "arcline/polyline/spans/velCirbul.h"

#include <algorithm>
#include <cmath>

namespace {

// Chord components seen along the axis: d along it, e such that the coordinate is
// C0 + ((b^2 + 1) u d + b (1 - u^2) e) / (2 (u^2 b^2 + 1)).
struct AxisFrame {
    double c0, d, e;
};

AxisFrame frame(const double P0[2], const double P1[2], int axis) {
    const double dx = P1[0] - P0[0], dy = P1[1] - P0[1];
    if (axis == 0) return {0.5 * (P0[0] + P1[0]), dx, dy};
    return {0.5 * (P0[1] + P1[1]), dy, -dx};
}

// Real roots of A u^2 + B u + C = 0 by the library's quadratic solver, on the coefficients scaled to the
// largest of them (its zero tests are absolute).
int quadratic(double A, double B, double C, double r[2]) {
    const double scale = std::max({std::fabs(A), std::fabs(B), std::fabs(C)});
    if (scale == 0.0) return 0;
    int count;
    velCirbul::roots_of_quadratic(A / scale, B / scale, C / scale, count, r);
    if (count < 1 || count > 2) return 0;
    if (r[0] > r[1]) std::swap(r[0], r[1]);
    return count == 1 ? 1 : 2;
}

} // namespace

double velAxisCut::coordinate(const double P0[2], const double P1[2], double b, int axis, double t) {
    if (t <= 0.0) return P0[axis];
    if (t >= 1.0) return P1[axis];
    const AxisFrame f = frame(P0, P1, axis);
    const double u = 2.0 * t - 1.0;
    return f.c0 + ((b * b + 1.0) * u * f.d + b * (1.0 - u * u) * f.e) / (2.0 * (u * u * b * b + 1.0));
}

int velAxisCut::cuts(const double P0[2], const double P1[2], double b, int axis, double value, double u0,
                     double u1, bool high0, bool high1, double out[max_cuts]) {
    if (b == 0.0) {
        if (high0 == high1) return 0;
        const double a = P0[axis], d = P1[axis] - P0[axis];
        const double t = d != 0.0 ? (value - a) / d : 0.5 * (u0 + u1);
        out[0] = std::clamp(t, u0, u1);
        return 1;
    }
    const AxisFrame f = frame(P0, P1, axis);
    // Extremes along the axis: -b^2 d u^2 - 2 b e u + d = 0.
    double ext[2];
    const int ne = quadratic(-b * b * f.d, -2.0 * b * f.e, f.d, ext);
    // Nodes of the monotone stretches within [u0, u1], with their sides.
    double node[4];
    bool high[4];
    int nn = 0;
    node[nn] = u0;
    high[nn++] = high0;
    for (int i = 0; i < ne; ++i) {
        const double t = 0.5 * (ext[i] + 1.0);
        if (t > u0 && t < u1) {
            node[nn] = t;
            high[nn++] = coordinate(P0, P1, b, axis, t) >= value;
        }
    }
    node[nn] = u1;
    high[nn++] = high1;
    // Crossings of the value: 2k (b^2 u^2 + 1) + (b^2 + 1) d u + b e (1 - u^2) = 0 with k = C0 - value.
    const double k = f.c0 - value;
    double roots[2];
    const int nr = quadratic(2.0 * k * b * b - b * f.e, (b * b + 1.0) * f.d, 2.0 * k + b * f.e, roots);
    int count = 0;
    for (int s = 0; s + 1 < nn; ++s) {
        if (high[s] == high[s + 1]) continue;
        const double lo = node[s], hi = node[s + 1];
        // The root of this monotone stretch: the one inside it, else the nearest clamped into it; with no
        // root at all (a tangency lost to rounding) the end nearer to the value.
        double best = -1.0, best_gap = INFINITY;
        for (int i = 0; i < nr; ++i) {
            const double t = 0.5 * (roots[i] + 1.0);
            const double gap = t < lo ? lo - t : (t > hi ? t - hi : 0.0);
            if (gap < best_gap) {
                best_gap = gap;
                best = std::clamp(t, lo, hi);
            }
        }
        if (best < 0.0) {
            const double dlo = std::fabs(coordinate(P0, P1, b, axis, lo) - value);
            const double dhi = std::fabs(coordinate(P0, P1, b, axis, hi) - value);
            best = dlo <= dhi ? lo : hi;
        }
        if (count > 0) best = std::max(best, out[count - 1]);
        out[count++] = best;
    }
    return count;
}
