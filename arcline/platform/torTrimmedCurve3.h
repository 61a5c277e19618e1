#pragma once
// A piece of another curve between two of its parameters a and b, made by torCurve3::subcurve. The piece
// keeps the base curve's parameters where it runs forward (a <= b: range [a, b], the base's point at s) and
// negates them where it runs backward (a > b: range [-a, -b], the base's point at -s), so that a point keeps
// its parameter, up to sign, from base to piece. Pieces of pieces trim the base again: they never nest.

#include "arcline/platform/torCurve3.h"

#include <memory>

class torTrimmedCurve3 : public torCurve3 {
public:
    torTrimmedCurve3(std::shared_ptr<const torCurve3> base, double a, double b);

    double start_param() const override { return m_sign * m_a; }
    double end_param() const override { return m_sign * m_b; }
    giPoint3 evaluate(double s) const override;
    torCurvePtr3 subcurve(double s0, double s1) const override;
    void polygon_params(double lo, double hi, double tol, std::vector<double>& params) const override;

    const std::shared_ptr<const torCurve3>& base() const { return m_base; }
    // Base parameters of the piece's start and end.
    double base_start() const { return m_a; }
    double base_end() const { return m_b; }

private:
    std::shared_ptr<const torCurve3> m_base;
    double m_a, m_b;
    double m_sign; // +1 forward, -1 backward
};
