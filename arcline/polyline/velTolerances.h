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

} // namespace velTol
