#pragma once
// The part of a zone tree that does not depend on the dimension: a node of a space-partition tree (velNode2
// or velNode3) that holds the indices of the items (spans) reaching into its box, and divides while that
// makes the lists of its leaves usefully shorter. velZoneNode2 and velZoneNode3 are its two instantiations;
// concrete zone trees derive from them and say what an item is (outside) and how to make their children
// (new_node).
//
// Division (canonical_form), with A the zone area of the node's box (zone_area: width times height in the
// plane, the product of the two largest extents in space):
//   - a node without items is final;
//   - a node with min_zone_length()^2 >= A is final (its zones are small enough);
//   - a node with A > max_zone_length()^2 is divided (its zones are too large);
//   - otherwise the root is divided, and any other node is final when it still holds at least keep_ratio
//     (90 %) as many items as its parent: long items that cross many zones do not drive the depth.
// The level limit and degenerate boxes of velNodeTree end every division whatever the answer.
//
// Dividing hands each child the parent's items that are not outside() the child's box, collected in a
// scratch array that the root makes and all its descendants share (one tree is divided by one thread). A
// divided node drops its own array (its leaves hold the items) and keeps only the count (num_items()),
// which its children's canonical forms read; so a zone tree is divided with complete_subdivision(), which
// keeps every node, never with destructive_subdivision(), which destroys finished leaves.
//
// Base is the generic node (velNode2, velNode3), Self the zone node class derived from this template
// (velZoneNode2, velZoneNode3), Box and Point Base's box and point types.

#include "arcline/platform/coDynArr.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <vector>

template <class Base, class Self, class Box, class Point>
class velZoneNodeTree : public Base {
public:
    // A child that keeps at least this share of its parent's items is final.
    static constexpr double keep_ratio = 0.9;

    // The smallest zone worth making: a node whose zone area is at most its square is final.
    virtual double min_zone_length() const = 0;
    // The largest zone allowed: a node whose zone area exceeds its square is divided.
    virtual double max_zone_length() const = 0;
    // True when `item` certainly does not reach into `box` (a false answer only lists the item in one
    // zone too many).
    virtual int outside(const Box& box, int item) const = 0;
    // A child of the concrete type over `box` with `items` (null when none), `parent` and `quadrant`.
    virtual std::unique_ptr<Self> new_node(const Box& box, std::unique_ptr<intcoDynArr> items, Self* parent,
                                           int quadrant) const = 0;

    int canonical_form(int /*level*/) const override {
        if (m_num_items == 0) return 1;
        const double area = zone_area(this->limits());
        const double min_length = min_zone_length();
        if (min_length * min_length >= area) return 1;
        const double max_length = max_zone_length();
        if (area > max_length * max_length) return 0;
        const Self* up = parent();
        if (!up) return 0;
        return m_num_items >= keep_ratio * up->num_items() ? 1 : 0;
    }

    void subdivide(const Point& centre) override {
        std::array<Box, Base::num_children> boxes;
        this->subdivisions(centre, boxes.data());
        std::vector<int>& scratch = *m_scratch;
        for (int q = 0; q < Base::num_children; ++q) {
            scratch.clear();
            if (m_items)
                for (int item : *m_items)
                    if (!outside(boxes[static_cast<std::size_t>(q)], item)) scratch.push_back(item);
            std::unique_ptr<intcoDynArr> items;
            if (!scratch.empty()) {
                items = std::make_unique<intcoDynArr>(static_cast<int>(scratch.size()));
                std::copy(scratch.begin(), scratch.end(), items->begin());
            }
            this->set_child(q, new_node(boxes[static_cast<std::size_t>(q)], std::move(items), self(), q));
        }
        m_items.reset();
    }

    // A leaf is empty without items; a divided node when all its children are.
    int check_empty(int level) override {
        if (!this->contains_children()) return m_num_items == 0 ? 1 : 0;
        return Base::check_empty(level);
    }

    // The items reaching into this leaf; null when there are none, and for a divided node.
    const intcoDynArr* items() const { return m_items.get(); }
    // The number of items given to this node (kept after it is divided).
    int num_items() const { return m_num_items; }

    Self* parent() const { return static_cast<Self*>(Base::parent()); }
    Self* child(int i) const { return static_cast<Self*>(Base::child(i)); }

    // The leaf reached from this node by descending towards `p` (velNodeTree::node_containing_point).
    const Self* leaf_containing(const giPoint3& p) const {
        return static_cast<const Self*>(this->node_containing_point(p));
    }

    // Calls f(leaf) for every leaf with items whose closed box shares a point with `box`.
    void for_each_leaf_crossing(const Box& box, const std::function<void(const Self&)>& f) const {
        if (!this->limits().crosses(box)) return;
        if (!this->contains_children()) {
            if (m_items) f(*static_cast<const Self*>(this));
            return;
        }
        for (int q = 0; q < Base::num_children; ++q)
            child(q)->for_each_leaf_crossing(box, f);
    }

    // The measure compared with the zone lengths squared: the product of the box's two largest extents
    // (width times height in the plane). In space a flat or thin box keeps a useful measure, which its
    // volume would not.
    static double zone_area(const Box& box) {
        if (box.empty()) return 0.0;
        std::array<double, Base::dimension> extents;
        for (int k = 0; k < Base::dimension; ++k)
            extents[static_cast<std::size_t>(k)] = box.max()[k] - box.min()[k];
        std::sort(extents.begin(), extents.end(), std::greater<>());
        return extents[0] * extents[1];
    }

protected:
    // A node over `box` holding `items` (null when none). The root passes a null parent, the root quadrant
    // and a null scratch array (it makes one); children get their parent's.
    velZoneNodeTree(const Box& box, std::unique_ptr<intcoDynArr> items, Self* parent, int quadrant,
                    std::shared_ptr<std::vector<int>> scratch)
        : Base(box, parent, quadrant), m_items(std::move(items)), m_num_items(m_items ? m_items->size() : 0),
          m_scratch(scratch ? std::move(scratch) : std::make_shared<std::vector<int>>()) {
        if (m_items && m_items->empty()) m_items.reset();
    }

    // Replaces the items of an undivided node (a root that settles its items after construction).
    void set_items(std::unique_ptr<intcoDynArr> items) {
        m_items = std::move(items);
        if (m_items && m_items->empty()) m_items.reset();
        m_num_items = m_items ? m_items->size() : 0;
    }
    const std::shared_ptr<std::vector<int>>& scratch() const { return m_scratch; }

private:
    Self* self() { return static_cast<Self*>(this); }

    std::unique_ptr<intcoDynArr> m_items; // null when none
    int m_num_items;
    std::shared_ptr<std::vector<int>> m_scratch; // shared by the whole tree
};
