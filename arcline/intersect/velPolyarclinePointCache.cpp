#include "arcline/intersect/velPolyarclinePointCache.h"

void velPolyarclinePointCache::cache_points(velPolylineListIter& iter) {
    m_first.assign(1, 0);
    m_points.clear();
    m_bulges.clear();
    const int was = iter.index();
    iter.reset();
    while (++iter) {
        const int n = iter.num_pos();
        for (int j = 0; j < n; ++j) {
            m_points.push_back(iter.get_pos(j));
            m_bulges.push_back(j + 1 < n && !iter.span_linear(j) ? iter.get_bulge(j) : 0.0);
        }
        m_first.push_back(static_cast<int>(m_points.size()));
    }
    iter.set_index(was);
}
