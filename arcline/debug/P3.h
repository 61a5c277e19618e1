#pragma once
// A point (or a direction) in space for debug geometry documents. Deliberately not the library's giPoint3:
// the document writer depends on nothing else in the library, so that any part of the kernel can call it.

#include "arcline/debug/P2.h"

namespace lumet {

struct P3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr P3() = default;
    constexpr P3(double px, double py, double pz) : x(px), y(py), z(pz) {}
    // Implicit on purpose: every export that takes a P3 also takes a P2, written with z = 0.
    constexpr P3(const P2& p) : x(p.x), y(p.y) {}

    constexpr bool operator==(const P3&) const = default;
};

} // namespace lumet
