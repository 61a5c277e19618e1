#pragma once
// A list of one closed polyline: the outline of an axis-aligned box at height z, five positions from the
// box's minimum corner round to it again, anticlockwise seen from +Z ((0,0), (1,0), (1,1), (0,1), (0,0)
// in box coordinates) or clockwise ((0,0), (0,1), (1,1), (1,0), (0,0)). All spans are straight. Its 2D box
// is the given box and its 3D box that box at height z, flat in Z, which is exactly what the outline
// covers.
//
// Walking it is as for a single polyline: reset() or a new view is undefined, ++ makes the outline current
// (index 0) and the next ++ answers 0. The outline is built from the box as given; an empty box gives an
// outline outside the contract.

#include "arcline/lists/velPolylineListIter.h"

class velBoxPolylineListIter : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(velBoxPolylineListIter, velPolylineListIter)

public:
    velBoxPolylineListIter(const giBox2& box, double z, int anticlockwise);
    // The box's XY extent at its maximum Z.
    velBoxPolylineListIter(const giBox3& box, int anticlockwise);

    int size() const override;
    void reset() override;
    int operator++() override;
    int num_pos() const override;
    giPoint3 get_pos(int i) const override;
    giBox2 box(vel2dBox kind) const override;
    giBox3 box(vel3dBox kind) const override;
    int index() const override;
    void set_index(int k) override;
    velBoxPolylineListIter* create_new() const override;

    const giBox2& get_box() const { return m_box; }
    double z() const { return m_z; }
    int anticlockwise() const { return m_anticlockwise; }

private:
    giBox2 m_box;
    double m_z;
    int m_anticlockwise;
    int m_current = 0;
};
