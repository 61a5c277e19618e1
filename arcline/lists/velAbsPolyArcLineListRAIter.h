#pragma once
// Random access over a list of shared polylines: an array of the polylines' addresses taken in one pass
// when the iterator is made, so set_index costs nothing. The array is a snapshot: polylines added to the
// list later are not seen, and the polylines must outlive the iterator. Clones copy the array.

#include "arcline/lists/velAbsPolyArcLineListIterBase.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/platform/coPageArr.h"

class velAbsPolyArcLineListRAIter : public velAbsPolyArcLineListIterBase {
    UT_DECLARE_TYPE_ID(velAbsPolyArcLineListRAIter, velPolylineListIter)

public:
    // The polylines after the one `it` stands on, to the end of the list; from the head, the whole list.
    explicit velAbsPolyArcLineListRAIter(const velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator& it);
    // The whole list.
    explicit velAbsPolyArcLineListRAIter(const velAbsPolyArcLinecoDListPrgcoPrgcoDList& list);
    explicit velAbsPolyArcLineListRAIter(const velAbsPolyArcLinecoDListPrgcoPrgcoDList&&) = delete;
    velAbsPolyArcLineListRAIter(const velAbsPolyArcLineListRAIter&) = default;
    velAbsPolyArcLineListRAIter& operator=(const velAbsPolyArcLineListRAIter&) = default;

    int size() const override { return m_polylines.size(); }
    void reset() override { set_index(-1); }
    int operator++() override;
    int index() const override { return m_index; }
    // Stores k without a check; -1 makes the iterator undefined.
    void set_index(int k) override;
    velAbsPolyArcLineListRAIter* create_new() const override {
        return new velAbsPolyArcLineListRAIter(*this);
    }

private:
    void collect(velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator it);

    coPageArr<const velAbsPolyArcLine*> m_polylines;
    int m_index = -1;
};
