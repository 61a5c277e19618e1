#include "arcline/lists/torPolyline3ListCursor.h"

#include "arcline/polyline/contour/torPolyline3Adapter.h"

#include "arcline/lists/torListEdit.h"
#include "arcline/platform/utAssert.h"

torPolyline3ListCursor::torPolyline3ListCursor(torCurvePtr3coDList& list) : m_list(&list) {
    set_iterator(new torPolyline3ListIter(torCurvePtr3coDListcoIterator(list)), 1);
}

torPolyline3ListCursor::torPolyline3ListCursor(utPtrClaim, torCurvePtr3coDList* list)
    : m_owned(list), m_list(list) {
    set_iterator(new torPolyline3ListIter(torCurvePtr3coDListcoIterator(*list)), 1);
}

void torPolyline3ListCursor::create_polyline() {
    tor_list_edit::insert_after_current(*m_list, *this, torCurvePtr3(std::make_shared<torPolyline3>()));
}

void torPolyline3ListCursor::add_pos(const velPolylineListIter& src, int i) {
    current_polyline()->append(src.get_pos(i));
}

void torPolyline3ListCursor::add_interpolated_pos(const velPolylineListIter& src, double t) {
    current_polyline()->append(src.get_interpolated_pos(t));
}

void torPolyline3ListCursor::remove() {
    tor_list_edit::remove_current(*m_list, *this);
}

void torPolyline3ListCursor::move_polyline_after(velPolylineListCursor& other) {
    auto* from = dynamic_cast<torPolyline3ListCursor*>(&other);
    if (from == nullptr) {
        UT_REPORT_REFUSAL("torPolyline3ListCursor::move_polyline_after() The other cursor is not a "
                          "torPolyline3ListCursor",
                          "torPolyline3ListCursor::move_polyline_after");
        return;
    }
    tor_list_edit::move_after(*m_list, *this, *from->m_list, *from);
}

torPolyline3ListCursor* torPolyline3ListCursor::create_empty() const {
    return new torPolyline3ListCursor(ut_ptr_claim, new torCurvePtr3coDList);
}

void torPolyline3ListCursor::transform(const giXform3& xf) {
    for (const torCurvePtr3& c : *m_list)
        static_cast<torPolyline3&>(*c).transform(xf);
}

torPolyline3* torPolyline3ListCursor::current_polyline() const {
    return static_cast<const torPolyline3ListIter&>(iterator()).current_polyline();
}

velAbsContourcoPrf torPolyline3ListCursor::get_current() {
    std::shared_ptr<torPolyline3> curve =
        static_cast<const torPolyline3ListIter&>(iterator()).current_shared();
    if (!curve) return {};
    return std::make_shared<torPolyline3Adapter>(std::move(curve));
}
