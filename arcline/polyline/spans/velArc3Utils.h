#pragma once
// Arcs in space in three-point form: start S, mid M (the point halfway along the arc) and end E.

#include "arcline/platform/giBox3.h"
#include "arcline/platform/giLength.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector3.h"

class velArc3Utils {
public:
    // Length of the arc; a sagitta below 1e-5 gives the chord length.
    static double arc_length(const giPoint3& S, const giPoint3& M, const giPoint3& E);
    // Bulge b = |sagitta| / |half chord|, negative when the mid point lies to the left of the chord seen
    // from +Z (only the z component of the turn decides). 0 when either length is 0.
    static double bulge(const giPoint3& S, const giPoint3& E, const giPoint3& M);
    // Circumcentre of the three points and its distance; collinear points give the chord midpoint and 0.
    static void get_centre_and_radius(const giPoint3& S, const giPoint3& E, const giPoint3& M,
                                      giPoint3& centre, double& radius);
    // P moved along the chord direction onto the bisecting plane of S and E.
    static giPoint3 circular_midpoint(const giPoint3& S, const giPoint3& P, const giPoint3& E);
    // Mid point of the arc of radius r about C from S to E on the side n x (E - S) of the chord (the arc
    // turning clockwise about n). A chord shorter than 1e-5 returns the chord midpoint.
    static giPoint3 circular_midpoint(double r, const giPoint3& C, const giPoint3& S, const giPoint3& E,
                                      const giVector3& n);
    static giLength distance_from_chord_mid_point(const giPoint3& P, const giPoint3& S, const giPoint3& E);
    // Bulge parameter, in [0, 1], of the point at the fraction f of the arc's length.
    static double distance_fraction_to_parameter(const giPoint3& S, const giPoint3& M, const giPoint3& E,
                                                 double f);
    // True when S and E coincide within tol or M lies within tol of the line through them.
    static bool is_linear(const giPoint3& S, const giPoint3& M, const giPoint3& E, double tol);
    // Box of the arc, its extreme points included.
    static giBox3 bbox(const giPoint3& S, const giPoint3& E, const giPoint3& M);

private:
    velArc3Utils() = default;
};
