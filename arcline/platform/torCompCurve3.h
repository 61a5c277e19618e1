#pragma once
// A composite curve: parts laid end to end, each starting where the one before ends (the caller's promise;
// the composite does not check). Part k takes the composite parameters [part_start(k), part_start(k) + its
// own range length], shifted from its own without scaling, so chordal tolerances and parameter steps carry
// over unchanged; the composite's range starts at 0.

#include "arcline/platform/torCurve3.h"

#include <vector>

class torCompCurve3 : public torCurve3 {
public:
    torCompCurve3() = default;
    explicit torCompCurve3(const std::vector<torCurvePtr3>& parts);

    void append(const torCurvePtr3& part);
    int num_curves() const { return static_cast<int>(m_parts.size()); }
    const torCurvePtr3& get_curve(int k) const { return m_parts[static_cast<std::size_t>(k)]; }
    // Composite parameter at which part k starts.
    double part_start(int k) const { return m_starts[static_cast<std::size_t>(k)]; }

    double start_param() const override { return 0.0; }
    double end_param() const override { return m_starts.back(); }
    // At a joint, the start of the later part. With no parts, the unset point.
    giPoint3 evaluate(double s) const override;
    // The parts' own polygons, joined at the joints.
    void polygon_params(double lo, double hi, double tol, std::vector<double>& params) const override;

private:
    std::vector<torCurvePtr3> m_parts;
    // m_starts[k] is where part k starts; one more entry holds the end of the last part.
    std::vector<double> m_starts{0.0};
};
