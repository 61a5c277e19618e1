#pragma once
// Where a polyline leaves a circle: the first point outside a circle when walking from a place inside it,
// and the widening of a section whose ends lie inside a circle until they reach its rim. Used to clear the
// neighbourhood of a point (a tool position, a link end) along a polyline.
//
// Everything is measured in XY: the polyline is seen from +Z, and an arc is the circular arc through the
// shadows of its three points (exact for arcs in planes of constant z). A point is inside the circle when
// it is strictly nearer to the centre than the radius, and outside when it is farther than the radius by
// more than on_circle_tol; a polyline that only touches the rim, or runs along it, does not leave.
//
// Exits are found span by span: the span is intersected with the circle (as its two half circles) by the
// span intersection of velCirbul, and between consecutive meeting points the side is read at the middle,
// so tangencies and runs along the rim are no exits. Spans that lie wholly inside the circle (their
// farthest point, found exactly, is inside) are passed without intersecting.
//
// Stateless: one object serves any number of queries and threads.

#include "arcline/intersect/velCircle.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/lists/velPolylineSection.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/polyline/spans/velAbsSpan.h"
#include "arcline/polyline/utils/velPolylinePosition.h"
#include "arcline/polyline/velTolerances.h"

class velFastPolylineCircleIntersector {
public:
    // Beyond the radius by this much a point is outside (absolute, in the units of the coordinates).
    static constexpr double on_circle_tol = velTol::coincident;
    // Touching distance of the span intersections, and the tolerance of the arc distance routine.
    static constexpr double intersection_tol = velTol::touching;
    static constexpr double arc_distance_tol = 1e-12;

    velFastPolylineCircleIntersector() = default;
    ~velFastPolylineCircleIntersector() = default;

    // The span's smallest distance from the centre is greater than the radius.
    bool span_is_outside_circle(const velAbsSpan& span, const velCircle& circle) const;
    // Smallest XY distance from `point` to the span: to the segment for a straight span (bulge exactly 0),
    // to the arc for an arc.
    double smallest_distance(const velAbsSpan& span, const giPoint2& point) const;

    // Walking from `position` (a position on `iter`) forwards when direction > 0, else backwards, the first
    // point at which the polyline leaves the circle. `position` itself when its point is not inside the
    // circle. The walk goes to the polyline's end (start); on a closed polyline (tolerance 0) it then goes
    // on past the closure point back to `position`. No exit: the end of the walk, that is the polyline's
    // end (start) when open and `position`'s parameter when closed. The result is a position on `iter`.
    velPolylinePosition find_first_outside_circle(const velPolylineListIter& iter,
                                                  const velPolylinePosition& position,
                                                  const velCircle& circle, int direction) const;
    // Searches one section of a polyline of `iter` (through the closure point when it wraps): forwards from
    // its start when direction > 0, else backwards from its end. Returns 1 with `exit` the first point at
    // which the polyline leaves the circle, or 0 with `exit` the end of the walk (the section's end or
    // start). The walk's own first point counts as an exit when the polyline is already outside there.
    int find_first_outside_circle_on_section(const velPolylineListIter& iter,
                                             const velPolylineSection& section, const velCircle& circle,
                                             int direction, velPolylinePosition& exit) const;
    // The section with each end that lies inside the circle moved outward, the end forwards and the start
    // backwards, to the first point outside (as find_first_outside_circle). Unchanged when neither end is
    // inside, or when it is invalid. When the moved ends meet (the whole gap between end and start lies in
    // the circle) the result is the whole polyline. The result is on `iter`.
    velPolylineSection expand_section_to_circle(const velPolylineListIter& iter, const velCircle& circle,
                                                const velPolylineSection& section) const;
};
