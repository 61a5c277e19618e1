#pragma once
// A stretch of one polyline of a list: from a start position forward to an end position, without copying
// any geometry. Algorithms describe overlaps, gaps and pieces to keep with sections, and compare, combine
// and measure them.
//
// Both positions refer to the same iterator (not owned; it must outlive the section) and the same polyline.
// With P = n - 1 the end parameter of that polyline (n positions):
// - end >= start: the section covers the parameters [start, end];
// - end < start: the section wraps, covering [start, P] followed by [0, end]. That is a stretch through the
//   closure point of a closed polyline; on an open polyline it is the two end pieces, measured as both.
// start = end is a degenerate section, a single point (never the whole loop: the whole polyline is [0, P]).
// inverse() exchanges start and end: on a closed polyline the complementary stretch of the loop.
//
// Two models are used, each where it belongs:
// - Positions and containment (contains, contains_excluding_endpoints) work on parameters as stated: on a
//   closed polyline the closure point has the two parameters 0 and P, and [2, P] does not contain the
//   position at 0.
// - The algebra of two sections (overlaps, cropped_by, merged_with, the start and end overlaps) works on
//   the polyline as a curve: on a closed polyline (first and last positions equal, tolerance 0) the
//   parameters 0 and P are one point, so [3, P] and [0, 1] touch there and merge into the wrapping [3, 1].
//   On an open polyline the parameters run from 0 to P without joining.
// Parameters are compared exactly; the algebra has no tolerance, so sections that touch only within
// rounding do not touch.
//
// Results that cannot be one section (no common stretch, two separate pieces) are invalid sections, so
// callers test valid() on the result. Results are written with the closure point at parameter 0 where a
// stretch starts there and at P where it ends there; a stretch covering a whole closed loop is the whole
// polyline [0, P] whatever point it went round from.
//
// Lengths are along the polyline (arcs exact, as velPolylineUtils measures them); within an arc span the
// parameter is not proportional to length, which is why there are both parameter and length forms.

#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/utils/velPolylinePosition.h"

class velPolylineSection {
public:
    // Invalid: both positions invalid.
    velPolylineSection() = default;
    // On the iterator's current polyline, from parameter t0 forward to t1.
    velPolylineSection(const velPolylineListIter& iter, double t0, double t1);
    // Both positions must be on the same iterator and polyline, else the section is not valid().
    velPolylineSection(const velPolylinePosition& start, const velPolylinePosition& end);
    velPolylineSection(const velPolylineSection& other) = default;
    velPolylineSection& operator=(const velPolylineSection& other) = default;
    ~velPolylineSection() = default;
    void become(const velPolylineSection& other) { *this = other; }
    void become(const velPolylinePosition& start, const velPolylinePosition& end);

    // Parameters 0 to n - 1 of polyline `index` of iter (the iterator is not moved). Invalid for a
    // polyline without positions.
    static velPolylineSection whole_polyline(const velPolylineListIter& iter, int index);
    // The whole polyline that `p` is on.
    static velPolylineSection whole_polyline(const velPolylinePosition& p);

    const velPolylineListIter* iterator() const { return m_start.iterator(); }
    int polyline_index() const { return m_start.polyline_index(); }
    velPolylinePosition start() const { return m_start; }
    velPolylinePosition end() const { return m_end; }
    // End and start exchanged: the rest of a closed loop.
    velPolylineSection inverse() const { return {m_end, m_start}; }

    // Both positions valid, on the same iterator and polyline, and both parameters within [0, n - 1] of
    // that polyline (checked on it, wherever the list iterator stands).
    bool valid() const;
    // start == end (a point).
    bool is_degenerate() const { return m_start == m_end; }
    // Start at parameter 0 and end at n - 1.
    bool is_whole_polyline() const;
    // Whether the section wraps (end < start).
    bool wraps() const { return m_end.parameter() < m_start.parameter(); }

    // end - start, or (n - 1 - start) + end when wrapping. 0 for an invalid section.
    double parameter_length() const;
    // Length along the polyline; both parts added when wrapping. 0 for an invalid section.
    double length() const;
    // The position at length d from the start along the section (exact on arcs, passing the closure point
    // of a wrapping section): the start for d = 0, the end for d = length(), an invalid position for d < 0,
    // d > length() or an invalid section.
    velPolylinePosition position_at_length(double d) const;
    // position_at_length(length() / 2).
    velPolylinePosition midpoint_by_length() const;

    // Parameter tests, bounds included: start <= p <= end, or p >= start or p <= end when wrapping. False
    // for a position on another iterator (by identity) or polyline.
    bool contains(const velPolylinePosition& p) const;
    // Every parameter of `other` is one of this section's: same iterator and polyline, and both ends of
    // other inside this section without other running the other way round the loop.
    bool contains(const velPolylineSection& other) const;
    // The same with this section's end points excluded: start < p < end (p > start or p < end when
    // wrapping); a section is contained when it is contained and holds neither end of this one.
    bool contains_excluding_endpoints(const velPolylinePosition& p) const;
    bool contains_excluding_endpoints(const velPolylineSection& other) const;

    // The two sections (same iterator and polyline, both valid) share at least one point; touching at an
    // end point counts, and on a closed polyline so does meeting at the closure point.
    bool overlaps(const velPolylineSection& other) const;
    // They share a stretch of positive parameter length; touching at points does not count, and a
    // degenerate section overlaps nothing.
    bool overlaps_excluding_endpoints(const velPolylineSection& other) const;

    // The section between the offsets a and b from the start, counted forward (through the closure point of
    // a wrapping section). Offsets are clamped into [0, parameter_length()]; a > b gives an invalid
    // section. subsection(0, parameter_length()) is this section exactly.
    velPolylineSection subsection(double a, double b) const;
    // The same with the offsets as lengths, clamped into [0, length()].
    velPolylineSection subsection_by_length(double a, double b) const;
    // The same with the offsets as fractions of parameter_length() (of length()), clamped into [0, 1].
    velPolylineSection normalized_subsection(double fa, double fb) const;
    velPolylineSection normalized_subsection_by_length(double fa, double fb) const;

    // The section lengthened by d at both ends: the start moves back by length d, the end forward. `wrap`
    // (as in velPolylinePosition's movements) lets the ends pass the closure point of a closed polyline;
    // without it, and always on an open polyline, the start stops at parameter 0 and the end at n - 1.
    // When the grown ends meet round a closed loop (or across the gap of a wrapping section) the result is
    // the whole polyline. d < 0 shortens the section by |d| at both ends (wrap plays no part); when 2|d|
    // reaches length() the result is the degenerate section at midpoint_by_length(). An invalid section
    // stays invalid.
    velPolylineSection expanded_by_length(double d, int wrap) const;

    // The common part of the two sections as one section; invalid when they share no point, when the common
    // part is two separate pieces (two stretches of a loop overlapping at both ends), or when they are on
    // different iterators or polylines. Touching sections give a degenerate section.
    velPolylineSection cropped_by(const velPolylineSection& other) const;
    // The union of the two sections as one section; invalid when there is a gap between them (sections
    // that touch at a point merge) or they are on different iterators or polylines. Sections covering a
    // closed loop together give the whole polyline.
    velPolylineSection merged_with(const velPolylineSection& other) const;
    // The piece of the common part that holds this section's start (its end): it begins at this start
    // (ends at this end) unless this section is a whole closed loop. Invalid when `other` does not reach
    // this section's start (end). Where cropped_by is invalid because the common part is two pieces, these
    // give the two pieces.
    velPolylineSection get_start_overlap_with(const velPolylineSection& other) const;
    velPolylineSection get_end_overlap_with(const velPolylineSection& other) const;

    // The same polyline index and parameters on `iter` (not owned; it must outlive the result). An invalid
    // section stays invalid; valid() of the result tells whether the parameters fit iter's polyline.
    velPolylineSection transferred_to(velPolylineListIter& iter) const;
    // Writes the stretch as a new polyline through the cursor's producer protocol (inserted after the
    // cursor's current polyline, and made current): the start point, then each span piece with add_span,
    // so arcs stay arcs where the cursor holds them. A wrapping section continues from the closure point
    // with the first span; on an open polyline the two pieces are joined by a straight span from the last
    // position to the first. A degenerate section writes a polyline of one position; an invalid one writes
    // nothing.
    void copy_to(velPolylineListCursor& cursor) const;

    // Equal start and end positions (same iterator, polyline and parameters).
    bool operator==(const velPolylineSection& o) const { return m_start == o.m_start && m_end == o.m_end; }
    bool operator!=(const velPolylineSection& o) const { return !(*this == o); }

private:
    // Same iterator and polyline as `other`, both valid.
    bool comparable(const velPolylineSection& other) const;
    // The polyline of the section, read on an iterator standing on it.
    const velPolylineListIter& polyline() const { return m_start.my_polyline(); }
    // The section from t0 to t1 on this section's iterator and polyline.
    velPolylineSection on_same_polyline(double t0, double t1) const;
    // The common part or the union of the two sections as pieces of the curve (see the algebra above).
    struct Pieces;
    Pieces common_part(const velPolylineSection& other) const;
    Pieces union_with(const velPolylineSection& other) const;
    // The one piece as a section; invalid unless there is exactly one.
    velPolylineSection single_piece(const Pieces& pieces) const;
    // The parameter at parameter offset a (0 <= a <= parameter_length()) from the start; `at_start` writes
    // the closure point of a wrapping section as 0 rather than P, as the start of what follows.
    double parameter_at_offset(double a, bool at_start) const;
    // The parameter at length d (0 <= d <= length()) from the start.
    double parameter_at_length(double d, bool at_start) const;

    velPolylinePosition m_start;
    velPolylinePosition m_end;
};
