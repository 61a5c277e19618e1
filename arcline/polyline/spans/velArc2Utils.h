#pragma once
// Plane arcs in bulge form (start, end, bulge) measured and re-parameterised: angles, lengths, parameters at
// distances, sub-arcs, boxes and proximity tests.

#include "arcline/platform/giAngle.h"
#include "arcline/platform/giBox2.h"
#include "arcline/platform/giPoint2.h"

class velArc2Utils {
public:
    // Default of share_tangent_direction: tangents within the angle whose cosine is 1 - this point the same
    // way.
    static constexpr double default_cos_tol = 1e-9;

    // Swept angle 4 * atan(b), signed like b.
    static giAngle arc_angle(double b);
    // Length of an arc of chord length L and bulge b >= 0 (below 1e-5 the series (1 + 2b^2/3) * L).
    static double arc_length(double L, double b);
    // Bulge parameter of the point at arc length s from P0.
    static double parameter_at_distance(const giPoint2& P0, const giPoint2& P1, double b, double s);
    // Bulge of the sub-arc [t0, t1] (negated when t1 < t0).
    static double trimmed_bulge(double t0, double t1, double b);
    // Parameter of the mid point of the sub-arc [t0, t1].
    static double trimmed_mid_parameter(double t0, double t1, double b);
    // For the sub-arc [t0, t1] of an arc of bulge b on the chord (-1, 0)..(1, 0): the sub-arc's own
    // parameter t turned into the fraction (s - t0) / (t1 - t0) of the whole arc's parameter s.
    static double reparameterise(double t0, double t1, double b, double t);
    // As reparameterise, but the whole arc's parameter s itself, clamped to [0, 1].
    static double sub_arc_parameter(double t0, double t1, double b, double t);

    // Mid point of the arc about C from S to E in the given sense (a zero chord returns S).
    static giPoint2 arc_midpoint(const giPoint2& S, const giPoint2& E, const giPoint2& C, int clockwise);
    static giPoint2 clockwise_arc_midpoint(const giPoint2& S, const giPoint2& E, const giPoint2& C);
    static giPoint2 anticlockwise_arc_midpoint(const giPoint2& S, const giPoint2& E, const giPoint2& C);

    // Box of the arc: its ends and its extreme points in x and y.
    static void bounding_box(const giPoint2& P0, const giPoint2& P1, double b, giBox2& box);

    // 1 when the distance from `point` to the arc is below d.
    static int arc_closer_to_point_than(const giPoint2& P0, const giPoint2& P1, double b,
                                        const giPoint2& point, double d);
    // 1 when the two arcs come closer than d. `touching` is set to 1 when they meet (cross or touch within
    // 1e-10), else 0.
    static int arcs_closer_than(const giPoint2& P0a, const giPoint2& P1a, double ba, const giPoint2& P0b,
                                const giPoint2& P1b, double bb, double d, int& touching);
    // The parameter range [t0, t1] of arc a that holds every point of arc a closer than d to arc b. Returns 1
    // when there is such a point, else 0 (t0 = t1 = -1).
    static int portion_of_arcs_closer_than(const giPoint2& P0a, const giPoint2& P1a, double ba,
                                           const giPoint2& P0b, const giPoint2& P1b, double bb, double d,
                                           double& t0, double& t1);
    // 1 when the arcs have a common point (within tol) at which their tangents are parallel and point the
    // same way (within the angle whose cosine is 1 - cos_tol).
    static int share_tangent_direction(const giPoint2& P0a, const giPoint2& P1a, double ba,
                                       const giPoint2& P0b, const giPoint2& P1b, double bb, double tol,
                                       double cos_tol = default_cos_tol);

private:
    velArc2Utils() = default;
    // Least distance between two arcs with the parameters where it is reached.
    static double arcs_closer_than_solver(const giPoint2& P0a, const giPoint2& P1a, double ba,
                                          const giPoint2& P0b, const giPoint2& P1b, double bb, double& ta,
                                          double& tb);
};
