#pragma once
// The positions and span bulges of every polyline of a list, read once: for algorithms that revisit a list
// many times, or that move points (override_point) without touching the list. Indices are the list
// protocol's: polyline i, position j from 0, bulge j of the span from position j to j + 1. Not checked.

#include "arcline/lists/velPolylineListIter.h"

#include <vector>

class velPolyarclinePointCache {
public:
    // Reads every polyline of `iter`; the iterator is left where it stood.
    void cache_points(velPolylineListIter& iter);

    int num_segs() const { return static_cast<int>(m_first.size()) - 1; }
    int num_points(int i) const { return m_first[at(i) + 1] - m_first[at(i)]; }
    const giPoint3& get_point(int i, int j) const { return m_points[at(m_first[at(i)] + j)]; }
    // The bulge of span j of polyline i (0 for a straight span).
    double get_bulge(int i, int j) const { return m_bulges[at(m_first[at(i)] + j)]; }
    // Moves the cached point; the bulges stay, so an arc keeps its sweep between the moved ends.
    void override_point(int i, int j, const giPoint3& p) { m_points[at(m_first[at(i)] + j)] = p; }

private:
    static std::size_t at(int k) { return static_cast<std::size_t>(k); }

    std::vector<int> m_first{0}; // points of polyline i start at m_first[i]
    std::vector<giPoint3> m_points;
    std::vector<double> m_bulges; // one per point; the last point's is 0
};
