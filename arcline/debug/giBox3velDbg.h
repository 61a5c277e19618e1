#pragma once
// A debug converter: the twelve edges of a box (the box drawing of velDebugGeometryUtils); nothing for an
// empty box.

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/platform/giBox3.h"

class giBox3velDbg : public velDebugGeometryConverter {
public:
    explicit giBox3velDbg(const giBox3& box) : m_box(box) {}
    void calculate() override;

private:
    giBox3 m_box;
};
