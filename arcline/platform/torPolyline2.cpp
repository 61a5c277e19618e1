#include "arcline/platform/torPolyline2.h"

#include <algorithm>

giPoint2 torPolyline2::evaluate(double t) const {
    const int n = num_pos();
    if (n == 0) return {};
    t = std::clamp(t, 0.0, end_param());
    const int i = std::min(static_cast<int>(t), n - 2);
    if (i < 0) return m_points.front();
    return get_pos(i).interpolate(get_pos(i + 1), t - i);
}
