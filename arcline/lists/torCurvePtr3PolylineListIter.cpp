#include "arcline/lists/torCurvePtr3PolylineListIter.h"

#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/torCurvePtr3coDListcoIterator.h"

#include <memory>

UT_IMPLEMENT_TYPE_ID(torCurvePtr3PolylineListIter, velPolylineListIter, velPolylineListIter)

int torCurvePtr3PolylineListIter::num_pos() const {
    const torCurvePtr3Polyline* p = current_polyline();
    return p != nullptr ? p->num_pos() : 0;
}

torCurvePtr3Polyline* torCurvePtr3PolylineListIter::current_polyline() const {
    return m_it.index() < 0 ? nullptr : m_it.current().get();
}

void torCurvePtr3PolylineListIter::get_curves(double t0, double t1, torCurvePtr3coDList& curves) const {
    torCurvePtr3PolylinecoPrfcoDListcoIterator walk(m_it);
    coDListcoCursor<torCurvePtr3> out(curves);
    walk.reset();
    while (++walk) {
        if (torCurvePtr3 piece = (*walk)->curve(t0, t1)) out.insert_last(piece);
    }
}

void torCurvePtr3PolylineListIter::curve_list_to_polyline(const torCurvePtr3coDList& curves, double tol,
                                                          torCurvePtr3PolylinecoPrfcoDList& polylines) {
    torCurvePtr3coDListcoIterator in(curves);
    coDListcoCursor<torCurvePtr3PolylinecoPrf> out(polylines);
    while (++in)
        out.insert_last(std::make_shared<torCurvePtr3Polyline>(*in, tol));
}
