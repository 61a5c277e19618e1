#include "arcline/platform/torPolygonizeTRP3.h"

void torPolygonizeTRP3::polygonize(const torCurve3& c, double tol, std::vector<giPoint3>& points,
                                   std::vector<double>& params) {
    params.clear();
    points.clear();
    const double lo = c.start_param(), hi = c.end_param();
    if (lo < hi) {
        c.polygon_params(lo, hi, tol, params);
    } else {
        // A curve of one point.
        params = {lo, hi};
    }
    points.reserve(params.size());
    for (double t : params)
        points.push_back(c.evaluate(t));
}
