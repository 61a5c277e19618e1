#include "arcline/debug/velDebugGeometryUtils.h"

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/intersect/velListIntersector.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/utMath.h"

#include <cmath>

namespace {

constexpr double degrees = utMath::pi / 180.0;

// A direction this much (sine of the angle) or less off Z counts as parallel to it: the arrow head then
// spreads along X.
constexpr double parallel_to_z = 1e-12;

std::unique_ptr<velPolyArcLine> through(std::initializer_list<giPoint3> points) {
    auto out = std::make_unique<velPolyArcLine>(static_cast<int>(points.size()));
    for (const giPoint3& p : points)
        out->add_pos(p);
    return out;
}

} // namespace

giVector3 velDebugGeometryUtils::direction(double t) {
    return {std::sin(t), std::cos(t), 0.0};
}

std::unique_ptr<velPolyArcLine> velDebugGeometryUtils::line_drawing(const giPoint3& a, const giPoint3& b) {
    return through({a, b});
}

std::unique_ptr<velPolyArcLine> velDebugGeometryUtils::arc_drawing(const giPoint3& start, const giPoint3& end,
                                                                   const giPoint3& mid) {
    auto out = std::make_unique<velPolyArcLine>(2);
    out->add_pos(start);
    out->add_arc(mid, end);
    return out;
}

std::unique_ptr<velPolyArcLine> velDebugGeometryUtils::arrow_drawing(const giPoint3& from,
                                                                     const giPoint3& to) {
    giVector3 d = to - from;
    const double length = d.unitize();
    // Zero length: no direction for a head; the arrow is its point.
    if (length == 0.0) return through({from, to});
    giVector3 side = giVector3(0.0, 0.0, 1.0).cross(d);
    if (side.unitize() <= parallel_to_z) side = giVector3(1.0, 0.0, 0.0);
    const double h = arrow_head_length * length;
    const giPoint3 base = to - d * h;
    const giVector3 spread = side * (arrow_head_half_width * h);
    return through({from, to, base + spread, base - spread, to});
}

std::unique_ptr<velPolyArcLine> velDebugGeometryUtils::arrow_drawing(const giPoint3& from,
                                                                     const giVector3& direction) {
    return arrow_drawing(from, from + direction);
}

std::unique_ptr<velPolyLine> velDebugGeometryUtils::box_drawing(const giBox2& box, double z) {
    auto out = std::make_unique<velPolyLine>(5);
    if (box.empty()) return out;
    const giPoint2 lo = box.min(), hi = box.max();
    for (const giPoint3& p : {giPoint3(lo.x, lo.y, z), giPoint3(hi.x, lo.y, z), giPoint3(hi.x, hi.y, z),
                              giPoint3(lo.x, hi.y, z), giPoint3(lo.x, lo.y, z)})
        out->add_pos(p);
    return out;
}

std::unique_ptr<velPolyArcLine> velDebugGeometryUtils::box_drawing(const giBox3& box) {
    if (box.empty()) return std::make_unique<velPolyArcLine>();
    auto c = [&box](int u, int v, int w) { return box.point(u, v, w); };
    return through({c(0, 0, 0), c(1, 0, 0), c(1, 1, 0), c(0, 1, 0), c(0, 0, 0), c(0, 0, 1), c(1, 0, 1),
                    c(1, 0, 0), c(1, 0, 1), c(1, 1, 1), c(1, 1, 0), c(1, 1, 1), c(0, 1, 1), c(0, 1, 0),
                    c(0, 1, 1), c(0, 0, 1)});
}

std::unique_ptr<velPolyArcLine> velDebugGeometryUtils::circle_drawing(const giPoint3& centre, double radius,
                                                                      const giVector3& normal) {
    giVector3 n = normal;
    if (n.unitize() == 0.0) n = giVector3(0.0, 0.0, 1.0);
    // The auxiliary axis: the coordinate axis least aligned with the normal, the first on a tie.
    const double ax = std::fabs(n.x()), ay = std::fabs(n.y()), az = std::fabs(n.z());
    const giVector3 aux = ax <= ay && ax <= az ? giVector3(1.0, 0.0, 0.0)
                          : ay <= az           ? giVector3(0.0, 1.0, 0.0)
                                               : giVector3(0.0, 0.0, 1.0);
    giVector3 e1 = aux - n * aux.dot(n);
    e1.unitize();
    const giVector3 e2 = n.cross(e1);
    auto out = std::make_unique<velPolyArcLine>(3);
    out->add_pos(centre + e1 * radius);
    out->add_arc(centre + e2 * radius, centre - e1 * radius);
    out->add_arc(centre - e2 * radius, centre + e1 * radius);
    return out;
}

std::unique_ptr<velPolyArcLine> velDebugGeometryUtils::cross_drawing(const giPoint3& centre, double size,
                                                                     int spokes, double angle) {
    auto out = std::make_unique<velPolyArcLine>(2 * std::max(spokes, 0) + 1);
    out->add_pos(centre);
    for (int i = 0; i < spokes; ++i) {
        out->add_pos(centre + direction(i * utMath::two_pi / spokes + angle * degrees) * size);
        out->add_pos(centre);
    }
    return out;
}

std::unique_ptr<velPolyArcLine> velDebugGeometryUtils::polygon_drawing(const giPoint3& centre, double radius,
                                                                       int sides, double angle) {
    auto out = std::make_unique<velPolyArcLine>(std::max(sides, 0) + 1);
    if (sides <= 0) return out;
    for (int i = 0; i <= sides; ++i)
        out->add_pos(centre + direction(i * utMath::two_pi / sides + angle * degrees) * radius);
    return out;
}

std::unique_ptr<velPolyArcLine> velDebugGeometryUtils::star_drawing(const giPoint3& centre, double size) {
    auto out = std::make_unique<velPolyArcLine>(11);
    for (int i = 0; i <= 10; ++i)
        out->add_pos(centre + direction(i * utMath::pi / 5.0) * (i % 2 ? size : 0.5 * size));
    return out;
}

void velDebugGeometryUtils::output_polyline_intersections(const velPolylineListIter& list, double tolerance,
                                                          velDebugGeometry& channel, const char* name,
                                                          int level) {
    if (!channel.active(level)) return;
    const std::unique_ptr<velPolylineListIter> walk(list.create_new());
    velCrossingcoPageArr crossings;
    velListIntersector::all_crossings(*walk, crossings);
    for (int i = 0; i < crossings.size(); ++i) {
        const giPoint3& p = crossings.read(i).point();
        if (tolerance > 0.0)
            channel.append_geometry(circle_drawing(p, tolerance, {0.0, 0.0, 1.0}).release(), name);
        else
            channel.append_geometry(through({p}).release(), name);
    }
}
