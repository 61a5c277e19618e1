#include "arcline/polyline/spans/velSpanSolver.h"

#include "arcline/polyline/spans/velCirbul.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

using Poly = velSpanSolver::Poly;
using Roots = velSpanSolver::Roots;

// Bisection steps of a root: far more than the 64 that any double range needs.
constexpr int max_bisections = 200;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// The root in [a, b] of c, monotone there with c(a) = ca and c(b) of the other sign, to the last bit.
double bisect_root(const Poly& c, int n, double a, double b, double ca) {
    for (int it = 0; it < max_bisections; ++it) {
        const double m = 0.5 * (a + b);
        if (m <= a || m >= b) break;
        const double cm = velSpanSolver::value(c, n, m);
        if (cm == 0.0) return m;
        if ((cm < 0.0) == (ca < 0.0)) {
            a = m;
            ca = cm;
        } else {
            b = m;
        }
    }
    return 0.5 * (a + b);
}

} // namespace

double velSpanSolver::Feature::distance_squared(const giPoint3& X) const {
    const giVector3 w = X - P;
    const double l = std::clamp(w.dot(d), lo, hi);
    return (w - d * l).length_squared();
}

velSpanSolver::Curve velSpanSolver::curve(const giPoint3& S, const giPoint3& E, const giPoint3* mid,
                                          double zero_chord) {
    Curve c;
    giVector3 e = E - S;
    const double L = e.unitize();
    if (mid && L <= zero_chord) {
        // Zero chord: the arc is a point, its start.
        c.O = S;
        return c;
    }
    c.O = S.interpolate(E, 0.5);
    c.h = 0.5 * L;
    c.e = e;
    if (mid) {
        giVector3 sag = *mid - c.O;
        sag = sag - c.e * sag.dot(c.e);
        const double s = sag.unitize();
        // A mid point on the chord leaves a straight span, as the arc evaluation does.
        if (s > 0.0) {
            c.m = sag;
            c.b = s / c.h;
        }
    }
    return c;
}

double velSpanSolver::value(const Poly& c, int n, double x) {
    double v = c[at(n)];
    for (int i = n - 1; i >= 0; --i)
        v = v * x + c[at(i)];
    return v;
}

int velSpanSolver::roots(const Poly& c, int n, double lo, double hi, Roots& out) {
    while (n > 0 && c[at(n)] == 0.0)
        --n;
    if (n == 0 || !(lo <= hi)) return 0;
    std::array<double, max_degree + 2> cuts{};
    int m = 0;
    cuts[at(m++)] = lo;
    if (n >= 2) {
        Poly d{};
        for (int i = 1; i <= n; ++i)
            d[at(i - 1)] = i * c[at(i)];
        Roots dr{};
        const int k = roots(d, n - 1, lo, hi, dr);
        for (int i = 0; i < k; ++i) {
            const double x = dr[at(i)];
            if (x > cuts[at(m - 1)] && x < hi) cuts[at(m++)] = x;
        }
    }
    cuts[at(m++)] = hi;
    int count = 0;
    auto add = [&](double x) {
        if (count == 0 || x > out[at(count - 1)]) out[at(count++)] = x;
    };
    double ca = value(c, n, cuts[0]);
    for (int i = 0; i + 1 < m; ++i) {
        const double a = cuts[at(i)], b = cuts[at(i + 1)];
        const double cb = value(c, n, b);
        if (ca == 0.0) {
            add(a);
        } else if (cb != 0.0 && (ca < 0.0) != (cb < 0.0)) {
            add(bisect_root(c, n, a, b, ca));
        }
        ca = cb;
    }
    if (ca == 0.0) add(hi);
    return count;
}

int velSpanSolver::rational_extremes(const Poly& N, int n, double b, int k, double lo, double hi,
                                     Roots& out) {
    // The derivative's numerator is N' D - k N D'.
    const double b2 = b * b;
    Poly c{};
    for (int i = 1; i <= n; ++i) {
        c[at(i - 1)] += i * N[at(i)];
        c[at(i + 1)] += i * N[at(i)] * b2;
    }
    for (int i = 0; i <= n; ++i)
        c[at(i + 1)] -= 2.0 * k * b2 * N[at(i)];
    return roots(c, n + 1, lo, hi, out);
}

velSpanSolver::Poly velSpanSolver::squared_norm(const giVector3 B[3]) {
    Poly N{};
    N[0] = B[0].dot(B[0]);
    N[1] = 2.0 * B[0].dot(B[1]);
    N[2] = B[1].dot(B[1]) + 2.0 * B[0].dot(B[2]);
    N[3] = 2.0 * B[1].dot(B[2]);
    N[4] = B[2].dot(B[2]);
    return N;
}

double velSpanSolver::nearest(const Curve& c, double u0, double u1, const Feature& f, double& u) {
    // The range is cut where the foot on the feature passes one of its ends; on each piece the squared
    // distance is N(u) / D(u)^2, to the end point or to the line, and its extremes are solved for. Every
    // candidate is judged by its true distance to the feature.
    giVector3 A[3];
    c.numerator(f.P, A);
    std::array<double, 2 * (max_degree + 1) + 2> cuts{};
    std::size_t m = 0;
    cuts[m++] = u0;
    const bool is_point = f.d.dot(f.d) == 0.0;
    for (double bound : {f.lo, f.hi}) {
        if (is_point || !std::isfinite(bound)) continue;
        // (X - P).d = bound  <=>  W.d - bound D = 0.
        const Poly q{A[0].dot(f.d) - bound, A[1].dot(f.d), A[2].dot(f.d) - bound * c.b * c.b, 0, 0, 0};
        Roots r{};
        for (int i = 0, k = roots(q, 2, u0, u1, r); i < k; ++i)
            cuts[m++] = r[at(i)];
    }
    cuts[m++] = u1;
    std::sort(cuts.begin(), cuts.begin() + static_cast<std::ptrdiff_t>(m));

    u = u0;
    double best = f.distance_squared(c.at(u0));
    auto offer = [&](double x) {
        const double d2 = f.distance_squared(c.at(x));
        if (d2 < best) {
            best = d2;
            u = x;
        }
    };
    for (std::size_t i = 0; i < m; ++i)
        offer(cuts[i]);
    for (std::size_t i = 0; i + 1 < m; ++i) {
        const double a = cuts[i], z = cuts[i + 1];
        if (!(a < z)) continue;
        const double lambda = is_point ? 0.0 : (c.at(0.5 * (a + z)) - f.P).dot(f.d);
        giVector3 B[3];
        if (lambda < f.lo || lambda > f.hi) {
            // The foot stays at one end Q of the feature: W about Q is W + (P - Q) D.
            const giVector3 shift = f.d * -(lambda < f.lo ? f.lo : f.hi);
            B[0] = A[0] + shift;
            B[1] = A[1];
            B[2] = A[2] + shift * (c.b * c.b);
        } else {
            // Distance to the line: the part of W square to d.
            for (int j = 0; j < 3; ++j)
                B[j] = A[j] - f.d * A[j].dot(f.d);
        }
        Roots r{};
        for (int j = 0, k = rational_extremes(squared_norm(B), 4, c.b, 2, a, z, r); j < k; ++j)
            offer(r[at(j)]);
    }
    return best;
}

double velSpanSolver::nearest_on_arc(const Curve& c, double f0, double f1, const giPoint3& P, double& f) {
    const giVector3 w = P - c.O;
    // The arc's plane with x along the chord and y away from the mid point: the bulge arc from (-h, 0) to
    // (h, 0) with bulge b has its mid point at (0, -b h).
    const double x = w.dot(c.e), y = -w.dot(c.m);
    // The height over the arc's plane along its normal: |w|^2 - x^2 - y^2 would lose it to cancellation
    // (an error of about 1e-8 |w| for points in the plane).
    const double off_plane = w.dot(c.e.cross(c.m));
    const double off_plane2 = off_plane * off_plane;
    const double P0[2] = {-c.h, 0.0}, P1[2] = {c.h, 0.0}, Q[2] = {x, y};
    double d, nearest[2];
    velCirbul::cbdspt_g(P0, P1, c.b, f0, f1, Q, 0.0, d, f, nearest);
    return d * d + off_plane2;
}

std::vector<std::array<double, 2>> velSpanSolver::ranges_in_box(const Curve& c, const giBox3& box) {
    // The curve crosses a face plane where a coordinate of W (about a box corner) vanishes: a quadratic per
    // face. Between consecutive crossings the curve is inside or outside throughout, judged at the middle.
    std::vector<std::array<double, 2>> ranges;
    if (box.empty()) return ranges;
    std::vector<double> cuts{-1.0, 1.0};
    for (const giPoint3& corner : {box.min(), box.max()}) {
        giVector3 A[3];
        c.numerator(corner, A);
        for (int axis = 0; axis < 3; ++axis) {
            const Poly q{A[0][axis], A[1][axis], A[2][axis], 0, 0, 0};
            Roots r{};
            for (int i = 0, k = roots(q, 2, -1.0, 1.0, r); i < k; ++i)
                cuts.push_back(r[at(i)]);
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    bool open = false;
    double start = 0.0;
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        if (!open && box.contains(c.at(cuts[i]))) {
            open = true;
            start = cuts[i];
        }
        const bool piece_inside = i + 1 < cuts.size() && box.contains(c.at(0.5 * (cuts[i] + cuts[i + 1])));
        if (open && !piece_inside) {
            ranges.push_back({start, cuts[i]});
            open = false;
        } else if (!open && piece_inside) {
            // The crossing itself rounded outside: the range starts there all the same.
            open = true;
            start = cuts[i];
        }
    }
    return ranges;
}
