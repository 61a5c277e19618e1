#pragma once
// Queries on lists of polylines answered through their zones (velPolylineListZoneNode, velPolylineZoneNode)
// instead of by scanning every span: closest points, and parameters of polylines that lie clear of every
// crossing. All members are static.
//
// Closest points are exact: the same point, up to rounding, as the scan of velPolylineUtils over every
// span (arcs exact, tilted arcs in their own plane), among the spans that reach into the zones' limits
// (the whole list for zones made over its total box). When several points are equally near, any of them
// may be answered. The stages: velZoneNearestSearch (best-first search of the zones).
//
// The 2D members work in XY on a flattened view of the list (velFlattenedPolylineListIter) with zones in
// the plane made from that view; a 2D point is lifted to the view's z level. The list-wide members read the
// geometry through the zones' own iterators (clones of the one the zones were made from, each standing on
// its polyline), so `iter` must be the iterator the zones were made from, or one presenting the same list:
// positions answered refer to it. The single-polyline members read the current polyline of `iter` and
// take its candidates from `zones`, which must be that polyline's zones. Nothing moves `iter`.
//
// Free parameters: a point of a polyline that no other part of the list comes within a tolerance of,
// except the spans beside it at their shared vertices. The sorter restarts a closed polyline whose closing
// point is a self-crossing there. The stages: velZoneCloseFragments (the parts of a span near other spans).

#include "arcline/intersect/velPolylineListZoneNode.h"
#include "arcline/intersect/velPolylineZoneNode.h"
#include "arcline/lists/velFlattenedPolylineListIter.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/polyline/utils/velPolylinePosition.h"

#include <vector>

class velZonedPolylineListUtils {
public:
    // Spans whose ends lie this close are not offered as free places.
    static constexpr double zero_span_length = 1e-8;

    // --- Closest points

    // The point of the list nearest to `point`: a position on `iter` (polyline index and parameter); an
    // invalid position when no polyline has a position within the zones' limits. `distance` is its
    // distance (DBL_MAX when invalid).
    static velPolylinePosition closest_point(const giPoint3& point, const velPolylineListIter& iter,
                                             const velPolylineListZoneNode<3>& zones);
    static velPolylinePosition closest_point(const giPoint3& point, const velPolylineListIter& iter,
                                             const velPolylineListZoneNode<3>& zones, double& distance);
    // The same in XY: the nearest point of the flattened list to `point` lifted to the view's level.
    static velPolylinePosition closest_point_2d(const giPoint2& point,
                                                const velFlattenedPolylineListIter& iter,
                                                const velPolylineListZoneNode<2>& zones);
    static velPolylinePosition closest_point_2d(const giPoint2& point,
                                                const velFlattenedPolylineListIter& iter,
                                                const velPolylineListZoneNode<2>& zones, double& distance);
    // The parameter of the point of the current polyline of `iter` nearest to `point`, measuring only the
    // spans that the polyline's zones list near it; -1.0 (distance DBL_MAX) without positions.
    static double single_polyline_closest_point(const giPoint3& point, const velPolylineListIter& iter,
                                                const velPolylineZoneNode<3>& zones);
    static double single_polyline_closest_point(const giPoint3& point, const velPolylineListIter& iter,
                                                const velPolylineZoneNode<3>& zones, double& distance);
    static double single_polyline_closest_point_2d(const giPoint2& point,
                                                   const velFlattenedPolylineListIter& iter,
                                                   const velPolylineZoneNode<2>& zones);
    static double single_polyline_closest_point_2d(const giPoint2& point,
                                                   const velFlattenedPolylineListIter& iter,
                                                   const velPolylineZoneNode<2>& zones, double& distance);

    // --- Free parameters

    // A parameter of the current polyline of `iter` whose point lies farther than `tolerance` (> 0) from
    // every other span of the polyline, the contact of neighbouring spans at their shared vertex aside (span
    // j's neighbours are j - 1 and j + 1, and the first and last spans of a closed polyline, closed when its
    // ends are equal). The spans are tried in order, skipping those shorter than zero_span_length; the first
    // one with a free part gives the answer: its index plus the middle of its longest free stretch. -1.0 when
    // no span has a free part. `zones` are the polyline's zones.
    static double non_self_intersecting_parameter(const velFlattenedPolylineListIter& iter, double tolerance,
                                                  const velPolylineZoneNode<2>& zones);
    // For every polyline of the list, a parameter found as above that also lies farther than `tolerance`
    // from every span of every other polyline (polylines of one position cross nothing and are not looked
    // at): out[i] for polyline i, -1.0 where there is none (or no span). Returns the number of polylines
    // given a parameter.
    static int non_intersecting_parameters(const velFlattenedPolylineListIter& iter, double tolerance,
                                           const velPolylineListZoneNode<2>& zones, std::vector<double>& out);

private:
    velZonedPolylineListUtils() = default;
};
