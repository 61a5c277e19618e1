#pragma once
// The intersections of two spans of a BSP run, each restricted to a part [u0, u1] of its bulge parameter:
// the kernel of the intersector's hot loops. Clear cases are decided here from the spans' lines and circles
// (a crossing well inside both parts, or a miss by a clear margin); everything near a part's end, a
// tangency, parallel or concentric supports, and arcs too flat for their circle to be computed well goes to
// the general routine (velCirbul::cbincb_g with the touching distance `tol`), so that the answer is always
// that routine's where the two could differ.

#include "arcline/intersect/velBSPRun.h"
#include "arcline/polyline/spans/velCirbul.h"

struct velBSPSpanHits {
    int count = 0;
    int coincident = 0;
    double ta[velCirbul::max_intersections];
    double tb[velCirbul::max_intersections];
    double pts[velCirbul::max_intersections][2];
};

class velBSPSpanPair {
public:
    // Span ka of polyline pa over [ua0, ua1] against span kb of pb over [ub0, ub1].
    static void intersect(const velBSPRun& run, int pa, int ka, double ua0, double ua1, int pb, int kb,
                          double ub0, double ub1, double tol, velBSPSpanHits& out);

    // The distance from (px, py) to span k of `poly` over [u0, u1], with the parameter and the point of the
    // nearest place. Returns false, computing nothing, when the point is clearly farther than `reach` from
    // the span's circle (arcs); straight spans are measured exactly, everything else by the general routine.
    static bool distance(const velBSPRun& run, int poly, int k, double u0, double u1, double px, double py,
                         double reach, double& d, double& t, double nearest[2]);

protected:
    velBSPSpanPair() = default;
};
