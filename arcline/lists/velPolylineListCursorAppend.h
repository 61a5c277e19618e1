#pragma once
// The writing partner of velPolylineListIterAppend: copies polylines read through an append view into
// another cursor. The add_ operations take a velPolylineListIterAppend as source and hand its
// current_iterator() (the list that holds the polyline being copied) to the inner cursor. A source of
// another kind is refused: the call is reported through ut_report_assert_failure and has no effect.
//
// Reading back goes through the inner cursor's own iterator, in its numbering. add_span() writes the start
// point when this cursor's add coincident point type asks for it, and then hands the span to the inner
// cursor, whose own settings apply as well. move_polyline_after() takes the polyline from the inner cursor
// of another append cursor, and from any other cursor directly. create_empty() answers the inner cursor's
// create_empty(): an append cursor never owns its inner cursor, so it could not hand out one that does.
//
// Ownership: the inner cursor and its iterator are used, not owned; the caller keeps the inner cursor
// alive for as long as this cursor is used. Copying is not offered.

#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIterAppend.h"

class velPolylineListCursorAppend : public velPolylineListCursor {
public:
    explicit velPolylineListCursorAppend(velPolylineListCursor* inner);
    velPolylineListCursorAppend(const velPolylineListCursorAppend&) = delete;
    velPolylineListCursorAppend& operator=(const velPolylineListCursorAppend&) = delete;
    ~velPolylineListCursorAppend() override;

    void create_polyline(int size_hint) override;
    void create_polyline() override;
    void add_pos(const velPolylineListIter& src, int i) override;
    void add_interpolated_pos(const velPolylineListIter& src, double t) override;
    void add_span(const velPolylineListIter& src, double t0, double t1) override;
    void remove() override;
    void move_polyline_after(velPolylineListCursor& other) override;
    // A new empty cursor of the inner cursor's kind; the caller owns it.
    velPolylineListCursor* create_empty() const override;

private:
    // The source's current part, or null after reporting that `function` refuses `src`.
    static const velPolylineListIter* current_part(const velPolylineListIter& src, const char* function);

    velPolylineListCursor* m_inner;
};
