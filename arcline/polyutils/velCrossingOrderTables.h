#pragma once
// The order of the crossing records along every curve, as the sorter walks them. The crossings come in
// mirror pairs (record 2k is one crossing seen from its curve 1, record 2k + 1 the same crossing seen from
// its curve 2), so a record's `next_intersection` is its mirror: the same point on the other curve.
//
// Along each curve the valid records are ranked by parameter (rank 0 first); `next_crossing_on_same_curve`
// follows that order and wraps past the closure on a closed curve, and answers -1 after the last crossing
// of an open curve (`previous_crossing_on_same_curve` likewise before the first).
//
// Consistency of the order, as the sorter tests it: on a closed curve the two records of a self-crossing
// are an odd number of places apart (between the two passes of a closed planar curve through one point
// every other crossing is passed an even number of times), and two different closed curves cross an even
// number of times. The order of crossings that lie very close together along a curve is uncertain; the
// sorter tries other orders of such groups (set_order) until one is consistent.

#include <vector>

#include "arcline/intersect/velCrossingcoPageArr.h"

class velCrossingOrderTables {
public:
    velCrossingOrderTables() = default;

    // Tables of the valid records of `crossings` (mirror pairs), `closed[i]` telling whether curve i is
    // closed. Curves are numbered 0 .. closed.size() - 1.
    void build(const velCrossingcoPageArr& crossings, const std::vector<char>& closed);
    void clear();

    int num_records() const { return static_cast<int>(m_curve.size()); }
    int num_valid() const { return static_cast<int>(m_order.size()); }
    bool valid(int r) const { return m_rank[at(r)] >= 0; }
    int curve(int r) const { return m_curve[at(r)]; }
    int other_curve(int r) const { return m_curve[at(r ^ 1)]; }
    double param(int r) const { return m_param[at(r)]; }
    bool closed(int c) const { return m_closed[at(c)] != 0; }
    int num_curves() const { return static_cast<int>(m_closed.size()); }

    static int next_intersection(int r) { return r ^ 1; }
    int next_crossing_on_same_curve(int r) const;
    int previous_crossing_on_same_curve(int r) const;
    // The rank along the record's curve; -1 for an invalid record.
    int rank(int r) const { return m_rank[at(r)]; }
    // The first and last record on curve c (-1 when none) and their count.
    int first_on_curve(int c) const;
    int ending_index(int c) const;
    int num_on_curve(int c) const { return m_curve_start[at(c) + 1] - m_curve_start[at(c)]; }

    // The valid records, curve by curve, each curve's in rank order.
    const std::vector<int>& order() const { return m_order; }
    // Replaces the order (a permutation of order() that keeps every record on its curve's stretch).
    void set_order(const std::vector<int>& order);

    bool check_order_consistency() const;

private:
    static std::size_t at(int i) { return static_cast<std::size_t>(i); }
    void rank_from_order();

    std::vector<int> m_curve;
    std::vector<double> m_param;
    std::vector<char> m_closed;
    std::vector<int> m_order;       // valid records by (curve, parameter)
    std::vector<int> m_curve_start; // m_order[m_curve_start[c] ..] are curve c's records
    std::vector<int> m_rank;        // per record; -1 when invalid
};
