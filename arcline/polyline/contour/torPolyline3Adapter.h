#pragma once
// The contour view of one torPolyline3: straight spans that are handles on its chords (torPolyline3Span).
// Its cursor is an offset-flag cursor around a torPolyline3ListCursor whose list holds the polyline; span
// records are kept as velCursorContour describes. Arc spans are refused (append answers 0).
//
// Forms as velPolyArcLineAdapter has them: over a const polyline (read-only), over a polyline the caller
// keeps, over one it hands over (utPtrClaim), over a shared one (what torPolyline3 list iterators and
// cursors hand out from get_current()).

#include "arcline/platform/torPolyline3.h"
#include "arcline/platform/utPtrClaim.h"
#include "arcline/polyline/contour/velCursorContour.h"
#include "arcline/polyline/velTolerances.h"

#include <memory>

class torPolyline3Adapter : public velCursorContour {
public:
    // Read-only view of p, which must outlive the view.
    explicit torPolyline3Adapter(const torPolyline3& p);
    // Writable view of p, which must outlive the view.
    explicit torPolyline3Adapter(torPolyline3* p);
    // Writable view that owns p.
    torPolyline3Adapter(torPolyline3* p, utPtrClaim);
    // View of a shared polyline, read-only when `read_only` is set.
    explicit torPolyline3Adapter(std::shared_ptr<torPolyline3> p, int read_only = 0);
    torPolyline3Adapter(const torPolyline3Adapter&) = delete;
    torPolyline3Adapter& operator=(const torPolyline3Adapter&) = delete;
    ~torPolyline3Adapter() override;

    // An owning view of a new empty polyline.
    velAbsContourcoPrf clone() const override;
    // An owning view of a copy of the polyline, with the current records copied.
    velAbsContourcoPrf create_new() const override;
    // An offset-flag cursor around a cursor of a new torPolyline3 list; the caller owns it.
    velPolylineListCursor* create_empty_cursor() const override;

    double get_tol() const override { return contour_tol; }
    // Signed area (shoelace, an open contour closed by its chord) below -1e-12.
    int is_clockwise() const override;
    int size() const override { return m_line->num_pos() > 1 ? m_line->num_pos() - 1 : 0; }
    velAbsSpancoPrf first_span() const override { return get_span(1); }
    velAbsSpancoPrf get_span(int i) const override;
    velAbsSpancoPrf last_span() const override { return get_span(size()); }
    velAbsSpancoPrf invalid_span() const override;

    const torPolyline3& polyline() const { return *m_line; }

    // Points of a contour within this distance coincide.
    static constexpr double contour_tol = velTol::span_fraction;

protected:
    void reserve(int spans) override;
    // Line-class spans only.
    int accepts(const velAbsSpan& span) const override { return span.is_of_class_line(); }
    void append_geometry(const velAbsSpan& span) override;
    void clear_geometry() override { m_writable->clear(); }
    void reverse_geometry() override { m_writable->reverse(); }
    void drop_last_position() override { m_writable->remove_last(); }
    int views_same_polyline(const velAbsContour& other) const override;

private:
    torPolyline3Adapter(std::shared_ptr<torPolyline3> line, torPolyline3* writable, int read_only,
                        std::unique_ptr<torPolyline3> owned);

    std::unique_ptr<torPolyline3> m_owned; // set when the view owns the polyline (= m_line)
    torPolyline3* m_line;
    torPolyline3* m_writable; // null for a read-only view
};
