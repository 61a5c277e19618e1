#pragma once
// Crossings in a leaf of the BSP intersector, from the order in which the pieces meet the node's perimeter.
// Two pieces whose ends interleave around the perimeter cross an odd number of times; pieces whose ends do
// not interleave cross an even number of times, which multiple_crossings tells apart from none. The
// decision is topological: it reads only the stored end points and their sides, which the two nodes on
// either side of a cut share exactly, so a crossing near a node's side is counted in exactly one of them.
//
// Where the crossing lies is found afterwards by intersecting the two pieces span by span
// (calculate_iter_crossing); two separate places of contact make the answer ambiguous.
//
// Answers of find_crossing: 0 no crossing, 1 one crossing (recorded), 2 divide further, 3 ambiguous (a
// crossing is recorded only in a forced node).

#include "arcline/intersect/velBSPNodeData.h"
#include "arcline/intersect/velCrossing.h"
#include "arcline/intersect/velCrossingcoPageArr.h"

class velBSPLeafCrossings {
public:
    static constexpr int no_crossing = 0;
    static constexpr int one_crossing = 1;
    static constexpr int divide = 2;
    static constexpr int ambiguous = 3;

    // The answer for pieces a and b (indices into node.pieces), and in `out` the crossing when there is
    // one, with its alternate mark: 0 for ends that interleave, 1 ("before") or 2 ("after") when only the
    // test with a's ends swapped shows the interleaving, which happens where ends coincide on the perimeter.
    static int find_crossing(const velBSPNodeData& node, int a, int b, velCrossing& out);
    // Whether pieces whose ends do not interleave may still meet (conservatively: some pair of their spans
    // comes within the touching distance somewhere other than at an end they share).
    static bool multiple_crossings(const velBSPNodeData& node, int a, int b);
    // The place of the crossing of pieces a and b: every span of a against every span of b, keeping the pair
    // that comes nearest. Answers 1, or 3 when the pieces come within span_fraction of each other in more
    // than one separate place and within the touching distance in more than one too.
    static int calculate_iter_crossing(const velBSPNodeData& node, int a, int b, velCrossing& out);
    // Every pair (with two boundaries, every pair with one piece from each); the crossings go to the cross
    // data's second scratch array and then, when the node's value is 1 or the node is forced, to its result.
    // Returns the node's value (the largest answer; the scan stops at 2 unless forced) and in `count` the
    // crossings recorded.
    static int calculate_crossings(const velBSPNodeData& node, int forced, int& count);

    // Which curve starts at the crossing: the one that leaves the other's left side (for anticlockwise
    // boundaries, the one that leaves the other's inside): curve 2 when the turn from curve 1's direction to
    // curve 2's is clockwise, curve 1 when it is anticlockwise, unknown when the directions are parallel
    // (tangential contact). A crossing and its mirror get inverse answers.
    static velCrossingCurve start_curve(const velBSPRun& run, const velCrossing& c);
    // The same from the two curves' directions at the crossing (not necessarily unit vectors).
    static velCrossingCurve start_curve(const giPoint2& t1, const giPoint2& t2);
    // Appends c, with its start curve, and its mirror when the cross data stores pairs; an alternate
    // crossing only when the cross data stores alternates. Returns 1 when c was kept.
    static int record(const velBSPRun& run, velCrossing c, velCrossingcoPageArr& out);
    // The same with the start curve known.
    static int record(const velBSPRun& run, velCrossing c, velCrossingCurve start, velCrossingcoPageArr& out);

protected:
    velBSPLeafCrossings() = default;
};
