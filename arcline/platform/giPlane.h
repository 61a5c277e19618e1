#pragma once
// A plane through a point with a unit normal.

#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giUnitVec3.h"

class giPlane {
public:
    giPlane() : m_origin(0.0, 0.0, 0.0), m_normal(giAxisZ) {}
    giPlane(const giPoint3& origin, const giUnitVec3& normal) : m_origin(origin), m_normal(normal) {}

    const giPoint3& origin() const { return m_origin; }
    const giUnitVec3& normal() const { return m_normal; }

    // Positive on the side the normal points to.
    double signed_distance(const giPoint3& p) const { return (p - m_origin).dot(m_normal.vector()); }
    giPoint3 project(const giPoint3& p) const { return p - m_normal.vector() * signed_distance(p); }

private:
    giPoint3 m_origin;
    giUnitVec3 m_normal;
};
