#include "arcline/lists/velAbsPolyArcLineItListIter.h"

#include "arcline/platform/itTransformIterator.h"

namespace {
// Presents a sequence of pointers of any kind as the polylines they point to.
struct dereference {
    template <class P>
    const velAbsPolyArcLine& operator()(const P& p) const {
        return *p;
    }
};

template <class P>
std::unique_ptr<itIterator<velAbsPolyArcLine>> polylines_of(const itIterator<P>& pointers) {
    return std::make_unique<itTransformIterator<velAbsPolyArcLine, P, dereference>>(pointers, dereference{});
}
} // namespace

velAbsPolyArcLineItListIter::velAbsPolyArcLineItListIter(const itIterator<velAbsPolyArcLine>& polylines)
    : m_sequence(polylines.clone()) {
    m_sequence->reset();
}

velAbsPolyArcLineItListIter::velAbsPolyArcLineItListIter(const itIterator<velAbsPolyArcLine*>& polylines)
    : m_sequence(polylines_of(polylines)) {
    m_sequence->reset();
}

velAbsPolyArcLineItListIter::velAbsPolyArcLineItListIter(
    const itIterator<const velAbsPolyArcLine*>& polylines)
    : m_sequence(polylines_of(polylines)) {
    m_sequence->reset();
}

velAbsPolyArcLineItListIter::velAbsPolyArcLineItListIter(
    const itIterator<std::shared_ptr<velAbsPolyArcLine>>& polylines)
    : m_sequence(polylines_of(polylines)) {
    m_sequence->reset();
}

velAbsPolyArcLineItListIter::velAbsPolyArcLineItListIter(
    const itIterator<std::unique_ptr<velAbsPolyArcLine>>& polylines)
    : m_sequence(polylines_of(polylines)) {
    m_sequence->reset();
}

velAbsPolyArcLineItListIter::velAbsPolyArcLineItListIter(const velAbsPolyArcLineItListIter& other)
    : velAbsPolyArcLineListIterBase(other), m_sequence(other.m_sequence->clone()), m_index(other.m_index),
      m_size(other.m_size) {
    m_current = m_index >= 0 ? &m_sequence->current() : nullptr;
}

velAbsPolyArcLineItListIter&
velAbsPolyArcLineItListIter::operator=(const velAbsPolyArcLineItListIter& other) {
    if (this != &other) {
        velAbsPolyArcLineListIterBase::operator=(other);
        m_sequence = other.m_sequence->clone();
        m_index = other.m_index;
        m_size = other.m_size;
        m_current = m_index >= 0 ? &m_sequence->current() : nullptr;
    }
    return *this;
}

int velAbsPolyArcLineItListIter::size() const {
    if (m_size < 0) {
        const std::unique_ptr<itIterator<velAbsPolyArcLine>> counter = m_sequence->clone();
        counter->reset();
        int n = 0;
        while (++*counter)
            ++n;
        m_size = n;
    }
    return m_size;
}

void velAbsPolyArcLineItListIter::reset() {
    m_sequence->reset();
    m_index = -1;
    m_current = nullptr;
}

int velAbsPolyArcLineItListIter::operator++() {
    if (++*m_sequence) {
        ++m_index;
        m_current = &m_sequence->current();
        return 1;
    }
    m_index = -1;
    m_current = nullptr;
    return 0;
}

void velAbsPolyArcLineItListIter::set_index(int k) {
    if (k < m_index || k < 0) reset();
    while (m_index < k && ++*this) {
    }
}
