#pragma once
// A debug converter: the stretch of polyline that a section names, as one polyline (velPolylineSection::
// copy_to: arcs stay arcs, a wrapping section runs through the closure point, a degenerate one is a point,
// an invalid one nothing). The section's iterator must outlive the converter.

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/lists/velPolylineSection.h"

class velDbgPolylineSection : public velDebugGeometryConverter {
public:
    explicit velDbgPolylineSection(const velPolylineSection& section) : m_section(section) {}
    void calculate() override;

private:
    velPolylineSection m_section;
};
