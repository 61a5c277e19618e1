#pragma once
// Presents a list whose points are stored in the local coordinates of a workplane in world coordinates.
// Points and arc mid points are mapped with the workplane's to_world; everything else (span kinds, bulges,
// sizes, positions in the list) is the underlying iterator's. The workplane is right-handed, so the mapping
// is a rigid motion: lengths and arcs keep their shape.
//
// get_bulge() forwards unchanged, so it is the bulge seen from the workplane's own +Z. Boxes are computed
// from the mapped points; an arc span's XY box is taken from its three mapped points, not from the
// forwarded bulge, which would describe the mirrored arc when the workplane looks up from below.
// get_current() answers null: the underlying contour is in local coordinates.
//
// Ownership: constructed from a const reference the view clones the underlying iterator and owns the
// clone; constructed with utPtrWrap it uses the given iterator, which must outlive the view. A clone made
// by create_new() always owns its own clone of the underlying iterator.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giWorkplane3.h"
#include "arcline/platform/utPtrWrap.h"

#include <memory>

class velPolylineListIterWP : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(velPolylineListIterWP, velPolylineListIter)

public:
    velPolylineListIterWP(const giWorkplane3& workplane, const velPolylineListIter& underlying);
    velPolylineListIterWP(const giWorkplane3& workplane, velPolylineListIter& underlying, utPtrWrap);
    // Copies own a clone of the other view's underlying iterator, at its position.
    velPolylineListIterWP(const velPolylineListIterWP& other);
    velPolylineListIterWP& operator=(const velPolylineListIterWP& other);
    ~velPolylineListIterWP() override;

    int size() const override;
    void reset() override;
    int operator++() override;
    int num_pos() const override;
    giPoint3 get_pos(int i) const override;
    int span_linear(int i) const override;
    giPoint3 get_mid_pos(int i) const override;
    double get_bulge(int i) const override;
    using velPolylineListIter::span_box;
    giBox2 span_box(int i, vel2dBox kind) const override;
    int index() const override;
    void set_index(int k) override;
    velPolylineListIterWP* create_new() const override;
    int all_spans_linear() const override;

    const giWorkplane3& get_workplane() const { return m_workplane; }
    // The iterator in local coordinates.
    velPolylineListIter& underlying_iterator() { return *m_underlying; }
    const velPolylineListIter& underlying_iterator() const { return *m_underlying; }

private:
    giWorkplane3 m_workplane;
    // Set when the view owns its underlying iterator; m_underlying then points at it.
    std::unique_ptr<velPolylineListIter> m_owned;
    velPolylineListIter* m_underlying;
};
