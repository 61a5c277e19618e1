#include "arcline/polyutils/velCornerGeometry.h"

#include "arcline/polyline/velTolerances.h"

#include <cmath>

velCornerGeometry::velCornerGeometry(const giVector3& before, const giVector3& after, double offset)
    : T1(before.x(), before.y(), 0.0), T2(after.x(), after.y(), 0.0),
      q(-(before.x() * after.x() + before.y() * after.y())) {
    if (degenerate()) return;
    const double h = std::acos(q) / 2.0;
    extension = std::fabs(offset / std::tan(h));
    corner_distance = std::fabs(offset / std::sin(h));
    cos_half = std::cos(h);
}

bool velCornerGeometry::degenerate() const {
    return std::fabs(q) > velTol::corner_parallel;
}

bool velCornerGeometry::convex(const giVector3& before, const giVector3& after, double offset) {
    const double cross = before.x() * after.y() - before.y() * after.x();
    return offset > 0.0 ? cross > velTol::corner_turn : cross < -velTol::corner_turn;
}
