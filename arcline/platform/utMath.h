#pragma once
// Small numeric helpers shared by the whole library.

#include <cfloat>
#include <cmath>

namespace utMath {

inline constexpr double pi = 3.14159265358979323846;
inline constexpr double two_pi = 2.0 * pi;
inline constexpr double half_pi = 0.5 * pi;

// The value that stands for "not computed" or "unset" in caches and points.
inline constexpr double dbl_max = DBL_MAX;

inline constexpr double sqr(double v) {
    return v * v;
}

// -1, 0 or +1.
inline constexpr int sign(double v) {
    return (v > 0.0) - (v < 0.0);
}

// |magnitude| carrying the sign of `sign_of` (+ for 0).
inline double with_sign_of(double magnitude, double sign_of) {
    return sign_of < 0.0 ? -std::fabs(magnitude) : std::fabs(magnitude);
}

inline constexpr double clamp(double v, double lo, double hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

inline constexpr double radians(double degrees) {
    return degrees * (pi / 180.0);
}
inline constexpr double degrees(double radians) {
    return radians * (180.0 / pi);
}

} // namespace utMath
