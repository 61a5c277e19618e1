#include "arcline/polyline/contour/velPolyArcLineSpan.h"

#include <memory>

namespace {

// An empty poly-arc-line of p's class sized for one span.
std::unique_ptr<velAbsPolyArcLine> two_positions(const velAbsPolyArcLine& p) {
    std::unique_ptr<velAbsPolyArcLine> line(p.create_empty());
    line->reserve(2);
    return line;
}

} // namespace

velPolyArcLineSpan::velPolyArcLineSpan(std::unique_ptr<velAbsPolyArcLine> owned, int k)
    : m_read(owned.get()), m_write(owned.get()), m_read_only(0), m_owned(std::move(owned)), m_span(k) {}

velPolyArcLineSpan::velPolyArcLineSpan(const velAbsPolyArcLine& p)
    : velPolyArcLineSpan(std::unique_ptr<velAbsPolyArcLine>(p.create_empty()), -1) {}

velPolyArcLineSpan::velPolyArcLineSpan(const velAbsPolyArcLine& p, int k)
    : m_read(&p), m_write(nullptr), m_read_only(1), m_span(k) {}

velPolyArcLineSpan::velPolyArcLineSpan(velAbsPolyArcLine* p, int k)
    : m_read(p), m_write(p), m_read_only(0), m_span(k) {}

velPolyArcLineSpan::velPolyArcLineSpan(velAbsPolyArcLine* p, utPtrClaim)
    : velPolyArcLineSpan(std::unique_ptr<velAbsPolyArcLine>(p), 1) {}

velPolyArcLineSpan::~velPolyArcLineSpan() = default;

velAbsSpancoPrf velPolyArcLineSpan::own(std::unique_ptr<velAbsPolyArcLine> p, int temp_line) const {
    const int arc = !p->span_linear(1);
    auto span = ut_make_shared_claiming<velPolyArcLineSpan>(std::move(p));
    span->m_temp_line = temp_line;
    span->m_temp_arc = m_temp_arc && arc;
    span->m_label.set(m_label.position(), m_label.side());
    return span;
}

velAbsSpancoPrf velPolyArcLineSpan::create_new() const {
    if (!valid_span()) return std::make_shared<velPolyArcLineSpan>(*m_read);
    std::unique_ptr<velAbsPolyArcLine> p = two_positions(*m_read);
    p->add_pos(start_point());
    if (m_read->span_linear(m_span))
        p->add_pos(end_point());
    else
        p->add_arc(mid_point(), end_point());
    return own(std::move(p), m_temp_line);
}

velAbsSpancoPrf velPolyArcLineSpan::create_arc_span(const giPoint3& S, const giPoint3& E,
                                                    const giPoint3& M) const {
    std::unique_ptr<velAbsPolyArcLine> p = two_positions(*m_read);
    p->add_pos(S);
    p->add_arc(M, E);
    return ut_make_shared_claiming<velPolyArcLineSpan>(std::move(p));
}

velAbsSpancoPrf velPolyArcLineSpan::create_line_span(const giPoint3& S, const giPoint3& E) const {
    std::unique_ptr<velAbsPolyArcLine> p = two_positions(*m_read);
    p->add_pos(S);
    p->add_pos(E);
    return ut_make_shared_claiming<velPolyArcLineSpan>(std::move(p));
}

velAbsSpancoPrf velPolyArcLineSpan::create_temp_line_span(const giPoint3& S, const giPoint3& E) const {
    velAbsSpancoPrf span = create_line_span(S, E);
    static_cast<velPolyArcLineSpan&>(*span).m_temp_line = 1;
    return span;
}

void velPolyArcLineSpan::move_end(int pos, const giPoint3& p) {
    if (!writable()) return;
    const double bulge = get_bulge();
    m_write->edit_pos(pos, p);
    invalidate_cache();
    set_bulge(bulge);
}

void velPolyArcLineSpan::copy_to_start_point(const giPoint3& p) {
    move_end(m_span, p);
}

void velPolyArcLineSpan::copy_to_end_point(const giPoint3& p) {
    move_end(m_span + 1, p);
}

int velPolyArcLineSpan::set_arcspan_mid_point(const giPoint3& p) {
    if (!writable() || m_read->span_linear(m_span)) return 0;
    m_write->edit_mid_pos(m_span, p);
    invalidate_cache();
    return 1;
}

giPoint3 velPolyArcLineSpan::start_point() const {
    giPoint3 p;
    if (valid_span()) m_read->span_start(m_span, p);
    return p;
}

giPoint3 velPolyArcLineSpan::mid_point() const {
    giPoint3 p;
    if (valid_span()) m_read->span_middle(m_span, p);
    return p;
}

giPoint3 velPolyArcLineSpan::end_point() const {
    giPoint3 p;
    if (valid_span()) m_read->span_end(m_span, p);
    return p;
}

bool velPolyArcLineSpan::operator==(const velAbsSpan& other) const {
    if (is_line_span() != other.is_line_span() || is_arc_span() != other.is_arc_span() ||
        is_temp_line_span() != other.is_temp_line_span() || is_temp_arc_span() != other.is_temp_arc_span())
        return false;
    if (invalid()) return true;
    return start_point() == other.start_point() && end_point() == other.end_point() &&
           (!is_arc_span() || mid_point() == other.mid_point());
}

int velPolyArcLineSpan::is_line_span() const {
    return valid_span() && m_read->span_linear(m_span);
}

int velPolyArcLineSpan::is_arc_span() const {
    return valid_span() && !m_read->span_linear(m_span);
}

void velPolyArcLineSpan::set_arc_span_temp_state(int temp) {
    m_temp_arc = temp && is_arc_span();
}

void velPolyArcLineSpan::set_offset_info(const velOffsetInfo* info) {
    if (info) set_span_info(info->span_position, info->span_side);
}
