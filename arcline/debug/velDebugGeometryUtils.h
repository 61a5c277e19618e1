#pragma once
// Drawings for debug channels: small polylines that mark points, directions, boxes and circles, so that
// debug geometry can show more than the polylines an algorithm holds. Every drawing is a new polyline owned
// by the caller: a velPolyArcLine (single precision: positions are rounded to floats, which a picture never
// shows), except the flat box, which has no arcs and is a velPolyLine.
//
// Directions in the plane: u(t) = (sin t, cos t, 0), so angles run from +Y towards +X (clockwise seen from
// +Z), and `angle` arguments are in degrees.
//
//   line_drawing(a, b)                       a, b
//   arc_drawing(start, end, mid)             start, then an arc through mid to end
//   box_drawing(giBox2, z)                   (min x, min y), (max x, min y), (max x, max y), (min x, max y),
//                                            (min x, min y), all at height z
//   cross_drawing(c, size, n, angle)         c, then for i = 0 .. n-1: c + size u(2 pi i / n + angle), c
//   polygon_drawing(c, r, n, angle)          for i = 0 .. n: c + r u(2 pi i / n + angle); the last is the
//   first star_drawing(c, size)                    for i = 0 .. 10: c + r_i u(pi i / 5), r_i = size for odd i
//   and
//                                            size / 2 for even i: five points, one down
//   arrow_drawing(from, to)                  from, to, left barb, right barb, to: the head is a closed
//   triangle
//                                            whose length is a fifth of the arrow's and whose half-width is
//                                            half its length, in the plane of the arrow and the direction
//                                            Z x (to - from) (X when the arrow is parallel to Z)
//   box_drawing(giBox3)                      the 12 edges in one walk of 16 positions: the bottom face round
//                                            from the minimum corner, up, the top face, and the three other
//                                            upright edges traced there and back
//   circle_drawing(c, r, normal)             two half arcs, anticlockwise about `normal`, from c + r e1
//                                            through c + r e2, c - r e1, c - r e2 back to c + r e1; e1 is the
//                                            coordinate axis least aligned with the normal (X on a tie, so X
//                                            for a circle in XY) made perpendicular to it, e2 = normal x e1.
//                                            A zero normal is taken as +Z.
// An empty box gives a polyline without positions. Degenerate sizes (0, negative) are drawn as they come:
// every position is computed by the formula above.

#include "arcline/platform/giBox2.h"
#include "arcline/platform/giBox3.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector3.h"
#include "arcline/polyline/velPolyArcLine.h"
#include "arcline/polyline/velPolyLine.h"

#include <memory>

class velDebugGeometry;
class velPolylineListIter;

class velDebugGeometryUtils {
public:
    static std::unique_ptr<velPolyArcLine> line_drawing(const giPoint3& a, const giPoint3& b);
    static std::unique_ptr<velPolyArcLine> arc_drawing(const giPoint3& start, const giPoint3& end,
                                                       const giPoint3& mid);
    static std::unique_ptr<velPolyArcLine> arrow_drawing(const giPoint3& from, const giPoint3& to);
    static std::unique_ptr<velPolyArcLine> arrow_drawing(const giPoint3& from, const giVector3& direction);
    static std::unique_ptr<velPolyLine> box_drawing(const giBox2& box, double z);
    static std::unique_ptr<velPolyArcLine> box_drawing(const giBox3& box);
    static std::unique_ptr<velPolyArcLine> circle_drawing(const giPoint3& centre, double radius,
                                                          const giVector3& normal);
    static std::unique_ptr<velPolyArcLine> cross_drawing(const giPoint3& centre, double size, int spokes,
                                                         double angle);
    static std::unique_ptr<velPolyArcLine> polygon_drawing(const giPoint3& centre, double radius, int sides,
                                                           double angle);
    static std::unique_ptr<velPolyArcLine> star_drawing(const giPoint3& centre, double size);

    // u(t) = (sin t, cos t, 0) for t in radians.
    static giVector3 direction(double t);

    // Appends to `channel` under `name`, when the channel is active at `level`, the crossings of the
    // polylines of `list` (each with the others and with itself, each once, found by velListIntersector):
    // a circle of radius `tolerance` about each crossing point, in a plane parallel to XY, or the point
    // itself (a polyline of one position) when tolerance is not positive. Nothing is computed when the
    // channel is not active. The list is read through a clone and does not move.
    static void output_polyline_intersections(const velPolylineListIter& list, double tolerance,
                                              velDebugGeometry& channel, const char* name, int level);

    // The arrow head's length as a fraction of the arrow's, and its half-width as a fraction of its length.
    static constexpr double arrow_head_length = 0.2;
    static constexpr double arrow_head_half_width = 0.5;

private:
    velDebugGeometryUtils() = default;
};
