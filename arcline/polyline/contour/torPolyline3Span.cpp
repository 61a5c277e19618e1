#include "arcline/polyline/contour/torPolyline3Span.h"

#include "arcline/polyline/velAbsPolyArcLine.h"

#include <memory>

torPolyline3Span::torPolyline3Span(const giPoint3& s, const giPoint3& e) : m_start(s), m_end(e) {}

torPolyline3Span::torPolyline3Span(const torPolyline3& p, int k) : m_read(&p), m_span(k) {}

torPolyline3Span::torPolyline3Span(torPolyline3* p, int k) : m_read(p), m_write(p), m_span(k) {}

int torPolyline3Span::valid() const {
    if (m_read) return m_span >= 1 && m_span < m_read->num_pos();
    return !velAbsPolyArcLine::is_no_mid_point(m_start) && !velAbsPolyArcLine::is_no_mid_point(m_end);
}

velAbsSpancoPrf torPolyline3Span::create_new() const {
    auto span = std::make_shared<torPolyline3Span>(start_point(), end_point());
    span->m_temp_line = m_temp_line;
    span->m_label.set(m_label.position(), m_label.side());
    return span;
}

velAbsSpancoPrf torPolyline3Span::create_line_span(const giPoint3& S, const giPoint3& E) const {
    return std::make_shared<torPolyline3Span>(S, E);
}

velAbsSpancoPrf torPolyline3Span::create_temp_line_span(const giPoint3& S, const giPoint3& E) const {
    auto span = std::make_shared<torPolyline3Span>(S, E);
    span->m_temp_line = 1;
    return span;
}

void torPolyline3Span::move_point(int end, const giPoint3& p) {
    if (!m_read) {
        (end ? m_end : m_start) = p;
    } else if (m_write && valid()) {
        m_write->set_pos(m_span - 1 + end, p);
    } else {
        return;
    }
    invalidate_cache();
}

void torPolyline3Span::copy_to_start_point(const giPoint3& p) {
    move_point(0, p);
}

void torPolyline3Span::copy_to_end_point(const giPoint3& p) {
    move_point(1, p);
}

giPoint3 torPolyline3Span::start_point() const {
    if (!m_read) return m_start;
    return valid() ? m_read->get_pos(m_span - 1) : giPoint3();
}

giPoint3 torPolyline3Span::end_point() const {
    if (!m_read) return m_end;
    return valid() ? m_read->get_pos(m_span) : giPoint3();
}

giPoint3 torPolyline3Span::mid_point() const {
    if (!valid()) return {};
    return start_point().interpolate(end_point(), 0.5);
}

bool torPolyline3Span::operator==(const velAbsSpan& other) const {
    return is_line_span() && other.is_line_span() && !other.is_arc_span() &&
           is_temp_line_span() == other.is_temp_line_span() && start_point() == other.start_point() &&
           end_point() == other.end_point();
}
