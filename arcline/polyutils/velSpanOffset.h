#pragma once
// The offset of one span on its own, before any corner is joined: a line moves along its right-hand
// normal, an arc stays about its centre. An arc that the offset drives through its centre comes back as a
// temporary line between its moved ends, unless it was so flat that it is offset as the line it nearly is.

#include "arcline/polyline/spans/velAbsSpan.h"

class velSpanOffset {
public:
    // The span moved by `offset` (velAbsSpan::offset). An arc that collapsed into a temporary line but whose
    // sagitta |bulge * chord / 2| is below `ctol` (the contour's tolerance) is offset as a straight span
    // instead. With span_info the new span carries the span's position and side; without, it carries no
    // label. Null for a span of no kind.
    static velAbsSpancoPrf offset_span(double offset, double ctol, int span_info, const velAbsSpan& span);
    // A line of the span's class from its start to its end, with its flags, label and properties.
    static velAbsSpancoPrf straight_copy(const velAbsSpan& span);

private:
    velSpanOffset() = default;
};
