#include "arcline/intersect/velCrossingGraphOneSide.h"

#include "arcline/intersect/velCrossing.h"
#include "arcline/intersect/velCrossingGraphNode.h"

velCrossingGraphNode* velCrossingGraphOneSide::first_node_on_polyline(int i) const {
    velCrossingGraphNode* best = nullptr;
    for (velCrossingGraphNode* n : m_nodes)
        if (n->crossing()->index1() == i && (!best || n->crossing()->param1() < best->crossing()->param1()))
            best = n;
    return best;
}

void velCrossingGraphOneSide::all_nodes(std::vector<velCrossingGraphNode*>& filler) const {
    filler.insert(filler.end(), m_nodes.begin(), m_nodes.end());
}
