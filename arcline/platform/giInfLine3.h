#pragma once
// An infinite line through a point along a unit direction.

#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giUnitVec3.h"

#include <cmath>

class giInfLine3 {
public:
    giInfLine3(const giPoint3& point, const giUnitVec3& direction) : m_point(point), m_dir(direction) {}

    const giPoint3& point() const { return m_point; }
    const giUnitVec3& direction() const { return m_dir; }

    // Perpendicular distance of `p` from the line.
    double distance_of_point(const giPoint3& p) const { return (p - m_point).cross(m_dir.vector()).length(); }
    // Parameter (signed distance along the direction) of the foot of `p`.
    double parameter_of_point(const giPoint3& p) const { return (p - m_point).dot(m_dir.vector()); }

private:
    giPoint3 m_point;
    giUnitVec3 m_dir;
};
