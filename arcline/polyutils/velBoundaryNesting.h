#pragma once
// Builds the nesting tree of closed boundaries while the visibility traversal walks from node to node: the
// tree (root -1, each other node a boundary index, children the boundaries directly inside it) and a cursor
// in it standing for the boundaries around the traversal's current point.
//
// Walking from one point to another the traversal reports each boundary it crosses (move); do_moves then
// brings the cursor to the new point: it climbs out of the boundaries crossed that it stands in, and enters
// the others, larger (absolute area) first, since a boundary that holds another is the larger of the two.
// A boundary crossed twice on one walk is not crossed at all. The traversal saves the cursor before it
// walks to a child node and restores it for the next child (get_position, set_position).
//
// The tree is only as good as the boundaries: for boundaries that do not cross each other every boundary
// is placed once, under the smallest one that holds it. Boundaries that cross may be placed more than once;
// the sorter's copy of the tree drops the repeats.
//
//     intNaryTree tree;
//     velBoundaryNesting nesting(tree, areas);   // areas[i]: signed area of boundary i
//     nesting.move(2, 1);                         // crossed boundary 2 once
//     nesting.do_moves();                         // the cursor now stands in boundary 2

#include "arcline/platform/intNaryTree.h"

#include <vector>

class velBoundaryNesting {
public:
    // The tree is cleared to a root holding -1; `tree` and `areas` must outlive the nesting.
    velBoundaryNesting(intNaryTree& tree, const std::vector<double>& areas);

    // Boundary i was crossed `times` times (an even number changes nothing).
    void move(int i, int times);
    // Brings the cursor across the boundaries crossed since the last call.
    void do_moves();
    // A boundary that lies wholly in the region the cursor stands in: placed as a child of the cursor's
    // node, the cursor staying.
    void place_here(int i);

    // The cursor as child numbers from the root, and back.
    std::vector<int> get_position() const { return m_tree.Path(); }
    void set_position(const std::vector<int>& path);

    // Boundary i has a node in the tree.
    bool placed(int i) const;
    // The boundary the cursor stands in; -1 outside every boundary.
    int current() const { return m_tree.Read(); }

private:
    // Descends to the child holding i, adopting one when there is none.
    void do_down(int i);
    double size(int i) const;

    intNaryTree& m_tree;
    const std::vector<double>& m_areas;
    std::vector<int> m_pending;
    std::vector<char> m_placed;
};
