#pragma once
// A debug converter: a contour as one polyline, span by span: lines stay lines and arc spans stay arcs
// through their mid points. A span that does not start where the previous one ended starts a new
// polyline, so gaps in a contour show. An empty contour (or none) gives nothing.

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/polyline/contour/velAbsContourcoPrf.h"

#include <utility>

class velAbsContourvelDbg : public velDebugGeometryConverter {
public:
    explicit velAbsContourvelDbg(velAbsContourcoPrf contour) : m_contour(std::move(contour)) {}
    void calculate() override;

private:
    velAbsContourcoPrf m_contour;
};
