#pragma once
// Reads a list of curve-remembering polylines (torCurvePtr3Polyline) as a list of straight polylines, and
// gives besides each position's curve and curve parameter and the curve pieces between polyline parameters.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/torCurvePtr3coDList.h"
#include "arcline/polyline/contour/torCurvePtr3Polyline.h"
#include "arcline/polyline/contour/torCurvePtr3PolylinecoPrfcoDList.h"
#include "arcline/polyline/contour/torCurvePtr3PolylinecoPrfcoDListcoIterator.h"

class torCurvePtr3PolylineListIter : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(torCurvePtr3PolylineListIter, velPolylineListIter)

public:
    // Reads the list of `it`, starting where `it` stands. The list must outlive the iterator.
    explicit torCurvePtr3PolylineListIter(const torCurvePtr3PolylinecoPrfcoDListcoIterator& it) : m_it(it) {}

    int size() const override { return m_it.size(); }
    void reset() override { m_it.reset(); }
    int operator++() override { return ++m_it; }
    int num_pos() const override;
    giPoint3 get_pos(int i) const override { return current_polyline()->get_pos(i); }
    int index() const override { return m_it.index(); }
    void set_index(int k) override { m_it.set_index(k); }
    torCurvePtr3PolylineListIter* create_new() const override {
        return new torCurvePtr3PolylineListIter(*this);
    }

    using velPolylineListIter::get_pos;
    // Position i of the current polyline with its curve parameter and curve.
    void get_pos(int i, giPoint3& p, double& parameter, torCurvePtr3& curve) const {
        current_polyline()->get_pos(i, p, parameter, curve);
    }
    // The current polyline, shared with the list; null when undefined.
    torCurvePtr3Polyline* current_polyline() const;
    // The current polyline's torCurvePtr3Polyline::curve(t0, t1).
    torCurvePtr3 curve(double t0, double t1) const { return current_polyline()->curve(t0, t1); }
    // Appends to `curves` the piece curve(t0, t1) of every polyline of the list, in order, leaving out the
    // null ones; (0, DBL_MAX) gives every polyline whole. The iterator does not move.
    void get_curves(double t0, double t1, torCurvePtr3coDList& curves) const;
    // Appends to `polylines` one new torCurvePtr3Polyline per curve of `curves`, its polygon within tol.
    static void curve_list_to_polyline(const torCurvePtr3coDList& curves, double tol,
                                       torCurvePtr3PolylinecoPrfcoDList& polylines);

private:
    torCurvePtr3PolylinecoPrfcoDListcoIterator m_it;
};
