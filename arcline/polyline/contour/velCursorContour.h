#pragma once
// What the contour views of one polyline share: the polyline sits alone in a list of its storage kind, and a
// list cursor on that list, wrapped in an offset-flag cursor, is the contour's cursor. The offset-flag
// cursor keeps the contour's records, one velOffsetInfo per span: whether the span is temporary, the
// position of its source span and its side.
//
// Records:
// - the current records are the offset-flag cursor's array for the polyline; every span appended writes
//   its record there (temporary flag, position and side of the span appended);
// - constant records (set_constant_flags) are an array that a caller hands in; while it is set the span
//   objects read and write their labels in it instead of the current records, and every change of the
//   contour keeps it in step with the spans (appended spans write their labels there too). Temporary flags
//   always come from the current records;
// - a span object handed out is bound to its record, so set_span_info on it labels the contour;
// - a master cursor (set_master_cursor), an offset-flag cursor standing on the polyline this contour views
//   from outside, is kept sharing the current records: it is handed the array whenever a span is appended.
//   It must outlive the contour and stay on that polyline. (The offset-flag cursor's own get_current()
//   needs no master: its contour shares the cursor's array from the start.)
//
// The cursor (get_cursor()) stands on the contour's polyline; writing through it writes the contour.
// Creating or removing polylines through it is outside the contract.

#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/polyline/contour/velAbsContour.h"

#include <memory>

class velCursorContour : public velAbsContour {
public:
    ~velCursorContour() override;

    // The contour's cursor, reset and stepped onto its polyline; null for a read-only contour (it would
    // write the polyline).
    velPolylineListCursor* get_cursor() override;
    // Extents of the polyline's box as it is now: changes through span handles and the cursor count too.
    double get_width() const override { return compute_box().xlength(); }
    double get_height() const override { return compute_box().ylength(); }
    // Reverses the polyline in place, its records with it (read-only: nothing).
    void reverse() override;
    // In place, with the result of the span-by-span rebuild: span n - 1 ends where span n ended (keeping
    // its bulge) and the last position goes, with its record.
    void remove_end_span() override;

    // Keeps `master` (not owned; null: none) sharing the current records from the next append on.
    void set_master_cursor(velPolylineWithOffsetFlagsListCursor* master) { m_master = master; }
    velPolylineWithOffsetFlagsListCursor* master_cursor() const { return m_master; }
    // Makes `records` (shared, not copied; null: none) the array the span objects label.
    void set_constant_flags(velOffsetInfocoPageArrcoPrf records) { m_const_flags = std::move(records); }
    const velOffsetInfocoPageArrcoPrf& constant_flags() const { return m_const_flags; }
    // The current records (shared); null when no record was written yet.
    velOffsetInfocoPageArrcoPrf current_flags() const { return m_cursor->get_current_flags(); }
    // Takes `records` (shared) as the current records of the polyline as it stands.
    void adopt_flags(velOffsetInfocoPageArrcoPrf records);

    // A read-only contour refuses every change of its geometry.
    int is_read_only() const { return m_read_only; }

protected:
    // `inner` writes the one-polyline list; the contour owns it through its offset-flag cursor.
    velCursorContour(velPolylineListCursor* inner, int read_only);

    // Appends the span's geometry (see velAbsContour::append) and its record; 0 when the contour is
    // read-only or its storage does not take the span.
    int append_span(velAbsSpancoPrf span) override;
    // Rewrites the polyline from other's first point and spans, their records included; all or nothing: 0,
    // changing nothing, when the storage does not take one of the spans.
    int replace_contour(velAbsContourcoPrf other) override;

    // The storage underneath, written only when the contour is not read-only:
    // whether it can hold the span (its kind);
    virtual int accepts(const velAbsSpan& span) const = 0;
    // appends the span's end (an arc's mid point and end), its start first when the polyline is empty;
    virtual void append_geometry(const velAbsSpan& span) = 0;
    virtual void clear_geometry() = 0;
    virtual void reverse_geometry() = 0;
    virtual void drop_last_position() = 0;

    // The record of span i (from 1) that span objects bind their labels to, and its temporary flags.
    struct SpanRecord {
        velOffsetInfocoPageArrcoPrf records;
        int index;
        int temp_line;
        int temp_arc;
    };
    SpanRecord span_record(int i) const;
    // `span`, the span object of span i, bound to its record and given its temporary flags.
    template <class Span>
    velAbsSpancoPrf with_record(std::shared_ptr<Span> span, int i) const {
        const SpanRecord record = span_record(i);
        span->bind_label(record.records, record.index);
        if (record.temp_line) span->set_to_temp_line_span();
        span->set_arc_span_temp_state(record.temp_arc);
        return span;
    }
    // Writes the record of the span just appended (the last one) from `span`, hands the records to the
    // master cursor, and empties the cached box.
    void record_appended_span(const velAbsSpan& span);
    // Forgets every current record (the geometry is about to be rewritten).
    void clear_records();
    // Reverses the order of the records of spans 1 .. n (current and constant), as reversing the contour
    // reverses its spans.
    void reverse_records(int n);
    // Copies the current records of `other` one by one.
    void copy_records(const velCursorContour& other);
    // The 2D box of the polyline through the cursor.
    giBox2 compute_box() const override;
    // Puts the cursor on the polyline.
    void stand_on_polyline() const;

    velPolylineWithOffsetFlagsListCursor& cursor() const { return *m_cursor; }

private:
    std::unique_ptr<velPolylineWithOffsetFlagsListCursor> m_cursor;
    velOffsetInfocoPageArrcoPrf m_const_flags;
    velPolylineWithOffsetFlagsListCursor* m_master = nullptr;
    int m_read_only;
};
