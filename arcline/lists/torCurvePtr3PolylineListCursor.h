#pragma once
// Writes a list of curve-remembering polylines. create_polyline() puts a new empty torCurvePtr3Polyline
// after the current one. Points copied from a torCurvePtr3PolylineListIter keep their curve and curve
// parameter (an interpolated point takes those its source parameter maps to, see torCurvePtr3Polyline) and
// raise the target's tolerance to the source polyline's; points from any other iterator come with no curve
// and parameter -DBL_MAX. Reads back through a torCurvePtr3PolylineListIter on the same list (owned).

#include "arcline/lists/torCurvePtr3PolylineListIter.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/platform/torCurvePtr3coDList.h"
#include "arcline/platform/torCurvePtr3coDListcoIterator.h"
#include "arcline/platform/utPtrClaim.h"
#include "arcline/polyline/contour/torCurvePtr3PolylinecoPrfcoDList.h"

#include <memory>

class torCurvePtr3PolylineListCursor : public velPolylineListCursor {
public:
    // Writes into a new list of its own.
    torCurvePtr3PolylineListCursor();
    // Writes into `list`, which the caller keeps alive and owns.
    explicit torCurvePtr3PolylineListCursor(torCurvePtr3PolylinecoPrfcoDList& list);
    // Writes into `list` and owns it (deletes it with the cursor).
    torCurvePtr3PolylineListCursor(utPtrClaim, torCurvePtr3PolylinecoPrfcoDList* list);
    // A list of its own holding one polyline per curve that `curves` steps onto from where it stands (it
    // ends undefined), each the curve's polygon within tol.
    torCurvePtr3PolylineListCursor(torCurvePtr3coDListcoIterator& curves, double tol);

    using velPolylineListCursor::create_polyline;
    void create_polyline() override;
    void add_pos(const velPolylineListIter& src, int i) override;
    void add_interpolated_pos(const velPolylineListIter& src, double t) override;
    // Straight pieces as the base writes them, except that a piece of a source span lying on one curve
    // starts with the point at t0 when the current polyline's last position lies on another curve: the copy
    // then has a chord on that curve, with the change of curve in the zero chord before it.
    void add_span(const velPolylineListIter& src, double t0, double t1) override;
    void remove() override;
    // `other` must be a torCurvePtr3PolylineListCursor; any other cursor is reported and nothing moves.
    void move_polyline_after(velPolylineListCursor& other) override;
    // A cursor that owns a new empty list; the caller owns the cursor.
    torCurvePtr3PolylineListCursor* create_empty() const override;

    // The reading iterator's get_curves.
    void get_curves(double t0, double t1, torCurvePtr3coDList& curves) const;
    // The current polyline; null when undefined.
    torCurvePtr3Polyline* current_polyline() const;

private:
    void attach(torCurvePtr3PolylinecoPrfcoDList* list);
    const torCurvePtr3PolylineListIter& reader() const;

    std::unique_ptr<torCurvePtr3PolylinecoPrfcoDList> m_owned;
    torCurvePtr3PolylinecoPrfcoDList* m_list = nullptr;
};
