#pragma once
// Writes polylines into an inner cursor and keeps, beside them, the offsetters' record (velOffsetInfo) of
// every span written: one array per polyline in a flag list that moves with the polylines. It reads back
// through a velPolylineWithOffsetFlagsListIter over the inner cursor's iterator and that flag list.
//
// Records of written spans:
// - add_pos and add_interpolated_pos give the span they add the default record (permanent, no position,
//   no side);
// - add_span gives the last span it adds the record of the source's span floor(min(t0, t1)) when the
//   source carries records (any velPolylineListIterWithOffsetFlags, the offset-flag view among them), else
//   the default record; a joining span that it writes before the piece (the start point of the add
//   coincident point type) gets the default record;
// - set_offset_flag writes one record of the current polyline directly.
// Arrays grow on demand; spans never written read as having no record.
//
// Contour lock: set_current_flags and append_offset_flags hand the cursor the records of a whole contour,
// usually before its geometry is written, and set the lock. While it is set the add_ operations keep every
// record that the current polyline's array already holds and write records only past the array's end, so
// that writing the contour's geometry does not overwrite the records given for it. unset_contour_lock()
// clears the lock; the add_ operations then write the record of every span they add again. The lock
// belongs to the cursor, not to a polyline, and stays set until cleared. set_offset_flag writes whatever
// the lock.
//
// The add coincident point type and tolerance that count are the inner cursor's: the add_ operations are
// the inner cursor's own.
//
// Ownership: the cursor owns the inner cursor and deletes it; the flag list is the cursor's own. Arrays are
// shared: get_current_flags and set_current_flags hand out and take in the array itself, not a copy.

#include "arcline/lists/velOffsetInfocoPageArrcoPrfcoDList.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListIter.h"
#include "arcline/platform/utPtrClaim.h"

#include <memory>

class velPolylineWithOffsetFlagsListCursor : public velPolylineListCursor {
public:
    // Writes into `inner` and owns it. Polylines that it already holds start with empty arrays.
    velPolylineWithOffsetFlagsListCursor(utPtrClaim, velPolylineListCursor* inner);
    velPolylineWithOffsetFlagsListCursor(const velPolylineWithOffsetFlagsListCursor&) = delete;
    velPolylineWithOffsetFlagsListCursor& operator=(const velPolylineWithOffsetFlagsListCursor&) = delete;
    ~velPolylineWithOffsetFlagsListCursor() override;

    // The inner cursor's contour of the current polyline. A contour over a list cursor (velCursorContour)
    // shares the current polyline's records array: spans appended through it carry their records here, and
    // the contour holds no pointer to this cursor, so either may go first.
    velAbsContourcoPrf get_current() override;
    // A new polyline with a new empty array, both after the current ones.
    void create_polyline() override;
    using velPolylineListCursor::create_polyline;
    void add_pos(const velPolylineListIter& src, int i) override;
    void add_interpolated_pos(const velPolylineListIter& src, double t) override;
    void add_span(const velPolylineListIter& src, double t0, double t1) override;
    // Removes the current polyline and its array.
    void remove() override;
    // Moves other's current polyline after this cursor's current one, with its array when other is an
    // offset-flag cursor (else with a new empty array). Moving between offset-flag cursors needs inner
    // cursors that can move polylines between each other.
    void move_polyline_after(velPolylineListCursor& other) override;
    // A new offset-flag cursor that owns the inner cursor's create_empty().
    velPolylineListCursor* create_empty() const override;

    // Writes the record of span `span` of the current polyline.
    void set_offset_flag(int span, int temporary, int position, velSpanSide side);
    // The current polyline's array (shared); null when the cursor is undefined.
    velOffsetInfocoPageArrcoPrf get_current_flags() const;
    // Makes `flags` (shared, not copied) the current polyline's array and sets the contour lock.
    void set_current_flags(velOffsetInfocoPageArrcoPrf& flags);
    // Appends the records of every span of other's current polyline (get_offset_info of spans 0 to
    // num_pos() - 2) after the last record of the current polyline's array, and sets the contour lock.
    void append_offset_flags(const velPolylineListIterWithOffsetFlags& other);
    // Clears the contour lock (see above).
    void unset_contour_lock() { m_contour_lock = 0; }
    int contour_locked() const { return m_contour_lock; }

    velPolylineListCursor& inner_cursor() const { return *m_inner; }
    velOffsetInfocoPageArrcoPrfcoDList& offset_flags() { return m_flags; }

    // Arrays are made with pages of 2^flag_page_factor records.
    static constexpr int flag_page_factor = 5;

private:
    // A flag list cursor on the current polyline's array (at the head when the cursor is undefined).
    velOffsetInfocoPageArrcoPrfcoDListcoCursor flag_writer();
    // The current polyline's array, made when it is null.
    velOffsetInfocoPageArr& writable_flags();
    void write_record(int span, const velOffsetInfo& info);
    // Records of the spans added since the polyline had `before` positions: `last` for the last one, the
    // default for any before it.
    void write_new_spans(int before, const velOffsetInfo& last);

    std::unique_ptr<velPolylineListCursor> m_inner;
    velOffsetInfocoPageArrcoPrfcoDList m_flags;
    velPolylineWithOffsetFlagsListIter* m_view; // the base's reading iterator, owned by the base
    int m_contour_lock = 0;
};
