#pragma once
// The operations of the workloads, one set of functions per library. Each takes a workload read before
// (file reading and the conversion to the library's own types are done before the clock starts) and runs the
// operation `repeat` times. The peers work on the workload's chains (arcs as chords).

#include "bench/compare/Measure.h"
#include "bench/compare/Workload.h"

#include <array>
#include <string>
#include <vector>

namespace compare {

// Booleans of the first polyline (A) with the second (B).
enum class BooleanOp { a_and_b, a_or_b, a_not_b };

// The levels of the pocket whose region the table shows.
inline constexpr std::array<int, 3> pocket_levels_shown = {1, 5, 10};

// Concentric pocketing: the whole series of inward offsets until the result is empty, and the levels shown.
struct PocketSeries {
    Measured series;             // loops and size summed over the levels; value: non-empty levels
    std::array<Answer, 3> shown; // the regions of pocket_levels_shown (empty when never reached)
};

// Offsets stop here at the latest, whatever the result: a guard against a series that never empties.
inline constexpr int pocket_level_limit = 10000;

// The series from the answers of its non-empty levels, k = 1, 2, ...
inline PocketSeries pocket_series(const Timing& timing, const std::vector<Answer>& levels) {
    PocketSeries out;
    out.series.timing = timing;
    out.series.answer = Answer{0, 0, static_cast<double>(levels.size()), 0.0};
    for (const Answer& a : levels) {
        out.series.answer.loops += a.loops;
        out.series.answer.size += a.size;
    }
    for (std::size_t i = 0; i < pocket_levels_shown.size(); ++i) {
        const auto k = static_cast<std::size_t>(pocket_levels_shown[i]);
        out.shown[i] = k <= levels.size() ? levels[k - 1] : Answer{0, 0, 0.0, 0.0};
    }
    return out;
}

namespace arcline_side {
// Every crossing between distinct polylines; the answer's value is the number of pairs that meet.
Measured crossings(const Workload& w, int repeat);
// A AND B, A OR B, A NOT B of the first two polylines by the sorter's intersection, addition and subtraction
// (on exact arcs); the area of A NOT B is given positive, as the peers give it.
Measured boolean(const Workload& w, BooleanOp op, int repeat);
// The union of all the closed polylines: the polyline sorter under the winding rule.
Measured union_all(const Workload& w, int repeat);
// The region of the closed polylines offset by d (velOffsetter, exact arcs; positive grows the material).
Measured offset(const Workload& w, double d, int repeat);
// Concentric pocketing by velOffsetter: the region offset inwards by k * step, k = 1, 2, ..., until empty.
PocketSeries pocket(const Workload& w, double step, int repeat);
} // namespace arcline_side

namespace geos_side {
// "GEOS 3.11.1" and the like.
std::string version();
// Segments in an STRtree, each queried with its own envelope, candidates tested with GEOS's segment
// intersector; the answer's value is the number of meeting pairs of segments of different polylines.
Measured crossings(const Workload& w, int repeat);
Measured boolean(const Workload& w, BooleanOp op, int repeat);
// Unary union of all the closed polylines as polygons.
Measured union_all(const Workload& w, int repeat);
// Buffer by d with round joins, quadrant segments from the chord deviation at radius |d|.
Measured offset(const Workload& w, double d, int repeat);
PocketSeries pocket(const Workload& w, double step, int repeat);
} // namespace geos_side

namespace clipper_side {
// "Clipper 6.4.2" and the like.
std::string version();
// The scale from model units to Clipper's integers.
inline constexpr double scale = 1e6;
Measured boolean(const Workload& w, BooleanOp op, int repeat);
// One union call over every closed polyline, nonzero fill.
Measured union_all(const Workload& w, int repeat);
// ClipperOffset with round joins and the chord deviation as arc tolerance.
Measured offset(const Workload& w, double d, int repeat);
PocketSeries pocket(const Workload& w, double step, int repeat);
} // namespace clipper_side

} // namespace compare
