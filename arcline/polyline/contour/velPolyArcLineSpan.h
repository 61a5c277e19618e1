#pragma once
// The span object of a poly-arc-line contour: a handle on span k (from 1) of a poly-arc-line. Its points are
// read from the poly-arc-line each time, and changes made through it (moving an end, moving an arc's mid
// point) are made in the poly-arc-line, so they are seen by the contour it came from.
//
// Beside the geometry a span carries what the offsetters record about it: whether it is a temporary line
// (an arc that collapsed) or a temporary arc, and the position of the source span and the side it lies on.
// These live beside the poly-arc-line, not in it: a span made on its own keeps them itself, a span handed
// out by a contour reads and writes the contour's record of the span.
//
// Like every span, a handle caches its bulge, lengths, box and tangents: after the poly-arc-line changed by
// other means (another handle on a neighbouring span, the contour, the line itself), take a fresh span.
//
// Forms: a read-only handle (over a const poly-arc-line: changes are refused); a writable handle (over a
// poly-arc-line it does not own); an owning span (a poly-arc-line of its own, span 1, deleted with it), as
// made by create_new(), create_line_span() and create_arc_span(); and the invalid span (number -1, neither
// line nor arc) over an owned empty poly-arc-line of the class.

#include "arcline/lists/velOffsetInfo.h"
#include "arcline/platform/utPtrClaim.h"
#include "arcline/polyline/contour/velSpanLabel.h"
#include "arcline/polyline/spans/velAbsSpan.h"
#include "arcline/polyline/velAbsPolyArcLine.h"

#include <memory>

class velPolyArcLineSpan : public velAbsSpan {
public:
    // The invalid span of p's storage class.
    explicit velPolyArcLineSpan(const velAbsPolyArcLine& p);
    // Read-only handle on span k of p.
    velPolyArcLineSpan(const velAbsPolyArcLine& p, int k);
    // Writable handle on span k of p, which must outlive the span.
    velPolyArcLineSpan(velAbsPolyArcLine* p, int k);
    // Span 1 of p, writable, owned: the span takes p over and deletes it.
    velPolyArcLineSpan(velAbsPolyArcLine* p, utPtrClaim);
    velPolyArcLineSpan(const velPolyArcLineSpan&) = delete;
    velPolyArcLineSpan& operator=(const velPolyArcLineSpan&) = delete;
    ~velPolyArcLineSpan() override;

    // A copy as an owning span over a new two-position poly-arc-line of the same class, with the temporary
    // flags, position and side; for the invalid span a new invalid span.
    velAbsSpancoPrf create_new() const override;
    // New owning spans of this span's storage class.
    velAbsSpancoPrf create_arc_span(const giPoint3& S, const giPoint3& E, const giPoint3& M) const override;
    velAbsSpancoPrf create_line_span(const giPoint3& S, const giPoint3& E) const override;
    velAbsSpancoPrf create_temp_line_span(const giPoint3& S, const giPoint3& E) const override;
    // Move an end of a writable span; an arc keeps its bulge (a half circle stays a half circle of the new
    // chord). Refused, without effect, for read-only and invalid spans.
    void copy_to_start_point(const giPoint3& p) override;
    void copy_to_end_point(const giPoint3& p) override;
    // Moves the mid point of a writable arc span: 1; otherwise 0 and nothing changes.
    int set_arcspan_mid_point(const giPoint3& p) override;

    // The span's points in the poly-arc-line; the unset point for the invalid span. A straight span's mid
    // point is the no-mid-point value.
    giPoint3 start_point() const override;
    giPoint3 mid_point() const override;
    giPoint3 end_point() const override;

    // Same kind (line or arc, temporary flags) and the same points, tolerance 0 (arcs by their mid points).
    bool operator==(const velAbsSpan& other) const override;

    // By the poly-arc-line's span (a temporary line is a straight span that is also a line span).
    int is_line_span() const override;
    int is_arc_span() const override;
    int is_temp_line_span() const override { return m_temp_line; }
    int is_temp_arc_span() const override { return m_temp_arc; }
    // Sets or clears the temporary-arc flag of an arc span.
    void set_arc_span_temp_state(int temp) override;
    void set_to_temp_line_span() { m_temp_line = 1; }

    int span_position() const override { return m_label.position(); }
    velSpanSide offset_label() const override { return m_label.side(); }
    void set_span_info(int position, velSpanSide side) override { m_label.set(position, side); }
    void remove_span_info() override { m_label.clear(); }
    // Position and side from an offsetter's record (null: left as they are).
    void set_offset_info(const velOffsetInfo* info);
    // Reads and writes the label in record `index` of `records` from now on (see velSpanLabel).
    void bind_label(velOffsetInfocoPageArrcoPrf records, int index) {
        m_label.bind(std::move(records), index);
    }

    // The span number in the poly-arc-line (-1 for the invalid span) and the poly-arc-line read.
    int span_number() const { return m_span; }
    const velAbsPolyArcLine& polyarcline() const { return *m_read; }
    int is_read_only() const { return m_read_only || !m_write; }

private:
    // The span number lies within the poly-arc-line's spans.
    bool valid_span() const { return m_span >= 1 && m_span < m_read->num_pos(); }
    bool writable() const { return !is_read_only() && valid_span(); }
    // An owning span over `p` carrying this span's flags and labels.
    velAbsSpancoPrf own(std::unique_ptr<velAbsPolyArcLine> p, int temp_line) const;
    // Moves position `pos` (k or k + 1) and gives the span its old bulge back.
    void move_end(int pos, const giPoint3& p);
    // A writable span k over a poly-arc-line of its own.
    velPolyArcLineSpan(std::unique_ptr<velAbsPolyArcLine> owned, int k);

    const velAbsPolyArcLine* m_read;
    velAbsPolyArcLine* m_write; // null for a read-only span
    int m_read_only;
    std::unique_ptr<velAbsPolyArcLine> m_owned; // set when the span owns its poly-arc-line (m_read = m_write)
    int m_span;
    int m_temp_line = 0;
    int m_temp_arc = 0;
    velSpanLabel m_label;
};
