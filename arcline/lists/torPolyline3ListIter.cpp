#include "arcline/lists/torPolyline3ListIter.h"

#include "arcline/polyline/contour/torPolyline3Adapter.h"

UT_IMPLEMENT_TYPE_ID(torPolyline3ListIter, velPolylineListIter, velPolylineListIter)

int torPolyline3ListIter::num_pos() const {
    const torPolyline3* p = current_polyline();
    return p != nullptr ? p->num_pos() : 0;
}

torPolyline3* torPolyline3ListIter::current_polyline() const {
    return m_it.index() < 0 ? nullptr : static_cast<torPolyline3*>(m_it.current().get());
}

velAbsContourcoPrf torPolyline3ListIter::get_current() {
    if (m_it.index() < 0) return {};
    return std::make_shared<torPolyline3Adapter>(current_shared(), 1);
}

std::shared_ptr<torPolyline3> torPolyline3ListIter::current_shared() const {
    if (m_it.index() < 0) return {};
    return std::static_pointer_cast<torPolyline3>(m_it.current());
}
