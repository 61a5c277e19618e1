#pragma once
// Presents a list with two coordinates of every point exchanged (velSwitchedCoordinates): positions, arc
// mid points and the corners of every box. Exchanging two coordinates is a reflection, so arcs stay arcs
// and boxes stay exact; lengths are kept.
//
// get_bulge() and span_linear() are the underlying ones. The bulge is therefore the one seen in the
// underlying frame: a reflection turns an arc's sense, so for velSwitchXY the presented arc turns the
// other way from what the forwarded bulge says, and for the other two exchanges the presented arc usually
// no longer lies in a plane of constant Z. Consumers that need the bulge of the presented points compute
// it from get_pos() and get_mid_pos(). Boxes are exact for the presented points: a 3D box is the
// underlying box with its corners exchanged; a 2D box is the exchanged 2D box for velSwitchXY, and the XY
// part of the exchanged 3D box for velSwitchYZ and velSwitchZX, which bring Z into the plane.
//
// get_current() answers null. Ownership: the view owns a clone of the underlying iterator.

#include "arcline/lists/velForwardingListIter.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/lists/velSwitchedCoordinates.h"

class velSwitchedCoordinatePolylineListIter : public velForwardingListIter {
    UT_DECLARE_TYPE_ID(velSwitchedCoordinatePolylineListIter, velPolylineListIter)

public:
    velSwitchedCoordinatePolylineListIter(const velPolylineListIter& underlying,
                                          velSwitchedCoordinates which);

    giPoint3 get_pos(int i) const override;
    int span_linear(int i) const override;
    giPoint3 get_mid_pos(int i) const override;
    double get_bulge(int i) const override;
    giBox2 span_box(int i, vel2dBox kind) const override;
    giBox3 span_box(int i, vel3dBox kind) const override;
    giBox2 box(vel2dBox kind) const override;
    giBox3 box(vel3dBox kind) const override;
    velSwitchedCoordinatePolylineListIter* create_new() const override;
    int all_spans_linear() const override;

    velSwitchedCoordinates switched() const { return m_which; }
    // p with the coordinates exchanged as `which` says (unchanged for any other value). The unset point
    // (no mid point) stays unset.
    static giPoint3 switch_coordinates(const giPoint3& p, velSwitchedCoordinates which);
    giPoint3 switch_coordinates(const giPoint3& p) const { return switch_coordinates(p, m_which); }

private:
    // The box with its corners' coordinates exchanged; a 2D box changes for velSwitchXY only.
    giBox3 switch_box(const giBox3& b) const;
    giBox2 switch_box(const giBox2& b) const;

    velSwitchedCoordinates m_which;
};
