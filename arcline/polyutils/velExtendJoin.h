#pragma once
// The extended (sharp) corner: where the offsets of two consecutive spans leave a gap (a convex corner on
// the offset side), both are continued until they meet. Lines run on along their directions; arcs run on
// along their own circles, so the corner point lies where those continuations cross.

#include "arcline/polyline/spans/velAbsSpan.h"
#include "arcline/polyutils/velCornerGeometry.h"

class velExtendJoin {
public:
    // Two lines: the end of `before` and the start of `after` both move to the sharp corner point, the end
    // of `before` plus corner.extension along T1. Returns 1.
    static int lines(velAbsSpan& before, velAbsSpan& after, const velCornerGeometry& corner);
    // At least one arc: an arc is continued along its circle (create_arc_for_circle), a line by a line as
    // long as the arc's radius (from the end of `before` along T1, or up to the start of `after` along
    // T2). The crossing of the continuations nearest to the end of `before` is the corner point X; both
    // spans are moved to end and start at X and each arc gets the bulge of its longer sweep
    // (find_bulge_factor). 0, changing nothing, when the continuations do not cross.
    static int along_circles(const velAbsSpancoPrf& before, const velAbsSpancoPrf& after);

    // The rest of the arc's circle as an arc: which = 0 from the span's end round to its start (the circle
    // continued beyond the end), which = 1 from its start round to its end (continued before the start).
    // r is the arc's radius, signed like its bulge.
    static velAbsSpancoPrf create_arc_for_circle(const velAbsSpan& span, double& r, int which);
    // The bulge of the arc about `centre` of signed radius r (anticlockwise for r > 0) from P0 to P1, both
    // on its circle: tan(sweep / 4) for the sweep from P0 round to P1 in the arc's sense, which may exceed a
    // half circle (an arc continued along its circle past the point opposite its old mid point). Comparing
    // the minor arc's bulge with the old one would not tell: an arc of 90 degrees continued to 210 has a
    // minor arc of 150, larger than its old sweep.
    static double find_bulge_factor(const giPoint3& P0, const giPoint3& P1, const giPoint3& centre, double r);

private:
    velExtendJoin() = default;
};
