// The generic zone node's division rule on points, for the quadtree and the octree.

#include "../polyline/polylineTestKit.h"

#include "arcline/intersect/velZoneNode2.h"
#include "arcline/intersect/velZoneNode3.h"
#include "arcline/platform/torCurvePtr3coDList.h"
#include "arcline/platform/torCurvePtr3coDListcoIterator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <memory>
#include <numeric>
#include <vector>

namespace velZoneNode_test {

namespace {

using polytest::Rng;

template <class ZoneNode, class Box, class Point>
class PointZones : public ZoneNode {
public:
    using Base = ZoneNode;
    struct Shared {
        std::vector<Point> points;
        double min_length, max_length;
    };

    PointZones(std::shared_ptr<const Shared> shared, const Box& box)
        : ZoneNode(box, all(static_cast<int>(shared->points.size())), nullptr, ZoneNode::root_quadrant,
                   nullptr),
          m_shared(std::move(shared)) {}

    double min_zone_length() const override { return m_shared->min_length; }
    double max_zone_length() const override { return m_shared->max_length; }
    int outside(const Box& box, int item) const override {
        return box.contains(m_shared->points[static_cast<std::size_t>(item)]) ? 0 : 1;
    }
    std::unique_ptr<ZoneNode> new_node(const Box& box, std::unique_ptr<intcoDynArr> items, ZoneNode* parent,
                                       int quadrant) const override {
        return std::unique_ptr<ZoneNode>(
            new PointZones(box, std::move(items), parent, quadrant, m_shared, *this));
    }

private:
    PointZones(const Box& box, std::unique_ptr<intcoDynArr> items, ZoneNode* parent, int quadrant,
               std::shared_ptr<const Shared> shared, const PointZones& from)
        : ZoneNode(box, std::move(items), parent, quadrant, from.scratch()), m_shared(std::move(shared)) {}
    static std::unique_ptr<intcoDynArr> all(int n) {
        auto items = std::make_unique<intcoDynArr>(n);
        std::iota(items->begin(), items->end(), 0);
        return items;
    }

    std::shared_ptr<const Shared> m_shared;
};

using Zones2 = PointZones<velZoneNode2, giBox2, giPoint2>;
using Zones3 = PointZones<velZoneNode3, giBox3, giPoint3>;

// Every node of the tree with its parent's item count (-1 for the root).
template <class ZoneNode>
void walk(const ZoneNode& n, std::vector<const ZoneNode*>& out) {
    out.push_back(&n);
    if (n.contains_children())
        for (int q = 0; q < ZoneNode::num_children; ++q)
            walk(*n.child(q), out);
}

inline giPoint3 to3(const giPoint2& p) {
    return {p.x, p.y, 0.0};
}
inline giPoint3 to3(const giPoint3& p) {
    return p;
}

// The rule, node by node; every point is in the leaf containing it; one picture per leaf.
template <class ZoneNode, class Point>
void check_tree(const ZoneNode& root, const std::vector<Point>& points, double min_length,
                double max_length) {
    std::vector<const ZoneNode*> nodes;
    walk(root, nodes);
    int leaves = 0;
    for (const ZoneNode* n : nodes) {
        const double area = ZoneNode::zone_area(n->limits());
        const ZoneNode* up = n->parent();
        if (n->contains_children()) {
            // Divided: it had items, its zones were still too large, and the 90 % rule did not stop it.
            EXPECT_GT(n->num_items(), 0);
            EXPECT_GT(area, min_length * min_length);
            if (up && area <= max_length * max_length) {
                EXPECT_LT(n->num_items(), 0.9 * up->num_items());
            }
            EXPECT_EQ(n->items(), nullptr) << "a divided node leaves its items to its leaves";
            continue;
        }
        ++leaves;
        if (n->num_items() == 0 || n->degenerate()) continue;
        const bool small = area <= min_length * min_length;
        const bool kept = up && area <= max_length * max_length && n->num_items() >= 0.9 * up->num_items();
        EXPECT_TRUE(small || kept) << n->limits();
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const ZoneNode* leaf = root.leaf_containing(to3(points[i]));
        ASSERT_NE(leaf->items(), nullptr);
        EXPECT_NE(std::find(leaf->items()->begin(), leaf->items()->end(), static_cast<int>(i)),
                  leaf->items()->end());
    }
    torCurvePtr3coDList curves;
    root.picture(curves);
    EXPECT_EQ(static_cast<int>(curves.size()), leaves * (ZoneNode::dimension == 2 ? 1 : 6));
}

// Clusters of points: dense spots that the 90 % rule stops at, and scattered points divided down to the
// minimum zone.
template <class Zones, class Box, class Point>
void clusters(int dimension, double min_length, double max_length, unsigned seed) {
    Rng rng(seed);
    auto shared = std::make_shared<typename Zones::Shared>();
    shared->min_length = min_length;
    shared->max_length = max_length;
    auto random_point = [&](double lo, double hi) {
        Point p;
        for (int k = 0; k < dimension; ++k)
            p[k] = rng.uniform(lo, hi);
        return p;
    };
    for (int k = 0; k < 200; ++k)
        shared->points.push_back(random_point(0, 100));
    const Point spot = random_point(10, 90);
    for (int k = 0; k < 300; ++k) {
        Point p = spot;
        for (int d = 0; d < dimension; ++d)
            p[d] += rng.uniform(-1e-3, 1e-3);
        shared->points.push_back(p);
    }
    Point lo, hi;
    for (int k = 0; k < dimension; ++k) {
        lo[k] = -1.0;
        hi[k] = 101.0;
    }
    Zones root(shared, Box(lo, hi));
    EXPECT_EQ(root.check_empty(0), 0);
    EXPECT_GT(root.complete_subdivision(0), 0);
    check_tree(static_cast<const typename Zones::Base&>(root), shared->points, min_length, max_length);
}

} // namespace

TEST(velZoneNode2, DivisionRuleOnPoints) {
    clusters<Zones2, giBox2, giPoint2>(2, 1.0, DBL_MAX, 3);
    clusters<Zones2, giBox2, giPoint2>(2, 1e-9, DBL_MAX, 4);
    // A largest zone divides the dense spot further than the 90 % rule would.
    clusters<Zones2, giBox2, giPoint2>(2, 1e-9, 0.01, 5);
}

TEST(velZoneNode3, DivisionRuleOnPoints) {
    clusters<Zones3, giBox3, giPoint3>(3, 1.0, DBL_MAX, 6);
    clusters<Zones3, giBox3, giPoint3>(3, 1e-9, 0.05, 7);
}

TEST(velZoneNode2, EmptyTreeIsOneLeaf) {
    auto shared = std::make_shared<Zones2::Shared>();
    shared->min_length = 1.0;
    shared->max_length = DBL_MAX;
    Zones2 root(shared, giBox2({0, 0}, {10, 10}));
    EXPECT_EQ(root.complete_subdivision(0), 0);
    EXPECT_EQ(root.check_empty(0), 1);
    EXPECT_EQ(root.items(), nullptr);
    EXPECT_EQ(root.num_subnodes(), 1);
}

} // namespace velZoneNode_test
