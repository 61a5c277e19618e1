#pragma once
// Presents a list of polylines together with the offsetters' records of their spans (velOffsetInfo), kept
// in a separate list of per-polyline arrays: polyline k's records are array k of the flag list, entry i
// for span i. Points and spans are the underlying iterator's.
//
// The view keeps its place in the flag list in step with the underlying iterator: ++ steps both, reset()
// and set_index() move both. A polyline with no array (the flag list is shorter, or its array is null), or
// whose array is shorter than its spans, has no record for those spans: offset_info() answers null and
// the other queries answer the default record's values.
//
// Ownership: the view uses the underlying iterator and the flag list without owning them; both must
// outlive it (the offset-flag cursor reads its own writes through such a view). A clone (create_new(),
// copy) owns a clone of the underlying iterator at the same position and reads the same flag list.
// Removing a polyline's array from the flag list while a view stands on it leaves that view dangling until
// sync_offset_flags_with_iter().

#include "arcline/lists/velOffsetInfocoPageArrcoPrfcoDList.h"
#include "arcline/lists/velPolylineListIterWithOffsetFlags.h"
#include "arcline/lists/velUnderlyingListIter.h"

class velPolylineWithOffsetFlagsListCursor;

class velPolylineWithOffsetFlagsListIter : public velPolylineListIterWithOffsetFlags {
    UT_DECLARE_TYPE_ID(velPolylineWithOffsetFlagsListIter, velPolylineListIter)

public:
    velPolylineWithOffsetFlagsListIter(velPolylineListIter& underlying,
                                       velOffsetInfocoPageArrcoPrfcoDList& flags);
    ~velPolylineWithOffsetFlagsListIter() override;

    int size() const override;
    void reset() override;
    int operator++() override;
    int num_pos() const override;
    giPoint3 get_pos(int i) const override;
    int span_linear(int i) const override;
    giPoint3 get_mid_pos(int i) const override;
    double get_bulge(int i) const override;
    giBox2 span_box(int i, vel2dBox kind) const override;
    giBox3 span_box(int i, vel3dBox kind) const override;
    giBox2 box(vel2dBox kind) const override;
    giBox3 box(vel3dBox kind) const override;
    int index() const override;
    void set_index(int k) override;
    velPolylineWithOffsetFlagsListIter* create_new() const override;
    int all_spans_linear() const override;
    // The underlying iterator's contour of the current polyline. A contour over a list cursor
    // (velCursorContour) is given a copy of the polyline's records, so its spans carry them.
    velAbsContourcoPrf get_current() override;

    // Straight span and temporary.
    int temporary_line(int span) const override;
    // Arc span and temporary.
    int temporary_arc(int span) const override;
    // The record of the span, or the default record when there is none.
    void get_offset_info(int span, velOffsetInfo& info) const override;

    // The record of span `span` of the current polyline; null when there is none. It lives in the flag list.
    virtual const velOffsetInfo* offset_info(int span) const;
    // The record's fields; 0, -1 and velSpanSideNone when there is no record.
    virtual int temporary_span(int span) const;
    virtual int span_position(int span) const;
    virtual velSpanSide span_side(int span) const;

    // Puts the view's place in the flag list on the underlying iterator's current polyline, found afresh
    // from the head of the flag list: after the underlying iterator was moved behind the view's back, or
    // the array the view stood on was removed.
    void sync_offset_flags_with_iter();

    velPolylineListIter& underlying_iterator() { return *m_underlying; }
    const velPolylineListIter& underlying_iterator() const { return *m_underlying; }
    velOffsetInfocoPageArrcoPrfcoDList& offset_flags() const { return *m_flags; }

private:
    friend class velPolylineWithOffsetFlagsListCursor;

    // The current polyline's array; null when it has none.
    const velOffsetInfocoPageArr* current_flags() const;

    velUnderlyingListIter m_underlying;
    velOffsetInfocoPageArrcoPrfcoDList* m_flags;
    // Array index() of the flag list, or the head when the list has no array there.
    velOffsetInfocoPageArrcoPrfcoDListcoIterator m_flag_pos;
};
