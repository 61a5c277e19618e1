#pragma once
// Writes a list of torPolyline2 curves: create_polyline() puts a new empty torPolyline2 after the current
// curve and the add_ calls append points, without their z, at the end of the current one. Spans are
// straight, so add_span is the base's. Reads back through a torPolyline2ListIter on the same list (owned).

#include "arcline/lists/torPolyline2ListIter.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/platform/torCurvePtr2coDList.h"
#include "arcline/platform/utPtrClaim.h"

#include <memory>

class torPolyline2ListCursor : public velPolylineListCursor {
public:
    // Writes into `list`, which the caller keeps alive and owns.
    explicit torPolyline2ListCursor(torCurvePtr2coDList& list);
    // Writes into `list` and owns it (deletes it with the cursor).
    torPolyline2ListCursor(utPtrClaim, torCurvePtr2coDList* list);

    using velPolylineListCursor::create_polyline;
    void create_polyline() override;
    void add_pos(const velPolylineListIter& src, int i) override;
    void add_interpolated_pos(const velPolylineListIter& src, double t) override;
    void remove() override;
    // `other` must be a torPolyline2ListCursor; any other cursor is reported and nothing moves.
    void move_polyline_after(velPolylineListCursor& other) override;
    // A cursor that owns a new empty list; the caller owns the cursor.
    torPolyline2ListCursor* create_empty() const override;

    // The current curve; null when undefined.
    torPolyline2* current_polyline() const;

private:
    std::unique_ptr<torCurvePtr2coDList> m_owned;
    torCurvePtr2coDList* m_list;
};
