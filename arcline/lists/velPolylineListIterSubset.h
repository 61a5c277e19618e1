#pragma once
// Presents some polylines of a list, in the order of a sequence of indices into it: polyline k of the view
// is underlying polyline indices[k]. An index may appear more than once. The sequence is copied at
// construction (clones share the copy).
//
// index() and set_index() count in the view: set_index(k) moves the underlying iterator to polyline
// indices[k] and index() then answers k. After the last listed polyline ++ answers 0 and the view is
// undefined. Every question about the current polyline is the underlying iterator's. Indices outside the
// underlying list are outside the contract.
//
// get_current() answers null. Ownership: the view owns a clone of the underlying iterator.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/lists/velUnderlyingListIter.h"
#include "arcline/platform/itIterator.h"

#include <memory>
#include <vector>

class velPolylineListIterSubset : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(velPolylineListIterSubset, velPolylineListIter)

public:
    velPolylineListIterSubset(const itIterator<int>& indices, const velPolylineListIter& underlying);

    int size() const override;
    void reset() override;
    int operator++() override;
    int num_pos() const override;
    giPoint3 get_pos(int i) const override;
    int span_linear(int i) const override;
    giPoint3 get_mid_pos(int i) const override;
    double get_bulge(int i) const override;
    giBox2 span_box(int i, vel2dBox kind) const override;
    giBox3 span_box(int i, vel3dBox kind) const override;
    giBox2 box(vel2dBox kind) const override;
    giBox3 box(vel3dBox kind) const override;
    int index() const override;
    void set_index(int k) override;
    velPolylineListIterSubset* create_new() const override;
    int all_spans_linear() const override;

    // The underlying indices, in the order presented.
    const std::vector<int>& indices() const { return *m_indices; }

    velPolylineListIter& underlying_iterator() { return *m_underlying; }
    const velPolylineListIter& underlying_iterator() const { return *m_underlying; }

private:
    velUnderlyingListIter m_underlying;
    std::shared_ptr<const std::vector<int>> m_indices;
    int m_index = -1;
};
