#pragma once
// Segment trimmings of one source segment, searchable by parameter, and the parameters of trims that turned
// out redundant.

#include "arcline/lists/velSegmentTrimming.h"
#include "arcline/platform/coPageArr.h"

#include <vector>

class velSegmentTrimmingArr {
public:
    void append(const velSegmentTrimming& t) {
        m_items.append(t);
        m_sorted.clear();
    }
    const velSegmentTrimming& read(int i) const { return m_items.read(i); }
    int size() const { return m_items.size(); }
    // Finds the trimming whose range holds t: the trimmings are taken in order of their middles
    // (tstart + tend, sorted on first use), the first whose tend is at least t is the candidate, and it is
    // found when t is at least its tstart; i is then its position in that order.
    bool search(double t, int& i) const;
    // The trimming at position i of the search order.
    const velSegmentTrimming& read_sorted(int i) const;

    void add_redundent_trimming(double t) { m_redundant.push_back(t); }
    int num_redundent_trimmings() const { return static_cast<int>(m_redundant.size()); }
    // The stored value nearest to t; -1.7976931348623157e308 when there is none.
    double nearest_redundent_trimming(double t) const;

private:
    void sort() const;

    coPageArr<velSegmentTrimming> m_items;
    mutable std::vector<int> m_sorted; // positions in order of tstart + tend; empty until searched
    std::vector<double> m_redundant;
};
