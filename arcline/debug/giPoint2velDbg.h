#pragma once
// A debug converter: a point of the plane as a polyline of one position at z = 0.

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/platform/giPoint2.h"

class giPoint2velDbg : public velDebugGeometryConverter {
public:
    explicit giPoint2velDbg(const giPoint2& p) : m_p(p) {}
    void calculate() override;

private:
    giPoint2 m_p;
};
