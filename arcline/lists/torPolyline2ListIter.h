#pragma once
// Reads a list of torPolyline2 curves (every curve of the list must be one) as a list of straight
// polylines at height 0: the positions of the current curve are its points with z = 0.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/torCurvePtr2coDListcoIterator.h"
#include "arcline/platform/torPolyline2.h"

class torPolyline2ListIter : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(torPolyline2ListIter, velPolylineListIter)

public:
    // Reads the list of `it`, starting where `it` stands. The list must outlive the iterator.
    explicit torPolyline2ListIter(const torCurvePtr2coDListcoIterator& it) : m_it(it) {}

    int size() const override { return m_it.size(); }
    void reset() override { m_it.reset(); }
    int operator++() override { return ++m_it; }
    int num_pos() const override;
    giPoint3 get_pos(int i) const override { return current_polyline()->get_pos(i).xyz(0.0); }
    int index() const override { return m_it.index(); }
    void set_index(int k) override { m_it.set_index(k); }
    torPolyline2ListIter* create_new() const override { return new torPolyline2ListIter(*this); }

    // The current curve, shared with the list; null when undefined.
    torPolyline2* current_polyline() const;

private:
    torCurvePtr2coDListcoIterator m_it;
};
