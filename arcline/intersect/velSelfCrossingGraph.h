#pragma once
// The crossing graph of a list with itself: for n crossings, 2n nodes (node i sees crossing i from its curve
// 1, node n + i the same crossing from its curve 2), paired across each crossing and linked in parameter
// order along every curve. The graph owns its copies of the crossings and its nodes.
//
//     velSelfCrossingGraph graph(crossings);          // e.g. from velPolylineSorter::self_intersect
//     velCrossingGraphNode* n = graph.all_nodes()[0];
//     n = n->next()->pair();                          // along the curve to the next crossing, then across

#include "arcline/intersect/velCrossing.h"
#include "arcline/intersect/velCrossingGraphNode.h"
#include "arcline/intersect/velCrossingcoPageArr.h"

#include <vector>

class velSelfCrossingGraph {
public:
    explicit velSelfCrossingGraph(const velCrossingcoPageArr& crossings);
    velSelfCrossingGraph(const velSelfCrossingGraph&) = delete;
    velSelfCrossingGraph& operator=(const velSelfCrossingGraph&) = delete;

    const std::vector<velCrossingGraphNode*>& all_nodes() const { return m_node_pointers; }
    bool check_crossing_graph(std::vector<int>* loop_lengths = nullptr) const;

private:
    std::vector<velCrossing> m_crossings; // crossing i, then its flipped copy at n + i
    std::vector<velCrossingGraphNode> m_nodes;
    std::vector<velCrossingGraphNode*> m_node_pointers;
};
