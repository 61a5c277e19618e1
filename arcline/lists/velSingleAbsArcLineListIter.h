#pragma once
// Presents one polyline as a list of one. The polyline must outlive the iterator.

#include "arcline/lists/velAbsPolyArcLineListIterBase.h"

class velSingleAbsArcLineListIter : public velAbsPolyArcLineListIterBase {
    UT_DECLARE_TYPE_ID(velSingleAbsArcLineListIter, velPolylineListIter)

public:
    explicit velSingleAbsArcLineListIter(const velAbsPolyArcLine& polyline) : m_polyline(&polyline) {}
    explicit velSingleAbsArcLineListIter(const velAbsPolyArcLine&&) = delete;
    velSingleAbsArcLineListIter(const velSingleAbsArcLineListIter&) = default;
    velSingleAbsArcLineListIter& operator=(const velSingleAbsArcLineListIter&) = default;

    int size() const override { return 1; }
    void reset() override { set_index(-1); }
    // Toggles: onto the polyline when not on it (answers 1), else off it (answers 0).
    int operator++() override {
        set_index(m_current == nullptr ? 0 : -1);
        return m_current != nullptr;
    }
    int index() const override { return m_current != nullptr ? 0 : -1; }
    // 0 makes the polyline current, any other value undefined.
    void set_index(int k) override { m_current = k == 0 ? m_polyline : nullptr; }
    velSingleAbsArcLineListIter* create_new() const override {
        return new velSingleAbsArcLineListIter(*this);
    }
    // Straight-only exactly when the polyline's storage class cannot hold arcs.
    int all_spans_linear() const override { return !m_polyline->can_hold_arcs(); }

    const velAbsPolyArcLine& get_polyline() const { return *m_polyline; }

private:
    const velAbsPolyArcLine* m_polyline;
};
