#pragma once
// A debug converter: a circle by its centre and radius, in XY for a 2D centre (at z = 0), else in the plane
// perpendicular to a normal (the circle drawing of velDebugGeometryUtils).

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector3.h"

class velDbgCircle : public velDebugGeometryConverter {
public:
    velDbgCircle(const giPoint2& centre, double radius)
        : m_centre(centre.xyz(0.0)), m_radius(radius), m_normal(0.0, 0.0, 1.0) {}
    velDbgCircle(const giPoint3& centre, double radius, const giVector3& normal)
        : m_centre(centre), m_radius(radius), m_normal(normal) {}
    void calculate() override;

private:
    giPoint3 m_centre;
    double m_radius;
    giVector3 m_normal;
};
