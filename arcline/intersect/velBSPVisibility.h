#pragma once
// The visibility traversal's work in one node of the BSP tree (velIntersectorBSPNode::determine_visibility
// does the recursion): the node's pieces become fragments of the boundary segments (the polylines of the
// list the tree was built on), whole closed polylines inside the node are decided by the count of the node's
// region, and the fragments' end points are sorted round the node (velBoundarySorterFragments).
//
// Pieces with a true open end (a polyline that is not closed) are no boundary and are passed over.
// A whole closed polyline in a node of count c is visible when it separates counts 0 and 1: anticlockwise
// (positive area) with c counted as 0, clockwise with c counted as 1. Counts other than 0 and 1 (2 or more,
// or negative under the winding rule) make it invisible.

#include "arcline/intersect/velBSPNodeData.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/polyutils/velBoundarySorterFragments.h"

#include <functional>

class velVisibilityCalculator;
class velVisibilityResult;
class velBoundaryNesting;
class velSegmentMap;

class velBSPVisibility {
public:
    // Signed area of polyline `poly` of the run, closed by its closing point (arcs exact).
    static double area(const velBSPRun& run, int poly);

    // The visibility of a whole closed polyline of signed area `area` in a region of count `count`.
    static int closed_visible(double area, int count, const velVisibilityCalculator& calculator);

    // Builds the fragments of the node and decides what it can (steps 3 and 4 of the traversal). Sets
    // `divide` when the node must be divided to decide more, and returns the fragments sorted from P.
    // `canonical` answers the node's canonical form; it is asked only when a whole closed piece is still
    // to be decided (the form is the node's to compute and cache, and most nodes never need it).
    static velBoundarySorterFragments
    decide(const velBSPNodeData& node, const std::function<int()>& canonical, const giPoint3& P, int count,
           const velSegmentMap* segments, const velVisibilityCalculator& calculator, int flags,
           velVisibilityResult& result, velBoundaryNesting* nesting, bool& divide, bool& stop_here);

    // A safe starting point for child i (box child_box) on the node's boundary: corner i of the node (and of
    // the child), or, when a fragment end lies within 0.01 min(width, height) of it, the point 0.8 of the
    // way from it towards the child's next corner (i + 1), or else its previous one (i + 3). The child's
    // corners rather than the node's: the point must lie on the boundary of the child that starts there.
    static giPoint3 start_point(const giBox2& box, const giBox2& child_box, int child,
                                const velBoundarySorterFragments& frags);

protected:
    velBSPVisibility() = default;
};
