#pragma once
// Shared pieces of the contour tests: random poly-arc-lines of every storage class, the poly-arc-line under
// a contour made by an adapter, and spans compared within a tolerance.

#include "../../lists/listTestKit.h"

#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/velPolyArcLine.h"
#include "arcline/polyline/velPolyArcLineConstZ.h"
#include "arcline/polyline/velPolyArcLineZX.h"
#include "arcline/polyline/velPolyLine.h"
#include "arcline/polyline/velPolyLineDouble.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace contourtest {

using listtest::Rng;
using polytest::mid;
using polytest::pos;
using Line = std::unique_ptr<velAbsPolyArcLine>;

// Empty lines of every storage class.
inline std::vector<Line> storage_classes() {
    std::vector<Line> out;
    for (velAbsPolyArcLine* p : std::initializer_list<velAbsPolyArcLine*>{
             new velPolyArcLine, new velPolyArcLineDouble, new velPolyArcLineConstZ, new velPolyArcLineZX,
             new velPolyLine, new velPolyLineDouble})
        out.emplace_back(p);
    return out;
}

// A random line of n positions of proto's class (listtest::random_polyline): straight-only classes get its
// corners, the turning profile gets it turned into the ZX plane at x > 0.
inline Line random_of(const velAbsPolyArcLine& proto, Rng& rng, int n, bool closed) {
    const Line src = listtest::random_polyline(rng, n, 0.0, closed);
    Line out(proto.create_empty());
    const bool zx = dynamic_cast<const velPolyArcLineZX*>(&proto) != nullptr;
    auto map = [zx](const giPoint3& p) { return zx ? giPoint3(p.x + 60, 0, p.y) : p; };
    for (int i = 1; i <= src->num_pos(); ++i) {
        if (i > 1 && !src->span_linear(i - 1) && out->can_hold_arcs()) {
            out->add_arc(map(mid(*src, i - 1)), map(pos(*src, i)));
        } else {
            out->add_pos(map(pos(*src, i)));
        }
    }
    return out;
}

// The line under a contour that an adapter made (clone(), create_new()).
inline const velAbsPolyArcLine& line_of(const velAbsContour& c) {
    return dynamic_cast<const velPolyArcLineAdapter&>(c).polyarcline();
}

// Same kind, ends and (for arcs) mid points within tol.
inline bool same_span(const velAbsSpan& a, const velAbsSpan& b, double tol) {
    return a.is_line_span() == b.is_line_span() && a.is_arc_span() == b.is_arc_span() &&
           a.start_point().coincident(b.start_point(), tol) && a.end_point().coincident(b.end_point(), tol) &&
           (!a.is_arc_span() || a.mid_point().coincident(b.mid_point(), tol));
}

} // namespace contourtest
