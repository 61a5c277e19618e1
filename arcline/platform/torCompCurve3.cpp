#include "arcline/platform/torCompCurve3.h"

#include <algorithm>

torCompCurve3::torCompCurve3(const std::vector<torCurvePtr3>& parts) {
    for (const torCurvePtr3& part : parts)
        append(part);
}

void torCompCurve3::append(const torCurvePtr3& part) {
    m_parts.push_back(part);
    m_starts.push_back(m_starts.back() + (part->end_param() - part->start_param()));
}

giPoint3 torCompCurve3::evaluate(double s) const {
    if (m_parts.empty()) return {};
    s = std::clamp(s, 0.0, end_param());
    // The last part starting at or before s.
    const auto at = std::upper_bound(m_starts.begin(), m_starts.end() - 1, s);
    const std::size_t k = static_cast<std::size_t>(std::max<std::ptrdiff_t>(at - m_starts.begin() - 1, 0));
    const torCurve3& part = *m_parts[k];
    return part.evaluate(part.start_param() + (s - m_starts[k]));
}

void torCompCurve3::polygon_params(double lo, double hi, double tol, std::vector<double>& params) const {
    const std::size_t first = params.size();
    std::vector<double> local;
    for (std::size_t k = 0; k < m_parts.size(); ++k) {
        const double a = std::max(lo, m_starts[k]), b = std::min(hi, m_starts[k + 1]);
        if (!(a < b)) continue;
        const torCurve3& part = *m_parts[k];
        const double shift = part.start_param() - m_starts[k];
        local.clear();
        part.polygon_params(a + shift, b + shift, tol, local);
        // Exact ends; a joint is written once.
        local.front() = a;
        local.back() = b;
        const std::size_t from = params.size() > first ? 1 : 0;
        for (std::size_t j = from; j < local.size(); ++j)
            params.push_back(j == 0 || j + 1 == local.size() ? local[j] : local[j] - shift);
    }
    if (params.size() == first) {
        params.push_back(lo);
        params.push_back(hi);
    }
}
