#pragma once
// A curve of the plane over a parameter range; only what the point-array curve torPolyline2 needs.

#include "arcline/platform/giPoint2.h"

class torCurve2 {
public:
    virtual ~torCurve2() = default;
    // The parameter range; start_param() <= end_param().
    virtual double start_param() const = 0;
    virtual double end_param() const = 0;
    // The point at parameter t; t outside the range gives the nearer end.
    virtual giPoint2 evaluate(double t) const = 0;

protected:
    torCurve2() = default;
    torCurve2(const torCurve2&) = default;
    torCurve2& operator=(const torCurve2&) = default;
};
