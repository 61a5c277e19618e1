#include "arcline/polyline/spans/velExactPredicates.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

// Half the distance between 1 and the next double: the unit of the error bounds.
constexpr double unit = 1.1102230246251565e-16;
// Error bounds of the floating-point determinants with rounded differences (relative to their permanents).
constexpr double orientation_bound = (3.0 + 16.0 * unit) * unit;
constexpr double in_circle_bound = (10.0 + 96.0 * unit) * unit;

// An exact number as a sum of non-overlapping doubles in increasing magnitude, zeros left out.
using Expansion = std::vector<double>;

// a + b = s + e exactly.
inline void two_sum(double a, double b, double& s, double& e) {
    s = a + b;
    const double bv = s - a;
    e = (a - (s - bv)) + (b - bv);
}

// a * b = p + e exactly.
inline void two_product(double a, double b, double& p, double& e) {
    p = a * b;
    e = std::fma(a, b, -p);
}

Expansion difference(double a, double b) {
    double s, e;
    two_sum(a, -b, s, e);
    Expansion out;
    if (e != 0.0) out.push_back(e);
    if (s != 0.0) out.push_back(s);
    return out;
}

// out = e + b (grow-expansion with zero elimination); out must not be e.
void grow_into(const Expansion& e, double b, Expansion& out) {
    out.clear();
    double q = b;
    for (double c : e) {
        double s, err;
        two_sum(q, c, s, err);
        if (err != 0.0) out.push_back(err);
        q = s;
    }
    if (q != 0.0) out.push_back(q);
}

Expansion grow(const Expansion& e, double b) {
    Expansion out;
    out.reserve(e.size() + 1);
    grow_into(e, b, out);
    return out;
}

// e + f, one component of f at a time, between two buffers (no allocation per component).
Expansion sum(const Expansion& e, const Expansion& f) {
    Expansion a, b;
    a.reserve(e.size() + f.size());
    b.reserve(e.size() + f.size());
    a = e;
    for (double c : f) {
        grow_into(a, c, b);
        a.swap(b);
    }
    return a;
}

Expansion negated(Expansion e) {
    for (double& c : e)
        c = -c;
    return e;
}

// e * b (scale-expansion with zero elimination).
Expansion scale(const Expansion& e, double b) {
    Expansion out;
    if (e.empty() || b == 0.0) return out;
    out.reserve(2 * e.size());
    double q, err;
    two_product(e[0], b, q, err);
    if (err != 0.0) out.push_back(err);
    for (std::size_t i = 1; i < e.size(); ++i) {
        double p1, p0, sum1, sum0;
        two_product(e[i], b, p1, p0);
        two_sum(q, p0, sum1, sum0);
        if (sum0 != 0.0) out.push_back(sum0);
        two_sum(p1, sum1, q, err);
        if (err != 0.0) out.push_back(err);
    }
    if (q != 0.0) out.push_back(q);
    return out;
}

Expansion product(const Expansion& e, const Expansion& f) {
    Expansion out;
    for (double c : f)
        out = sum(out, scale(e, c));
    return out;
}

// The sign of a non-overlapping expansion is that of its largest component.
int sign_of(const Expansion& e) {
    return e.empty() ? 0 : (e.back() > 0.0 ? 1 : -1);
}

int sign_of(double v) {
    return (v > 0.0) - (v < 0.0);
}

int exact_orientation(const giPoint2& a, const giPoint2& b, const giPoint2& c) {
    // (b - a) x (c - a) = ax by - ay bx + bx cy - by cx + cx ay - cy ax, each product exact in two doubles.
    const double terms[6][2] = {{a.x, b.y}, {-a.y, b.x}, {b.x, c.y}, {-b.y, c.x}, {c.x, a.y}, {-c.y, a.x}};
    Expansion e;
    for (const auto& t : terms) {
        double p, err;
        two_product(t[0], t[1], p, err);
        e = grow(grow(e, err), p);
    }
    return sign_of(e);
}

int exact_in_circle(const giPoint2& a, const giPoint2& b, const giPoint2& c, const giPoint2& d) {
    const Expansion adx = difference(a.x, d.x), ady = difference(a.y, d.y);
    const Expansion bdx = difference(b.x, d.x), bdy = difference(b.y, d.y);
    const Expansion cdx = difference(c.x, d.x), cdy = difference(c.y, d.y);
    auto lift = [](const Expansion& x, const Expansion& y) { return sum(product(x, x), product(y, y)); };
    auto cross = [](const Expansion& x1, const Expansion& y1, const Expansion& x2, const Expansion& y2) {
        return sum(product(x1, y2), negated(product(y1, x2)));
    };
    const Expansion det = sum(sum(product(lift(adx, ady), cross(bdx, bdy, cdx, cdy)),
                                  product(lift(bdx, bdy), cross(cdx, cdy, adx, ady))),
                              product(lift(cdx, cdy), cross(adx, ady, bdx, bdy)));
    return sign_of(det);
}

} // namespace

int velExactPredicates::orientation(const giPoint2& a, const giPoint2& b, const giPoint2& c) {
    const double left = (b.x - a.x) * (c.y - a.y), right = (b.y - a.y) * (c.x - a.x);
    const double det = left - right;
    if (std::fabs(det) > orientation_bound * (std::fabs(left) + std::fabs(right))) return sign_of(det);
    return exact_orientation(a, b, c);
}

int velExactPredicates::in_circle(const giPoint2& a, const giPoint2& b, const giPoint2& c,
                                  const giPoint2& d) {
    const double adx = a.x - d.x, ady = a.y - d.y, bdx = b.x - d.x, bdy = b.y - d.y, cdx = c.x - d.x,
                 cdy = c.y - d.y;
    const double bc = bdx * cdy - bdy * cdx, ca = cdx * ady - cdy * adx, ab = adx * bdy - ady * bdx;
    const double alift = adx * adx + ady * ady, blift = bdx * bdx + bdy * bdy, clift = cdx * cdx + cdy * cdy;
    const double det = alift * bc + blift * ca + clift * ab;
    const double permanent = (std::fabs(bdx * cdy) + std::fabs(bdy * cdx)) * alift +
                             (std::fabs(cdx * ady) + std::fabs(cdy * adx)) * blift +
                             (std::fabs(adx * bdy) + std::fabs(ady * bdx)) * clift;
    if (std::fabs(det) > in_circle_bound * permanent) return sign_of(det);
    return exact_in_circle(a, b, c, d);
}
