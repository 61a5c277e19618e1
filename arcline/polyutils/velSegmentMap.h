#pragma once
// Where the sorter cuts each polyline: per polyline the parameters of its crossings (the ends of its
// segments) and the redundant trimmings, parameters of crossings that were dropped as doubles of an
// overlap or a touch. Near any of them the geometry of two boundaries is hard to tell apart, so a
// visibility decision taken there is worth little: distance_to_trimming_parameter bounds its confidence.

#include <vector>

class velSegmentMap {
public:
    explicit velSegmentMap(int num_polylines = 0);

    int size() const { return static_cast<int>(m_cuts.size()); }
    void clear();
    void resize(int num_polylines);

    // A cut at a crossing, and the parameter of a crossing removed as redundant.
    void add_trimming(int polyline, double t);
    void add_redundant_trimming(int polyline, double t);

    // The cuts of a polyline in increasing order (sorted on demand), and its redundant trimmings.
    const std::vector<double>& trimmings(int polyline) const;
    const std::vector<double>& redundant_trimmings(int polyline) const;

    // The smallest |t - c| over the polyline's cuts and redundant trimmings; the largest double when it has
    // none (or the polyline is outside the map).
    double distance_to_trimming_parameter(int polyline, double t) const;

private:
    void sort(int polyline) const;
    mutable std::vector<std::vector<double>> m_cuts;
    std::vector<std::vector<double>> m_redundant;
    mutable std::vector<char> m_sorted;
};
