#include "arcline/lists/torPolyline2ListIter.h"

UT_IMPLEMENT_TYPE_ID(torPolyline2ListIter, velPolylineListIter, velPolylineListIter)

int torPolyline2ListIter::num_pos() const {
    const torPolyline2* p = current_polyline();
    return p != nullptr ? p->num_pos() : 0;
}

torPolyline2* torPolyline2ListIter::current_polyline() const {
    return m_it.index() < 0 ? nullptr : static_cast<torPolyline2*>(m_it.current().get());
}
