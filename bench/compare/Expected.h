#pragma once
// The answers the workloads are known to have (from the workloads' README, computed exactly by their
// generator), and the comparisons of the answers printed against them and against each other.

#include "bench/compare/Report.h"

#include <string>
#include <vector>

namespace compare::expected {

// segments_20k: pairs of segments that meet (all proper crossings).
inline constexpr long long segments_meeting_pairs = 52848;
// circles_2k: the sum of the input areas, and the area of the union of all circles. The union area is the
// one the benchmark's issue gives to two decimals (an exact sum over the uncovered arcs of each circle gives
// 924969.711682).
inline constexpr double circles_input_area = 2248451.8631134764;
inline constexpr double circles_union_area = 924969.71;
inline constexpr double circles_union_area_rounding = 0.005;
// two_regions: the areas of A and B.
inline constexpr double region_a_area = 31787.6397681991;
inline constexpr double region_b_area = 28624.2129631058;
// blob_10k: the input's area.
inline constexpr double blob_area = 31694.7428837171;
// pocket: the outer boundary's area and the region's (outer boundary less islands).
inline constexpr double pocket_outer_area = 30135.1784099451;
inline constexpr double pocket_net_area = 27192.5250105529;

// Exact areas of the input as read, against the values above: relative slack for the summation.
inline constexpr double input_area_relative = 1e-9;
// How far an integer coordinate of Clipper (model units times 1e6, rounded) and the floating-point work of
// the peers move a boundary, in model units: it widens every comparison of areas by this times the length.
inline constexpr double rounding_width = 2e-6;

} // namespace compare::expected

namespace compare {

// Collects the comparisons: each marks its row "ok" or "MISMATCH" and every disagreement becomes a line
// "MISMATCH workload operation library: what (got ..., expected ..., tolerance ...)".
class Checks {
public:
    // |got - want| <= tolerance. `partner`, when given, is the row that `want` comes from (another library's
    // answer): it shares the verdict, and the line names `row`.
    bool near(Row& row, const std::string& what, double got, double want, double tolerance,
              Row* partner = nullptr);
    // got == want.
    bool equal(Row& row, const std::string& what, long long got, long long want, Row* partner = nullptr);
    // A check of the input that has no row (the areas of the workloads as read).
    bool input_near(const std::string& workload, const std::string& what, double got, double want,
                    double tolerance);

    const std::vector<std::string>& mismatches() const { return m_mismatches; }

private:
    void mark(Row& row, bool ok);

    std::vector<std::string> m_mismatches;
};

} // namespace compare
