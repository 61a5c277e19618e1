#pragma once
// A node of an adaptive octree over a box: the generic part of the 3D zone trees, the twin of velNode2.
// A node is a leaf or has eight children, one per octant of its split point c: the quadrant of (x, y) as
// velNode2 numbers it, plus 4 when z >= c.z. Division stops at level max_level and at a degenerate box.
//
// Ownership: a node owns its children; parent pointers are not owning. Nodes are not copyable.

#include "arcline/intersect/velNodeTree.h"
#include "arcline/platform/giBox3.h"
#include "arcline/platform/giPoint3.h"

class velNode3 : public velNodeTree<velNode3, giBox3, giPoint3, 8> {
public:
    static constexpr int dimension = 3;

    // Adds the twelve edges of every leaf's box to `curves`, as two closed rectangles (bottom and top, five
    // points each) and the four vertical edges.
    void picture(torCurvePtr3coDList& curves) const override;

    // The octant of `p`: the quadrant of (p.x, p.y) as in velNode2, plus 4 when p.z >= c.z; c is the split
    // point of a divided node and the box centre of a leaf.
    int subsquare(const giPoint3& p) const;
    // The eight child boxes of a split of this node's box at `centre`, in octant order.
    void subdivisions(const giPoint3& centre, giBox3 boxes[8]) const;

protected:
    velNode3(const giBox3& box, velNode3* parent, int quadrant) : velNodeTree(box, parent, quadrant) {}
};
