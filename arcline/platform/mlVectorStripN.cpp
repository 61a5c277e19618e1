#include "arcline/platform/mlVectorStripN.h"

#include <algorithm>

mlVectorStripN::mlVectorStripN(int dimension, double tol) : m_dim(std::max(1, dimension)), m_tol(tol) {}

double mlVectorStripN::distance_squared_to_chord(std::size_t a, const double* q) const {
    const auto dim = static_cast<std::size_t>(m_dim);
    const double* s = m_run.data();
    const double* p = m_run.data() + a * dim;
    double dd = 0.0, dw = 0.0;
    for (std::size_t i = 0; i < dim; ++i) {
        const double d = q[i] - s[i];
        dd += d * d;
        dw += d * (p[i] - s[i]);
    }
    // Zero chord: the distance to the anchor itself.
    const double u = dd > 0.0 ? std::clamp(dw / dd, 0.0, 1.0) : 0.0;
    double e2 = 0.0;
    for (std::size_t i = 0; i < dim; ++i) {
        const double e = p[i] - (s[i] + u * (q[i] - s[i]));
        e2 += e * e;
    }
    return e2;
}

int mlVectorStripN::keep_last() {
    const auto dim = static_cast<std::ptrdiff_t>(m_dim);
    m_run.erase(m_run.begin(), m_run.end() - dim);
    m_anchor_number = m_fed - 1;
    return m_anchor_number;
}

int mlVectorStripN::add(const double* p) {
    const auto dim = static_cast<std::size_t>(m_dim);
    if (m_fed == 0) {
        m_run.assign(p, p + dim);
        m_fed = 1;
        m_anchor_number = 0;
        return 0;
    }
    const std::size_t points = m_run.size() / dim;
    bool continues = points < static_cast<std::size_t>(max_run);
    const double tol2 = m_tol * m_tol;
    for (std::size_t a = 1; continues && a < points; ++a)
        continues = distance_squared_to_chord(a, p) <= tol2;
    int kept = -1;
    if (!continues) kept = keep_last();
    m_run.insert(m_run.end(), p, p + dim);
    ++m_fed;
    return kept;
}

int mlVectorStripN::flush() {
    if (m_fed == 0 || m_anchor_number == m_fed - 1) return -1;
    return keep_last();
}

void mlVectorStripN::restart() {
    m_run.clear();
    m_fed = 0;
    m_anchor_number = -1;
}
