// Crossing graphs: known walks of small cases.

#include "arcline/intersect/velCrossingGraphNode.h"
#include "arcline/intersect/velCrossingNodeUtils.h"
#include "arcline/intersect/velDualCrossingGraph.h"
#include "arcline/intersect/velSelfCrossingGraph.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "tests/intersect/bspTestKit.h"

#include <gtest/gtest.h>

namespace velCrossingGraph_test {

using namespace bsptest;

std::unique_ptr<velAbsPolyArcLine> rect(double x0, double y0, double x1, double y1) {
    return polyline({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}});
}

TEST(CrossingGraph, NoCrossingsNoNodes) {
    List a, b;
    a.add(rect(0, 0, 1, 1));
    b.add(rect(5, 5, 6, 6));
    velDualCrossingGraph graph(a.iter, b.iter);
    std::vector<velCrossingGraphNode*> nodes;
    graph.all_nodes(nodes);
    EXPECT_TRUE(nodes.empty());
    EXPECT_EQ(graph.iterator_a_crossings().first_node_on_polyline(0), nullptr);
    EXPECT_EQ(graph.iterator_b_crossings().first_node_on_polyline(0), nullptr);
    EXPECT_TRUE(graph.check_crossing_graph());
}

TEST(CrossingGraph, TwoSquaresWalkRoundTheirOverlap) {
    List a, b;
    a.add(rect(0, 0, 2, 2));
    b.add(rect(1, 1, 3, 3));
    velDualCrossingGraph graph(a.iter, b.iter);
    std::vector<int> loops;
    ASSERT_TRUE(graph.check_crossing_graph(&loops));
    EXPECT_EQ(loops, (std::vector<int>{2, 2}));
    velCrossingGraphNode* start = graph.iterator_a_crossings().first_node_on_polyline(0);
    ASSERT_NE(start, nullptr);
    // Along A to its next crossing, across to B, along B: back where the walk started, round one piece.
    velCrossingGraphNode* n = start->next()->pair()->next()->pair();
    EXPECT_EQ(n, start);
    EXPECT_EQ(velCrossingNodeUtils::first_in_loop(start->next()), start);
}

TEST(CrossingGraph, CurveWithOneCrossingLinksToItself) {
    List l;
    l.add(polyline({{-1, 0.5}, {0.5, 0.5}})); // ends inside the square: one crossing
    l.add(rect(0, 0, 1, 1));
    velCrossingcoPageArr crossings;
    velPolylineSorter sorter;
    sorter.self_intersect(l.iter, crossings);
    ASSERT_EQ(crossings.size(), 1);
    velSelfCrossingGraph graph(crossings);
    ASSERT_EQ(graph.all_nodes().size(), 2u);
    for (velCrossingGraphNode* n : graph.all_nodes()) {
        EXPECT_EQ(n->next(), n);
        EXPECT_EQ(n->prev(), n);
    }
    EXPECT_TRUE(graph.check_crossing_graph());
    const velCrossing flipped = velCrossingNodeUtils::flip_crossing(crossings.read(0));
    EXPECT_EQ(velCrossingNodeUtils::flip_crossing(flipped), crossings.read(0));
}

TEST(CrossingGraph, RandomWalksGiveConsistentGraphs) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> coord(0.0, 10.0);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<V> pts;
        for (int i = 0; i < 12; ++i)
            pts.push_back({coord(rng), coord(rng)});
        pts.push_back(pts.front());
        List l;
        l.add(polyline(pts));
        velCrossingcoPageArr crossings;
        velPolylineSorter sorter;
        sorter.self_intersect(l.iter, crossings);
        velSelfCrossingGraph graph(crossings);
        std::vector<int> loops;
        EXPECT_TRUE(graph.check_crossing_graph(&loops));
        // One polyline: every node lies on its one cycle.
        if (crossings.size() > 0) {
            EXPECT_EQ(loops, std::vector<int>{2 * crossings.size()});
        }
    }
}

} // namespace velCrossingGraph_test
