#pragma once
// A contour: a polyline seen as a sequence of span objects (velAbsSpan) that can carry offsetting properties
// and side labels and that is rebuilt span by span. The offsetters work on contours; concrete contours are
// views of one polyline of a storage class (velPolyArcLineAdapter, torPolyline3Adapter).
//
// Spans are numbered 1 .. size(). get_span() hands out a new span object each time; for the adapters it is
// a handle on the polyline underneath, so changes made through it (copy_to_end_point, ...) change the
// contour. A contour has no closed flag: it is closed when its first and last points coincide exactly.
//
// Rebuilding: the operations that change more than one span (reverse, remove_end_span, remove_span,
// shift_to_start, clean, append of a contour) fill a new contour of the same kind (clone()) and hand it to
// replace_contour(). A contour that refuses replace_contour (a read-only view) is left unchanged by them,
// and they return 0 where they return anything. The views of this library reverse and drop their end span
// in place instead, with the same result.
//
// Iteration: reset(), then while (++contour) use get_current().

#include "arcline/intersect/velCrossingcoPageArr.h"
#include "arcline/platform/giBox2.h"
#include "arcline/polyline/contour/velAbsContourcoPrf.h"
#include "arcline/polyline/spans/velAbsSpan.h"

#include <vector>

class velPolylineListCursor;

class velAbsContour {
public:
    virtual ~velAbsContour() = default;

    // A new empty contour of the same kind (same storage class), owned through the pointer.
    virtual velAbsContourcoPrf clone() const = 0;
    // A new contour of the same kind holding a copy of this one, span labels included.
    virtual velAbsContourcoPrf create_new() const = 0;
    // The list cursor through which the contour's polyline is written, standing on that polyline; owned by
    // the contour.
    virtual velPolylineListCursor* get_cursor() = 0;
    // A new empty cursor of the kind get_cursor() is; the caller owns it.
    virtual velPolylineListCursor* create_empty_cursor() const = 0;

    // Before the first span.
    virtual void reset() { m_current = 0; }
    // Steps onto the next span; 0 (and no move) after the last.
    virtual int operator++();
    // get_span() of the current span number: null before the first.
    virtual velAbsSpancoPrf get_current() const { return get_span(m_current); }

    // Appends every span of `other`, in order, and then empties `other` (it receives clone() of this
    // contour). 1 when every span was appended. A contour that views this contour's own polyline (this
    // contour itself, say) has its spans appended again and is not emptied: that would empty this one.
    virtual int append(velAbsContourcoPrf other);
    // Appends one span; its start is taken only when the contour is empty (otherwise the span continues from
    // the last point). 1 when it was appended.
    virtual int append(velAbsSpancoPrf span);
    // Makes a closed contour start at its first span equal (operator==) to `span`. 1 when it was rotated or
    // already started there; 0, changing nothing, for an open contour or a span it does not hold.
    virtual int shift_to_start(velAbsSpancoPrf span);
    // Moves the start of the first span onto the last point (copy_to_start_point): a contour whose ends lie
    // apart is closed by moving its start, an arc keeping its bulge.
    virtual void close();
    // Contours of this library carry no closed flag (closure is the coincidence of the ends), so there is
    // nothing to undo: the spans stay as they are. A hook for contours that keep a flag of their own.
    virtual void open() {}
    // The spans from the last to the first, each reversed.
    virtual void reverse();
    // Removes the last span (see remove_span); a closed contour stays closed.
    virtual void remove_end_span();
    // Removes every span whose ends lie within `tol` of each other (3D distance) and, for an arc-class span,
    // whose mid point lies within `tol` of its start as well. The start of the span that follows a removed
    // run moves onto the end of the span kept before it (an arc keeping its bulge), so the contour stays
    // connected; a closed contour stays closed. All spans degenerate: the contour becomes empty. Returns the
    // number of spans removed.
    virtual int clean(double tol);

    // Extents in x and y of the contour's 2D box (arcs' extreme points included); 0 for an empty contour.
    virtual double get_width() const;
    virtual double get_height() const;
    // The distance within which the contour's own points count as coincident.
    virtual double get_tol() const = 0;

    // At least one span, and the first and last points at distance exactly 0.
    virtual int is_closed() const;
    virtual int is_clockwise() const = 0;
    virtual int size() const = 0;
    virtual velAbsSpancoPrf first_span() const = 0;
    // Span i (1 .. size()); null outside that range.
    virtual velAbsSpancoPrf get_span(int i) const = 0;
    virtual velAbsSpancoPrf last_span() const = 0;
    // Start point of the first span; the unset point for an empty contour.
    virtual giPoint3 first_point() const;
    // End point of the last span; the unset point for an empty contour.
    virtual giPoint3 last_point() const;
    // A span object of this contour's kind that stands for none (invalid()).
    virtual velAbsSpancoPrf invalid_span() const = 0;

    // Hooks for the properties that offsetting carries (spans of this library carry none, so over the
    // library's own spans they change nothing):
    // every span takes the offsetting properties of `span` (velAbsSpan::add_properties);
    virtual void set_offsetting_pars(const velAbsSpan& span);
    // whether the contour holds offsetting parameters of its own (never, here);
    virtual int valid_offsetting_pars() const { return 0; }
    // every span takes the order properties of invalid_span(), that is none;
    virtual void reset_order_properties();
    // every span takes the order properties of `span`;
    virtual void set_order_properties(const velAbsSpan& span);
    // the first span when it carries order properties, else null;
    virtual velAbsSpancoPrf get_order_properties() const;
    // every span is made an order node (velAbsSpan::create_order_node_span).
    virtual void mark_all_spans_with_order_node();

    // Every meeting of a span of this contour with a span of `other`, appended to `out` as crossings of
    // polyline index1 (this) with polyline index2 (other). Parameters are in list numbering: span i from 1
    // of a contour runs over parameters i - 1 .. i. The point is on this contour's span. When `other` is this
    // contour, each pair of spans is tried once and the joints of consecutive spans (the closing joint of a
    // closed contour included) are not reported. Spans on one line or circle report the ends of their shared
    // stretch. Each meeting is reported once: one found from both spans at a joint is one crossing, and the
    // closing point of a closed contour has parameter 0 (for a self-crossing param1 <= param2). Returns the
    // number of crossings appended; they are appended in order of param1, then param2.
    int cross(const velAbsContour& other, velCrossingcoPageArr& out, int index1 = 0, int index2 = 1) const;
    // Removes span i (1 .. size()). The gap closes at the neighbour: the end of span i - 1 moves onto the end
    // of span i, or, for i = 1, the start of span 2 moves onto the start of span 1; so the first and last
    // points stay where they were and a closed contour stays closed. 1 when the span was removed.
    int remove_span(int i);

protected:
    velAbsContour() = default;
    velAbsContour(const velAbsContour&) = default;
    velAbsContour& operator=(const velAbsContour&) = default;

    // Appends one span (see append(velAbsSpancoPrf)); the cache is the caller's business.
    virtual int append_span(velAbsSpancoPrf span) = 0;
    // Takes over the spans and labels of `other`, which is left as it was. This base accepts nothing: 0.
    virtual int replace_contour(velAbsContourcoPrf other);
    // Whether `other` views this contour's own polyline (this base: only when it is this contour); its spans
    // must then be copied before this contour is rewritten.
    virtual int views_same_polyline(const velAbsContour& other) const { return &other == this; }
    // Prepares storage for `spans` spans before a rebuild; this base has none to prepare.
    virtual void reserve(int /*spans*/) {}

    // Empties the cached box; every change ends with it.
    void invalidate_cache() { m_box = giBox2(); }
    // The cached 2D box; computed from the spans when empty.
    const giBox2& cached_box() const;
    // Fills the cached box when it is empty; this base merges the spans' boxes.
    virtual giBox2 compute_box() const;

private:
    // Free copies (velFreeSpan) of spans 1 .. size(), flags and labels included.
    std::vector<velAbsSpancoPrf> span_copies() const;
    // Replaces the contour by `spans` in order; when `closed` and there are spans, the first one's start is
    // moved onto the last one's end first. The result of replace_contour.
    int rebuild(std::vector<velAbsSpancoPrf>& spans, int closed);

    int m_current = 0;
    mutable giBox2 m_box;
};
