#pragma once
// What can be told about a raw offset before and after it is made: whether a contour vanishes in it, and
// whether an offset arc still turns the way its input did.

#include "arcline/polyline/contour/velAbsContour.h"

class velOffsetValidity {
public:
    // A closed contour offset inward (offset > 0 for a clockwise contour, offset <= 0 for an anticlockwise
    // one) vanishes when the larger of its width and height is at most its tolerance plus 2 |offset|.
    // Contours that hold offsetting parameters of their own (valid_offsetting_pars()) are never judged.
    static bool vanishes(const velAbsContour& contour, double offset);
    // 0 for an arc whose bulge has the opposite sign of the offset (bulge > 0 with offset < 0, bulge < 0
    // with offset > 0): an arc whose offset moves towards its centre, so that it shrinks and collapses once
    // the offset exceeds its radius. 1 otherwise, lines included.
    static int is_valid_arcspan(const velAbsSpan& span, double offset);

private:
    velOffsetValidity() = default;
};
