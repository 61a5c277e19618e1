#pragma once
// A node of the BSP intersector: an adaptive quadtree over the plane whose nodes hold the pieces of the
// input list's polylines that lie in their boxes, and which stops dividing as soon as the crossings inside a
// node can be decided cheaply (canonical_form). Crossings are collected into the cross data's result while
// the tree is divided: velNode2::destructive_subdivision(1000, count) runs the whole intersection.
//
// The stages live beside this facade:
//   velBSPRun              the input read once into flat arrays (vertices, bulges, span boxes, closure)
//   velBSPSplitPoint       the root box and where a node is split
//   velBSPPieceSplitter    cutting pieces at the split lines (velAxisCut solves one span)
//   velBSPCanonicalRules   the conservative tests that let a node stay a leaf
//   velBSPLeafCrossings    crossings from the order of piece ends around a leaf's perimeter
//   velBSPDirectIntersection  span-by-span intersection of small nodes
//
// Canonical form (evaluated once per node and cached; the crossings it finds are recorded on the way):
//   1. no pieces: canonical.
//   2. two boundaries and every piece from one of them: canonical.
//   3. not a visibility query, a box cache in the cross data, fewer than 64 pieces and (S^2 + Q) / 2 < 20000
//      (S the spans of all pieces, Q the sum of the squares of each piece's spans): the pieces are
//      intersected directly; when that succeeds the node is canonical with its crossings recorded.
//      The budget is that of the sweep in velBSPDirectIntersection, which tests only spans whose boxes
//      meet, not all (S^2 + Q) / 2 pairs: at the all-pairs budget (10 pieces, 1500 pairs) the tree had
//      three times the nodes and the run took half as long again (callgrind on segments_20k: 148M
//      instructions against 90M; a 100k-span random walk: 1040M against 610M). The crossings found are the
//      same; only the depth at which a node becomes a leaf changes.
//   4. level 1000, a degenerate box, or a box narrower than span_fraction whose pieces are acceptable as
//      degenerate: canonical, crossings computed and forced.
//   5. several pieces:
//      - no true polyline end inside, every piece of at most two spans and at most one of two: not canonical
//        when a piece is a whole closed polyline; otherwise crossings are computed and the node is canonical
//        when every piece is certainly free of self-intersection;
//      - not every polyline closed and a true open end inside: not canonical while the box is at least
//        span_fraction wide and high; below that canonical with nothing computed (no crossing is reported so
//        close to an open end);
//      - otherwise, no whole closed piece and the interior-vertex budget met: crossings are computed and the
//        node is canonical when every piece is certainly free and no vertex lies within span_fraction of
//        another piece; in every other case not canonical.
//   6. one piece: canonical when it is certainly free of self-intersection. (A piece of two spans is not
//      accepted on its span count alone: an arc can cross the line before it.)
//   When crossings are computed and the cross data asks for them, a pair that may cross more than once
//   (answer 2 or 3) makes the node not canonical after all, unless forced.
//
// Ownership: the root owns its children (velNode2) and shares the run (the flat input) with them; the cross
// data and the input list are the caller's and must outlive the tree.

#include "arcline/intersect/velBSPPiece.h"
#include "arcline/intersect/velNode2.h"
#include "arcline/platform/utOstream.h"

#include <memory>
#include <ostream>
#include <vector>

class velBSPRun;
class velCrossData;
class velCrossing;
class velPolylineListIter;
class velTrimmedPolylineListIter;
struct velBSPNodeData;

class velVisibilityCalculator;
class velVisibilityResult;
class velBoundaryNesting;
class velSegmentMap;

class velIntersectorBSPNode : public velNode2 {
public:
    // The intersector's node budget for the breadth-first phase.
    static constexpr int max_breadth_first_nodes = 1000;
    // Rule 3: fewer pieces than this, and (S^2 + Q) / 2 below the pair budget.
    static constexpr int max_direct_pieces = 64;
    static constexpr int max_direct_pairs = 20000;

    // The root over the pieces of a trimmed view of the input list (the view's underlying list is the
    // input; a piece across the closing point of a closed polyline, by the cross data's closure function, is
    // one piece). `box` is the root's box as given; an empty box asks for root_box of the input's span boxes.
    // The input is read once here; the view and its underlying list are not read again while dividing.
    velIntersectorBSPNode(std::shared_ptr<velTrimmedPolylineListIter> pieces, const giBox2& box,
                          velCrossData* data);
    // The root over the whole input list, untrimmed (every polyline one piece, with true ends), in the root
    // box of its span boxes. The list must outlive the tree.
    velIntersectorBSPNode(velPolylineListIter& list, velCrossData* data);
    ~velIntersectorBSPNode() override;

    // The root box for the union of the input's span boxes (velBSPSplitPoint::root_box).
    static giBox2 root_box(const giBox2& input);

    giPoint2 subdivision_centre() const override;
    void subdivide(const giPoint2& centre) override;
    int canonical_form(int level) const override;
    int check_empty(int level) override;

    // Rules 1 to 6 without the crossing calculation: whether the node may be a leaf; skip_crossings is
    // cleared when its crossings must still be computed, forced set when they are accepted whatever the
    // answers.
    int canonical_form_except_intersections(int level, int& skip_crossings, int& forced) const;
    // The crossings of a leaf from the perimeter order (velBSPLeafCrossings::calculate_crossings); the
    // node's value.
    int calculate_crossings(int forced) const;
    // The answer for pieces a and b (indices into flat_pieces()); see velBSPLeafCrossings.
    int find_crossing(int a, int b, velCrossing& out) const;
    int multiple_crossings(int a, int b) const;
    int ok_to_be_degenerate() const;
    int certainly_free(int piece) const;
    // The number of pieces with exactly n different positions (coincident neighbours counted once).
    int num_with_num_different_points(int n) const;

    // The visibility traversal (velBSPVisibility does one node's work): decides the visibility of the
    // polylines of the tree's list (its segments), entry i for polyline i, from the count `count` at the
    // point P of this node's boundary. Returns at once when the result is complete or the node has no
    // pieces. A node that cannot decide all it holds and is not canonical is divided one level (when it has
    // no children) and each child i is visited from a safe point near corner i of this node, whose count
    // the fragments here give; with `destructive` each child is deleted after its visit. The nesting (may
    // be null) follows the walk from point to point and receives the closed polylines decided inside
    // nodes. `segments` (may be null) bounds the confidence of decisions near the sorter's cuts. The cross
    // data must be set for a visibility query (visibility test on, intersections off).
    void determine_visibility(const giPoint3& P, int count, const velSegmentMap* segments,
                              const velVisibilityCalculator& calculator, int flags, int destructive,
                              int level, velVisibilityResult& result, velBoundaryNesting* nesting);

    // The pieces as a trimmed view of the input list, with their end flags (made on each call).
    std::shared_ptr<velTrimmedPolylineListIter> pieces() const;
    const std::vector<velBSPPiece>& flat_pieces() const { return m_pieces; }
    int num_pieces() const { return static_cast<int>(m_pieces.size()); }
    velCrossData* cross_data() const { return m_data; }
    const velBSPRun& run() const { return *m_run; }
    // Crossings recorded by the last crossing calculation of this node; -1 before.
    int crossing_count() const { return m_crossing_count; }
    // The cached canonical form; -1 until computed. reset_canonical() forgets it (the visibility traversal
    // evaluates nodes again).
    int canonical() const { return m_canonical; }
    void reset_canonical() { m_canonical = -1; }

    // Nodes alive in this process now, and the most alive at once since reset_peak_live_nodes(): what the
    // depth-first phase's destruction of finished subtrees keeps bounded.
    static int live_nodes();
    static int peak_live_nodes();
    static void reset_peak_live_nodes();

    velIntersectorBSPNode* child(int i) const {
        return static_cast<velIntersectorBSPNode*>(velNode2::child(i));
    }

protected:
    velIntersectorBSPNode(std::vector<velBSPPiece> pieces, const giBox2& box, velIntersectorBSPNode* parent,
                          int quadrant, velCrossData* data);

private:
    velBSPNodeData node_data() const;

    std::shared_ptr<const velBSPRun> m_owned_run; // the root's; the children read it through m_run
    const velBSPRun* m_run = nullptr;
    std::vector<velBSPPiece> m_pieces;
    velCrossData* m_data; // not owned
    mutable int m_crossing_count = -1;
    mutable int m_canonical = -1;
};

// "velIntersectorBSPNode {", "limits " and the box, then "no polyline" or one line per piece
// ("polyline I from T0 to T1", with "across the closing point" or "whole" where it applies, and the end
// flags), then "}".
utOstream& operator<<(utOstream& os, const velIntersectorBSPNode& node);
std::ostream& operator<<(std::ostream& os, const velIntersectorBSPNode& node);
