#pragma once
// The crossing graph between two lists A and B: every crossing between a polyline of A and one of B (found by
// the polyline sorter) has a node on side A (the crossing seen from A's curve) and a node on side B (seen
// from B's curve), paired; each side's nodes are linked in parameter order along each of its curves. The
// graph owns the crossings and the nodes; the sides are views.

#include "arcline/intersect/velCrossing.h"
#include "arcline/intersect/velCrossingGraphNode.h"
#include "arcline/intersect/velCrossingGraphOneSide.h"

#include <deque>
#include <vector>

class velPolylineListIter;

class velDualCrossingGraph {
public:
    velDualCrossingGraph(const velPolylineListIter& a, const velPolylineListIter& b);
    velDualCrossingGraph(const velDualCrossingGraph&) = delete;
    velDualCrossingGraph& operator=(const velDualCrossingGraph&) = delete;

    velCrossingGraphOneSide iterator_a_crossings() const { return velCrossingGraphOneSide(m_side_a); }
    velCrossingGraphOneSide iterator_b_crossings() const { return velCrossingGraphOneSide(m_side_b); }
    // Every node of both sides, A's first.
    void all_nodes(std::vector<velCrossingGraphNode*>& filler) const;
    bool check_crossing_graph(std::vector<int>* loop_lengths = nullptr) const;

private:
    std::deque<velCrossing> m_crossings; // stable addresses
    std::deque<velCrossingGraphNode> m_nodes;
    std::vector<velCrossingGraphNode*> m_side_a, m_side_b;
};
