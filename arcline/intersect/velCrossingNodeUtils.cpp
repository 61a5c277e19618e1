#include "arcline/intersect/velCrossingNodeUtils.h"

#include "arcline/intersect/velCrossingGraphNode.h"

#include <algorithm>
#include <unordered_set>

velCrossing velCrossingNodeUtils::flip_crossing(const velCrossing& c) {
    return velCrossing(c.point(), c.index2(), c.param2(), c.index1(), c.param1(), c.inverse_start(),
                       c.alternate());
}

void velCrossingNodeUtils::create_links(const std::vector<velCrossingGraphNode*>& nodes) {
    std::vector<velCrossingGraphNode*> order(nodes);
    std::stable_sort(order.begin(), order.end(),
                     [](const velCrossingGraphNode* a, const velCrossingGraphNode* b) {
                         const velCrossing &p = *a->crossing(), &q = *b->crossing();
                         if (p.index1() != q.index1()) return p.index1() < q.index1();
                         return p.param1() < q.param1();
                     });
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i + 1;
        while (j < order.size() && order[j]->crossing()->index1() == order[i]->crossing()->index1())
            ++j;
        for (std::size_t k = i; k + 1 < j; ++k)
            link(*order[k], *order[k + 1]);
        link(*order[j - 1], *order[i]);
        i = j;
    }
}

void velCrossingNodeUtils::for_each_in_loop(velCrossingGraphNode* node,
                                            const std::function<void(velCrossingGraphNode*)>& f) {
    if (!node) return;
    velCrossingGraphNode* n = node;
    do {
        f(n);
        n = n->next();
    } while (n && n != node);
}

velCrossingGraphNode* velCrossingNodeUtils::first_in_loop(velCrossingGraphNode* node) {
    velCrossingGraphNode* best = node;
    for_each_in_loop(node, [&](velCrossingGraphNode* n) {
        const velCrossing &c = *n->crossing(), &b = *best->crossing();
        if (c.index1() < b.index1() || (c.index1() == b.index1() && c.param1() < b.param1())) best = n;
    });
    return best;
}

bool velCrossingNodeUtils::check_crossing_graph(const std::vector<velCrossingGraphNode*>& nodes,
                                                std::vector<int>* loop_lengths) {
    for (velCrossingGraphNode* n : nodes) {
        if (!n->pair() || n->pair()->pair() != n) return false;
        if (!n->next() || !n->prev() || n->next()->prev() != n || n->prev()->next() != n) return false;
    }
    std::unordered_set<const velCrossingGraphNode*> done;
    for (velCrossingGraphNode* start : nodes) {
        if (done.count(start)) continue;
        for (const bool forward : {true, false}) {
            std::unordered_set<const velCrossingGraphNode*> seen;
            const velCrossingGraphNode* n = start;
            do {
                if (!seen.insert(n).second) return false; // a node twice before coming back
                n = forward ? n->next() : n->prev();
            } while (n != start);
            if (forward) {
                if (loop_lengths) loop_lengths->push_back(static_cast<int>(seen.size()));
                done.insert(seen.begin(), seen.end());
            }
        }
    }
    return true;
}
