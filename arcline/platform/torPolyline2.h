#pragma once
// A curve over an array of points of the plane: parameter i .. i + 1 runs along the chord from point i to
// point i + 1. Cursors create it empty and append points at its end; with no points it evaluates to the
// unset point.

#include "arcline/platform/giPoint2.h"
#include "arcline/platform/torCurve2.h"

#include <vector>

class torPolyline2 : public torCurve2 {
public:
    torPolyline2() = default;
    explicit torPolyline2(std::vector<giPoint2> points) : m_points(std::move(points)) {}

    int num_pos() const { return static_cast<int>(m_points.size()); }
    const giPoint2& get_pos(int i) const { return m_points[static_cast<std::size_t>(i)]; }
    void append(const giPoint2& p) { m_points.push_back(p); }

    double start_param() const override { return 0.0; }
    double end_param() const override { return num_pos() > 1 ? num_pos() - 1.0 : 0.0; }
    giPoint2 evaluate(double t) const override;

private:
    std::vector<giPoint2> m_points;
};
