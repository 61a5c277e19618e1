#include "arcline/lists/velAbsPolyArcLineListIter.h"

#include "arcline/polyline/contour/velPolyArcLineAdapter.h"

UT_IMPLEMENT_TYPE_ID(velAbsPolyArcLineListIter, velPolylineListIter, velPolylineListIter)

velAbsPolyArcLineListIter::velAbsPolyArcLineListIter(const velAbsPolyArcLinecoDListPrgcoPrgcoDList& list)
    : m_it(list) {}

velAbsPolyArcLineListIter::velAbsPolyArcLineListIter(
    const velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator& it)
    : m_it(it) {
    update_current();
}

void velAbsPolyArcLineListIter::reset() {
    m_it.reset();
    m_current = nullptr;
}

int velAbsPolyArcLineListIter::operator++() {
    const int more = ++m_it;
    update_current();
    return more;
}

void velAbsPolyArcLineListIter::set_index(int k) {
    m_it.set_index(k);
    update_current();
}

void velAbsPolyArcLineListIter::become(const velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor& c) {
    m_it.become(c);
    update_current();
}

int velAbsPolyArcLineListIter::check_arc_spans() const {
    if (m_arcs_allowed) return 1;
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator walker(m_it);
    walker.reset();
    while (++walker) {
        const velAbsPolyArcLine& p = *walker.current();
        for (int i = 1; i < p.num_pos(); ++i)
            if (!p.span_linear(i)) return 0;
    }
    return 1;
}

velAbsContourcoPrf velAbsPolyArcLineListIter::get_current() {
    if (m_it.index() < 0) return {};
    return std::make_shared<velPolyArcLineAdapter>(m_it.current(), 1);
}
