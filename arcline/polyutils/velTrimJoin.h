#pragma once
// The trimmed corner: where the offsets of two consecutive spans overlap (a concave corner on the offset
// side), both are cut back to the point where they cross.

#include "arcline/polyline/spans/velAbsSpan.h"

class velTrimJoin {
public:
    // When `before` and `after` cross exactly once, at parameter t1 of `before` and t2 of `after` (0 at a
    // span's start, 1 at its end), with t1 != 0 and t2 != 1, `after` is cut to [t2, 1] and `before` to
    // [0, t1]: 1 when either cut succeeded (two spans that meet at their joint count as cut). Otherwise 0;
    // then a raster span on either side is nudged off the other by velTol::span_fraction along its normal
    // (the start of `after` when `before` is a raster span, the end of `before` when `after` is one).
    static int join(const velAbsSpancoPrf& before, const velAbsSpancoPrf& after);

private:
    velTrimJoin() = default;
};
