#pragma once
// A circle in XY: centre and radius. A small value for the proximity queries of the intersectors, which
// measure a polyline as seen from +Z.

#include "arcline/platform/giPoint2.h"

struct velCircle {
    giPoint2 centre{0.0, 0.0};
    double radius = 0.0;

    constexpr velCircle() = default;
    constexpr velCircle(const giPoint2& c, double r) : centre(c), radius(r) {}

    // Strictly nearer to the centre than the radius.
    bool inside(const giPoint2& p) const { return p.distance(centre) < radius; }
};
