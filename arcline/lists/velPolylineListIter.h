#pragma once
// The reading side of every list of polylines. Algorithms take their input as a velPolylineListIter and never
// learn how the polylines are stored: containers, trimmed views and decorating views all derive from it.
//
// An iterator presents an ordered list of polylines numbered from 0 and has at most one current polyline;
// index() -1 means none (before the first, after the last, or not started). Positions of the current polyline
// are numbered 0 .. num_pos() - 1 and span i runs from position i to i + 1, straight or a circular arc given
// by a mid point on it. A real parameter t addresses the point at fraction t - floor(t) along span floor(t).
//
// Reading order:
//     it.reset();
//     while (++it) { for (int i = 0; i < it.num_pos(); ++i) use(it.get_pos(i)); ... }
// After ++ has answered 0 the iterator is undefined; another pass starts with reset(). An algorithm that
// must leave its caller's position alone works on create_new(), an independent clone it deletes.
//
// The reading members are const: a cursor copies from a const source, and views that cache keep their caches
// mutable.

#include "arcline/platform/giBox2.h"
#include "arcline/platform/giBox3.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/utOstream.h"
#include "arcline/platform/utTypeID.h"
#include "arcline/polyline/contour/velAbsContourcoPrf.h"
#include "arcline/polyline/velTolerances.h"

#include <ostream>

class velPolylineListCursor;

// Box-kind arguments that choose between the 2D and the 3D box of the same slot. Every box is exact.
enum vel2dBox { vel_2d_box };
enum vel3dBox { vel_3d_box };

class velPolylineListIter {
public:
    virtual const utTypeID& ut_dynamic_type() const;
    virtual int ut_is_kind_of(const utTypeID& t) const;
    // Number of polylines.
    virtual int size() const = 0;
    // Makes the iterator undefined (index -1); the next ++ goes to polyline 0.
    virtual void reset() = 0;
    // To the next polyline; nonzero when there is one, else the iterator becomes undefined.
    virtual int operator++() = 0;
    // The current polyline as a contour; null where the iterator has no contour view.
    virtual velAbsContourcoPrf get_current();
    // Positions of the current polyline.
    virtual int num_pos() const = 0;
    virtual giPoint3 get_pos(int i) const = 0;
    // Nonzero when span i is straight. Default: every span is.
    virtual int span_linear(int i) const;
    // Mid point of arc span i. Default: the unset point (the base presents no arcs).
    virtual giPoint3 get_mid_pos(int i) const;
    // Bulge of span i: 0 when straight, else computed from its three points.
    virtual double get_bulge(int i) const;
    // Box of span i (its start, end and extreme points); empty when i is not a span.
    virtual giBox2 span_box(int i, vel2dBox kind) const;
    virtual giBox3 span_box(int i, vel3dBox kind) const;
    // Box of the current polyline; empty when it has no positions.
    virtual giBox2 box(vel2dBox kind) const;
    virtual giBox3 box(vel3dBox kind) const;
    // Number of the current polyline, -1 when undefined.
    virtual int index() const = 0;
    // Makes polyline k current; -1 makes the iterator undefined.
    virtual void set_index(int k) = 0;
    // A clone at the same position that moves independently; the caller owns it.
    virtual velPolylineListIter* create_new() const = 0;
    // Writes every polyline with positions into the cursor, in order, each after the cursor's current one.
    virtual void copy(velPolylineListCursor& cursor);
    // Writes the current polyline into the cursor; this iterator does not move.
    virtual void copy_single(velPolylineListCursor& cursor);
    // A promise about the whole list: nonzero when no polyline has an arc span. An iterator that can present
    // arcs answers 0 even when its list happens to hold none.
    virtual int all_spans_linear() const;
    virtual ~velPolylineListIter() = default;

    // The point at parameter t of the current polyline. An arc span whose ends are within 1e-10 of each other
    // is a point: its start.
    giPoint3 get_interpolated_pos(double t) const;
    // Nonzero exactly when index() is -1.
    int undefined() const { return index() == -1; }

    static const utTypeID& ut_static_type();
    static const velPolylineListIter* ut_dynamic_cast(const velPolylineListIter* p) { return p; }
    static velPolylineListIter* ut_dynamic_cast(velPolylineListIter* p) { return p; }

    // Ends of an arc closer than this are one point.
    static constexpr double zero_chord_tol = velTol::zero_chord;

protected:
    velPolylineListIter() = default;
    velPolylineListIter(const velPolylineListIter&) = default;
    velPolylineListIter& operator=(const velPolylineListIter&) = default;
};

// Writes the list as
//     velPolylineListIter {
//     0: (3) (0, 0, 0) (1, 0, 0) M (1.5, 0.5, 0) (2, 0, 0)
//     }
// one line per polyline: its number, its position count, then its positions, each arc's end preceded by "M"
// and the arc's mid point. The output walks a clone; the iterator does not move.
utOstream& operator<<(utOstream& os, const velPolylineListIter& it);
std::ostream& operator<<(std::ostream& os, const velPolylineListIter& it);
