#pragma once
// The rounded corner: the offsets of two consecutive input spans that meet at the input corner P are
// joined by a span from A = P + offset n1 to B = P + offset n2 (n1, n2 the right-hand normals of the input
// tangents T1 and T2 at P). Where the offsets leave a gap (the tangents are aligned with the chord A -> B)
// that span is the arc of radius |offset| about P; where they overlap and could not be trimmed (the
// tangents are opposed to it) it is a temporary span that closes a loop the sorter will cut away.

#include "arcline/polyline/contour/velAbsContour.h"
#include "arcline/polyutils/velOffsetJoinSettings.h"

class velRoundJoin {
public:
    // Adds the corner span between the offsets of `before_in` and `after_in` to `result` (through
    // velOffsetGapCloser), dressed by `settings` with the input spans' properties and the corner label of
    // `after_in`. `before_off` and `after_off` are their offsets (either may be null), consulted only to
    // tell collapsed arcs. Nothing when an input span is null, a tangent at P has zero length, or A and B
    // coincide within velTol::span_fraction. With S = T1 + T2 and D = B - A the corner is aligned when
    // D . S > 0 or |S| < velTol::corner_reversal (the path turns back), otherwise opposed. An opposed
    // corner whose ends lie within settings.tol gets no span either: the gap closing joins them.
    static void join(const velAbsSpancoPrf& before_in, const velAbsSpancoPrf& after_in,
                     const velAbsSpancoPrf& before_off, const velAbsSpancoPrf& after_off,
                     velAbsContour& result, const velOffsetJoinSettings& settings);

    // Aligned corner (a gap on the offset side): a line A -> B when |D| <= tol or |W| <= span_fraction
    // (W = T1 - T2), otherwise the arc A -> B through M = P + |offset| W / |W|, of radius |offset| about P;
    // turning back (T2 = -T1) that is the half circle. Made by `factory`.
    static velAbsSpancoPrf chord_and_average_tangent_aligned(const velAbsSpan& factory, const giPoint3& P,
                                                             const giPoint3& A, const giPoint3& B,
                                                             const giVector3& W, double offset, double tol);
    // Opposed corner (an overlap that was not trimmed): when an arc is involved and no raster span, the arc
    // A -> B through M as above, or, when an arc collapsed in its offset (arc_offset_collapsed) and A and
    // B lie apart, a temporary line A -> B; with two lines (or a raster span) a temporary line A -> B.
    static velAbsSpancoPrf
    chord_and_average_tangent_opposed(const velAbsSpan& before_in, const velAbsSpan& after_in,
                                      const velAbsSpancoPrf& before_off, const velAbsSpancoPrf& after_off,
                                      const giPoint3& P, const giPoint3& A, const giPoint3& B,
                                      const giVector3& W, double offset);
    // An arc whose offset came back as a temporary line: it collapsed through its centre.
    static bool arc_offset_collapsed(const velAbsSpan& in, const velAbsSpancoPrf& off);

private:
    velRoundJoin() = default;
    // Adds an arc corner span longer than a half circle as two temporary arcs, split at its mid point
    // pulled towards P by velTol::corner_split_pull |offset|; the second half is left in `arc`.
    static void split_long_arc(velAbsSpancoPrf& arc, const giVector3& W, double offset,
                               const velAbsSpan& before_in, const velAbsSpan& after_in, velAbsContour& result,
                               const velOffsetJoinSettings& settings);
};
