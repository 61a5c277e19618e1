#include "arcline/lists/velTPLIWithoutClosureBreaks.h"

UT_IMPLEMENT_TYPE_ID(velTPLIWithoutClosureBreaks, velPolylineListIter, velPolylineListIter)

velTPLIWithoutClosureBreaks::velTPLIWithoutClosureBreaks(velTrimmedPolylineListIter& trimmed,
                                                         velClosureFunction closed, void* data)
    : m_trimmed(&trimmed), m_closed(closed ? closed : &default_closure_function), m_data(data) {}

velTPLIWithoutClosureBreaks::velTPLIWithoutClosureBreaks(velTPLIIndependent,
                                                         const velTrimmedPolylineListIter& trimmed,
                                                         velClosureFunction closed, void* data)
    : m_owned(trimmed.create_new()), m_trimmed(m_owned.get()),
      m_closed(closed ? closed : &default_closure_function), m_data(data) {}

velTPLIWithoutClosureBreaks::velTPLIWithoutClosureBreaks(const velTPLIWithoutClosureBreaks& other)
    : velPolylineListIter(other), m_owned(other.m_trimmed->create_new()), m_trimmed(m_owned.get()),
      m_closed(other.m_closed), m_data(other.m_data) {}

velTPLIWithoutClosureBreaks::~velTPLIWithoutClosureBreaks() = default;

void velTPLIWithoutClosureBreaks::attatch_iter_without_closure_breaks(velTrimmedPolylineListIter& trimmed) {
    m_owned.reset();
    m_trimmed = &trimmed;
}

int velTPLIWithoutClosureBreaks::default_closure_function(const velPolylineListIter& underlying, int index,
                                                          void* data) {
    const double tol = data != nullptr ? *static_cast<const double*>(data) : 0.0;
    auto closed = [tol](const velPolylineListIter& it) {
        const int n = it.num_pos();
        return n > 0 && it.get_pos(0).coincident(it.get_pos(n - 1), tol) ? 1 : 0;
    };
    // Standing on the polyline already: read it there. Else a clone walks to it: the caller's iterator is
    // const and may be in use elsewhere, so it is never moved.
    if (underlying.index() == index) return closed(underlying);
    const std::unique_ptr<velPolylineListIter> walker(underlying.create_new());
    walker->set_index(index);
    return closed(*walker);
}

int velTPLIWithoutClosureBreaks::size() const {
    return m_trimmed->size_without_closure_breaks(m_closed, m_data);
}

void velTPLIWithoutClosureBreaks::reset() {
    m_trimmed->reset();
}

int velTPLIWithoutClosureBreaks::operator++() {
    // The first segment of a joined pair was presented with the last one.
    while (++*m_trimmed) {
        if (!m_trimmed->removed_without_closure_breaks(m_closed, m_data)) return 1;
    }
    return 0;
}

int velTPLIWithoutClosureBreaks::index() const {
    return m_trimmed->index_without_closure_breaks(m_closed, m_data);
}

void velTPLIWithoutClosureBreaks::set_index(int k) {
    m_trimmed->set_index_without_closure_breaks(k, m_closed, m_data);
}

int velTPLIWithoutClosureBreaks::num_pos() const {
    const int n = m_trimmed->num_pos();
    return joined() ? n + m_trimmed->piece_num_pos(0) - 1 : n;
}

giPoint3 velTPLIWithoutClosureBreaks::get_pos(int i) const {
    const int n = last_part_positions();
    if (!joined() || i < n) return m_trimmed->get_pos(i);
    return m_trimmed->piece_pos(0, i - n + 1);
}

int velTPLIWithoutClosureBreaks::span_linear(int i) const {
    const int n = last_part_positions();
    if (!joined() || i < n - 1) return m_trimmed->span_linear(i);
    return m_trimmed->piece_span_linear(0, i - n + 1);
}

giPoint3 velTPLIWithoutClosureBreaks::get_mid_pos(int i) const {
    const int n = last_part_positions();
    if (!joined() || i < n - 1) return m_trimmed->get_mid_pos(i);
    return m_trimmed->piece_mid_pos(0, i - n + 1);
}

double velTPLIWithoutClosureBreaks::get_bulge(int i) const {
    const int n = last_part_positions();
    if (!joined() || i < n - 1) return m_trimmed->get_bulge(i);
    return m_trimmed->piece_bulge(0, i - n + 1);
}

int velTPLIWithoutClosureBreaks::open_end() const {
    if (!joined()) return m_trimmed->open_end(m_closed, m_data);
    return 0; // a joined piece ends inside a closed polyline
}

int velTPLIWithoutClosureBreaks::closed() const {
    // A piece that kept a closed polyline whole: one segment [0, end] of a polyline the function calls
    // closed.
    const velPolylineTrimmings* r = m_trimmed->current_trimmings();
    return r != nullptr && r->num_segs() == 1 && r->segment_start(0) == 0.0 &&
           r->segment_end(0) == r->original_end() &&
           m_closed(m_trimmed->underlying_iter(), r->index(), m_data);
}

void velTPLIWithoutClosureBreaks::start_end(giPoint3& start, giPoint3& end) const {
    start = get_pos(0);
    end = get_pos(num_pos() - 1);
}

void velTPLIWithoutClosureBreaks::start_end_data(velTrimmedPolylineEndData& data) const {
    giPoint3 s, e;
    start_end(s, e);
    const velPolylineTrimmings* r = m_trimmed->current_trimmings();
    const int end_flag = joined() ? r->get_end_flag(0) : m_trimmed->end_flag();
    data.become(s, m_trimmed->start_flag(), e, end_flag);
}
