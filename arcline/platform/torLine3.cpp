#include "arcline/platform/torLine3.h"

#include <algorithm>

giPoint3 torLine3::evaluate(double t) const {
    return m_s.interpolate(m_e, std::clamp(t, 0.0, 1.0));
}

void torLine3::polygon_params(double lo, double hi, double, std::vector<double>& params) const {
    params.push_back(lo);
    params.push_back(hi);
}
