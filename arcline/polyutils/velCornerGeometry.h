#pragma once
// The numbers of one corner of an offset, shared by the sharp and chamfered joins. Two offset spans meet an
// input corner: the span before it ends with unit tangent T1, the span after it starts with unit tangent T2
// (XY). The offset spans, extended along T1 and T2, meet at the sharp corner point:
// - q = -(T1 . T2) is the cosine of the interior angle a = acos(q), h = a / 2;
// - e = |offset / tan h| is how far each span is extended to reach the sharp corner;
// - dist = |offset / sin h| is how far the sharp corner lies from the input corner.

#include "arcline/platform/giVector3.h"

struct velCornerGeometry {
    giVector3 T1, T2; // end tangent before, start tangent after (XY, unit)
    double q = 0.0;   // cosine of the interior angle
    double extension = 0.0;
    double corner_distance = 0.0;
    double cos_half = 0.0; // cos h

    velCornerGeometry(const giVector3& before, const giVector3& after, double offset);

    // The tangents are almost parallel or opposed (|q| > velTol::corner_parallel): there is no sharp corner
    // point to extend to, and the numbers above are not set.
    bool degenerate() const;
    // How far each span is extended when the sharp corner is cut back by a chamfer line at distance `max`
    // from the input corner: e - (dist - max) / cos h.
    double chamfer_extension(double max) const { return extension - (corner_distance - max) / cos_half; }

    // Whether the corner from T1 to T2 bulges out on the side the offset moves to, so that the offset spans
    // leave a gap there: it turns left (cross > velTol::corner_turn) for a positive offset, right for an
    // offset of at most 0.
    static bool convex(const giVector3& before, const giVector3& after, double offset);
};
