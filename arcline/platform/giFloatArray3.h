#pragma once
// A triple of single-precision floats: the storage element of single-precision polylines.

#include "arcline/platform/giPoint3.h"

#include <type_traits>

// Rounds a double to single precision, and keeps the rounding. GCC 12's SLP vectorizer folds a pair of
// double -> float -> double conversions into a plain copy at -O2 and above (so 1.1 would come back as 1.1,
// not 1.100000023841858); the empty asm makes the float a value the optimizer cannot see through.
constexpr float gi_narrow(double v) {
    float f = static_cast<float>(v);
#if defined(__GNUC__) && !defined(__clang__) && (defined(__x86_64__) || defined(__i386__))
    if (!std::is_constant_evaluated()) asm("" : "+x"(f));
#endif
    return f;
}

struct giFloatArray3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;

    constexpr giFloatArray3() = default;
    constexpr giFloatArray3(float px, float py, float pz) : x(px), y(py), z(pz) {}
    // Narrows a point to single precision (values beyond the float range become infinite).
    constexpr explicit giFloatArray3(const giPoint3& p)
        : x(gi_narrow(p.x)), y(gi_narrow(p.y)), z(gi_narrow(p.z)) {}

    constexpr float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    constexpr float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }

    constexpr giPoint3 point() const { return {x, y, z}; }
    constexpr bool operator==(const giFloatArray3&) const = default;
};
