#include "arcline/polyline/contour/torPolyline3Adapter.h"

#include "arcline/lists/torPolyline3ListCursor.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/polyline/contour/torPolyline3Span.h"
#include "arcline/polyline/velTolerances.h"

namespace {

std::shared_ptr<torPolyline3> borrowed(torPolyline3* p) {
    return std::shared_ptr<torPolyline3>(p, [](torPolyline3*) {});
}

// A cursor over a new list whose one curve is p.
velPolylineListCursor* cursor_on(const std::shared_ptr<torPolyline3>& p) {
    auto* list = new torCurvePtr3coDList;
    coDListcoCursor<torCurvePtr3>(*list).insert_last(p);
    return new torPolyline3ListCursor(ut_ptr_claim, list);
}

constexpr double clockwise_area = -velTol::clockwise_area;

} // namespace

torPolyline3Adapter::torPolyline3Adapter(std::shared_ptr<torPolyline3> line, torPolyline3* writable,
                                         int read_only, std::unique_ptr<torPolyline3> owned)
    : velCursorContour(cursor_on(line), read_only), m_owned(std::move(owned)), m_line(line.get()),
      m_writable(writable) {}

torPolyline3Adapter::torPolyline3Adapter(const torPolyline3& p)
    : torPolyline3Adapter(borrowed(const_cast<torPolyline3*>(&p)), nullptr, 1, nullptr) {}

torPolyline3Adapter::torPolyline3Adapter(torPolyline3* p) : torPolyline3Adapter(borrowed(p), p, 0, nullptr) {}

torPolyline3Adapter::torPolyline3Adapter(torPolyline3* p, utPtrClaim)
    : torPolyline3Adapter(borrowed(p), p, 0, std::unique_ptr<torPolyline3>(p)) {}

torPolyline3Adapter::torPolyline3Adapter(std::shared_ptr<torPolyline3> p, int read_only)
    : torPolyline3Adapter(p, read_only ? nullptr : p.get(), read_only, nullptr) {}

torPolyline3Adapter::~torPolyline3Adapter() = default;

velAbsContourcoPrf torPolyline3Adapter::clone() const {
    return ut_make_shared_claiming<torPolyline3Adapter>(std::make_unique<torPolyline3>());
}

velAbsContourcoPrf torPolyline3Adapter::create_new() const {
    auto copy = ut_make_shared_claiming<torPolyline3Adapter>(std::make_unique<torPolyline3>(*m_line));
    copy->copy_records(*this);
    return copy;
}

velPolylineListCursor* torPolyline3Adapter::create_empty_cursor() const {
    return new velPolylineWithOffsetFlagsListCursor(
        ut_ptr_claim, new torPolyline3ListCursor(ut_ptr_claim, new torCurvePtr3coDList));
}

int torPolyline3Adapter::is_clockwise() const {
    const int n = m_line->num_pos();
    if (n < 3) return 0;
    // Twice the signed area, about the first point (so the closing chord adds nothing).
    const giPoint3& o = m_line->get_pos(0);
    double twice = 0.0;
    for (int i = 1; i + 1 < n; ++i) {
        const giPoint3 &a = m_line->get_pos(i), &b = m_line->get_pos(i + 1);
        twice += (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
    }
    return 0.5 * twice < clockwise_area;
}

velAbsSpancoPrf torPolyline3Adapter::get_span(int i) const {
    if (i < 1 || i > size()) return {};
    if (m_writable) return with_record(std::make_shared<torPolyline3Span>(m_writable, i), i);
    return with_record(std::make_shared<torPolyline3Span>(*m_line, i), i);
}

velAbsSpancoPrf torPolyline3Adapter::invalid_span() const {
    return std::make_shared<torPolyline3Span>();
}

void torPolyline3Adapter::append_geometry(const velAbsSpan& span) {
    if (m_writable->num_pos() == 0) m_writable->append(span.start_point());
    m_writable->append(span.end_point());
}

int torPolyline3Adapter::views_same_polyline(const velAbsContour& other) const {
    const auto* view = dynamic_cast<const torPolyline3Adapter*>(&other);
    return view && view->m_line == m_line;
}

void torPolyline3Adapter::reserve(int spans) {
    if (m_writable && spans > 0) m_writable->reserve(m_writable->num_pos() + spans + 1);
}
