#pragma once
// Polynomial conditions along one span, solved exactly: the roots of a polynomial within a range, the
// nearest point of a span to a point, a line, a ray or a segment, and the stretches of a span inside a box.
// Straight spans and arcs (in space, in their own plane) go through the same arithmetic, so nearly straight
// arcs, whose centres run off to infinity, lose no digits.
//
// A span is written as a curve of u = 2f - 1 in [-1, 1] (f the span's bulge parameter):
//     X(u) = O + [h b (1 - u^2) m + h (1 + b^2) u e] / D(u),   D(u) = 1 + b^2 u^2,
// with O the chord's midpoint, e the unit chord direction, h the half chord, m the unit vector square to the
// chord towards the arc's mid point and b = tan(sweep / 4) >= 0 (0: straight). Every squared distance or
// coordinate of X(u) is then a polynomial in u over a power of D.

#include "arcline/platform/giBox3.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector3.h"

#include <array>
#include <vector>

class velSpanSolver {
public:
    // Polynomials of degree up to 5: c[i] is the coefficient of x^i.
    static constexpr int max_degree = 5;
    using Poly = std::array<double, max_degree + 1>;
    using Roots = std::array<double, max_degree + 1>;

    // One span in the form above.
    struct Curve {
        giPoint3 O;
        giVector3 e, m;
        double h = 0.0, b = 0.0;

        double den(double u) const { return 1.0 + b * b * u * u; }
        giPoint3 at(double u) const {
            if (h == 0.0) return O;
            return O + (m * (h * b * (1.0 - u * u)) + e * (h * (1.0 + b * b) * u)) / den(u);
        }
        // W(u) = (X(u) - P) D(u) = A[0] + A[1] u + A[2] u^2.
        void numerator(const giPoint3& P, giVector3 A[3]) const {
            const giVector3 w = O - P;
            A[0] = w + m * (h * b);
            A[1] = e * (h * (1.0 + b * b));
            A[2] = w * (b * b) - m * (h * b);
        }
    };

    // A point, a line, a ray or a segment: P + lambda d for lambda in [lo, hi] (infinite bounds allowed),
    // d a unit vector, or zero with lo = hi = 0 for the point P itself.
    struct Feature {
        giPoint3 P;
        giVector3 d;
        double lo = 0.0, hi = 0.0;

        double distance_squared(const giPoint3& X) const;
        static Feature point(const giPoint3& P) { return {P, giVector3(), 0.0, 0.0}; }
    };

    // The span from S to E, straight when `mid` is null, else the arc through *mid. An arc whose chord is
    // at most `zero_chord` long is a point, its start; a mid point on the chord leaves a straight span.
    static Curve curve(const giPoint3& S, const giPoint3& E, const giPoint3* mid, double zero_chord);
    // The span fraction of u.
    static double fraction(double u) { return 0.5 * (u + 1.0); }

    static double value(const Poly& c, int n, double x);
    // Real roots of c (degree n) in [lo, hi], ascending. The range is cut into pieces on which c is
    // monotone (at the roots of its derivative, found the same way), and each piece whose ends differ in
    // sign holds one root, found by bisection to the last bit. A root at which c only touches zero is found
    // when it falls exactly on a piece end; other tangencies are not reported.
    static int roots(const Poly& c, int n, double lo, double hi, Roots& out);
    // Roots in [lo, hi] of the derivative of N(u) / D(u)^k (N of degree n <= 4): where that ratio can have
    // its extremes.
    static int rational_extremes(const Poly& N, int n, double b, int k, double lo, double hi, Roots& out);
    // |B[0] + B[1] u + B[2] u^2|^2.
    static Poly squared_norm(const giVector3 B[3]);

    // The nearest point of the curve on [u0, u1] to the feature: returns its squared distance and sets u.
    // A candidate replaces the best only when strictly nearer, so the first of equal ones wins.
    static double nearest(const Curve& c, double u0, double u1, const Feature& f, double& u);
    // The nearest point of an arc (b > 0) on the fractions [f0, f1] to P, found in the arc's own plane by
    // the bulge-form distance routine: returns its squared distance in space and sets the fraction f.
    static double nearest_on_arc(const Curve& c, double f0, double f1, const giPoint3& P, double& f);
    // Parameter ranges [u0, u1] of the curve inside the box, in order; a touching point is a range of one
    // point.
    static std::vector<std::array<double, 2>> ranges_in_box(const Curve& c, const giBox3& box);

private:
    velSpanSolver() = default;
};
