#include "arcline/polyline/contour/velSpanVectorContour.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/polyline/contour/velFreeSpan.h"
#include "arcline/polyline/spans/velCirbul.h"

#include <algorithm>
#include <memory>

namespace {

// Below this signed area a contour runs clockwise (as for the poly-arc-line contours).
constexpr double clockwise_area = -1e-12;

// The span object of no kind: neither a line nor an arc.
class NoSpan : public velFreeSpan {
public:
    NoSpan() : velFreeSpan(giPoint3(), giPoint3()) {}
    velAbsSpancoPrf create_new() const override { return std::make_shared<NoSpan>(); }
    int is_line_span() const override { return 0; }
    int is_arc_span() const override { return 0; }
};

} // namespace

velAbsContourcoPrf velSpanVectorContour::clone() const {
    return std::make_shared<velSpanVectorContour>();
}

velAbsContourcoPrf velSpanVectorContour::create_new() const {
    auto copy = std::make_shared<velSpanVectorContour>();
    copy->m_spans.reserve(m_spans.size());
    for (const velAbsSpancoPrf& span : m_spans)
        copy->m_spans.push_back(span->create_new());
    return copy;
}

velPolylineListCursor* velSpanVectorContour::create_empty_cursor() const {
    return new velPolylineWithOffsetFlagsListCursor(ut_ptr_claim, new velAbsPolyArcLineListCursor);
}

velAbsSpancoPrf velSpanVectorContour::get_span(int i) const {
    if (i < 1 || i > size()) return {};
    return m_spans[static_cast<std::size_t>(i - 1)];
}

velAbsSpancoPrf velSpanVectorContour::invalid_span() const {
    return std::make_shared<NoSpan>();
}

int velSpanVectorContour::append_span(velAbsSpancoPrf span) {
    if (!span || span->invalid()) return 0;
    if (!m_spans.empty()) {
        const giPoint3 last = m_spans.back()->end_point();
        if (span->start_point() != last) span->copy_to_start_point(last);
    }
    m_spans.push_back(std::move(span));
    return 1;
}

int velSpanVectorContour::replace_contour(velAbsContourcoPrf other) {
    if (!other) return 0;
    if (other.get() == this) return 1;
    std::vector<velAbsSpancoPrf> spans;
    spans.reserve(static_cast<std::size_t>(other->size()));
    for (int i = 1, n = other->size(); i <= n; ++i)
        spans.push_back(other->get_span(i));
    m_spans.clear();
    for (velAbsSpancoPrf& span : spans)
        append_span(std::move(span));
    invalidate_cache();
    return 1;
}

void velSpanVectorContour::reverse() {
    std::reverse(m_spans.begin(), m_spans.end());
    for (velAbsSpancoPrf& span : m_spans)
        span->reverse();
    invalidate_cache();
}

void velSpanVectorContour::remove_end_span() {
    if (m_spans.empty()) return;
    // The span before takes over the end point, so a closed contour stays closed.
    const giPoint3 end = m_spans.back()->end_point();
    m_spans.pop_back();
    if (!m_spans.empty()) m_spans.back()->copy_to_end_point(end);
    invalidate_cache();
}

int velSpanVectorContour::clean(double tol) {
    const int closed = is_closed();
    std::vector<velAbsSpancoPrf> kept;
    kept.reserve(m_spans.size());
    int removed_before = 0; // a run of removed spans ends before the next kept one
    for (velAbsSpancoPrf& span : m_spans) {
        const giPoint3 s = span->start_point();
        const bool degenerate = s.distance(span->end_point()) <= tol &&
                                (span->is_of_class_line() || s.distance(span->mid_point()) <= tol);
        if (degenerate) {
            removed_before = 1;
            continue;
        }
        if (removed_before && !kept.empty()) span->copy_to_start_point(kept.back()->end_point());
        removed_before = 0;
        kept.push_back(std::move(span));
    }
    const int removed = static_cast<int>(m_spans.size() - kept.size());
    m_spans = std::move(kept);
    if (removed == 0) return 0;
    if (closed && !m_spans.empty()) {
        const giPoint3 end = m_spans.back()->end_point();
        if (m_spans.front()->start_point() != end) m_spans.front()->copy_to_start_point(end);
    }
    invalidate_cache();
    return removed;
}

double velSpanVectorContour::area() const {
    if (m_spans.empty()) return 0.0;
    // Measured from the first point (products of coordinates far from the origin would swamp the area);
    // the closing chord of an open contour then adds nothing.
    const giPoint3 o = m_spans.front()->start_point();
    double sum = 0.0;
    for (const velAbsSpancoPrf& span : m_spans) {
        const giPoint3 s = span->start_point(), e = span->end_point();
        sum += 0.5 * ((s.x - o.x) * (e.y - o.y) - (e.x - o.x) * (s.y - o.y));
        if (span->is_of_class_arc()) {
            const double p0[2] = {s.x, s.y}, p1[2] = {e.x, e.y};
            double segment = 0.0;
            velCirbul::cbbuar(p0, p1, span->get_bulge(), segment);
            sum += segment;
        }
    }
    return sum;
}

double velSpanVectorContour::length() const {
    double sum = 0.0;
    for (const velAbsSpancoPrf& span : m_spans)
        sum += span->get_length();
    return sum;
}

int velSpanVectorContour::is_clockwise() const {
    return area() < clockwise_area;
}
