#pragma once
// Direct intersection of the pieces of a small BSP node (or of a whole small list): every span against every
// other, span boxes rejecting most pairs. It decides only clear cases: every intersection that belongs to
// the node must lie at a fraction in [span_fraction, 1 - span_fraction] of both spans, spans of one polyline
// must not be nearly parallel there, and no two spans may overlap; anything else makes the attempt fail, and
// the node is divided instead.
//
// Each span is tested once, however many of the node's pieces run through it. An intersection belongs to
// the node when its parameter on the first of its two spans (in polyline and span order) lies in one of the
// node's pieces on that span (start included, end excluded): the pieces of a polyline share their cut
// parameters across nodes, so each intersection belongs to exactly one node.

#include "arcline/intersect/velBSPNodeData.h"
#include "arcline/intersect/velCrossingcoPageArr.h"

class velBSPDirectIntersection {
public:
    // The spans of one polyline may cross only where the cosine of the angle between them is at most this.
    static constexpr double max_same_polyline_cosine = 0.9998;

    // Intersects the node's pieces; a piece is tested against itself unless it is certainly free of
    // self-intersection. On success appends the crossings (through velBSPLeafCrossings::record) to `out`,
    // adds their number to `count` and returns true; on failure leaves `out` as it was.
    static bool intersect(const velBSPNodeData& node, velCrossingcoPageArr& out, int& count);

protected:
    velBSPDirectIntersection() = default;
};
