#include "arcline/polyutils/velMarkedFragments.h"

UT_IMPLEMENT_TYPE_ID(velMarkedFragments, velAbstractFragments, velAbstractFragments)

namespace {
int mark_of(const velAbstractFragments& f, int position) {
    const velMarkedFragments* m = velMarkedFragments::ut_dynamic_cast(&f);
    if (!m) return velMarkedFragments::no_mark;
    return position % 2 == 0 ? m->start_mark(position / 2) : m->end_mark(position / 2);
}
} // namespace

void velMarkedFragments::reset() {
    velAbstractFragments::reset();
    m_marks.clear();
}

void velMarkedFragments::set_start(int k, double value, int mark) {
    const std::size_t i = 2 * static_cast<std::size_t>(k);
    if (i >= m_values.size()) m_values.resize(i + 2, value);
    sync_marks();
    m_values[i] = value;
    m_marks[i] = mark;
}

void velMarkedFragments::set_end(int k, double value, int mark) {
    const std::size_t i = 2 * static_cast<std::size_t>(k) + 1;
    if (i >= m_values.size()) m_values.resize(i + 1, value);
    sync_marks();
    m_values[i] = value;
    m_marks[i] = mark;
}

void velMarkedFragments::copy_start_from_fragment(int k, const velAbstractFragments& other, int j) {
    set_start(k, other.start(j), mark_of(other, 2 * j));
}

void velMarkedFragments::copy_end_from_fragment(int k, const velAbstractFragments& other, int j) {
    set_end(k, other.end(j), mark_of(other, 2 * j + 1));
}

void velMarkedFragments::append_from(const velAbstractFragments& a, int ia, const velAbstractFragments& b,
                                     int ib) {
    const int before = num_fragments();
    velAbstractFragments::append_from(a, ia, b, ib);
    sync_marks();
    if (num_fragments() > before) m_marks[m_marks.size() - 2] = mark_of(a, 2 * ia);
    // A joined or new fragment ends where b's fragment ends, unless the old end reached further.
    if (m_values.back() == b.end(ib)) m_marks.back() = mark_of(b, 2 * ib + 1);
}
