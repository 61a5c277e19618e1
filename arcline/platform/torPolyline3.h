#pragma once
// A curve over an array of points: parameter i .. i + 1 runs along the chord from point i to point i + 1, so
// the range is [0, num_pos() - 1]. Cursors create it empty and append points at its end; contour views move
// its points. With no points it evaluates to the unset point.

#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giXform3.h"
#include "arcline/platform/torCurve3.h"

#include <algorithm>
#include <vector>

class torPolyline3 : public torCurve3 {
public:
    torPolyline3() = default;
    explicit torPolyline3(std::vector<giPoint3> points) : m_points(std::move(points)) {}

    int num_pos() const { return static_cast<int>(m_points.size()); }
    const giPoint3& get_pos(int i) const { return m_points[static_cast<std::size_t>(i)]; }
    void append(const giPoint3& p) { m_points.push_back(p); }
    void set_pos(int i, const giPoint3& p) { m_points[static_cast<std::size_t>(i)] = p; }
    void clear() { m_points.clear(); }
    void remove_last() { m_points.pop_back(); }
    void reserve(int n) { m_points.reserve(static_cast<std::size_t>(n)); }
    void reverse() { std::reverse(m_points.begin(), m_points.end()); }
    // Maps every point.
    void transform(const giXform3& xf);

    double start_param() const override { return 0.0; }
    double end_param() const override { return num_pos() > 1 ? num_pos() - 1.0 : 0.0; }
    giPoint3 evaluate(double t) const override;
    // The points themselves: lo, every integer strictly between lo and hi, hi.
    void polygon_params(double lo, double hi, double tol, std::vector<double>& params) const override;

private:
    std::vector<giPoint3> m_points;
};
