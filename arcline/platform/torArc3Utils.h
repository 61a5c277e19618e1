#pragma once
// Evaluation of an arc in space given by three points: start S, mid M (halfway along the arc) and end E.
// The arc is addressed by the bulge parameter of its own plane: t = 0 at S, 0.5 at M, 1 at E, so that a
// parameter found in bulge form (for a fraction of the length, say) lands on the same point here.

#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector3.h"

class torArc3Utils {
public:
    // The point at parameter t. Collinear points give the point of the chord S + t (E - S); coincident ends
    // give S.
    static giPoint3 evaluate(const giPoint3& S, const giPoint3& M, const giPoint3& E, double t);
    // Derivative of the given order (0 to 2) of the position with respect to t; order 0 is the position as
    // a vector from the origin, other orders give the zero vector. A straight span has derivative E - S.
    static giVector3 derivative(const giPoint3& S, const giPoint3& M, const giPoint3& E, int order, double t);

private:
    torArc3Utils() = default;
};
