#pragma once
// Presents every polyline of a list backwards, the list itself in its own order. With n positions,
// position i is the underlying position n - 1 - i and span i the underlying span n - 2 - i. An arc keeps
// its mid point (the point halfway along it is the same point whichever way it is walked) and its bulge
// changes sign; a polyline's box is the underlying one, since it holds the same points.
//
// get_current() answers null: the underlying contour runs the other way.
//
// Ownership: the view owns a clone of the underlying iterator, made at construction.

#include "arcline/lists/velForwardingListIter.h"
#include "arcline/lists/velPolylineListIter.h"

class velReversedPolylineListIter : public velForwardingListIter {
    UT_DECLARE_TYPE_ID(velReversedPolylineListIter, velPolylineListIter)

public:
    explicit velReversedPolylineListIter(const velPolylineListIter& underlying);

    giPoint3 get_pos(int i) const override;
    int span_linear(int i) const override;
    giPoint3 get_mid_pos(int i) const override;
    double get_bulge(int i) const override;
    giBox2 span_box(int i, vel2dBox kind) const override;
    giBox3 span_box(int i, vel3dBox kind) const override;
    giBox2 box(vel2dBox kind) const override;
    giBox3 box(vel3dBox kind) const override;
    velReversedPolylineListIter* create_new() const override;
    int all_spans_linear() const override;

    // The underlying position shown as position i, and the underlying span shown as span i, of the current
    // polyline.
    int underlying_pos_index(int i) const;
    int underlying_span_index(int i) const;

private:
    // Copies are made with create_new(). A copy constructor would be chosen over the wrapping constructor
    // for an argument of this very class, copying where wrapping was meant; private, it makes that a
    // compile error. To wrap such a view, pass it as a velPolylineListIter const &.
    velReversedPolylineListIter(const velReversedPolylineListIter&) = default;
    velReversedPolylineListIter& operator=(const velReversedPolylineListIter&) = default;
};
