#include "arcline/polyutils/velOffsetValidity.h"

#include <algorithm>
#include <cmath>

bool velOffsetValidity::vanishes(const velAbsContour& contour, double offset) {
    if (contour.valid_offsetting_pars() || !contour.is_closed()) return false;
    // The extents first: they come from a box, the orientation from the area of every span.
    if (std::max(contour.get_width(), contour.get_height()) > contour.get_tol() + 2.0 * std::fabs(offset))
        return false;
    return contour.is_clockwise() ? offset > 0.0 : offset <= 0.0;
}

int velOffsetValidity::is_valid_arcspan(const velAbsSpan& span, double offset) {
    if (!span.is_of_class_arc()) return 1;
    const double b = span.get_bulge();
    return (b > 0.0 && offset < 0.0) || (b < 0.0 && offset > 0.0) ? 0 : 1;
}
