#include "arcline/intersect/velSelfCrossingGraph.h"

#include "arcline/intersect/velCrossingNodeUtils.h"

velSelfCrossingGraph::velSelfCrossingGraph(const velCrossingcoPageArr& crossings) {
    const int n = crossings.size();
    m_crossings.reserve(2 * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        m_crossings.push_back(crossings.read(i));
    for (int i = 0; i < n; ++i)
        m_crossings.push_back(velCrossingNodeUtils::flip_crossing(crossings.read(i)));
    m_nodes.resize(m_crossings.size());
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        m_nodes[i].set_crossing(&m_crossings[i]);
        m_node_pointers.push_back(&m_nodes[i]);
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i)
        link_pair(m_nodes[i], m_nodes[i + static_cast<std::size_t>(n)]);
    velCrossingNodeUtils::create_links(m_node_pointers);
}

bool velSelfCrossingGraph::check_crossing_graph(std::vector<int>* loop_lengths) const {
    return velCrossingNodeUtils::check_crossing_graph(m_node_pointers, loop_lengths);
}
