// The self-contact and inside tests of velPolylineUtils: where a point lies against a closed polyline.

#include "arcline/polyline/utils/velPlaneSpan.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include "arcline/polyline/spans/velArc2Utils.h"

#include <algorithm>
#include <cmath>

namespace {

// An undefined iterator reads as a polyline without positions.
int positions(const velPolylineListIter& iter) {
    return iter.index() < 0 ? 0 : iter.num_pos();
}

using Span2 = velPlaneSpan;

Span2 span_of(const velPolylineListIter& iter, int k) {
    return velPlaneSpan::of(iter, k);
}

} // namespace

bool velPolylineUtils::point_is_self_intersected_in_2d(int i, const velPolylineListIter& iter, double tol) {
    const int n = positions(iter);
    if (n < 2) return false;
    const int before = i == 0 ? n - 2 : i - 1;
    const int after = i == n - 1 ? 0 : i;
    const giPoint2 P = iter.get_pos(i).xy();
    const giBox2 near(giPoint2(P.x - tol, P.y - tol), giPoint2(P.x + tol, P.y + tol));
    for (int k = 0; k + 1 < n; ++k) {
        if (k == before || k == after) continue;
        if (!iter.span_box(k, vel_2d_box).crosses(near)) continue;
        if (velArc2Utils::arc_closer_to_point_than(iter.get_pos(k).xy(), iter.get_pos(k + 1).xy(),
                                                   iter.get_bulge(k), P, tol))
            return true;
    }
    return false;
}

int velPolylineUtils::winding_number(const giPoint2& P, const velPolylineListIter& iter) {
    const int n = positions(iter);
    int w = 0;
    for (int k = 0; k + 1 < n; ++k)
        w += span_of(iter, k).winding_share(P);
    if (n > 1 && !closed(iter, 0.0)) {
        // The closing chord.
        w += velPlaneSpan::chord(iter.get_pos(n - 1).xy(), iter.get_pos(0).xy()).winding_share(P);
    }
    return w;
}

velPolylineUtils::Location velPolylineUtils::point_location(const giPoint2& P,
                                                            const velPolylineListIter& iter, double tol,
                                                            const giBox2* box) {
    const int n = positions(iter);
    if (n < 2 || !closed(iter, 0.0)) return outside;
    if (!(box != nullptr ? *box : iter.box(vel_2d_box)).contains(P, tol)) return outside;
    std::vector<Span2> spans;
    spans.reserve(static_cast<std::size_t>(n - 1));
    for (int k = 0; k + 1 < n; ++k) {
        spans.push_back(span_of(iter, k));
        if (spans.back().near(P, tol)) return on_boundary;
    }
    int w = 0;
    for (const Span2& s : spans)
        w += s.winding_share(P);
    return w != 0 ? inside : outside;
}

int velPolylineUtils::point_inside_closed_polyline(const giPoint2& P, const velPolylineListIter& iter,
                                                   const giBox2* box) {
    return point_location(P, iter, velTol::on_boundary, box) != outside ? 1 : 0;
}

int velPolylineUtils::point_inside_closed_polyline(const giPoint3& P, const velPolylineListIter& iter,
                                                   const giBox3* box) {
    if (box == nullptr)
        return point_inside_closed_polyline(P.xy(), iter, static_cast<const giBox2*>(nullptr));
    const giBox2 flat = box->xy();
    return point_inside_closed_polyline(P.xy(), iter, &flat);
}
