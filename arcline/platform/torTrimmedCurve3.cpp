#include "arcline/platform/torTrimmedCurve3.h"

#include <algorithm>
#include <utility>

torTrimmedCurve3::torTrimmedCurve3(std::shared_ptr<const torCurve3> base, double a, double b)
    : m_base(std::move(base)), m_a(a), m_b(b), m_sign(a <= b ? 1.0 : -1.0) {}

giPoint3 torTrimmedCurve3::evaluate(double s) const {
    const double lo = std::min(m_a, m_b), hi = std::max(m_a, m_b);
    return m_base->evaluate(std::clamp(m_sign * s, lo, hi));
}

torCurvePtr3 torTrimmedCurve3::subcurve(double s0, double s1) const {
    return m_base->subcurve(m_sign * s0, m_sign * s1);
}

void torTrimmedCurve3::polygon_params(double lo, double hi, double tol, std::vector<double>& params) const {
    const std::size_t first = params.size();
    m_base->polygon_params(std::min(m_sign * lo, m_sign * hi), std::max(m_sign * lo, m_sign * hi), tol,
                           params);
    if (m_sign > 0.0) return;
    for (std::size_t k = first; k < params.size(); ++k)
        params[k] = -params[k];
    std::reverse(params.begin() + static_cast<std::ptrdiff_t>(first), params.end());
}
