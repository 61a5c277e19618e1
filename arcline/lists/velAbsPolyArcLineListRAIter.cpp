#include "arcline/lists/velAbsPolyArcLineListRAIter.h"

UT_IMPLEMENT_TYPE_ID(velAbsPolyArcLineListRAIter, velPolylineListIter, velPolylineListIter)

namespace {
// Pages of 2^8 addresses, 16 page slots to begin with.
constexpr int page_factor = 8;
constexpr int initial_pages = 16;
} // namespace

velAbsPolyArcLineListRAIter::velAbsPolyArcLineListRAIter(
    const velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator& it)
    : m_polylines(page_factor, initial_pages) {
    collect(it);
}

velAbsPolyArcLineListRAIter::velAbsPolyArcLineListRAIter(const velAbsPolyArcLinecoDListPrgcoPrgcoDList& list)
    : m_polylines(page_factor, initial_pages) {
    collect(velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator(list));
}

void velAbsPolyArcLineListRAIter::collect(velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator it) {
    while (++it)
        m_polylines.append(it.current().get());
}

int velAbsPolyArcLineListRAIter::operator++() {
    set_index(m_index + 1 < size() ? m_index + 1 : -1);
    return m_index >= 0;
}

void velAbsPolyArcLineListRAIter::set_index(int k) {
    m_index = k;
    m_current = k >= 0 && k < size() ? m_polylines.read(k) : nullptr;
}
