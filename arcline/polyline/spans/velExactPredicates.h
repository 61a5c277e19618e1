#pragma once
// Exact signs of the two plane predicates that decide which side of a line or circle a point lies on, for
// points given as doubles: the answer is the sign of the determinant computed without rounding, so that
// tests built on them (the inside test, crossings of pieces) never contradict each other. A floating-point
// evaluation with a proven error bound answers almost every call; only when the bound cannot tell does an
// exact expansion arithmetic (sums of non-overlapping doubles) work the determinant out.
//
// Coordinates must be finite and the products of their differences must not overflow (magnitudes below
// about 1e75); underflow of tiny differences is exact in the expansions.

#include "arcline/platform/giPoint2.h"

class velExactPredicates {
public:
    // Sign of (b - a) x (c - a): 1 when c lies to the left of the line from a to b (a, b, c anticlockwise),
    // -1 to the right, 0 on the line.
    static int orientation(const giPoint2& a, const giPoint2& b, const giPoint2& c);
    // Sign of the in-circle determinant: 1 when d lies inside the circle through a, b, c taken
    // anticlockwise (outside when they run clockwise), -1 on the other side, 0 on the circle or when a, b,
    // c lie on one line and d on it too.
    static int in_circle(const giPoint2& a, const giPoint2& b, const giPoint2& c, const giPoint2& d);

private:
    velExactPredicates() = default;
};
