#include "arcline/lists/velAbsPolyArcLineVecListCursor.h"

#include "arcline/polyline/velPolyArcLineDouble.h"

#include <stdexcept>

velAbsPolyArcLineVecListCursor::velAbsPolyArcLineVecListCursor(velAbsPolyArcLineVec* polylines)
    : m_polylines(polylines) {
    init_iterator();
}

velAbsPolyArcLineVecListCursor::velAbsPolyArcLineVecListCursor(std::unique_ptr<velAbsPolyArcLineVec> owned)
    : m_owned(std::move(owned)), m_polylines(m_owned.get()) {
    init_iterator();
}

velAbsPolyArcLineVecListCursor::~velAbsPolyArcLineVecListCursor() = default;

void velAbsPolyArcLineVecListCursor::init_iterator() {
    m_reader = new velAbsPolyArcLineVecListIter(m_polylines);
    set_iterator(m_reader, 1);
}

velAbsPolyArcLine& velAbsPolyArcLineVecListCursor::current_polyarcline() const {
    const int k = index();
    if (k < 0 || k >= size()) throw std::out_of_range("invalid vector<T> subscript");
    return *(*m_polylines)[static_cast<std::size_t>(k)];
}

void velAbsPolyArcLineVecListCursor::create_polyline() {
    std::unique_ptr<velAbsPolyArcLine> p(m_polylines->empty() ? new velPolyArcLineDouble
                                                              : m_polylines->front()->create_empty());
    const int k = index();
    m_polylines->insert(m_polylines->begin() + (k + 1), std::move(p));
    // The vector may have moved its slots; the current polyline itself has not moved.
    m_reader->set_index(k);
}

void velAbsPolyArcLineVecListCursor::add_pos(const velPolylineListIter& src, int i) {
    current_polyarcline().add_pos(src.get_pos(i));
}

void velAbsPolyArcLineVecListCursor::add_interpolated_pos(const velPolylineListIter& src, double t) {
    current_polyarcline().add_pos(src.get_interpolated_pos(t));
}

void velAbsPolyArcLineVecListCursor::remove() {
    const int k = index();
    m_polylines->erase(m_polylines->begin() + k);
    m_reader->set_index(k < size() ? k : -1);
}

void velAbsPolyArcLineVecListCursor::move_polyline_after(velPolylineListCursor& other) {
    if (&other == this || other.index() < 0) return;
    const int k = index();
    if (auto* same = dynamic_cast<velAbsPolyArcLineVecListCursor*>(&other)) {
        auto& from = *same->m_polylines;
        std::unique_ptr<velAbsPolyArcLine> p = std::move(from[static_cast<std::size_t>(other.index())]);
        m_polylines->insert(m_polylines->begin() + (k + 1), std::move(p));
        m_reader->set_index(k);
        same->remove();
        return;
    }
    // Another storage: copy the geometry exactly, span by span, into this vector's storage class.
    const velPolylineListIter& src = other.iterator();
    create_polyline();
    velAbsPolyArcLine& out = *(*m_polylines)[static_cast<std::size_t>(k + 1)];
    copy_current_exactly(src, out);
    other.remove();
}

velPolylineListCursor* velAbsPolyArcLineVecListCursor::create_empty() const {
    return new velAbsPolyArcLineVecListCursor(std::make_unique<velAbsPolyArcLineVec>());
}

void velAbsPolyArcLineVecListCursor::clear() {
    m_polylines->clear();
    reset();
}
