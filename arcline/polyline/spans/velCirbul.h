#pragma once
// Plane geometry of one span in bulge form: start P0, end P1 and bulge b = tan(sweep / 4), anticlockwise
// positive; b = 0 is a straight span. Points are plain arrays of two doubles (x, y) and every result comes
// back through out-parameters, so that the routines can run on raw coordinate buffers.
//
// Parameters: t = 0 at P0, t = 1 at P1, t = 0.5 at the arc's mid point; values outside [0, 1] reach the rest
// of the circle and tend to the point opposite the mid point as t goes to +-infinity. The `_g` variants
// restrict the arc to a parameter range [t0, t1].

#include "arcline/polyline/velTolerances.h"

class velCirbul {
public:
    // Most points reported by cbincb_g: two for crossing supports, four ends of shared stretches for two
    // arcs of one circle that together turn more than a full circle.
    static constexpr int max_intersections = 4;

    // Mid point of the arc: C0 + (b / 2) * (d.y, -d.x), right of the chord for b > 0.
    static void cbbump(const double P0[2], const double P1[2], double b, double mid[2]);
    // Centre and signed radius (positive anticlockwise). A zero chord or a zero bulge gives radius 0 and the
    // chord midpoint as centre.
    static void cbbucr(const double P0[2], const double P1[2], double b, double centre[2], double& radius);
    // Signed area between the chord and the arc (sign of b).
    static void cbbuar(const double P0[2], const double P1[2], double b, double& area);
    // Bulge of the arc through mid point M (the inverse of cbbump); 0 when P0 = P1.
    static void cbmpbu(const double P0[2], const double P1[2], const double M[2], double& b);
    // Bulge of the minor arc of radius R (signed like R): the first root in [0, 1] of h x^2 - 2|R| x + h
    // (h the half chord). 0 when the chord is longer than the diameter (h > |R|, decided before the solver
    // and its slack), and 1 for a chord equal to it.
    static void cbrabu(const double P0[2], const double P1[2], double R, double& b);

    // Position at t: t <= 0 gives P0, t >= 1 gives P1, t = 0.5 the mid point.
    static void cbpapo(const double P0[2], const double P1[2], double b, double t, double pos[2]);
    // Position at t clamped to [t0, t1], computed from P0 (exact at the start, stable for small b).
    static void cbpapo_g(const double P0[2], const double P1[2], double b, double t0, double t1, double t,
                         double pos[2]);
    // Unit tangent at t (t <= 0: start tangent; t >= 1: end tangent; t = 0.5: chord direction).
    static void cbpata(const double P0[2], const double P1[2], double b, double t, double tan[2]);
    // Unit tangent at t; a zero vector (zero chord) is left unnormalized.
    static void cbpata_g(const double P0[2], const double P1[2], double b, double t0, double t1, double t,
                         double tan[2]);
    // The parameters in [0, 1] where the tangent is parallel to (ex, ey): count 0 to 2, unused slots -1.
    // With two, the one whose tangent points along the direction comes first.
    static void cbtapa_g(const double P0[2], const double P1[2], double b, double ex, double ey, int& count,
                         double t[2]);
    // Bulge of the sub-arc between parameters t0 and t1.
    static void cbsebu(const double P0[2], const double P1[2], double b, double t0, double t1, double& bulge);

    // Distance from `point` to the arc restricted to [t0, t1], the parameter of the nearest point and the
    // nearest point. A nearest point within `tol` of a range end is taken at that end.
    static void cbdspt_g(const double P0[2], const double P1[2], double b, double t0, double t1,
                         const double point[2], double tol, double& distance, double& t, double nearest[2]);

    // Intersections of span a restricted to [t0a, t1a] with span b restricted to [t0b, t1b] (either may be
    // straight). `tol` is the distance within which the spans count as touching, and within which a point
    // near a range end is taken at that end. Reports `count` points with their parameters on both spans,
    // ordered by the parameter on span a. When the spans lie on one line or one circle (`coincident` = 1),
    // the points are the ends of their shared stretches. A zero-chord span is a point.
    static void cbincb_g(const double P0a[2], const double P1a[2], double ba, double t0a, double t1a,
                         const double P0b[2], const double P1b[2], double bb, double t0b, double t1b,
                         double tol, int& count, double ta[max_intersections], double tb[max_intersections],
                         double points[max_intersections][2], int& coincident);
    // Intersection of segments AB and CD: count 1 with the parameters on both, 0 when they miss, -1 when
    // they overlap along a stretch.
    static void liinli(const double A[2], const double B[2], const double C[2], const double D[2], int& count,
                       double& s, double& t);

    // Position, tangent and parameter by the closed formulas of the bulge parameterization.
    static void arc_evaluate_position(const double P0[2], const double P1[2], double b, double t,
                                      double pos[2]);
    static void arc_evaluate_tangent(const double P0[2], const double P1[2], double b, double t,
                                     double tan[2]);
    // The parameter of a point of the circle. For a point off the circle it is the parameter of the circle
    // point on the line through it and the point opposite the mid point.
    static double arc_evaluate_parameter(const double P0[2], const double P1[2], double b, const double Q[2]);
    // Intersections of two whole spans ([0, 1] on both) within the default tolerance: count and parameters.
    static void arc_arc_intersection(const double P0a[2], const double P1a[2], double ba, const double P0b[2],
                                     const double P1b[2], double bb, int& count, double ta[max_intersections],
                                     double tb[max_intersections]);

    // Real roots of a*x^2 + b*x + c: the library's quadratic solver (velSpanSolver::roots brackets the
    // roots of higher polynomials within a range). Signs are taken as for a positive a. Count 0, 1 (root in
    // both slots), 2 (smaller first), -1 when no x solves it, and 2147483647 when every x does.
    // Coefficients below velTol::formula_zero (1e-15) count as zero: a and b zero give -1 or, with c zero
    // too, 2147483647; a zero gives the linear root; b zero the roots +-sqrt(-c / a) or none; c zero the
    // roots 0 and -b / a.
    // Slack: a negative discriminant b^2 - 4ac down to -max(1e-15, velTol::discriminant_slack * b^2)
    // (1e-5 b^2) counts as zero, a double root given twice: two roots that rounding pushed apart into the
    // complex plane stay a touch. The slack is relative to b^2 only above that floor, so callers that
    // must tell a near miss from a touch (a chord just longer than a diameter) decide it themselves first.
    // Each root comes from the ordinary formula or the reciprocal form c / q, whichever leaves the smaller
    // residual.
    static void roots_of_quadratic(double a, double b, double c, int& count, double roots[2]);

    // Default touching distance of the intersection routines.
    static constexpr double intersection_tol = velTol::touching;

protected:
    velCirbul() = default;
};
