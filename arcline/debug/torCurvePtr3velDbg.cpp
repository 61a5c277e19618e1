#include "arcline/debug/torCurvePtr3velDbg.h"

#include "arcline/platform/torCurve3.h"
#include "arcline/platform/torPolygonizeTRP3.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <vector>

void torCurvePtr3velDbg::calculate() {
    clear();
    if (!m_curve) return;
    std::vector<giPoint3> points;
    std::vector<double> params;
    torPolygonizeTRP3::polygonize(*m_curve, m_tol, points, params);
    auto line = std::make_unique<velPolyArcLineDouble>(static_cast<int>(points.size()));
    for (const giPoint3& p : points)
        line->add_pos(p);
    add(std::move(line));
}
