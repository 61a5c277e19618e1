#pragma once
// A place on one polyline of a list read through a list iterator: which polyline (its index, counted from 0)
// and where along it (a parameter: span floor(t), fraction t - floor(t); the end of a polyline of n positions
// is n - 1). Crossings, trimmings and link moves store positions.
//
// The iterator is not owned and must outlive the position. A position never moves it: one on the polyline at
// which the iterator stands evaluates on it directly; others evaluate on a private clone, made on first need
// and kept until the position is reassigned. Reading a position may therefore build that clone, so one
// position object is used by one thread at a time.
//
// Positions compare by the identity of their iterator: positions on different iterators are neither equal nor
// ordered. On one iterator they order by polyline index, then by parameter, which along one polyline is the
// order of length from its start.
//
// Movement returns a new position and leaves this one alone; `wrap` allows passing round a closed polyline
// (first and last positions equal, tolerance 0). Movement never fails: it stops at the ends of an open
// polyline or, for a next span beyond the end, gives an invalid position.

#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/lists/velPolylineListItercoPrg.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giUnitVec3.h"

class velPolylinePosition {
public:
    // Invalid: no iterator, index -1, parameter -1.0.
    velPolylinePosition() = default;
    // On the iterator's current polyline.
    velPolylinePosition(const velPolylineListIter* iter, double t);
    velPolylinePosition(const velPolylineListIter* iter, int index, double t);
    // Copies iterator, index and parameter; the private clone is not shared.
    velPolylinePosition(const velPolylinePosition& other);

    // Each sets iterator, index and parameter and drops the private clone.
    virtual velPolylinePosition& operator=(const velPolylinePosition& other);
    virtual void become(const velPolylineListIter* iter, double t);
    virtual void become(const velPolylineListIter* iter, int index, double t);
    virtual void set_invalid();
    // The point at the parameter (the polyline's own evaluation).
    virtual giPoint3 point() const;
    // Tangents arriving at and leaving the parameter, as velPolylineUtils gives them (unset on a polyline of
    // zero length).
    virtual giUnitVec3 tangent_before() const;
    virtual giUnitVec3 tangent_after() const;
    virtual ~velPolylinePosition() = default;

    const velPolylineListIter* iterator() const { return m_iterator; }
    int polyline_index() const { return m_index; }
    double parameter() const { return m_parameter; }

    // 0 for no iterator, an index outside 0 .. size() - 1, or a negative (or NaN) parameter. The parameter's
    // upper bound num_pos() - 1 is checked only when the iterator stands on this position's polyline (other
    // polylines would have to be visited); otherwise the answer is 1.
    int valid() const;
    // An iterator standing on this position's polyline: the private clone when it stands there, else the
    // list iterator when it does, else a new private clone moved there. Outside the contract for an invalid
    // position.
    const velPolylineListIter& my_polyline() const;
    // Appends the point at the parameter to the cursor's current polyline.
    void copy_to(velPolylineListCursor& cursor) const;

    // Same iterator, same index, exactly the same parameter.
    bool operator==(const velPolylinePosition& o) const;
    bool operator!=(const velPolylinePosition& o) const { return !(*this == o); }
    // Same iterator, and a smaller index, or the same index and a smaller parameter.
    bool operator<(const velPolylinePosition& o) const;
    bool operator>(const velPolylinePosition& o) const { return o < *this; }
    bool is_on_same_polyline(const velPolylinePosition& o) const;
    bool is_on_same_span(const velPolylinePosition& o) const;

    // The same polyline at parameter t.
    velPolylinePosition moved_to(double t) const;
    // The start of the next (previous) span. A position at the end n - 1 counts as on span n - 2. Beyond the
    // ends: round a closed polyline with `wrap`, else an invalid position. A copy for an invalid position or
    // fewer than two positions.
    velPolylinePosition moved_forward_to_next_span(int wrap) const;
    velPolylinePosition moved_backward_to_next_span(int wrap) const;
    velPolylinePosition moved_to_next_span(int forward, int wrap) const;
    // Moved by length d along the polyline, backwards for d < 0. Within a span the fraction is taken as
    // proportional to length. Open polylines (and closed ones without `wrap`) stop at their ends; a movement
    // that ends on a span of length 0 lands on that span's start. A copy for d = 0, an invalid position or
    // fewer than two positions.
    velPolylinePosition moved_by_length(double d, int wrap) const;
    velPolylinePosition moved_forward_by_length(double d, int wrap) const;
    velPolylinePosition moved_backward_by_length(double d, int wrap) const;

private:
    // Whether movement may wrap on this position's polyline: asked for, and the polyline is closed.
    bool wraps(int wrap) const;

    const velPolylineListIter* m_iterator = nullptr; // not owned
    mutable velPolylineListItercoPrg m_private;      // clone standing on m_index, made by my_polyline()
    int m_index = -1;
    double m_parameter = -1.0;
};
