#pragma once
// Presents a list with its arcs polygonised: every polyline is shown with straight spans only, through
// points of the underlying polyline at underlying parameters worked out once, at construction.
//
// A straight span keeps its start; an arc span gets the number of chords m that the interpolation library
// (Interpolate with the view's tolerance) gives for it, and its start and the m - 1 points between are the
// points at 1/m, 2/m, ... of its sweep. Equal angles make chords of equal height, each at most the
// tolerance away from the arc (an arc's parameter is not proportional to its angle, so the parameters are
// those of the equal-angle points, not i + j/m). The last position closes each polyline. Chord ends lie on
// the arc, so the chords run on the arc's inner side. A polyline without arcs is presented exactly.
//
// The parameter table is a snapshot of the list at construction: later changes to the underlying list are
// not seen, and a list that loses polylines or positions must not be read through the view any more.
// Clones share the table. A tolerance of 0 or less asks Interpolate for its largest
// number of chords per arc.
//
// get_current() answers null. Ownership: the view owns a clone of the underlying iterator.

#include "arcline/lists/velForwardingListIter.h"
#include "arcline/lists/velPolylineListIter.h"

#include <memory>
#include <vector>

class velTrimmedPolylineListIter;

class velSmashedPolylineListIter : public velForwardingListIter {
    UT_DECLARE_TYPE_ID(velSmashedPolylineListIter, velPolylineListIter)

public:
    velSmashedPolylineListIter(const velPolylineListIter& underlying, double tolerance);

    int num_pos() const override;
    giPoint3 get_pos(int i) const override;
    velSmashedPolylineListIter* create_new() const override;

    // The underlying parameter of the current polyline at presented parameter x: a position's own
    // parameter, and between positions the linear blend of its two ends' parameters. 0.0 for x outside the
    // presented polyline (below 0 or beyond its last position).
    double underlying_parameter(double x) const;

    double tolerance() const { return m_tolerance; }

    // For a trimmed view whose underlying iterator is a smashed view: `out` becomes the same trimming of the
    // smashed view's own underlying list, every kept range mapped back with underlying_parameter, so that
    // pieces cut from chords are cut again from the arcs.
    static void get_underlying_trimming_iter(velTrimmedPolylineListIter& trimmed,
                                             velTrimmedPolylineListIter& out);
    // Copies the pieces of such a trimmed view into the cursor, cut from the arcs of the list underneath
    // the smashed view (through get_underlying_trimming_iter).
    static void copy_trimming_iter(velTrimmedPolylineListIter& trimmed, velPolylineListCursor& cursor);

private:
    // The underlying parameters of every presented position, polyline after polyline; polyline k's run from
    // entry first[k] to first[k + 1] - 1.
    struct Table {
        std::vector<double> parameters;
        std::vector<int> first;
    };
    static std::shared_ptr<const Table> make_table(const velPolylineListIter& underlying, double tolerance);
    // Entry of the current polyline's position 0; -1 when no polyline of the table is current.
    int first_entry() const;

    double m_tolerance;
    std::shared_ptr<const Table> m_table;
};
