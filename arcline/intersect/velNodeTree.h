#pragma once
// The part of an adaptive space-partition tree that does not depend on the dimension: child ownership,
// descent to a leaf, and the division schedules. velNode2 (quadtree over a giBox2) and velNode3 (octree over
// a giBox3) derive from it; see velNode2 for the contract of each member.
//
// Node is the derived node class (velNode2 or velNode3, with a static `dimension`), Box and Point its box
// and point types, N the number of children (4 or 8). The numbering of the children belongs to the derived
// class, which alone computes subsquare() and subdivisions().

#include "arcline/platform/giPoint3.h"
#include "arcline/platform/torCurvePtr3coDList.h"
#include "arcline/platform/velProgressBreak.h"

#include <array>
#include <memory>
#include <vector>

template <class Node, class Box, class Point, int N>
class velNodeTree {
public:
    static constexpr int root_quadrant = -2147483647;
    // No node is divided at or below this level (the root is level 0).
    static constexpr int max_level = 1000;
    static constexpr int num_children = N;

    velNodeTree(const velNodeTree&) = delete;
    velNodeTree& operator=(const velNodeTree&) = delete;

    // Divides this node and its descendants, depth first, until every leaf is canonical; the tree is kept.
    // `level` is this node's level. Returns the number of nodes made.
    virtual int complete_subdivision(int level) {
        int made = 0;
        if (!contains_children() && !divide_if_needed(level, made)) return 0;
        for (auto& c : m_children)
            made += c->complete_subdivision(level + 1);
        return made;
    }
    // Adds the closed outline of every leaf (z = 0 for a quadtree) to `curves`.
    virtual void picture(torCurvePtr3coDList& curves) const = 0;
    virtual ~velNodeTree() = default;
    // Where the node is split: the box centre.
    virtual Point subdivision_centre() const { return m_box.centre(); }
    // Makes the children for a split at `centre` and hands them their data.
    virtual void subdivide(const Point& centre) = 0;
    // True when the node needs no further division; `level` is the node's level.
    virtual int canonical_form(int level) const = 0;
    // Called on a node found canonical during a breadth-first division: may drop what a leaf no longer
    // needs. Nothing here.
    virtual void simplify() {}
    // 1 when the node and its descendants hold nothing. A node of this class holds nothing of its own: a
    // leaf answers 1, a divided node whether all its children are empty. Derived classes add their data.
    virtual int check_empty(int level) {
        for (auto& c : m_children)
            if (c && !c->check_empty(level + 1)) return 0;
        return 1;
    }

    // Breadth first while at most `max_nodes` nodes exist, then every remaining leaf depth first, each child
    // destroyed as soon as its subtree is done, so that memory stays bounded. Whatever the derived class
    // collects while deciding canonical forms is collected on the way. node_count counts the nodes made,
    // this one included.
    void destructive_subdivision(int max_nodes, int& node_count) {
        destructive_subdivision(max_nodes, node_count, nullptr);
    }
    // The same, advancing the progress break (may be null) once per division; returns 2 when it asked to
    // stop (the tree is then left part divided), else 0.
    int destructive_subdivision(int max_nodes, int& node_count, velProgressBreak* progress) {
        node_count = 1;
        int level = 0;
        for (;;) {
            if (node_count > max_nodes) break;
            const int r = subdivide_one_level(max_nodes, level, node_count, progress);
            if (r == 2) return 2;
            if (r == 0) return 0; // the last pass divided nothing: every leaf is decided
            ++level;
        }
        // Depth first: the leaves made by the last pass (now at `level`) are not yet decided.
        std::vector<Node*> leaves;
        collect_leaves(0, level, leaves);
        for (Node* leaf : leaves)
            if (leaf->finish_depth_first(level, node_count, progress)) return 2;
        return 0;
    }
    // Divides the non-canonical leaves at `level` (levels counted from this node, 0), adding N to
    // node_count per division, and advances the progress break (may be null) once per division; leaves
    // found canonical are simplified. Returns 1 when some leaf was divided, 0 when none was, 2 when the
    // progress break asked to stop (the rest of the pass is abandoned). `max_nodes` does not cut a pass
    // short: the caller decides from node_count whether to go on.
    int subdivide_one_level(int /*max_nodes*/, int level, int& node_count, velProgressBreak* progress) {
        std::vector<Node*> leaves;
        collect_leaves(0, level, leaves);
        int divided = 0;
        for (Node* leaf : leaves) {
            if (leaf->divide_if_needed(level, node_count)) {
                divided = 1;
                if (progress && progress->increment()) return 2;
            } else {
                leaf->simplify();
            }
        }
        return divided;
    }

    // The leaf reached by descending from this node by subsquare.
    Node* node_containing_point(const giPoint3& p) {
        Node* n = self();
        while (n->contains_children())
            n = n->child(n->subsquare(p));
        return n;
    }
    const Node* node_containing_point(const giPoint3& p) const {
        return const_cast<velNodeTree*>(this)->node_containing_point(p);
    }
    // This node and all its descendants.
    int num_subnodes() const {
        int n = 1;
        for (auto& c : m_children)
            if (c) n += c->num_subnodes();
        return n;
    }
    int contains_children() const { return m_children[0] != nullptr; }
    // No split point fits strictly inside the box (a zero extent, or an extent lost to rounding).
    int degenerate() const {
        if (m_box.empty()) return 1;
        const Point c = m_box.centre(), lo = m_box.min(), hi = m_box.max();
        for (int k = 0; k < Node::dimension; ++k)
            if (!(lo[k] < c[k] && c[k] < hi[k])) return 1;
        return 0;
    }
    const Box& limits() const { return m_box; }
    Node* parent() const { return m_parent; }
    int quadrant() const { return m_quadrant; }
    Node* child(int i) const { return m_children[static_cast<std::size_t>(i)].get(); }
    // The split point of a divided node (the common corner of its children); the box centre of a leaf.
    Point split_point() const { return contains_children() ? m_children[0]->limits().max() : m_box.centre(); }

protected:
    velNodeTree(const Box& box, Node* parent, int quadrant)
        : m_box(box), m_parent(parent), m_quadrant(quadrant) {}

    void set_child(int i, std::unique_ptr<Node> c) { m_children[static_cast<std::size_t>(i)] = std::move(c); }
    void delete_children() {
        for (auto& c : m_children)
            c.reset();
    }
    void delete_child(int i) { m_children[static_cast<std::size_t>(i)].reset(); }
    // A root may settle its box after construction (before it is divided).
    void set_limits(const Box& box) { m_box = box; }

private:
    Node* self() { return static_cast<Node*>(this); }
    // Divides this leaf when it is not canonical and can be divided; true when it was. The level limit and
    // degenerate boxes end every division, whatever the derived class says.
    bool divide_if_needed(int level, int& node_count) {
        if (canonical_form(level) || level >= max_level || degenerate()) return false;
        subdivide(subdivision_centre());
        node_count += N;
        return true;
    }
    // Finishes this node's subtree depth first, destroying each child when its subtree is done; true when
    // the progress break asked to stop.
    bool finish_depth_first(int level, int& node_count, velProgressBreak* progress) {
        if (!divide_if_needed(level, node_count)) return false;
        if (progress && progress->increment()) return true;
        for (int i = 0; i < N; ++i) {
            if (child(i)->finish_depth_first(level + 1, node_count, progress)) return true;
            delete_child(i);
        }
        return false;
    }
    void collect_leaves(int depth, int level, std::vector<Node*>& out) {
        if (depth == level) {
            if (!contains_children()) out.push_back(self());
            return;
        }
        for (auto& c : m_children)
            if (c) c->collect_leaves(depth + 1, level, out);
    }

    Box m_box;
    std::array<std::unique_ptr<Node>, N> m_children;
    Node* m_parent; // not owned
    int m_quadrant;
};
