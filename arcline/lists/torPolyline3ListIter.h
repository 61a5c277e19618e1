#pragma once
// Reads a list of torPolyline3 curves (every curve of the list must be one) as a list of straight
// polylines: the positions of the current curve are its points.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/torCurvePtr3coDListcoIterator.h"
#include "arcline/platform/torPolyline3.h"

class torPolyline3ListIter : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(torPolyline3ListIter, velPolylineListIter)

public:
    // Reads the list of `it`, starting where `it` stands. The list must outlive the iterator.
    explicit torPolyline3ListIter(const torCurvePtr3coDListcoIterator& it) : m_it(it) {}

    int size() const override { return m_it.size(); }
    void reset() override { m_it.reset(); }
    int operator++() override { return ++m_it; }
    int num_pos() const override;
    giPoint3 get_pos(int i) const override { return current_polyline()->get_pos(i); }
    int index() const override { return m_it.index(); }
    void set_index(int k) override { m_it.set_index(k); }
    torPolyline3ListIter* create_new() const override { return new torPolyline3ListIter(*this); }
    // A read-only contour view (torPolyline3Adapter) of the current curve that shares it; null when
    // undefined.
    velAbsContourcoPrf get_current() override;

    // The current curve, shared with the list; null when undefined.
    torPolyline3* current_polyline() const;
    std::shared_ptr<torPolyline3> current_shared() const;

private:
    torCurvePtr3coDListcoIterator m_it;
};
