#include "arcline/polyline/contour/velPolyArcLineAdapter.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/contour/velPolyArcLineSpan.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velTolerances.h"

namespace {

// A shared pointer that leaves the poly-arc-line to whoever owns it.
velAbsPolyArcLinecoPrg borrowed(velAbsPolyArcLine* p) {
    return velAbsPolyArcLinecoPrg(p, [](velAbsPolyArcLine*) {});
}

// A list cursor over a new list of p's storage class.
velAbsPolyArcLineListCursor* cursor_of_class(const velAbsPolyArcLine& p) {
    auto* cursor = new velAbsPolyArcLineListCursor();
    cursor->set_arcline_type(p);
    return cursor;
}

// The cursor of a view: a list cursor whose one polyline is p.
velPolylineListCursor* cursor_on(const velAbsPolyArcLinecoPrg& p) {
    velAbsPolyArcLineListCursor* cursor = cursor_of_class(*p);
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor(cursor->list()).insert_last(p);
    return cursor;
}

// Below this signed area a contour runs clockwise.
constexpr double clockwise_area = -velTol::clockwise_area;

} // namespace

velPolyArcLineAdapter::velPolyArcLineAdapter(velAbsPolyArcLinecoPrg line, velAbsPolyArcLine* writable,
                                             int read_only, std::unique_ptr<velAbsPolyArcLine> owned)
    : velCursorContour(cursor_on(line), read_only), m_owned(std::move(owned)), m_line(line.get()),
      m_writable(writable) {}

velPolyArcLineAdapter::velPolyArcLineAdapter(const velAbsPolyArcLine& p)
    : velPolyArcLineAdapter(borrowed(const_cast<velAbsPolyArcLine*>(&p)), nullptr, 1, nullptr) {}

velPolyArcLineAdapter::velPolyArcLineAdapter(velAbsPolyArcLine* p)
    : velPolyArcLineAdapter(borrowed(p), p, 0, nullptr) {}

velPolyArcLineAdapter::velPolyArcLineAdapter(velAbsPolyArcLine* p, utPtrClaim)
    : velPolyArcLineAdapter(borrowed(p), p, 0, std::unique_ptr<velAbsPolyArcLine>(p)) {}

velPolyArcLineAdapter::velPolyArcLineAdapter(velAbsPolyArcLinecoPrg p, int read_only)
    : velPolyArcLineAdapter(p, read_only ? nullptr : p.get(), read_only, nullptr) {}

velPolyArcLineAdapter::~velPolyArcLineAdapter() = default;

velAbsContourcoPrf velPolyArcLineAdapter::clone() const {
    return ut_make_shared_claiming<velPolyArcLineAdapter>(
        std::unique_ptr<velAbsPolyArcLine>(m_line->create_empty()));
}

velAbsContourcoPrf velPolyArcLineAdapter::create_new() const {
    auto copy = ut_make_shared_claiming<velPolyArcLineAdapter>(
        std::unique_ptr<velAbsPolyArcLine>(m_line->create_new()));
    copy->copy_records(*this);
    return copy;
}

velPolylineListCursor* velPolyArcLineAdapter::create_empty_cursor() const {
    return new velPolylineWithOffsetFlagsListCursor(ut_ptr_claim, cursor_of_class(*m_line));
}

int velPolyArcLineAdapter::is_clockwise() const {
    if (m_line->num_pos() == 0) return 0;
    std::unique_ptr<velAbsPolyArcLine> closed;
    if (!is_closed()) {
        closed.reset(m_line->create_new());
        giPoint3 first;
        m_line->get_pos(1, first);
        closed->add_pos(first);
    }
    velSingleAbsArcLineListIter it(closed ? *closed : *m_line);
    ++it;
    return velPolylineUtils::area(it) < clockwise_area;
}

velAbsSpancoPrf velPolyArcLineAdapter::get_span(int i) const {
    if (i < 1 || i > size()) return {};
    if (m_writable) return with_record(std::make_shared<velPolyArcLineSpan>(m_writable, i), i);
    return with_record(std::make_shared<velPolyArcLineSpan>(*m_line, i), i);
}

giPoint3 velPolyArcLineAdapter::first_point() const {
    giPoint3 p;
    if (m_line->num_pos() > 0) m_line->get_pos(1, p);
    return p;
}

giPoint3 velPolyArcLineAdapter::last_point() const {
    giPoint3 p;
    if (m_line->num_pos() > 0) m_line->get_pos(m_line->num_pos(), p);
    return p;
}

velAbsSpancoPrf velPolyArcLineAdapter::invalid_span() const {
    return std::make_shared<velPolyArcLineSpan>(*m_line);
}

velAbsPolyArcLine* velPolyArcLineAdapter::get_contour(utPtrRelease) {
    (void)m_owned.release(); // the caller takes it over (or it is shared or borrowed)
    return m_line;
}

int velPolyArcLineAdapter::accepts(const velAbsSpan& span) const {
    return span.is_of_class_line() || (span.is_of_class_arc() && m_line->can_hold_arcs());
}

void velPolyArcLineAdapter::append_geometry(const velAbsSpan& span) {
    if (m_writable->num_pos() == 0) m_writable->add_pos(span.start_point());
    if (span.is_of_class_arc())
        m_writable->add_arc(span.mid_point(), span.end_point());
    else
        m_writable->add_pos(span.end_point());
}

int velPolyArcLineAdapter::views_same_polyline(const velAbsContour& other) const {
    const auto* view = dynamic_cast<const velPolyArcLineAdapter*>(&other);
    return view && view->m_line == m_line;
}

void velPolyArcLineAdapter::reserve(int spans) {
    if (m_writable && spans > 0) m_writable->reserve(m_writable->num_pos() + spans + 1);
}

giBox2 velPolyArcLineAdapter::compute_box() const {
    const giBox3& b = m_line->box();
    if (b.empty()) return {};
    return {b.min().xy(), b.max().xy()};
}
