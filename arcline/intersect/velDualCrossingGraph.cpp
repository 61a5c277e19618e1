#include "arcline/intersect/velDualCrossingGraph.h"

#include "arcline/intersect/velCrossingNodeUtils.h"
#include "arcline/intersect/velCrossingcoPageArr.h"
#include "arcline/polyutils/velPolylineSorter.h"

velDualCrossingGraph::velDualCrossingGraph(const velPolylineListIter& a, const velPolylineListIter& b) {
    velCrossingcoPageArr crossings;
    velPolylineSorter sorter;
    sorter.intersect(a, b, crossings);
    for (int i = 0; i < crossings.size(); ++i) {
        m_crossings.push_back(crossings.read(i));
        velCrossingGraphNode& on_a = m_nodes.emplace_back(&m_crossings.back());
        m_crossings.push_back(velCrossingNodeUtils::flip_crossing(crossings.read(i)));
        velCrossingGraphNode& on_b = m_nodes.emplace_back(&m_crossings.back());
        link_pair(on_a, on_b);
        m_side_a.push_back(&on_a);
        m_side_b.push_back(&on_b);
    }
    velCrossingNodeUtils::create_links(m_side_a);
    velCrossingNodeUtils::create_links(m_side_b);
}

void velDualCrossingGraph::all_nodes(std::vector<velCrossingGraphNode*>& filler) const {
    filler.insert(filler.end(), m_side_a.begin(), m_side_a.end());
    filler.insert(filler.end(), m_side_b.begin(), m_side_b.end());
}

bool velDualCrossingGraph::check_crossing_graph(std::vector<int>* loop_lengths) const {
    return velCrossingNodeUtils::check_crossing_graph(m_side_a, loop_lengths) &&
           velCrossingNodeUtils::check_crossing_graph(m_side_b, loop_lengths);
}
