#include "arcline/lists/velSegmentTrimmingArr.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numeric>

void velSegmentTrimmingArr::sort() const {
    if (static_cast<int>(m_sorted.size()) == m_items.size()) return;
    m_sorted.resize(static_cast<std::size_t>(m_items.size()));
    std::iota(m_sorted.begin(), m_sorted.end(), 0);
    std::stable_sort(m_sorted.begin(), m_sorted.end(), [this](int a, int b) {
        return m_items.read(a).tstart() + m_items.read(a).tend() <
               m_items.read(b).tstart() + m_items.read(b).tend();
    });
}

bool velSegmentTrimmingArr::search(double t, int& i) const {
    sort();
    for (int k = 0; k < static_cast<int>(m_sorted.size()); ++k) {
        const velSegmentTrimming& s = m_items.read(m_sorted[std::size_t(k)]);
        if (s.tend() >= t) {
            i = k;
            return t >= s.tstart();
        }
    }
    return false;
}

const velSegmentTrimming& velSegmentTrimmingArr::read_sorted(int i) const {
    sort();
    return m_items.read(m_sorted[std::size_t(i)]);
}

double velSegmentTrimmingArr::nearest_redundent_trimming(double t) const {
    double best = -DBL_MAX;
    for (double v : m_redundant) {
        if (best == -DBL_MAX || std::fabs(v - t) < std::fabs(best - t)) best = v;
    }
    return best;
}
