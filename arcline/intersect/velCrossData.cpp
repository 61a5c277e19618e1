#include "arcline/intersect/velCrossData.h"

velCrossData::velCrossData(int count) {
    m_crossings.reserve(count);
}

int velCrossData::closed(const velPolylineListIter& iter, int index) const {
    return m_closure_function != nullptr ? m_closure_function(iter, index, m_closure_data) : 1;
}

void velCrossData::enable_box_cache() {
    if (!m_box_cache) m_box_cache = std::make_unique<velPolyarcline2dBoxCache>();
}
