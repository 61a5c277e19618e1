#pragma once
// Writes into another cursor that stores its polylines in the local coordinates of a workplane, and reads
// them back in world coordinates: the reading iterator is a velPolylineListIterWP over the inner cursor's
// iterator.
//
// The add_ operations copy local coordinates as they are: the source must be a velPolylineListIterWP over
// the same workplane (origin and axes equal within same_workplane_tol), and its underlying iterator is
// handed to the inner cursor. A source of another kind or over another workplane cannot be copied without
// changing frames, so it is refused: the call is reported through ut_report_assert_failure and has no
// effect. move_polyline_after() likewise refuses a cursor that is not a velPolylineListCursorWP over the same
// workplane.
//
// add_span() writes the start point when this cursor's add coincident point type asks for it (tested in
// world coordinates, which the rigid mapping leaves the distances of), and then hands the span to the inner
// cursor, whose own settings apply as well. get_current() answers null: the inner contour is local.
//
// Ownership: with utPtrClaim the cursor owns and deletes the inner cursor, with utPtrWrap it only uses it
// and the caller keeps it alive. The reading iterator is always owned by this cursor; it wraps the inner
// cursor's iterator without owning it. Copying is not offered.

#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIterWP.h"
#include "arcline/platform/giWorkplane3.h"
#include "arcline/platform/utPtrClaim.h"
#include "arcline/platform/utPtrWrap.h"
#include "arcline/polyline/velTolerances.h"

#include <memory>

class velPolylineListCursorWP : public velPolylineListCursor {
public:
    velPolylineListCursorWP(const giWorkplane3& workplane, utPtrWrap, velPolylineListCursor* inner);
    velPolylineListCursorWP(const giWorkplane3& workplane, utPtrClaim, velPolylineListCursor* inner);
    velPolylineListCursorWP(const velPolylineListCursorWP&) = delete;
    velPolylineListCursorWP& operator=(const velPolylineListCursorWP&) = delete;
    ~velPolylineListCursorWP() override;

    void create_polyline(int size_hint) override;
    void create_polyline() override;
    void add_pos(const velPolylineListIter& src, int i) override;
    void add_interpolated_pos(const velPolylineListIter& src, double t) override;
    void add_span(const velPolylineListIter& src, double t0, double t1) override;
    void remove() override;
    void move_polyline_after(velPolylineListCursor& other) override;
    // A workplane cursor over the same workplane that owns the inner cursor's create_empty().
    velPolylineListCursorWP* create_empty() const override;

    const giWorkplane3& get_workplane() const { return m_workplane; }

    // Two workplanes are the same when their origins and axes agree within this distance.
    static constexpr double same_workplane_tol = velTol::coincident;

private:
    // The source's underlying (local) iterator, or null after reporting that `function` refuses `src`.
    const velPolylineListIter* local_source(const velPolylineListIter& src, const char* function) const;

    giWorkplane3 m_workplane;
    // Set when the cursor owns its inner cursor; m_inner then points at it.
    std::unique_ptr<velPolylineListCursor> m_owned;
    velPolylineListCursor* m_inner;
};
