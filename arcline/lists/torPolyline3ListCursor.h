#pragma once
// Writes a list of torPolyline3 curves: create_polyline() puts a new empty torPolyline3 after the current
// curve and the add_ calls append points at the end of the current one. Spans are straight, so add_span is
// the base's. Reads back through a torPolyline3ListIter on the same list (owned).

#include "arcline/lists/torPolyline3ListIter.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/platform/giXform3.h"
#include "arcline/platform/torCurvePtr3coDList.h"
#include "arcline/platform/utPtrClaim.h"

#include <memory>

class torPolyline3ListCursor : public velPolylineListCursor {
public:
    // Writes into `list`, which the caller keeps alive and owns.
    explicit torPolyline3ListCursor(torCurvePtr3coDList& list);
    // Writes into `list` and owns it (deletes it with the cursor).
    torPolyline3ListCursor(utPtrClaim, torCurvePtr3coDList* list);

    // A writable contour view (torPolyline3Adapter) of the current curve that shares it; null when undefined.
    velAbsContourcoPrf get_current() override;
    using velPolylineListCursor::create_polyline;
    void create_polyline() override;
    void add_pos(const velPolylineListIter& src, int i) override;
    void add_interpolated_pos(const velPolylineListIter& src, double t) override;
    void remove() override;
    // `other` must be a torPolyline3ListCursor; any other cursor is reported and nothing moves.
    void move_polyline_after(velPolylineListCursor& other) override;
    // A cursor that owns a new empty list; the caller owns the cursor.
    torPolyline3ListCursor* create_empty() const override;

    // Applies xf to every point of every curve of the list.
    void transform(const giXform3& xf);
    // The current curve; null when undefined.
    torPolyline3* current_polyline() const;

private:
    std::unique_ptr<torCurvePtr3coDList> m_owned;
    torCurvePtr3coDList* m_list;
};
