#pragma once
// The closest-point stage of velZonedPolylineListUtils: the nearest span of a polyline, or of a list, to a
// point, found through zone trees instead of by a scan.
//
// The search is best first: zones are visited in the order of their boxes' distance from the point, a
// zone's spans are measured exactly (velPolylineUtils::get_closest_point, arcs exact, tilted ones too), and
// the search stops when the next zone lies no nearer than the best distance found. Within a zone, spans
// are measured nearest box first, and not at all once their boxes lie no nearer than the best distance. Every
// span with a point within that distance reaches into a zone within that distance and is listed there (zones
// never miss a span that reaches into them), so the answer is the scan's answer, among the spans that reach
// into the zones' limits. Each span is measured once, however many zones list it.
//
// In the plane (D = 2) zone boxes are XY boxes and the point's XY is compared with them; distances are
// measured in 3D through the iterator, so the iterator must present the polyline at the point's height (a
// flattened view with the point lifted to its level) for them to be XY distances.

#include "arcline/intersect/velPolylineListZoneNode.h"
#include "arcline/intersect/velPolylineZoneNode.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giPoint3.h"

template <int D>
class velZoneNearestSearch {
public:
    // The nearest point of the spans of `zones`' polyline, read through `poly` (standing on that polyline):
    // when it is strictly nearer to P than `distance`, distance and t (its parameter) are set to it and the
    // answer is 1, else 0 and both are left alone. A polyline of one position is its point (t = 0), when
    // that lies within the zones' limits.
    static int nearest_on_polyline(const velPolylineZoneNode<D>& zones, const velPolylineListIter& poly,
                                   const giPoint3& P, double& t, double& distance);
    // The same over every polyline of `zones`' list, read through the trees' own iterators: index is set
    // with t. Polylines whose box lies farther than the best distance are not searched.
    static int nearest_on_list(const velPolylineListZoneNode<D>& zones, const giPoint3& P, int& index,
                               double& t, double& distance);

private:
    velZoneNearestSearch() = default;
};

extern template class velZoneNearestSearch<2>;
extern template class velZoneNearestSearch<3>;
