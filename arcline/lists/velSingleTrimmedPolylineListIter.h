#pragma once
// The kept pieces of one polyline of a trimmed view, as a list of their own: a snapshot of that polyline's
// record (no pieces when the polyline was trimmed away whole) over a clone of the underlying iterator. Later
// trims of the trimmed view are not seen, and trims of this view do not reach it.
//
// Making one steps the trimmed view over the polyline's pieces, computing and caching each piece's box in
// both.

#include "arcline/lists/velTrimmedPolylineListIter.h"

class velSingleTrimmedPolylineListIter : public velTrimmedPolylineListIter {
    UT_DECLARE_TYPE_ID(velSingleTrimmedPolylineListIter, velPolylineListIter)

public:
    velSingleTrimmedPolylineListIter(velTrimmedPolylineListIter& trimmed, int polyline);
    velSingleTrimmedPolylineListIter(const velSingleTrimmedPolylineListIter&) = default;
    velSingleTrimmedPolylineListIter* create_new() const override {
        return new velSingleTrimmedPolylineListIter(*this);
    }
    // The cached box of the current piece.
    giBox3 box() const { return velTrimmedPolylineListIter::box(vel_3d_box); }
    using velTrimmedPolylineListIter::box;
};
