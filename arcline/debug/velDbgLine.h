#pragma once
// A debug converter: the straight line between two points (2D points lie at z = 0).

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/platform/giPoint3.h"

class velDbgLine : public velDebugGeometryConverter {
public:
    velDbgLine(const giPoint2& a, const giPoint2& b) : m_a(a.xyz(0.0)), m_b(b.xyz(0.0)) {}
    velDbgLine(const giPoint3& a, const giPoint3& b) : m_a(a), m_b(b) {}
    void calculate() override;

private:
    giPoint3 m_a, m_b;
};
