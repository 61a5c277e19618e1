#pragma once
// A node of an adaptive quadtree over a rectangle: the generic part of the BSP intersector's nodes and of
// the 2D zone trees. A node is a leaf or has exactly four children, one per quadrant of its split point c:
//   0: x < c.x and y < c.y    1: x < c.x and y >= c.y    2: x >= c.x and y >= c.y    3: x >= c.x and y < c.y
// (anticlockwise from the lower left). Derived classes say when a node needs no further division
// (canonical_form), where to split it (subdivision_centre) and how to hand their data to the children
// (subdivide); the base owns the children and runs the division schedules (velNodeTree).
//
// Division always stops at level max_level (1000) and at a degenerate box (no room left for a split point
// strictly inside it), whatever canonical_form says, so that every schedule ends on any input.
//
// Ownership: a node owns its children; parent pointers are not owning. Nodes are not copyable.

#include "arcline/intersect/velNodeTree.h"
#include "arcline/platform/giBox2.h"
#include "arcline/platform/giPoint2.h"

class velNode2 : public velNodeTree<velNode2, giBox2, giPoint2, 4> {
public:
    static constexpr int dimension = 2;

    // Adds the closed rectangle of every leaf (five points, z = 0) to `curves`.
    void picture(torCurvePtr3coDList& curves) const override;

    // The quadrant of `p`: (p.y >= c.y) XOR (p.x >= c.x ? 3 : 0), with c the split point of a divided node
    // and the box centre of a leaf. (Split points may move off the centre; descending by the point actually
    // used keeps node_containing_point inside the children's boxes.)
    int subsquare(const giPoint3& p) const;
    // The four child boxes of a split of this node's box at `centre`, in quadrant order.
    void subdivisions(const giPoint2& centre, giBox2 boxes[4]) const;

protected:
    velNode2(const giBox2& box, velNode2* parent, int quadrant) : velNodeTree(box, parent, quadrant) {}
};
