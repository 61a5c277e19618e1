#include "arcline/polyline/contour/velFreeSpan.h"

#include <memory>

velFreeSpan::velFreeSpan(const velAbsSpan& span)
    : m_start(span.start_point()), m_mid(span.mid_point()), m_end(span.end_point()),
      m_arc(span.is_of_class_arc()), m_temp_line(span.is_temp_line_span()),
      m_temp_arc(span.is_temp_arc_span()) {
    m_label.set(span.span_position(), span.offset_label());
}

velFreeSpan::velFreeSpan(const giPoint3& S, const giPoint3& E, const giPoint3& M)
    : m_start(S), m_mid(M), m_end(E), m_arc(!M.is_unset()) {}

velAbsSpancoPrf velFreeSpan::create_new() const {
    return std::make_shared<velFreeSpan>(*this);
}

velAbsSpancoPrf velFreeSpan::create_arc_span(const giPoint3& S, const giPoint3& E, const giPoint3& M) const {
    return std::make_shared<velFreeSpan>(S, E, M);
}

velAbsSpancoPrf velFreeSpan::create_line_span(const giPoint3& S, const giPoint3& E) const {
    return std::make_shared<velFreeSpan>(S, E);
}

velAbsSpancoPrf velFreeSpan::create_temp_line_span(const giPoint3& S, const giPoint3& E) const {
    auto span = std::make_shared<velFreeSpan>(S, E);
    span->m_temp_line = 1;
    return span;
}

void velFreeSpan::move_end(bool start, const giPoint3& p) {
    const double bulge = get_bulge();
    (start ? m_start : m_end) = p;
    invalidate_cache();
    set_bulge(bulge);
}

void velFreeSpan::copy_to_start_point(const giPoint3& p) {
    move_end(true, p);
}

void velFreeSpan::copy_to_end_point(const giPoint3& p) {
    move_end(false, p);
}

int velFreeSpan::set_arcspan_mid_point(const giPoint3& p) {
    if (!m_arc) return 0;
    m_mid = p;
    invalidate_cache();
    return 1;
}

bool velFreeSpan::operator==(const velAbsSpan& other) const {
    return is_line_span() == other.is_line_span() && is_arc_span() == other.is_arc_span() &&
           is_temp_line_span() == other.is_temp_line_span() &&
           is_temp_arc_span() == other.is_temp_arc_span() && m_start == other.start_point() &&
           m_end == other.end_point() && (!m_arc || m_mid == other.mid_point());
}
