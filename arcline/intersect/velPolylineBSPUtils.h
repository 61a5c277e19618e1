#pragma once
// Helpers of the BSP intersector: places on a node's perimeter, and the splitting of trimmed lists at a
// node's split lines.
//
// Perimeter order (less_than): anticlockwise around the rectangle starting at its top right corner: the
// top side by decreasing x, the left side by decreasing y, the bottom side by increasing x, the right side
// by increasing y. Points off the perimeter are placed on the side that node_side gives them. Sides may be
// given ready-made (a cut end of a piece knows its side from its flag), which keeps points at a corner on
// the side their cut made.
//
// edge_position runs the other way round (clockwise from the lower left corner, up the left side) and is a
// number in [0, 4): one unit per side, whatever the side's length.

#include "arcline/intersect/velDirection.h"
#include "arcline/platform/giBox2.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/platform/giPoint3.h"

class velTrimmedPolylineListIter;
class velPolyarcline2dBoxCache;

class velPolylineBSPUtils {
public:
    // The position of a boundary point along the perimeter, in [0, 4).
    static double edge_position(const giPoint3& point, const giBox2& box);
    // The side of the rectangle that a point belongs to, seen from the centre along the diagonals.
    static velDirection node_side(const giPoint3& point, const giBox2& box);
    static velDirection node_side(const giPoint2& point, const giBox2& box);
    // p strictly before q in the perimeter order.
    static bool less_than(const giPoint3& p, const giPoint3& q, const giBox2& box);
    // The same, with the sides of both points given.
    static bool less_than(const giPoint2& p, velDirection side_p, const giPoint2& q, velDirection side_q);
    // p before q or at the same place.
    static bool less_than_or_equal(const giPoint3& p, const giPoint3& q, const giBox2& box);
    static bool less_than_or_equal(const giPoint2& p, velDirection side_p, const giPoint2& q,
                                   velDirection side_q);

    // Splits the pieces of a trimmed list at the line x = value (direction left or right) or y = value (top
    // or bottom): `out` receives, as trimmings of the same underlying list, the parts on the side the
    // direction names (left: x < value, right: x >= value, bottom: y < value, top: y >= value). Uses the box
    // cache (may be null) to pass over spans that lie wholly on one side.
    static void slice_polyline(velTrimmedPolylineListIter& pieces, double value, velDirection direction,
                               const velPolyarcline2dBoxCache* box_cache, velTrimmedPolylineListIter& out);
    // Splits the pieces into the four quadrants of (x, y), numbered as velNode2 numbers them.
    static void subdivide_polyline(velTrimmedPolylineListIter& pieces, double x, double y,
                                   const velPolyarcline2dBoxCache* box_cache,
                                   velTrimmedPolylineListIter& out0, velTrimmedPolylineListIter& out1,
                                   velTrimmedPolylineListIter& out2, velTrimmedPolylineListIter& out3);

protected:
    velPolylineBSPUtils() = default;
};
