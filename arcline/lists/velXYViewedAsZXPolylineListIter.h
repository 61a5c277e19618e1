#pragma once
// Presents a list with every point (x, y, z) mapped to (y, z, x), so that a polyline drawn in XY is presented
// in the ZX plane: its X becomes Z and its Y becomes X, the turning profile's axial and radial directions.
// velZXViewedAsXYPolylineListIter maps back. The mapping is a rotation of the axes, so arcs keep their shape
// and sense in space; positions and arc mid points are mapped, span kinds are the underlying ones, and the
// bulge and the boxes are computed from the mapped points (exact for the presented geometry).
//
// The view has no run-time identity of its own: it tests as a plain velPolylineListIter. get_current()
// answers null. Ownership: the view owns a clone of the underlying iterator.

#include "arcline/lists/velForwardingListIter.h"
#include "arcline/lists/velPolylineListIter.h"

class velXYViewedAsZXPolylineListIter : public velForwardingListIter {
public:
    explicit velXYViewedAsZXPolylineListIter(const velPolylineListIter& underlying);

    giPoint3 get_pos(int i) const override;
    int span_linear(int i) const override;
    giPoint3 get_mid_pos(int i) const override;
    velXYViewedAsZXPolylineListIter* create_new() const override;
    int all_spans_linear() const override;

    // p mapped to (y, z, x); the unset point (no mid point) stays unset.
    static giPoint3 xy_to_zx(const giPoint3& p);

private:
    // Copies are made with create_new(). A copy constructor would be chosen over the wrapping constructor
    // for an argument of this very class, copying where wrapping was meant; private, it makes that a
    // compile error. To wrap such a view, pass it as a velPolylineListIter const &.
    velXYViewedAsZXPolylineListIter(const velXYViewedAsZXPolylineListIter&) = default;
    velXYViewedAsZXPolylineListIter& operator=(const velXYViewedAsZXPolylineListIter&) = default;
};
