#include "arcline/lists/torCurvePtr3PolylineListCursor.h"

#include "arcline/lists/torListEdit.h"
#include "arcline/platform/utAssert.h"

#include <cfloat>
#include <cmath>

namespace {
// Parameter of a point that came from no curve.
constexpr double no_parameter = -DBL_MAX;
} // namespace

torCurvePtr3PolylineListCursor::torCurvePtr3PolylineListCursor()
    : m_owned(std::make_unique<torCurvePtr3PolylinecoPrfcoDList>()) {
    attach(m_owned.get());
}

torCurvePtr3PolylineListCursor::torCurvePtr3PolylineListCursor(torCurvePtr3PolylinecoPrfcoDList& list) {
    attach(&list);
}

torCurvePtr3PolylineListCursor::torCurvePtr3PolylineListCursor(utPtrClaim,
                                                               torCurvePtr3PolylinecoPrfcoDList* list)
    : m_owned(list) {
    attach(list);
}

torCurvePtr3PolylineListCursor::torCurvePtr3PolylineListCursor(torCurvePtr3coDListcoIterator& curves,
                                                               double tol)
    : torCurvePtr3PolylineListCursor() {
    coDListcoCursor<torCurvePtr3PolylinecoPrf> out(*m_list);
    while (++curves)
        out.insert_last(std::make_shared<torCurvePtr3Polyline>(*curves, tol));
}

void torCurvePtr3PolylineListCursor::attach(torCurvePtr3PolylinecoPrfcoDList* list) {
    m_list = list;
    set_iterator(new torCurvePtr3PolylineListIter(torCurvePtr3PolylinecoPrfcoDListcoIterator(*list)), 1);
}

const torCurvePtr3PolylineListIter& torCurvePtr3PolylineListCursor::reader() const {
    return static_cast<const torCurvePtr3PolylineListIter&>(iterator());
}

torCurvePtr3Polyline* torCurvePtr3PolylineListCursor::current_polyline() const {
    return reader().current_polyline();
}

void torCurvePtr3PolylineListCursor::create_polyline() {
    tor_list_edit::insert_after_current(*m_list, *this,
                                        torCurvePtr3PolylinecoPrf(std::make_shared<torCurvePtr3Polyline>()));
}

void torCurvePtr3PolylineListCursor::add_pos(const velPolylineListIter& src, int i) {
    if (const auto* s = torCurvePtr3PolylineListIter::ut_dynamic_cast(&src)) {
        const torCurvePtr3Polyline& from = *s->current_polyline();
        current_polyline()->add_pos(from.get_pos(i), from.get_curve_param(i), from.get_curve(i),
                                    from.tolerance());
        return;
    }
    current_polyline()->add_pos(src.get_pos(i), no_parameter, nullptr, 0.0);
}

void torCurvePtr3PolylineListCursor::add_interpolated_pos(const velPolylineListIter& src, double t) {
    if (const auto* s = torCurvePtr3PolylineListIter::ut_dynamic_cast(&src)) {
        const torCurvePtr3Polyline& from = *s->current_polyline();
        torCurvePtr3 c;
        double param = no_parameter;
        from.curve_param_at(t, c, param);
        current_polyline()->add_pos(src.get_interpolated_pos(t), param, c, from.tolerance());
        return;
    }
    current_polyline()->add_pos(src.get_interpolated_pos(t), no_parameter, nullptr, 0.0);
}

void torCurvePtr3PolylineListCursor::add_span(const velPolylineListIter& src, double t0, double t1) {
    bool start_on_curve = false;
    const torCurvePtr3Polyline& to = *current_polyline();
    const auto* s = torCurvePtr3PolylineListIter::ut_dynamic_cast(&src);
    if (s != nullptr && to.num_pos() > 0) {
        const torCurvePtr3Polyline& from = *s->current_polyline();
        const int i = static_cast<int>(std::floor(std::min(t0, t1)));
        if (i >= 0 && i + 1 < from.num_pos()) {
            const torCurvePtr3& c = from.get_curve(i);
            start_on_curve = c && c == from.get_curve(i + 1) && to.get_curve(to.num_pos() - 1) != c;
        }
    }
    if (start_on_curve) {
        add_interpolated_pos(src, t0);
    } else {
        add_start_point_if_apart(src, t0);
    }
    add_interpolated_pos(src, t1);
}

void torCurvePtr3PolylineListCursor::remove() {
    tor_list_edit::remove_current(*m_list, *this);
}

void torCurvePtr3PolylineListCursor::move_polyline_after(velPolylineListCursor& other) {
    auto* from = dynamic_cast<torCurvePtr3PolylineListCursor*>(&other);
    if (from == nullptr) {
        UT_REPORT_REFUSAL("torCurvePtr3PolylineListCursor::move_polyline_after() The other cursor is not a "
                          "torCurvePtr3PolylineListCursor",
                          "torCurvePtr3PolylineListCursor::move_polyline_after");
        return;
    }
    tor_list_edit::move_after(*m_list, *this, *from->m_list, *from);
}

torCurvePtr3PolylineListCursor* torCurvePtr3PolylineListCursor::create_empty() const {
    return new torCurvePtr3PolylineListCursor();
}

void torCurvePtr3PolylineListCursor::get_curves(double t0, double t1, torCurvePtr3coDList& curves) const {
    reader().get_curves(t0, t1, curves);
}
