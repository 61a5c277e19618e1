#pragma once
// A curve of space over a parameter range: the small part of a curve kernel that the curve-list iterators
// and the curve-remembering polyline need. Curves are immutable once shared, except the point-array curves
// (torPolyline3) that cursors fill.
//
// Every curve is held by a torCurvePtr3 (make it with std::make_shared): subcurve() shares the curve it
// trims, and asking it of a curve that no shared pointer holds is a programming error
// (std::bad_weak_ptr).

#include "arcline/platform/giPoint3.h"
#include "arcline/platform/torCurvePtr3.h"

#include <memory>
#include <vector>

class torCurve3 : public std::enable_shared_from_this<torCurve3> {
public:
    virtual ~torCurve3() = default;

    // The parameter range; start_param() <= end_param().
    virtual double start_param() const = 0;
    virtual double end_param() const = 0;
    // The point at parameter t; t outside the range gives the nearer end.
    virtual giPoint3 evaluate(double t) const = 0;

    giPoint3 start() const { return evaluate(start_param()); }
    giPoint3 end() const { return evaluate(end_param()); }

    // The piece from t0 to t1, sharing this curve; t0 > t1 gives the piece reversed (it starts at the point
    // of t0). The piece has parameters of its own; see torTrimmedCurve3.
    virtual torCurvePtr3 subcurve(double t0, double t1) const;

    // Appends to `params` the parameters of a polygon of the piece lo..hi (lo < hi): increasing, lo first
    // and hi last, every chord within `tol` of the curve between its ends. torPolygonizeTRP3 is the way in.
    virtual void polygon_params(double lo, double hi, double tol, std::vector<double>& params) const = 0;

protected:
    torCurve3() = default;
    torCurve3(const torCurve3&) = default;
    torCurve3& operator=(const torCurve3&) = default;
};
