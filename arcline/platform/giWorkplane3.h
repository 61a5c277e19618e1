#pragma once
// A right-handed orthonormal frame: an origin and x, y, z axes. to_world maps work coordinates to world
// coordinates; to_work is its inverse.

#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giUnitVec3.h"

class giWorkplane3 {
public:
    // The world frame.
    giWorkplane3() : m_origin(0.0, 0.0, 0.0), m_x(giAxisX), m_y(giAxisY), m_z(giAxisZ) {}
    giWorkplane3(const giPoint3& origin, const giVector3& xaxis, const giVector3& yaxis) {
        become(origin, xaxis, yaxis);
    }

    // Frame at `origin` with x along `xaxis` and y in the plane of `xaxis` and `yaxis` (made orthogonal
    // to x); z = x cross y.
    void become(const giPoint3& origin, const giVector3& xaxis, const giVector3& yaxis) {
        m_origin = origin;
        m_x = giUnitVec3(xaxis);
        const giVector3 xv = m_x.vector();
        m_y = giUnitVec3(yaxis - xv * yaxis.dot(xv));
        m_z = giUnitVec3(xv.cross(m_y.vector()));
    }

    const giPoint3& origin() const { return m_origin; }
    const giUnitVec3& xaxis() const { return m_x; }
    const giUnitVec3& yaxis() const { return m_y; }
    const giUnitVec3& zaxis() const { return m_z; }

    giPoint3 to_world(const giPoint3& p) const {
        return m_origin + m_x.vector() * p.x + m_y.vector() * p.y + m_z.vector() * p.z;
    }
    giVector3 to_world(const giVector3& v) const {
        return m_x.vector() * v.x() + m_y.vector() * v.y() + m_z.vector() * v.z();
    }
    giPoint3 to_work(const giPoint3& p) const {
        const giVector3 d = p - m_origin;
        return {d.dot(m_x.vector()), d.dot(m_y.vector()), d.dot(m_z.vector())};
    }
    giVector3 to_work(const giVector3& v) const {
        return {v.dot(m_x.vector()), v.dot(m_y.vector()), v.dot(m_z.vector())};
    }

private:
    giPoint3 m_origin;
    giUnitVec3 m_x, m_y, m_z;
};
