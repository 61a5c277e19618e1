#pragma once
// Polygonization of a curve within a chordal tolerance: the points of a polygon whose every chord keeps
// within the tolerance of the curve between its ends, and the curve parameters of those points, from the
// start of the curve to its end.

#include "arcline/platform/giPoint3.h"
#include "arcline/platform/torCurve3.h"

#include <vector>

class torPolygonizeTRP3 {
public:
    // Fills `points` and `params` (cleared first) with the polygon of c: at least two points, the first at
    // start_param() and the last at end_param(), every point c.evaluate() of its parameter.
    static void polygonize(const torCurve3& c, double tol, std::vector<giPoint3>& points,
                           std::vector<double>& params);

private:
    torPolygonizeTRP3() = default;
};
