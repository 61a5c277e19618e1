#pragma once
// A debug converter: an arrow from a point to a second point, or from a point along a vector (the arrow
// drawing of velDebugGeometryUtils).

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector3.h"

class velDbgVector : public velDebugGeometryConverter {
public:
    velDbgVector(const giPoint3& from, const giPoint3& to) : m_from(from), m_to(to) {}
    velDbgVector(const giPoint3& from, const giVector3& direction) : m_from(from), m_to(from + direction) {}
    void calculate() override;

private:
    giPoint3 m_from, m_to;
};
