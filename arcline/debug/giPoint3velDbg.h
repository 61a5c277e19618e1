#pragma once
// A debug converter: a point as a polyline of one position.

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/platform/giPoint3.h"

class giPoint3velDbg : public velDebugGeometryConverter {
public:
    explicit giPoint3velDbg(const giPoint3& p) : m_p(p) {}
    void calculate() override;

private:
    giPoint3 m_p;
};
