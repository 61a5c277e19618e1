#pragma once
// The library's tolerances, named by what they decide. Every geometric test that compares with a tolerance
// takes it from here (or from a named member of its class that is defined from here), so that a reader finds
// in one place which values the library uses and why. Values that one routine alone uses (a series switch,
// a margin of its own) are named constants beside that routine.

namespace velTol {

// --- Distances (lengths in model units)

// Points closer than this are one point; areas and lengths below it are zero.
inline constexpr double coincident = 1e-10;
// A chord at most this long is a point: an arc over it has no shape of its own.
inline constexpr double zero_chord = coincident;
// Spans closer than this touch: the default distance of the crossing routines.
inline constexpr double touching = coincident;
// A point within this distance of a closed polyline lies on it (the inside test counts it as inside).
inline constexpr double on_boundary = coincident;
// Three points whose middle one lies less than this off the chord of the other two make a straight span.
inline constexpr double flat_sagitta = 1e-5;

// --- Parameters, fractions and ratios (no units)

// Fractions of a span and lengths at which spans count as straight, ends as met, and short spans as
// removable: the working accuracy of the region algorithms.
inline constexpr double span_fraction = 1e-5;
// A bulge (sagitta over half chord) below this measures as its chord, or by the series of the arc length.
inline constexpr double flat_bulge = span_fraction;
// A parameter fraction within this of a position is that position.
inline constexpr double parameter_snap = 1e-10;
// Values of the closed formulas of an arc (bulges, chords, denominators, coefficients) below this are
// zero; the quadratic solver's leading, linear and constant terms too.
inline constexpr double formula_zero = 1e-15;
// A bulge below this is a straight span.
inline constexpr double bulge_zero = formula_zero;
// The quadratic solver counts a negative discriminant down to -max(formula_zero, this times the square of
// the linear coefficient) as zero: a double root.
inline constexpr double discriminant_slack = 1e-5;
// Points lie on one line when the cross product of their spreads is below this fraction of their squared
// size (the sine of the angle between them below this).
inline constexpr double collinear = 1e-12;
// A contour runs clockwise when its signed area is below minus this.
inline constexpr double clockwise_area = 1e-12;

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

// --- Sorting boundaries

// A closed polyline whose |area| is below this encloses nothing: the sort drops it.
inline constexpr double empty_area = coincident;
// Boxes of a boundary and of its reverse that agree within this make the two cancel.
inline constexpr double same_box = span_fraction;
// Boundaries whose positions and arc mid points agree within this are copies: the sort takes them once.
inline constexpr double same_copy = coincident;
// A boundary whose closing point lies within this of another part of itself is restarted elsewhere.
inline constexpr double closure_crossing = 1.1 * span_fraction;
// Crossings closer than these along their curves have an uncertain order: first tried at the finer one.
inline constexpr double order_uncertain_fine = coincident;
inline constexpr double order_uncertain_coarse = span_fraction;
// Two stretches between consecutive crossings of the same two curves that keep within this of each other
// coincide: their two crossings are a double of an overlap or a touch and are dropped.
inline constexpr double coinciding_stretch = span_fraction;
// The shift of every position when a failed sort is retried on moved input.
inline constexpr double sort_retry_move = span_fraction;

// --- Region operations (union, difference, intersection)

// Spikes of the two input lists shorter than this go before the operation.
inline constexpr double boolean_input_spikes = span_fraction;
// The result's loops are cleaned of spikes within this; two boundaries whose boxes agree within it are
// duplicates when the operation is retried on simplified input.
inline constexpr double boolean_result = 1.5 * span_fraction;
// A difference whose area exceeds that of the region it was taken from by more than this is recomputed.
inline constexpr double subtraction_growth = span_fraction;

} // namespace velTol
