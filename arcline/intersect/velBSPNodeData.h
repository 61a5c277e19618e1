#pragma once
// What the stages of the BSP intersector read about one node: the run's flat geometry, the node's pieces
// and its rectangle. A cheap view; the node owns the pieces and the tree shares the run.

#include "arcline/intersect/velBSPPiece.h"
#include "arcline/intersect/velBSPRun.h"
#include "arcline/intersect/velDirection.h"
#include "arcline/platform/giBox2.h"

#include <vector>

struct velBSPNodeData {
    const velBSPRun& run;
    const std::vector<velBSPPiece>& pieces;
    const giBox2& box;

    // The side of the rectangle that an end of a piece lies on: its flag for a cut end, else the side the
    // point faces (a true end inside the node).
    velDirection side(const giPoint2& p, int flag) const;
};
