#pragma once
// A triple of single-precision floats: the storage element of single-precision polylines.

#include "arcline/platform/giPoint3.h"

struct giFloatArray3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;

    constexpr giFloatArray3() = default;
    constexpr giFloatArray3(float px, float py, float pz) : x(px), y(py), z(pz) {}
    // Narrows a point to single precision (values beyond the float range become infinite).
    constexpr explicit giFloatArray3(const giPoint3& p)
        : x(static_cast<float>(p.x)), y(static_cast<float>(p.y)), z(static_cast<float>(p.z)) {}

    constexpr float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    constexpr float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }

    constexpr giPoint3 point() const { return {x, y, z}; }
    constexpr bool operator==(const giFloatArray3&) const = default;
};
