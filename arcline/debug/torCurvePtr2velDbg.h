#pragma once
// A debug converter: a curve of the plane as a polyline at z = 0 through points on it. The parameter range
// is cut into `min_pieces` equal pieces, and each piece is halved while the curve at the middle of its
// parameters lies farther than `tol` from its chord, at most `max_depth` times. Nothing for a null curve.

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/platform/torCurvePtr2.h"

#include <utility>

class torCurvePtr2velDbg : public velDebugGeometryConverter {
public:
    explicit torCurvePtr2velDbg(torCurvePtr2 curve, double tol = default_tol)
        : m_curve(std::move(curve)), m_tol(tol) {}

    static constexpr double default_tol = 1e-3;
    static constexpr int min_pieces = 16;
    static constexpr int max_depth = 12;
    void calculate() override;

private:
    torCurvePtr2 m_curve;
    double m_tol;
};
