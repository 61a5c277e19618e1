#pragma once
// What the offsetters record about one span of their output: whether the span is a temporary one (an arc
// collapsed to a line, say, that later stages may drop), the position of the input span it was made from,
// and which side or corner of the input it lies on. A plain value copied member by member.

#include "arcline/polyline/spans/velSpanSide.h"

struct velOffsetInfo {
    // Nonzero for a temporary span.
    int temporary_span = 0;
    // Position of the source span; -1 when not set.
    int span_position = -1;
    velSpanSide span_side = velSpanSideNone;

    bool operator==(const velOffsetInfo&) const = default;
};
