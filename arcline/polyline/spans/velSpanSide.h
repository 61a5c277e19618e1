#pragma once
// Side label of a span as set by the offsetter: which side of the input it came from, or which kind of
// corner or cap span it is.

enum velSpanSide {
    velSpanSideNone = 0,
    velSpanSideLeft = 1,        // offset on the left side
    velSpanSideRight = 2,       // offset on the right side
    velSpanSideEndCap = 3,      // cap round the end of an open polyline
    velSpanSideLeftCorner = 4,  // corner span after a left side span
    velSpanSideRightCorner = 5, // corner span after a right side span
};
