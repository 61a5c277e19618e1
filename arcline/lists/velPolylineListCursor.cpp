#include "arcline/lists/velPolylineListCursor.h"

#include "arcline/polyline/velAbsPolyArcLine.h"

velAbsContourcoPrf velPolylineListCursor::get_current() {
    return {};
}

void velPolylineListCursor::create_polyline(int) {
    create_polyline();
}

void velPolylineListCursor::add_start_point_if_apart(const velPolylineListIter& src, double t0) {
    if (m_add_coincident_point_type != vel_add_start_point_if_apart) return;
    const giPoint3 start = src.get_interpolated_pos(t0);
    const int n = num_pos();
    if (n == 0 || !start.coincident(get_pos(n - 1), m_coincidence_check_tol)) add_interpolated_pos(src, t0);
}

void velPolylineListCursor::add_span(const velPolylineListIter& src, double t0, double t1) {
    add_start_point_if_apart(src, t0);
    add_interpolated_pos(src, t1);
}

void velPolylineListCursor::clear() {
    reset();
    ++*this;
    while (size() != 0)
        remove();
}

velPolylineListCursor::~velPolylineListCursor() = default;

void velPolylineListCursor::create_last_polyline() {
    if (size() > 0) set_index(size() - 1);
    create_polyline();
    ++*this;
}

void velPolylineListCursor::append(velPolylineListCursor& other) {
    const int was = index();
    if (size() > 0) set_index(size() - 1);
    move_polyline_after(other);
    set_index(was == -1 ? 0 : was);
}

velPolylineListCursor::velPolylineListCursor(const velPolylineListCursor& other)
    : m_owned_iterator(other.m_iterator != nullptr ? other.m_iterator->create_new() : nullptr),
      m_iterator(m_owned_iterator.get()), m_add_coincident_point_type(other.m_add_coincident_point_type),
      m_coincidence_check_tol(other.m_coincidence_check_tol) {}

velPolylineListCursor& velPolylineListCursor::operator=(const velPolylineListCursor& other) {
    if (this != &other) {
        set_iterator(other.m_iterator != nullptr ? other.m_iterator->create_new() : nullptr, 1);
        m_add_coincident_point_type = other.m_add_coincident_point_type;
        m_coincidence_check_tol = other.m_coincidence_check_tol;
    }
    return *this;
}

void velPolylineListCursor::set_iterator(velPolylineListIter* it, int owns) {
    if (it != m_iterator) {
        m_owned_iterator.reset(); // the old iterator goes when it was the cursor's
    } else if (!owns) {
        (void)m_owned_iterator.release(); // the same iterator, from now on someone else's
    }
    if (owns && m_owned_iterator.get() != it) m_owned_iterator.reset(it);
    m_iterator = it;
}

utOstream& operator<<(utOstream& os, const velPolylineListCursor& cursor) {
    os << "velPolylineListCursor {\n";
    os << cursor.iterator();
    return os << "}\n";
}

std::ostream& operator<<(std::ostream& os, const velPolylineListCursor& cursor) {
    utOstream out(os);
    out << cursor;
    return os;
}

void velPolylineListCursor::copy_current_exactly(const velPolylineListIter& src, velAbsPolyArcLine& out) {
    const int n = src.num_pos();
    if (n > 0) out.add_pos(src.get_pos(0));
    for (int i = 1; i < n; ++i) {
        if (src.span_linear(i - 1) || !out.can_hold_arcs()) {
            out.add_pos(src.get_pos(i));
        } else {
            out.add_arc(src.get_mid_pos(i - 1), src.get_pos(i));
        }
    }
}
