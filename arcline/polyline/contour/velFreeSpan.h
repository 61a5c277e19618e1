#pragma once
// A span that holds its own points: start, end and, for an arc, its mid point, with the kind, the temporary
// flags and the label of the span it was made from. The contour algorithms that rebuild a contour (reverse,
// remove_span, clean, shift_to_start) work on such copies: they cost one small object, where a copy of a
// contour's own span may cost a polyline of its own.
//
// Moving an end keeps an arc's bulge, as the contours' own spans do. Properties that derived span classes
// carry are not copied (the spans of this library carry none).

#include "arcline/polyline/contour/velSpanLabel.h"
#include "arcline/polyline/spans/velAbsSpan.h"

class velFreeSpan : public velAbsSpan {
public:
    // A copy of `span`: points, kind, temporary flags, position and side.
    explicit velFreeSpan(const velAbsSpan& span);
    // A line (mid point unset) or, with a mid point, an arc.
    velFreeSpan(const giPoint3& S, const giPoint3& E, const giPoint3& M = giPoint3());
    velFreeSpan(const velFreeSpan&) = default;

    velAbsSpancoPrf create_new() const override;
    velAbsSpancoPrf create_arc_span(const giPoint3& S, const giPoint3& E, const giPoint3& M) const override;
    velAbsSpancoPrf create_line_span(const giPoint3& S, const giPoint3& E) const override;
    velAbsSpancoPrf create_temp_line_span(const giPoint3& S, const giPoint3& E) const override;
    void copy_to_start_point(const giPoint3& p) override;
    void copy_to_end_point(const giPoint3& p) override;
    int set_arcspan_mid_point(const giPoint3& p) override;

    giPoint3 start_point() const override { return m_start; }
    giPoint3 mid_point() const override { return m_mid; }
    giPoint3 end_point() const override { return m_end; }

    // Same kind and flags and the same points (tolerance 0; arcs by their mid points).
    bool operator==(const velAbsSpan& other) const override;

    int is_line_span() const override { return !m_arc; }
    int is_temp_line_span() const override { return m_temp_line; }
    int is_arc_span() const override { return m_arc; }
    int is_temp_arc_span() const override { return m_temp_arc; }
    void set_arc_span_temp_state(int temp) override { m_temp_arc = temp && m_arc; }

    int span_position() const override { return m_label.position(); }
    velSpanSide offset_label() const override { return m_label.side(); }
    void set_span_info(int position, velSpanSide side) override { m_label.set(position, side); }
    void remove_span_info() override { m_label.clear(); }

private:
    // Moves one end (`start` or the end) and gives an arc its old bulge back.
    void move_end(bool start, const giPoint3& p);

    giPoint3 m_start, m_mid, m_end;
    int m_arc;
    int m_temp_line = 0;
    int m_temp_arc = 0;
    velSpanLabel m_label;
};
