#pragma once
// A circular arc of space through three points: start S (parameter 0), mid M (0.5, halfway along the arc)
// and end E (1), evaluated by torArc3Utils. Collinear points make the segment S E; coincident ends make the
// point S.

#include "arcline/platform/torCurve3.h"

class torArc3 : public torCurve3 {
public:
    torArc3(const giPoint3& S, const giPoint3& M, const giPoint3& E);

    double start_param() const override { return 0.0; }
    double end_param() const override { return 1.0; }
    giPoint3 evaluate(double t) const override;
    // Chords of equal angle, as few as keep the sagitta within tol. Tolerances below min_chordal_tol are
    // raised to it, so that a zero tolerance does not ask for endless chords.
    void polygon_params(double lo, double hi, double tol, std::vector<double>& params) const override;

    // Radius; 0 for a segment or a point.
    double radius() const { return m_radius; }

    static constexpr double min_chordal_tol = 1e-9;

private:
    giPoint3 m_s, m_m, m_e;
    // Bulge of the arc in its own plane (tan of a quarter of the sweep), >= 0; 0 for a segment or a point.
    double m_bulge = 0.0;
    double m_radius = 0.0;
};
