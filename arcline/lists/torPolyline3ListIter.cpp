#include "arcline/lists/torPolyline3ListIter.h"

UT_IMPLEMENT_TYPE_ID(torPolyline3ListIter, velPolylineListIter, velPolylineListIter)

int torPolyline3ListIter::num_pos() const {
    const torPolyline3* p = current_polyline();
    return p != nullptr ? p->num_pos() : 0;
}

torPolyline3* torPolyline3ListIter::current_polyline() const {
    return m_it.index() < 0 ? nullptr : static_cast<torPolyline3*>(m_it.current().get());
}
