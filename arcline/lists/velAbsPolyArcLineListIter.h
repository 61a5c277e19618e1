#pragma once
// Reads a list of shared polylines (velAbsPolyArcLinecoDListPrgcoPrgcoDList) node by node. The list must
// outlive the iterator. Index -1 is the list's head, before the first polyline and after the last;
// set_index walks from the current node or the head, whichever is fewer steps. Clones share the list.

#include "arcline/lists/velAbsPolyArcLineListIterBase.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"

class velAbsPolyArcLineListCursor;

class velAbsPolyArcLineListIter : public velAbsPolyArcLineListIterBase {
    UT_DECLARE_TYPE_ID(velAbsPolyArcLineListIter, velPolylineListIter)

public:
    // Undefined, at the list's head.
    explicit velAbsPolyArcLineListIter(const velAbsPolyArcLinecoDListPrgcoPrgcoDList& list);
    explicit velAbsPolyArcLineListIter(const velAbsPolyArcLinecoDListPrgcoPrgcoDList&&) = delete;
    // Standing where `it` stands.
    explicit velAbsPolyArcLineListIter(const velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator& it);
    velAbsPolyArcLineListIter(const velAbsPolyArcLineListIter&) = default;
    velAbsPolyArcLineListIter& operator=(const velAbsPolyArcLineListIter&) = default;

    int size() const override { return m_it.size(); }
    void reset() override;
    int operator++() override;
    int index() const override { return m_it.index(); }
    void set_index(int k) override;
    velAbsPolyArcLineListIter* create_new() const override { return new velAbsPolyArcLineListIter(*this); }
    // A read-only contour view of the current polyline that shares it (keeps it alive); null when undefined.
    velAbsContourcoPrf get_current() override;

    // The list's own iterator, standing on the current polyline.
    const velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator& list_iterator() const { return m_it; }
    // The current polyline's shared pointer; not when undefined.
    const velAbsPolyArcLinecoPrg& current_shared() const { return m_it.current(); }

protected:
    // A check for debug builds: 1 when arcs are allowed or no polyline of the list has an arc span. It walks
    // a copy of the list iterator and changes nothing.
    int check_arc_spans() const;

private:
    friend class velAbsPolyArcLineListCursor;

    // The cursor moves the list iterator after it has changed the list.
    void become(const velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor& c);
    void update_current() { m_current = m_it.index() < 0 ? nullptr : m_it.current().get(); }

    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator m_it;
};
