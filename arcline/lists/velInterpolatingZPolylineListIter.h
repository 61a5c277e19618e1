#pragma once
// Presents a list on a ramp: every point keeps its X and Y and takes a Z that grows linearly along the
// chord of the list's first polyline, from z start at that polyline's first position a to z end at its
// last position b. For a point p the fraction is t = ((p - a) . (b - a)) / |b - a|^2 (p being the
// underlying point, all three coordinates), not clamped, so points beyond the chord's ends get heights
// outside [z start, z end]; when a and b are the same point (a closed first polyline, or a list without
// positions) t is 0 and every point is at z start.
//
// A ramped arc is no longer a circle, so every span is presented straight between its end positions: the
// view presents no arcs (all_spans_linear() is 1) and its bulges and boxes are those of the straight
// spans.
//
// a and b are read once, at construction. get_current() answers null. Ownership: the view owns a clone of
// the underlying iterator.

#include "arcline/lists/velForwardingListIter.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giVector3.h"

class velInterpolatingZPolylineListIter : public velForwardingListIter {
    UT_DECLARE_TYPE_ID(velInterpolatingZPolylineListIter, velPolylineListIter)

public:
    velInterpolatingZPolylineListIter(const velPolylineListIter& underlying, double z_start, double z_end);

    giPoint3 get_pos(int i) const override;
    velInterpolatingZPolylineListIter* create_new() const override;

    // The ramp's height over the underlying point p.
    double get_z_height(const giPoint3& p) const;

private:
    double m_z_start, m_z_end;
    giPoint3 m_a{0.0, 0.0, 0.0}; // first and last position of the first polyline
    giVector3 m_ab{0.0, 0.0, 0.0};
};
