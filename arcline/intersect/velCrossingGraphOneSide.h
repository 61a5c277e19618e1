#pragma once
// A view on one side of a crossing graph: the nodes whose crossings are seen from the curves of one list.
// It owns nothing; the graph it came from must outlive it.

#include <vector>

class velCrossingGraphNode;

class velCrossingGraphOneSide {
public:
    velCrossingGraphOneSide() = default;
    explicit velCrossingGraphOneSide(std::vector<velCrossingGraphNode*> nodes) : m_nodes(std::move(nodes)) {}

    // The node on polyline i with the smallest parameter; null when polyline i has no crossing.
    velCrossingGraphNode* first_node_on_polyline(int i) const;
    // Every node of the side.
    void all_nodes(std::vector<velCrossingGraphNode*>& filler) const;
    int size() const { return static_cast<int>(m_nodes.size()); }

private:
    std::vector<velCrossingGraphNode*> m_nodes;
};
