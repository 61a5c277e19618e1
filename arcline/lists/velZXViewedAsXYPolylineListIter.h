#pragma once
// Presents a list with every point (x, y, z) mapped to (z, x, y), so that a profile in the ZX plane is
// presented in XY: its Z becomes X and its X becomes Y, so that planar algorithms can work on it.
// velXYViewedAsZXPolylineListIter maps back. The mapping is a rotation of the axes, so arcs keep their shape
// and sense in space; positions and arc mid points are mapped, span kinds are the underlying ones, and the
// bulge and the boxes are computed from the mapped points (exact for the presented geometry).
//
// The view has no run-time identity of its own: it tests as a plain velPolylineListIter. get_current()
// answers null. Ownership: the view owns a clone of the underlying iterator.

#include "arcline/lists/velForwardingListIter.h"
#include "arcline/lists/velPolylineListIter.h"

class velZXViewedAsXYPolylineListIter : public velForwardingListIter {
public:
    explicit velZXViewedAsXYPolylineListIter(const velPolylineListIter& underlying);

    giPoint3 get_pos(int i) const override;
    int span_linear(int i) const override;
    giPoint3 get_mid_pos(int i) const override;
    velZXViewedAsXYPolylineListIter* create_new() const override;
    int all_spans_linear() const override;

    // p mapped to (z, x, y); the unset point (no mid point) stays unset.
    static giPoint3 zx_to_xy(const giPoint3& p);

private:
    // Copies are made with create_new(). A copy constructor would be chosen over the wrapping constructor
    // for an argument of this very class, copying where wrapping was meant; private, it makes that a
    // compile error. To wrap such a view, pass it as a velPolylineListIter const &.
    velZXViewedAsXYPolylineListIter(const velZXViewedAsXYPolylineListIter&) = default;
    velZXViewedAsXYPolylineListIter& operator=(const velZXViewedAsXYPolylineListIter&) = default;
};
