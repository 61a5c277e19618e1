#pragma once
// Static operations on the nodes of crossing graphs: the crossing seen from the other curve, the links
// along every curve, the first node of a cycle and the check of a whole graph.

#include "arcline/intersect/velCrossing.h"

#include <functional>
#include <vector>

class velCrossingGraphNode;

class velCrossingNodeUtils {
public:
    // The crossing with its curves exchanged: indices and parameters swapped, the start curve inverted;
    // alternate mark and point kept.
    static velCrossing flip_crossing(const velCrossing& c);
    // Sorts the nodes by (index1, param1) of their crossings and links every curve's nodes in that order
    // into one cycle (the last to the first); a curve with one crossing gives a node linked to itself.
    static void create_links(const std::vector<velCrossingGraphNode*>& nodes);
    // Applies f to every node of node's next-cycle, starting with node.
    static void for_each_in_loop(velCrossingGraphNode* node,
                                 const std::function<void(velCrossingGraphNode*)>& f);
    // The node of node's cycle with the smallest index1, ties by the smallest param1.
    static velCrossingGraphNode* first_in_loop(velCrossingGraphNode* node);
    // True when every node's pair is paired back to it, next and prev agree, and following next (and
    // prev) from any node comes back without visiting a node twice. The length of each next-cycle found
    // is appended to `loop_lengths` when given.
    static bool check_crossing_graph(const std::vector<velCrossingGraphNode*>& nodes,
                                     std::vector<int>* loop_lengths = nullptr);

protected:
    velCrossingNodeUtils() = default;
};
