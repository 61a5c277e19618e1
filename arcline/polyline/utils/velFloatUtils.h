#pragma once
// Comparisons of coordinates that may have passed through single-precision storage.

#include "arcline/platform/giFloatArray3.h"

#include <cmath>

class velFloatUtils {
public:
    // Equal, or apart by at most `max_ulps` units in the last place of the larger magnitude: the noise of a
    // few rounded operations on the same value.
    static bool equal(double a, double b, int max_ulps = 4) {
        if (a == b) return true;
        const double scale = std::max(std::fabs(a), std::fabs(b));
        return std::fabs(a - b) <= max_ulps * (std::nextafter(scale, HUGE_VAL) - scale);
    }
    // The value rounded to single precision: what a single-precision polyline stores for it. Two values that
    // snap to the same float are the same coordinate as far as such a polyline can tell.
    static double snap(double v) { return gi_narrow(v); }

private:
    velFloatUtils() = default;
};
