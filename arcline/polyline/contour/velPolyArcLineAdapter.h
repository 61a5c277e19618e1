#pragma once
// The contour view of one poly-arc-line. Its spans are handles on the poly-arc-line's spans
// (velPolyArcLineSpan); appending a span writes the poly-arc-line; its cursor is an offset-flag cursor
// around a velAbsPolyArcLineListCursor whose new polylines are of the poly-arc-line's storage class. Span
// records (temporary flags, positions, sides) are kept as velCursorContour describes.
//
// Forms: over a const poly-arc-line (read-only: every change of geometry is refused with 0); over a
// poly-arc-line the caller keeps (writable); over one it hands over (utPtrClaim: writable and owned); over a
// shared one (writable, ownership shared: the view keeps the poly-arc-line alive), the form that list
// iterators and cursors hand out from get_current().
//
// Storage classes that hold no arcs refuse arc spans: append_span answers 0 and writes nothing.

#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/polyline/contour/velCursorContour.h"
#include "arcline/polyline/velTolerances.h"

#include <memory>

class velPolyArcLineAdapter : public velCursorContour {
public:
    // Read-only view of p, which must outlive the view.
    explicit velPolyArcLineAdapter(const velAbsPolyArcLine& p);
    // Writable view of p, which must outlive the view.
    explicit velPolyArcLineAdapter(velAbsPolyArcLine* p);
    // Writable view that owns p.
    velPolyArcLineAdapter(velAbsPolyArcLine* p, utPtrClaim);
    // View of a shared poly-arc-line, read-only when `read_only` is set.
    explicit velPolyArcLineAdapter(velAbsPolyArcLinecoPrg p, int read_only = 0);
    velPolyArcLineAdapter(const velPolyArcLineAdapter&) = delete;
    velPolyArcLineAdapter& operator=(const velPolyArcLineAdapter&) = delete;
    ~velPolyArcLineAdapter() override;

    // An owning view of an empty poly-arc-line of the same class.
    velAbsContourcoPrf clone() const override;
    // An owning view of a copy of the poly-arc-line, with the current records copied.
    velAbsContourcoPrf create_new() const override;
    // An offset-flag cursor around a new list cursor writing this storage class; the caller owns it.
    velPolylineListCursor* create_empty_cursor() const override;

    double get_tol() const override { return contour_tol; }
    // Signed area below -1e-12 (an open contour taken as closed by its chord).
    int is_clockwise() const override;
    int size() const override { return m_line->num_spans(); }
    velAbsSpancoPrf first_span() const override { return get_span(1); }
    velAbsSpancoPrf get_span(int i) const override;
    velAbsSpancoPrf last_span() const override { return get_span(size()); }
    giPoint3 first_point() const override;
    giPoint3 last_point() const override;
    velAbsSpancoPrf invalid_span() const override;

    // The poly-arc-line viewed. The view no longer owns it: the caller does, unless it is shared.
    velAbsPolyArcLine* get_contour(utPtrRelease);
    const velAbsPolyArcLine& polyarcline() const { return *m_line; }

    // Points of a poly-arc-line contour within this distance coincide.
    static constexpr double contour_tol = velTol::span_fraction;

protected:
    void reserve(int spans) override;
    // The XY extents of the poly-arc-line's own (cached) box.
    giBox2 compute_box() const override;
    // Lines, and arcs where the storage class holds them.
    int accepts(const velAbsSpan& span) const override;
    void append_geometry(const velAbsSpan& span) override;
    void clear_geometry() override { m_writable->reset(); }
    void reverse_geometry() override { m_writable->reverse(); }
    void drop_last_position() override { m_writable->remove_last_pos(); }
    int views_same_polyline(const velAbsContour& other) const override;

private:
    velPolyArcLineAdapter(velAbsPolyArcLinecoPrg line, velAbsPolyArcLine* writable, int read_only,
                          std::unique_ptr<velAbsPolyArcLine> owned);

    std::unique_ptr<velAbsPolyArcLine> m_owned; // set when the view owns the poly-arc-line (= m_line)
    velAbsPolyArcLine* m_line;
    velAbsPolyArcLine* m_writable; // null for a read-only view
};
