#pragma once
// What every iterator over velAbsPolyArcLine objects shares: the reading slots of the current polyline. The
// protocol numbers positions and spans from 0 and the polyline from 1, so slot i asks the polyline for
// position (span) i + 1. Derived iterators move over their storage and point m_current at the polyline they
// stand on (null when undefined).
//
// all_spans_linear() is 1 exactly when arcs are not allowed (allow_arc_spans(0)); the polylines are not
// examined, so a cursor whose prototype cannot hold arcs gives consumers the straight-only path.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/velAbsPolyArcLine.h"

class velAbsPolyArcLineListIterBase : public velPolylineListIter {
public:
    int num_pos() const override { return m_current->num_pos(); }
    giPoint3 get_pos(int i) const override {
        giPoint3 p;
        m_current->get_pos(i + 1, p);
        return p;
    }
    int span_linear(int i) const override { return m_current->span_linear(i + 1); }
    giPoint3 get_mid_pos(int i) const override {
        giPoint3 m;
        m_current->get_mid_pos(i + 1, m);
        return m;
    }
    int all_spans_linear() const override { return !m_arcs_allowed; }
    // A read-only contour view (velPolyArcLineAdapter) of the current polyline; null when undefined. The
    // polyline must outlive the view.
    velAbsContourcoPrf get_current() override;

    void allow_arc_spans(int allowed) { m_arcs_allowed = allowed; }
    int arc_spans_allowed() const { return m_arcs_allowed; }

protected:
    velAbsPolyArcLineListIterBase() = default;

    const velAbsPolyArcLine* m_current = nullptr;
    int m_arcs_allowed = 1;
};
