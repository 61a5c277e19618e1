#pragma once
// The tests that decide whether a BSP node may stay a leaf. Every one of them is conservative: a wrong
// "yes" would lose a crossing (a piece declared free of self-intersection that crosses itself, a tiny node
// accepted whose pieces cross more than once), while a wrong "no" only makes the node divide again, and
// division ends at the level limit or a degenerate box whatever the answer.

#include "arcline/intersect/velBSPNodeData.h"

class velBSPCanonicalRules {
public:
    // The piece cannot cross itself:
    // - it touches at most one span;
    // - a whole closed polyline whose turns (at vertices and along arcs) all have one sense and add up to
    //   less than 400 degrees (one convex loop);
    // - an open piece whose tangent direction, followed continuously along it, stays within an open half
    //   turn (the cone test): it then advances along the cone's axis and cannot come back to itself;
    // - a piece of at most max_checked_spans spans whose spans, tested pairwise, meet nowhere but at the
    //   common vertex of neighbours (an arc can cross the line before it).
    // A span of zero length makes the cone test fail.
    static bool certainly_free(const velBSPNodeData& node, const velBSPPiece& p);
    static constexpr int max_checked_spans = 4;

    // A node narrower than the box limit may stop here with its crossings computed (forced) when every
    // piece touches at most two spans: whatever the pieces do inside such a node is then one crossing or
    // one touching per pair, which the perimeter order decides. Otherwise dividing goes on.
    static bool ok_to_be_degenerate(const velBSPNodeData& node);

    // The budget test before the vertex-proximity test of several pieces: at most max_interior_vertices
    // vertices strictly inside pieces and at most max_node_spans spans in all. Failing it only divides.
    static bool interior_vertex_test(const velBSPNodeData& node);
    static constexpr int max_interior_vertices = 64;
    static constexpr int max_node_spans = 256;

    // Some vertex of a piece (its ends included) lies within `tol` of another piece.
    static bool vertex_near_other_piece(const velBSPNodeData& node, double tol);

    // The piece has an end of its polyline (not made by a cut) inside the node.
    static bool has_true_end(const velBSPPiece& p) {
        return !p.whole && (p.start_flag == velBSPPiece::true_end || p.end_flag == velBSPPiece::true_end);
    }

protected:
    velBSPCanonicalRules() = default;
};
