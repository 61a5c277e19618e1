#pragma once
// Presents the polylines of one list followed by those of another, without copying either: polyline k is
// the first list's polyline k for k below its size, else the second list's polyline k - first size.
// Per-polyline questions go to whichever list holds the current polyline.
//
// A new view is undefined (index -1). As everywhere in the protocol, ++ from an undefined view goes to
// polyline 0, also once the view has run off the end of the second list.
//
// Ownership: the view owns clones of both lists' iterators, made at construction; a clone of the view
// (create_new(), copy) clones both again and stands at the same polyline.

#include "arcline/lists/velPolylineListIter.h"

#include <memory>

class velPolylineListIterAppend : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(velPolylineListIterAppend, velPolylineListIter)

public:
    velPolylineListIterAppend(const velPolylineListIter& first, const velPolylineListIter& second);
    velPolylineListIterAppend(const velPolylineListIterAppend& other);
    velPolylineListIterAppend& operator=(const velPolylineListIterAppend& other);
    ~velPolylineListIterAppend() override;

    int size() const override;
    void reset() override;
    int operator++() override;
    velAbsContourcoPrf get_current() override;
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
    velPolylineListIterAppend* create_new() const override;
    int all_spans_linear() const override;

    // The iterator of the list that holds the current polyline (the first list's while undefined after
    // reset()); it stands on that polyline in its own numbering.
    const velPolylineListIter& current_iterator() const { return *m_current; }
    int first_iterator_size() const { return m_first->size(); }
    int second_iterator_size() const { return m_second->size(); }

private:
    bool on_second() const { return m_current == m_second.get(); }

    std::unique_ptr<velPolylineListIter> m_first;
    std::unique_ptr<velPolylineListIter> m_second;
    // m_first or m_second.
    velPolylineListIter* m_current;
};
