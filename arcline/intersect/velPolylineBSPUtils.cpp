#include "arcline/intersect/velPolylineBSPUtils.h"

#include "arcline/intersect/velPolylineBSPTrimmerHelper.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"

#include <algorithm>
#include <cmath>

double velPolylineBSPUtils::edge_position(const giPoint3& point, const giBox2& box) {
    const double w = box.xlength(), h = box.ylength();
    const double u = std::clamp(w > 0.0 ? (point.x - box.min().x) / w : 0.0, 0.0, 1.0);
    const double v = std::clamp(h > 0.0 ? (point.y - box.min().y) / h : 0.0, 0.0, 1.0);
    if (v > u) return u + v < 1.0 ? v : 1.0 + u;
    return u + v < 1.0 ? 4.0 - u : 3.0 - v;
}

velDirection velPolylineBSPUtils::node_side(const giPoint2& point, const giBox2& box) {
    const giPoint2 c = box.centre();
    const double dx = point.x - c.x, dy = point.y - c.y;
    if (std::fabs(box.ylength() * dx) > std::fabs(box.xlength() * dy))
        return dx <= 0.0 ? velDirectionLeft : velDirectionRight;
    return dy <= 0.0 ? velDirectionBottom : velDirectionTop;
}

velDirection velPolylineBSPUtils::node_side(const giPoint3& point, const giBox2& box) {
    return node_side(point.xy(), box);
}

namespace {
// Along a side in the perimeter order: top by decreasing x, left by decreasing y, bottom by increasing x,
// right by increasing y. The key increases along the side.
double key_on_side(const giPoint2& p, velDirection side) {
    switch (side) {
    case velDirectionTop:
        return -p.x;
    case velDirectionLeft:
        return -p.y;
    case velDirectionBottom:
        return p.x;
    case velDirectionRight:
        return p.y;
    }
    return 0.0;
}
} // namespace

bool velPolylineBSPUtils::less_than(const giPoint2& p, velDirection side_p, const giPoint2& q,
                                    velDirection side_q) {
    if (side_p != side_q) return side_p < side_q;
    return key_on_side(p, side_p) < key_on_side(q, side_q);
}

bool velPolylineBSPUtils::less_than_or_equal(const giPoint2& p, velDirection side_p, const giPoint2& q,
                                             velDirection side_q) {
    if (side_p != side_q) return side_p < side_q;
    return key_on_side(p, side_p) <= key_on_side(q, side_q);
}

bool velPolylineBSPUtils::less_than(const giPoint3& p, const giPoint3& q, const giBox2& box) {
    return less_than(p.xy(), node_side(p, box), q.xy(), node_side(q, box));
}

bool velPolylineBSPUtils::less_than_or_equal(const giPoint3& p, const giPoint3& q, const giBox2& box) {
    return less_than_or_equal(p.xy(), node_side(p, box), q.xy(), node_side(q, box));
}

void velPolylineBSPUtils::slice_polyline(velTrimmedPolylineListIter& pieces, double value,
                                         velDirection direction, const velPolyarcline2dBoxCache* box_cache,
                                         velTrimmedPolylineListIter& out) {
    const int variable = direction == velDirectionLeft || direction == velDirectionRight ? 0 : 1;
    const bool low = direction == velDirectionLeft || direction == velDirectionBottom;
    velPolylineBSPTrimmerHelper helper(pieces, variable, value, box_cache, low ? &out : nullptr,
                                       low ? nullptr : &out);
    helper.subdivide_polyline_single_variable();
}

void velPolylineBSPUtils::subdivide_polyline(velTrimmedPolylineListIter& pieces, double x, double y,
                                             const velPolyarcline2dBoxCache* box_cache,
                                             velTrimmedPolylineListIter& out0,
                                             velTrimmedPolylineListIter& out1,
                                             velTrimmedPolylineListIter& out2,
                                             velTrimmedPolylineListIter& out3) {
    velTrimmedPolylineListIter left, right;
    velPolylineBSPTrimmerHelper(pieces, 0, x, box_cache, &left, &right).subdivide_polyline_single_variable();
    velPolylineBSPTrimmerHelper(left, 1, y, box_cache, &out0, &out1).subdivide_polyline_single_variable();
    velPolylineBSPTrimmerHelper(right, 1, y, box_cache, &out3, &out2).subdivide_polyline_single_variable();
}
