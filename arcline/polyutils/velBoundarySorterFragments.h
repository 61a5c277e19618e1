#pragma once
// The pieces of boundary segments that cross one BSP node, each running from the node's boundary to its
// boundary (a fragment), with the winding counts along the node's perimeter that they decide.
//
// sort_frags orders the fragments' end points anticlockwise round the node starting just after a point P of
// the perimeter whose count is known, and walks them: a fragment starts where its segment enters the node
// (the count drops by one there: material lies on the segment's left) and ends where it leaves (the count
// rises by one). Each end point decides its segment's visibility: visible when the counts on its two sides
// are 0 and 1 under the calculator's rule. The confidence of a decision is 1000 times the distance (largest
// coordinate difference) from the point to the nearer of its neighbours in the order, plus 1e-10: ends that
// crowd together decide little. The counts found give the count at any other perimeter point (visible),
// which is how the traversal hands a count on to the children of a node.
//
// Ties at one perimeter place: an end point before a start point, two end points by lower segment index,
// two start points by higher segment index. A start and an end of one segment next to each other at one
// place (the segment leaves the node and comes back there) change nothing.
//
//     velBoundarySorterFragments frags(node_box, n);
//     frags.add_fragment(s, enter_point, t0, leave_point, t1);
//     int complete = 0;
//     frags.sort_frags(count_at_P, P, calculator, 0, result, complete);
//     int count_at_Q = frags.visible(Q);

#include "arcline/intersect/velDirection.h"
#include "arcline/platform/coQuickSort.h"
#include "arcline/platform/giBox2.h"
#include "arcline/platform/giPoint3.h"

#include <climits>
#include <vector>

class velVisibilityCalculator;
class velVisibilityResult;
class velBoundaryNesting;
class velSegmentMap;

class velBoundarySorterFragments : public coQuickSort {
public:
    // sort_frags flag: points at the same place as a neighbour in the order decide nothing.
    static constexpr int skip_coincident_points = 1;
    // Stored counts: not yet walked, and a point that changes nothing.
    static constexpr int count_unset = INT_MAX;
    static constexpr int count_no_change = -INT_MAX;

    // Room for n fragments in the node `box`.
    velBoundarySorterFragments(const giBox2& box, int n);

    // A fragment of segment `index` from `start` (parameter t0) to `end` (t1), both on the node's boundary;
    // the sides they lie on are taken from node_side unless given.
    void add_fragment(int index, const giPoint3& start, double t0, const giPoint3& end, double t1);
    void add_fragment(int index, const giPoint3& start, velDirection start_side, double t0,
                      const giPoint3& end, velDirection end_side, double t1);
    // The sorter's cuts: a decision's confidence is at most the distance (in parameter) from its point to
    // the nearest cut of its segment. Null (the default): no such bound.
    void set_segment_map(const velSegmentMap* segments) { m_segments = segments; }
    int num_fragments() const { return static_cast<int>(m_points.size() / 2); }

    // Sorts the end points round the node after P (count `count` there) and decides visibility as above;
    // `complete` is cleared when a segment met here is left neither blocked nor certain.
    void sort_frags(int count, const giPoint3& P, const velVisibilityCalculator& calculator, int flags,
                    velVisibilityResult& result, int& complete);

    // The count at the perimeter point Q, from the count at P and the points between them (after sort_frags).
    int visible(const giPoint3& Q) const;
    // The count averaged along the perimeter (each side one unit); the count at P when no point changes
    // anything, 0 without fragments.
    double average_visibility() const;
    // Some end point lies within tol of Q in x and in y.
    bool close_to_point(const giPoint3& Q, double tol) const;
    // Reports to the nesting the segments crossed walking the perimeter from P to Q, and moves it there.
    void find_nesting(const giPoint3& Q, velBoundaryNesting& nesting) const;
    // The same for the whole perimeter, round to P again: every segment met here is placed in the tree
    // (the caller restores the nesting's position afterwards).
    void find_nesting(velBoundaryNesting& nesting) const;

    // Sorted point k (after sort_frags): its end point index (even: a start, odd: an end) and stored count.
    int sorted(int k) const { return m_order[static_cast<std::size_t>(k)]; }
    int count_after(int k) const { return m_count_after[static_cast<std::size_t>(sorted(k))]; }
    int segment(int point) const { return m_polyline[static_cast<std::size_t>(point)]; }
    const giPoint3& point(int point) const { return m_points[static_cast<std::size_t>(point)]; }
    int count_at_reference() const { return m_count_at_p; }

    // The order of two end points round the node after P: negative when a comes first, 0 at one place.
    int sign(int a, int b) const;

protected:
    int obj_compare(const void* a, const void* b) const override;
    const void* arr_get(int i) const override { return &m_order[static_cast<std::size_t>(i)]; }
    void arr_swap(int i, int j) override;

private:
    struct Place {
        giPoint3 p;
        velDirection side;
    };
    // A place's position in the order after P, as one comparable value: the points after P (in the
    // perimeter order) in group 0, the others in group 1; then the side in perimeter order; then the
    // coordinate along the side. Two places compare as their keys do (equal keys: one place).
    struct Key {
        int rank; // 4 * group + side
        double along;
        bool operator<(const Key& o) const { return rank != o.rank ? rank < o.rank : along < o.along; }
        bool operator==(const Key& o) const { return rank == o.rank && along == o.along; }
    };
    Key key_of(const Place& a) const;
    int compare_keys(const Key& a, const Key& b) const { return a < b ? -1 : (b < a ? 1 : 0); }
    bool before(const Place& a, const Place& b) const;
    bool tie_before(int a, int b) const;
    // Walks the sorted points up to q (all of them when q is null), entering and leaving boundaries.
    void walk_nesting(const Place* q, velBoundaryNesting& nesting) const;
    int compare_places(const Place& a, const Place& b) const;
    Place place_of(int point) const { return {m_points[at(point)], m_sides[at(point)]}; }
    // The change of count at end point k: -1 at a start, +1 at an end, 0 when it changes nothing.
    int change(int point) const;
    static std::size_t at(int k) { return static_cast<std::size_t>(k); }

    giBox2 m_box;
    std::vector<giPoint3> m_points;
    std::vector<velDirection> m_sides;
    std::vector<int> m_polyline;
    std::vector<double> m_params;
    std::vector<Key> m_keys; // per end point, from sort_frags on (for the P it was given)
    std::vector<int> m_order;
    std::vector<int> m_count_after;
    std::vector<char> m_no_change;
    Place m_p{};
    int m_count_at_p = 0;
    const velSegmentMap* m_segments = nullptr;
};
