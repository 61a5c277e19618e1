#pragma once
// The library's tolerances, named by what they decide. Every geometric test that compares with a tolerance
// takes it from here (or from a named member of its class that is defined from here), so that a reader finds
// in one place which values the library uses and why.

namespace velTol {

// Points closer than this are one point; areas and lengths below it are zero.
inline constexpr double coincident = 1e-10;
// Fractions of a span and lengths at which spans count as straight, ends as met, and short spans as
// removable: the working accuracy of the region algorithms.
inline constexpr double span_fraction = 1e-5;
// A bulge below this is a straight span.
inline constexpr double bulge_zero = 1e-15;

// --- Offsetting span by span

// An offset distance at most this is no offset: the contour is copied.
inline constexpr double offset_zero = 1e-15;
// Ends of consecutive offset spans closer than this fraction of the offset are joined by moving both ends;
// farther apart they are bridged by a line.
inline constexpr double offset_join_fraction = 0.001;
// A corner turns (is convex or concave on the offset side) when the cross product of its unit tangents
// exceeds this; below it the spans run on tangentially.
inline constexpr double corner_turn = 1e-5;
// |cos| of the angle between the tangents of a corner above which they count as parallel or opposed: there
// is no sharp corner point to extend to.
inline constexpr double corner_parallel = 0.99999;
// Length of the sum of the unit tangents below which the path turns back on itself (about one degree).
inline constexpr double corner_reversal = 0.01745;
// A corner arc longer than a half circle is split at its mid point, pulled towards its centre by this
// fraction of the offset.
inline constexpr double corner_split_pull = 0.01;

} // namespace velTol
