#pragma once
// The chamfered corner: where the offsets of two consecutive spans leave a gap (a convex corner on the
// offset side) and the sharp corner point would lie too far from the input corner, the corner is cut by a
// line at a given distance from the input corner. Arcs are continued by their tangent lines, not along
// their circles, so that every piece of the corner is straight.

#include "arcline/polyline/contour/velAbsContour.h"
#include "arcline/polyutils/velCornerGeometry.h"
#include "arcline/polyutils/velOffsetJoinSettings.h"

class velChamferJoin {
public:
    // Two lines whose sharp corner would lie farther than `max` from the input corner: with
    // k = corner.chamfer_extension(max), `before` ends at C1 = its end + k T1, `after` starts at
    // C2 = its start - k T2, and the chamfer line C1 -> C2 (at distance `max` from the input corner) is
    // added to `result`. Returns 1.
    static int lines(velAbsSpan& before, velAbsSpan& after, const velCornerGeometry& corner, double max,
                     velAbsContour& result, const velOffsetJoinSettings& settings);
    // At least one arc: the corner is made of tangent lines. k = corner.extension, cut back to
    // corner.chamfer_extension(max) when `chamfer`; C1 and C2 as for lines. A line `before` is extended to
    // C1, an arc `before` keeps its end and a line from it to C1 is added; with `chamfer` the line
    // C1 -> C2 is added; then a line from C2 to the start of `after` (whatever its kind). Returns 1.
    static int tangent_lines(velAbsSpan& before, const velAbsSpan& after, const velCornerGeometry& corner,
                             double max, bool chamfer, velAbsContour& result,
                             const velOffsetJoinSettings& settings);

private:
    velChamferJoin() = default;
    // Appends the corner line S -> E, made by `before`, dressed as a corner span.
    static void add_line(const giPoint3& S, const giPoint3& E, const velAbsSpan& before,
                         const velAbsSpan& after, velAbsContour& result,
                         const velOffsetJoinSettings& settings);
};
