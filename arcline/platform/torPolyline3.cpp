#include "arcline/platform/torPolyline3.h"

#include <algorithm>
#include <cmath>

void torPolyline3::transform(const giXform3& xf) {
    for (giPoint3& p : m_points)
        p = xf * p;
}

giPoint3 torPolyline3::evaluate(double t) const {
    const int n = num_pos();
    if (n == 0) return {};
    t = std::clamp(t, 0.0, end_param());
    const int i = std::min(static_cast<int>(t), n - 2);
    if (i < 0) return m_points.front();
    return get_pos(i).interpolate(get_pos(i + 1), t - i);
}

void torPolyline3::polygon_params(double lo, double hi, double, std::vector<double>& params) const {
    params.push_back(lo);
    for (double k = std::floor(lo) + 1.0; k < hi; k += 1.0)
        params.push_back(k);
    params.push_back(hi);
}
