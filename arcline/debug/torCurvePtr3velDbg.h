#pragma once
// A debug converter: a curve of space as a polyline through points on it, every chord within `tol` of the
// curve (torPolygonizeTRP3). Nothing for a null curve.

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/platform/torCurvePtr3.h"

#include <utility>

class torCurvePtr3velDbg : public velDebugGeometryConverter {
public:
    explicit torCurvePtr3velDbg(torCurvePtr3 curve, double tol = default_tol)
        : m_curve(std::move(curve)), m_tol(tol) {}

    // Chordal tolerance when none is given: fine enough for a picture of parts in millimetres.
    static constexpr double default_tol = 1e-3;
    void calculate() override;

private:
    torCurvePtr3 m_curve;
    double m_tol;
};
