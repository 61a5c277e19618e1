#include "arcline/platform/torArc3.h"

#include "arcline/platform/torArc3Utils.h"

#include <algorithm>
#include <cmath>

// In torArc3Utils' parametrisation the point at t lies at the centre angle phi(t) = 2 atan((2t - 1) b) from
// the mid point, b the bulge: equal steps of angle are equal sagittas, and t(phi) = (tan(phi / 2) / b + 1) /
// 2 takes them back to parameters.
namespace {
double angle_at(double t, double b) {
    return 2.0 * std::atan((2.0 * t - 1.0) * b);
}
double param_at(double phi, double b) {
    return 0.5 * (std::tan(0.5 * phi) / b + 1.0);
}
} // namespace

torArc3::torArc3(const giPoint3& S, const giPoint3& M, const giPoint3& E) : m_s(S), m_m(M), m_e(E) {
    giVector3 chord = E - S;
    const double half = 0.5 * chord.unitize();
    if (half == 0.0) return;
    giVector3 sag = M - S.interpolate(E, 0.5);
    sag = sag - chord * sag.dot(chord);
    const double s = sag.length();
    if (s == 0.0) return;
    m_bulge = s / half;
    m_radius = half * (1.0 + m_bulge * m_bulge) / (2.0 * m_bulge);
}

giPoint3 torArc3::evaluate(double t) const {
    return torArc3Utils::evaluate(m_s, m_m, m_e, std::clamp(t, 0.0, 1.0));
}

void torArc3::polygon_params(double lo, double hi, double tol, std::vector<double>& params) const {
    params.push_back(lo);
    if (m_bulge > 0.0) {
        // A chord of centre angle d leaves the arc by R (1 - cos(d / 2)) = 2 R sin^2(d / 4).
        const double q = std::max(tol, min_chordal_tol) / (2.0 * m_radius);
        const double step = 4.0 * std::asin(std::sqrt(std::min(q, 1.0)));
        const double a0 = angle_at(lo, m_bulge), a1 = angle_at(hi, m_bulge);
        const int n = std::max(1, static_cast<int>(std::ceil((a1 - a0) / step)));
        for (int k = 1; k < n; ++k)
            params.push_back(param_at(a0 + (a1 - a0) * k / n, m_bulge));
    }
    params.push_back(hi);
}
