#pragma once
// What `arcline info` tells about a list of polylines: counts, total length, the signed area of the closed
// ones and the box.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giBox3.h"
#include "tools/cli/Json.h"

#include <ostream>
#include <string>

namespace arcline::cli {

struct PolylineSummary {
    int polylines = 0;
    int positions = 0;
    int arc_spans = 0;
    int closed = 0; // closed as is_closed() says
    int open = 0;   // the rest with positions, single positions included
    int empty = 0;  // without positions
    // Sums of finite values may overflow to infinity (coordinates near 1e308); JSON shows them as null.
    double length = 0.0;
    // Sum of the signed XY areas of the closed polylines, anticlockwise positive: outer boundaries
    // (anticlockwise) add, holes (clockwise) subtract, so a region with its islands gives its net area.
    double area = 0.0;
    giBox3 box; // exact, arcs by their extreme points; empty without positions

    // Walks a clone of `list`; the iterator does not move.
    static PolylineSummary of(const velPolylineListIter& list);

    // Whether the current polyline of `it` is a closed loop: at least one span, and first and last positions
    // within closure_tol of each other. A single position is a point, not a loop.
    static bool is_closed(const velPolylineListIter& it);
    // Coincident ends: the files write doubles exactly, so closed loops repeat their first position.
    static constexpr double closure_tol = 1e-10;

    // Indented lines under a heading "file:".
    void write_text(std::ostream& out, const std::string& file) const;
    // The keys polylines, positions, arc_spans, closed, open, empty, length, area and box ([minx, miny,
    // minz, maxx, maxy, maxz], null when empty), added to `object`.
    void add_to(Json& object) const;
};

} // namespace arcline::cli
