// The generic quadtree and octree nodes: children, descent, pictures and the division schedules.

#include "arcline/intersect/velNode2.h"
#include "arcline/intersect/velNode3.h"
#include "arcline/platform/torPolyline3.h"

#include <gtest/gtest.h>

#include <random>

namespace velNode_test {

namespace {

// A quadtree over points that divides a node holding more than one point.
class PointNode : public velNode2 {
public:
    PointNode(std::vector<giPoint2> pts, const giBox2& box, PointNode* parent = nullptr,
              int q = root_quadrant)
        : velNode2(box, parent, q), m_pts(std::move(pts)) {}
    void subdivide(const giPoint2& c) override {
        giBox2 boxes[4];
        subdivisions(c, boxes);
        std::vector<giPoint2> q[4];
        for (const giPoint2& p : m_pts)
            q[subsquare({p.x, p.y, 0})].push_back(p);
        for (int i = 0; i < 4; ++i)
            set_child(i, std::make_unique<PointNode>(std::move(q[i]), boxes[i], this, i));
    }
    int canonical_form(int) const override { return m_pts.size() <= 1; }
    std::vector<giPoint2> m_pts;
};

std::vector<giPoint2> random_points(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> c(0, 1);
    std::vector<giPoint2> pts;
    for (int i = 0; i < n; ++i)
        pts.push_back({c(rng), c(rng)});
    return pts;
}

int leaves(const velNode2& n) {
    if (!n.contains_children()) return 1;
    int k = 0;
    for (int i = 0; i < 4; ++i)
        k += leaves(*n.child(i));
    return k;
}

TEST(velNode2, QuadrantsAndDescent) {
    PointNode root(random_points(200, 1), giBox2({0, 0}, {1, 1}));
    EXPECT_EQ(root.quadrant(), velNode2::root_quadrant);
    // subsquare numbers the quadrants anticlockwise from the lower left.
    EXPECT_EQ(root.subsquare({0.2, 0.2, 0}), 0);
    EXPECT_EQ(root.subsquare({0.2, 0.7, 0}), 1);
    EXPECT_EQ(root.subsquare({0.7, 0.7, 0}), 2);
    EXPECT_EQ(root.subsquare({0.7, 0.2, 0}), 3);
    const int made = root.complete_subdivision(0);
    EXPECT_EQ(root.num_subnodes(), made + 1);
    // Every point descends to the leaf holding it, and every leaf holds at most one point.
    for (const giPoint2& p : random_points(200, 1)) {
        const auto* leaf = static_cast<const PointNode*>(root.node_containing_point({p.x, p.y, 0}));
        EXPECT_FALSE(leaf->contains_children());
        ASSERT_EQ(leaf->m_pts.size(), 1u);
        EXPECT_EQ(leaf->m_pts[0], p);
        EXPECT_TRUE(leaf->limits().contains(p));
    }
    torCurvePtr3coDList rects;
    root.picture(rects);
    EXPECT_EQ(rects.size(), leaves(root));
    for (const auto& c : rects)
        EXPECT_EQ(static_cast<const torPolyline3&>(*c).num_pos(), 5);
}

TEST(velNode2, DegenerateBoxesEndDivision) {
    // Two equal points never part: division stops where the box has no room left for a split point.
    PointNode root({{0.3, 0.3}, {0.3, 0.3}}, giBox2({0, 0}, {1, 1}));
    root.complete_subdivision(0);
    const auto* leaf = root.node_containing_point({0.3, 0.3, 0});
    EXPECT_TRUE(leaf->degenerate());
    EXPECT_LT(root.num_subnodes(), 4 * 80);
}

class BoxNode3 : public velNode3 {
public:
    explicit BoxNode3(const giBox3& box, BoxNode3* parent = nullptr, int q = root_quadrant, int depth = 0)
        : velNode3(box, parent, q), m_depth(depth) {}
    void subdivide(const giPoint3& c) override {
        giBox3 boxes[8];
        subdivisions(c, boxes);
        for (int i = 0; i < 8; ++i)
            set_child(i, std::make_unique<BoxNode3>(boxes[i], this, i, m_depth + 1));
    }
    int canonical_form(int) const override { return m_depth >= 2; }
    int m_depth;
};

TEST(velNode3, OctantsTileTheBox) {
    BoxNode3 root(giBox3({0, 0, 0}, {1, 2, 4}));
    root.complete_subdivision(0);
    EXPECT_EQ(root.num_subnodes(), 1 + 8 + 64);
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> u(0, 1);
    for (int i = 0; i < 1000; ++i) {
        const giPoint3 p{u(rng), 2 * u(rng), 4 * u(rng)};
        const velNode3* leaf = root.node_containing_point(p);
        EXPECT_TRUE(leaf->limits().contains(p));
        // The octant is the quadrant of (x, y) plus 4 above the split height.
        const int q = root.subsquare(p);
        EXPECT_EQ(q >= 4, p.z >= 2.0);
        EXPECT_EQ(q & 3, (p.y >= 1.0 ? 1 : 0) ^ (p.x >= 0.5 ? 3 : 0));
    }
    torCurvePtr3coDList edges;
    root.picture(edges);
    EXPECT_EQ(edges.size(), 64 * 6);
}

} // namespace

} // namespace velNode_test
