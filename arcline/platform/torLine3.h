#pragma once
// A straight segment from S (parameter 0) to E (parameter 1).

#include "arcline/platform/torCurve3.h"

class torLine3 : public torCurve3 {
public:
    torLine3(const giPoint3& S, const giPoint3& E) : m_s(S), m_e(E) {}

    double start_param() const override { return 0.0; }
    double end_param() const override { return 1.0; }
    giPoint3 evaluate(double t) const override;
    // A segment is its own polygon: lo and hi.
    void polygon_params(double lo, double hi, double tol, std::vector<double>& params) const override;

private:
    giPoint3 m_s, m_e;
};
