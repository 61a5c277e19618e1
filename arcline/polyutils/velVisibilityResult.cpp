#include "arcline/polyutils/velVisibilityResult.h"

void velVisibilityResult::initialize(int n, const int* blocked) {
    m_n = n < 0 ? 0 : n;
    m_blocked = blocked;
    m_visible.assign(at(m_n), -1);
    m_confidence.assign(at(m_n), 0.0);
    m_t.assign(at(m_n), -DBL_MAX);
    m_known = 0;
    for (int i = 0; i < m_n; ++i)
        if (this->blocked(i)) ++m_known;
}

void velVisibilityResult::reset() {
    m_n = 0;
    m_blocked = nullptr;
    m_visible.clear();
    m_confidence.clear();
    m_t.clear();
    m_known = 0;
}

void velVisibilityResult::set_visibility(int i, int visible, double t, double confidence) {
    if (i < 0 || i >= m_n || blocked(i)) return;
    if (visibility_defined(i) && visibility_certain(i)) return;
    if (!(confidence > m_confidence[at(i)])) return;
    m_visible[at(i)] = visible;
    m_t[at(i)] = t;
    m_confidence[at(i)] = confidence;
    if (confidence > certain_confidence) ++m_known;
}
