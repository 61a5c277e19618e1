#pragma once
// Presents a list projected onto the plane z = z level: every position and arc mid point keeps its X and Y
// and takes the level as Z. Span kinds are the underlying ones.
//
// An arc that lies at one height (start, mid point and end at equal Z, as single-precision storage can
// tell) is only moved along Z: its mid point is the projected one, its bulge the underlying one and its XY
// box the underlying XY box, put at the level. A tilted arc has an ellipse for its shadow, which no arc can
// present. The view presents the arc through the three projected points instead: the projected mid point
// lies on it but is not halfway along it, so the mid point presented is that arc's own halfway point, and
// its bulge and boxes are computed from the presented points. A tilted arc seen edge-on projects onto its
// chord's line and is presented as a flat arc, its mid point the chord's midpoint (bulge 0).
//
// get_current() answers null. Ownership: the view owns a clone of the underlying iterator.

#include "arcline/lists/velForwardingListIter.h"
#include "arcline/lists/velPolylineListIter.h"

class velFlattenedPolylineListIter : public velForwardingListIter {
    UT_DECLARE_TYPE_ID(velFlattenedPolylineListIter, velPolylineListIter)

public:
    velFlattenedPolylineListIter(const velPolylineListIter& underlying, double z_level);

    giPoint3 get_pos(int i) const override;
    int span_linear(int i) const override;
    giPoint3 get_mid_pos(int i) const override;
    double get_bulge(int i) const override;
    giBox2 span_box(int i, vel2dBox kind) const override;
    giBox3 span_box(int i, vel3dBox kind) const override;
    giBox2 box(vel2dBox kind) const override;
    giBox3 box(vel3dBox kind) const override;
    velFlattenedPolylineListIter* create_new() const override;
    int all_spans_linear() const override;

    double z_level() const { return m_z; }

private:
    giPoint3 flattened(giPoint3 p) const;
    giBox3 at_level(const giBox2& b) const;
    // Nonzero when underlying span i is an arc whose three points are not at one height.
    int tilted_arc(int i) const;

    double m_z;
};
