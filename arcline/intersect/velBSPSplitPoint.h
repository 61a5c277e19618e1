#pragma once
// Where the BSP intersector puts its boxes and split lines.
//
// The root box: with m = 0.01 times the diagonal of the input box, the lower left corner moves by
// (-2.4271 m, -4.2185 m) and the box then grows by m on every side, so that the root's lower left corner lies
// outside every polyline (the visibility traversal starts there) and split lines are unlikely to meet round
// input coordinates.
//
// The split point: the box centre, unless a straight span of the node runs along one of its two lines (a
// vertical span within `tol` of its x, or a horizontal one within `tol` of its y, tol = min(span_fraction,
// 0.05 min(width, height))): then the first good one of the nine points centre + (i w / 6, j h / 6), i and
// j in -1, 0, 1 (i the outer loop); and when none is good, each coordinate moves out of the merged
// intervals [min - tol, max + tol] of the vertical (horizontal) spans to the nearest interval end. A split
// line along a span would leave pieces lying on a node's side. Spans count as straight when their signed
// bulge is below span_fraction (clockwise arcs included) and their ends are apart.

#include "arcline/intersect/velBSPNodeData.h"

class velBSPSplitPoint {
public:
    static giBox2 root_box(const giBox2& input);
    // The split point of the node; always strictly inside its box when the box is not degenerate (a fragment
    // end outside the box gives way to the centre).
    static giPoint2 choose(const velBSPNodeData& node);

protected:
    velBSPSplitPoint() = default;
};
