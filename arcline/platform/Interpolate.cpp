#include "arcline/platform/Interpolate.h"

#include "arcline/platform/torArc3Utils.h"

#include <algorithm>
#include <cmath>

Interpolate::Interpolate(double tol, int mode) : m_tol(tol), m_mode(mode) {}

int Interpolate::chord_count(double radius, double sweep) const {
    sweep = std::fabs(sweep);
    radius = std::fabs(radius);
    int n = 1;
    if (sweep > 0.0 && radius > 0.0) {
        if (!(m_tol > 0.0)) {
            n = max_chords;
        } else if (m_tol < 2.0 * radius) {
            // A chord of angle phi has sagitta R (1 - cos(phi / 2)) = 2 R sin^2(phi / 4).
            const double phi = 4.0 * std::asin(std::sqrt(m_tol / (2.0 * radius)));
            // A hair below an integer is that integer: rounding must not add a chord.
            const double want = sweep / phi;
            n = want >= static_cast<double>(max_chords)
                    ? max_chords
                    : std::max(1, static_cast<int>(std::ceil(want - 1e-9)));
        }
    }
    return std::max(n, m_mode);
}

int Interpolate::arc(const giPoint3& S, const giPoint3& M, const giPoint3& E, double fraction) {
    m_s = S;
    m_m = M;
    m_e = E;
    m_fraction = std::clamp(fraction, 0.0, 1.0);
    m_next = 0;
    const double h = 0.5 * S.distance(E);
    giVector3 sag = M - S.interpolate(E, 0.5);
    if (h > 0.0) {
        giVector3 x = E - S;
        x.unitize();
        sag = sag - x * sag.dot(x);
    }
    const double m = sag.length();
    if (h == 0.0 || m == 0.0) {
        m_b = 0.0;
        m_count = std::max(1, m_mode);
        return m_count;
    }
    m_b = m / h;
    const double radius = h * (1.0 + m_b * m_b) / (2.0 * m_b);
    const double sweep = 4.0 * std::atan(m_b) * m_fraction;
    m_count = chord_count(radius, sweep);
    return m_count;
}

giPoint3 Interpolate::point(int j) const {
    if (j == 0) return m_s;
    if (j == m_count && m_fraction == 1.0) return m_e;
    if (m_b == 0.0) return m_s.interpolate(m_e, m_fraction * j / m_count);
    // Equal angles: the point at angle alpha from the start is at 2 atan(u b) = alpha - sweep / 2 from the
    // mid point.
    const double half = 2.0 * std::atan(m_b);
    const double alpha = 2.0 * half * m_fraction * j / m_count;
    const double u = std::tan(0.5 * (alpha - half)) / m_b;
    return torArc3Utils::evaluate(m_s, m_m, m_e, 0.5 * (u + 1.0));
}

int Interpolate::read_line(giPoint3& a, giPoint3& b) {
    if (m_next >= m_count) return 0;
    a = point(m_next);
    b = point(m_next + 1);
    ++m_next;
    return 1;
}
