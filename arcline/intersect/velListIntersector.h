#pragma once
// Every crossing of a list of polylines: self-crossings of each polyline and crossings between polylines,
// found by the BSP intersector (velIntersectorBSPNode). The one entry point for callers that want
// crossings without sorting regions; the sorter runs the same intersector.
//
//     velCrossingcoPageArr crossings;
//     velListIntersector::all_crossings(list, crossings);          // each crossing once
//     velListIntersector::crossings_between(list, k, crossings);   // only polylines [0, k) against [k, n)
//
// Closure: unless the cross data has a closure function, a polyline is closed when its first and last
// positions are the same point (tolerance 0). The closing point of a closed polyline is no crossing; the
// ends of an open polyline are true ends, and nothing closer than span_fraction to an open end is reported
// as a crossing when it cannot be decided directly.
//
// Parameters are the list's: span index plus the bulge parameter within the span (0.5 at an arc's mid point).

#include "arcline/intersect/velCrossingcoPageArr.h"

class velCrossData;
class velPolylineListIter;
class velProgressBreak;

class velListIntersector {
public:
    // Runs the intersection with the settings of `data` (pairs, alternates, second boundary index,
    // closure function), into data.crossings(). It asks for crossings (intersections on, visibility off)
    // and caches span boxes in the data. Returns 0, or 1 when the progress break (may be null) asked to
    // stop; then data.crossings() holds what was found so far. The list is left where it stood.
    static int intersect(velPolylineListIter& list, velCrossData& data, velProgressBreak* progress = nullptr,
                         int* node_count = nullptr);

    // Every crossing once (no mirror records, no alternates), in the order the tree found them.
    static int all_crossings(velPolylineListIter& list, velCrossingcoPageArr& out,
                             velProgressBreak* progress = nullptr);
    // Every crossing between a polyline of [0, k) and one of [k, n), once; curve 1 is the one below k.
    static int crossings_between(velPolylineListIter& list, int k, velCrossingcoPageArr& out,
                                 velProgressBreak* progress = nullptr);

    // The closure function used when the data has none: first and last positions equal.
    static int closed_by_coincident_ends(const velPolylineListIter& list, int index, void* data);

protected:
    velListIntersector() = default;
};
