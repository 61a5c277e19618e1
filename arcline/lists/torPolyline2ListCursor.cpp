#include "arcline/lists/torPolyline2ListCursor.h"

#include "arcline/lists/torListEdit.h"
#include "arcline/platform/utAssert.h"

torPolyline2ListCursor::torPolyline2ListCursor(torCurvePtr2coDList& list) : m_list(&list) {
    set_iterator(new torPolyline2ListIter(torCurvePtr2coDListcoIterator(list)), 1);
}

torPolyline2ListCursor::torPolyline2ListCursor(utPtrClaim, torCurvePtr2coDList* list)
    : m_owned(list), m_list(list) {
    set_iterator(new torPolyline2ListIter(torCurvePtr2coDListcoIterator(*list)), 1);
}

void torPolyline2ListCursor::create_polyline() {
    tor_list_edit::insert_after_current(*m_list, *this, torCurvePtr2(std::make_shared<torPolyline2>()));
}

void torPolyline2ListCursor::add_pos(const velPolylineListIter& src, int i) {
    current_polyline()->append(src.get_pos(i).xy());
}

void torPolyline2ListCursor::add_interpolated_pos(const velPolylineListIter& src, double t) {
    current_polyline()->append(src.get_interpolated_pos(t).xy());
}

void torPolyline2ListCursor::remove() {
    tor_list_edit::remove_current(*m_list, *this);
}

void torPolyline2ListCursor::move_polyline_after(velPolylineListCursor& other) {
    auto* from = dynamic_cast<torPolyline2ListCursor*>(&other);
    if (from == nullptr) {
        UT_REPORT_REFUSAL("torPolyline2ListCursor::move_polyline_after() The other cursor is not a "
                          "torPolyline2ListCursor",
                          "torPolyline2ListCursor::move_polyline_after");
        return;
    }
    tor_list_edit::move_after(*m_list, *this, *from->m_list, *from);
}

torPolyline2ListCursor* torPolyline2ListCursor::create_empty() const {
    return new torPolyline2ListCursor(ut_ptr_claim, new torCurvePtr2coDList);
}

torPolyline2* torPolyline2ListCursor::current_polyline() const {
    return static_cast<const torPolyline2ListIter&>(iterator()).current_polyline();
}
