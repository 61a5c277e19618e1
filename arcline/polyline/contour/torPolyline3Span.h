#pragma once
// The span object of a torPolyline3 contour, always straight: either a handle on span k (from 1: points
// k - 1 and k) of a torPolyline3, read-only or writable, or a free span holding its own two points (what
// create_line_span makes). A free span is valid when neither point is unset (x = -DBL_MAX, or any
// coordinate +DBL_MAX); an invalid span is neither line nor arc.
//
// The mid point of a span is its chord midpoint; there are no arcs: create_arc_span answers null and
// set_arcspan_mid_point 0. Temporary-line flag and label as velPolyArcLineSpan keeps them.

#include "arcline/platform/torPolyline3.h"
#include "arcline/polyline/contour/velSpanLabel.h"
#include "arcline/polyline/spans/velAbsSpan.h"

class torPolyline3Span : public velAbsSpan {
public:
    // A free span from s to e; the default is the invalid span.
    explicit torPolyline3Span(const giPoint3& s = giPoint3(), const giPoint3& e = giPoint3());
    // Read-only handle on span k of p, which must outlive the span.
    torPolyline3Span(const torPolyline3& p, int k);
    // Writable handle on span k of p, which must outlive the span.
    torPolyline3Span(torPolyline3* p, int k);

    // A free copy, flags and label included.
    velAbsSpancoPrf create_new() const override;
    velAbsSpancoPrf create_arc_span(const giPoint3&, const giPoint3&, const giPoint3&) const override {
        return {};
    }
    velAbsSpancoPrf create_line_span(const giPoint3& S, const giPoint3& E) const override;
    velAbsSpancoPrf create_temp_line_span(const giPoint3& S, const giPoint3& E) const override;
    // Move an end: the point of the polyline for a writable handle, the span's own for a free span;
    // refused for a read-only handle.
    void copy_to_start_point(const giPoint3& p) override;
    void copy_to_end_point(const giPoint3& p) override;
    int set_arcspan_mid_point(const giPoint3&) override { return 0; }

    giPoint3 start_point() const override;
    giPoint3 mid_point() const override;
    giPoint3 end_point() const override;

    // Both valid lines with the same temporary flag and the same ends (tolerance 0).
    bool operator==(const velAbsSpan& other) const override;

    int is_line_span() const override { return valid(); }
    int is_temp_line_span() const override { return m_temp_line && valid(); }
    int is_arc_span() const override { return 0; }
    int is_temp_arc_span() const override { return 0; }
    void set_arc_span_temp_state(int) override {}
    void set_to_temp_line_span() { m_temp_line = 1; }

    int span_position() const override { return m_label.position(); }
    velSpanSide offset_label() const override { return m_label.side(); }
    void set_span_info(int position, velSpanSide side) override { m_label.set(position, side); }
    void remove_span_info() override { m_label.clear(); }
    // Reads and writes the label in record `index` of `records` from now on (see velSpanLabel).
    void bind_label(velOffsetInfocoPageArrcoPrf records, int index) {
        m_label.bind(std::move(records), index);
    }

    // Both points are set (a handle: its span lies within the polyline).
    int valid() const;

private:
    void move_point(int end, const giPoint3& p);

    const torPolyline3* m_read = nullptr; // null for a free span
    torPolyline3* m_write = nullptr;      // null for a read-only handle and a free span
    int m_span = 0;
    giPoint3 m_start, m_end; // a free span's points
    int m_temp_line = 0;
    velSpanLabel m_label;
};
