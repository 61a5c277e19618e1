#pragma once
// What the offset and pocket commands tell of the polylines they write: loops (closed polylines with a
// span; outer boundaries anticlockwise, area 0 or more, holes clockwise), open polylines, spans, the area
// the loops enclose (the sum of their signed areas) and the length of everything.

#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "tools/cli/Json.h"

class velPolylineListIter;

namespace arcline::cli {

struct LoopCounts {
    int polylines = 0; // every polyline counted, with or without a span
    int loops = 0;
    int outer = 0, holes = 0;
    int open = 0;
    int spans = 0;
    double area = 0.0;
    double length = 0.0;

    // The counts of every polyline of `list`.
    static LoopCounts of(const velAbsPolyArcLinecoDListPrgcoPrgcoDList& list);
    // Adds the current polyline of `it`.
    void add(const velPolylineListIter& it);
    void add(const LoopCounts& other);

    // "3 loops: 1 outer boundary, 2 holes", with ", 1 open polyline" when there are open ones.
    std::string describe() const;
    // The counts as JSON members: polylines, loops, outer, holes, open, spans, area, length.
    void to_json(Json& doc) const;
};

} // namespace arcline::cli
