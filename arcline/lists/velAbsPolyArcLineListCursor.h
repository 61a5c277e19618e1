#pragma once
// Writes a list of shared polylines (velAbsPolyArcLinecoDListPrgcoPrgcoDList) and reads it back through a
// velAbsPolyArcLineListIter on the same list.
//
// New polylines are copies of the prototype set by set_arcline_type (an empty polyline of the chosen storage
// class), or velPolyArcLineDouble when none is set. add_span writes arcs: a whole arc span with the source's
// own mid point, a part of one through its trimmed mid point.
//
// Ownership: the default constructor and the utPtrClaim one own the list and delete it, with every polyline
// it still holds (polylines are shared, so one held elsewhere lives on); the list-reference constructor does
// not. The prototype is owned.

#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/platform/utPtrClaim.h"
#include "arcline/polyline/velTolerances.h"

#include <memory>

class velAbsPolyArcLineListCursor : public velPolylineListCursor {
public:
    // Owns a new empty list.
    velAbsPolyArcLineListCursor();
    // Writes `list`, which must outlive the cursor.
    explicit velAbsPolyArcLineListCursor(velAbsPolyArcLinecoDListPrgcoPrgcoDList& list);
    velAbsPolyArcLineListCursor(const velAbsPolyArcLineListCursor&) = delete;
    velAbsPolyArcLineListCursor& operator=(const velAbsPolyArcLineListCursor&) = delete;
    ~velAbsPolyArcLineListCursor() override;

    // A writable contour view (velPolyArcLineAdapter) of the current polyline that shares it; null when
    // undefined. Changes through it are changes of the list's polyline.
    velAbsContourcoPrf get_current() override;
    void create_polyline() override;
    using velPolylineListCursor::create_polyline;
    void add_pos(const velPolylineListIter& src, int i) override;
    void add_interpolated_pos(const velPolylineListIter& src, double t) override;
    void add_span(const velPolylineListIter& src, double t0, double t1) override;
    void remove() override;
    // `other` of this class: its current polyline, the same shared object, moves. Another kind of cursor: the
    // geometry of its current polyline is copied into a new polyline here, then removed from other.
    void move_polyline_after(velPolylineListCursor& other) override;
    // Owns a new empty list; takes over the prototype, the add coincident point type and the tolerance.
    velPolylineListCursor* create_empty() const override;

    // New polylines become of p's storage class; the reading iterator's all_spans_linear() follows whether
    // that class can hold arcs.
    void set_arcline_type(const velAbsPolyArcLine& p);
    // The prototype; null when none is set.
    const velAbsPolyArcLine* get_arcline_type() const { return m_prototype.get(); }

    // The current polyline; null when the index is outside 0 .. size() - 1.
    velAbsPolyArcLine* current_polyarcline();
    const velAbsPolyArcLine* current_polyarcline() const;
    // A new iterator over the whole list, undefined; the caller owns it.
    velAbsPolyArcLineListIter* native_iter() const { return new velAbsPolyArcLineListIter(*m_list); }
    // The list written.
    velAbsPolyArcLinecoDListPrgcoPrgcoDList& list() const { return *m_list; }

    // A whole-span piece shorter than this has no room for an arc.
    static constexpr double arc_piece_tol = velTol::coincident;

protected:
    // Owns `list`.
    velAbsPolyArcLineListCursor(utPtrClaim, velAbsPolyArcLinecoDListPrgcoPrgcoDList* list);

private:
    void init_iterator();
    // A list cursor standing on the current polyline.
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor writer() const;
    velAbsPolyArcLine& current() const { return *m_reader->current_shared(); }

    std::unique_ptr<velAbsPolyArcLinecoDListPrgcoPrgcoDList> m_owned_list; // set when the cursor owns m_list
    velAbsPolyArcLinecoDListPrgcoPrgcoDList* m_list;
    std::unique_ptr<velAbsPolyArcLine> m_prototype;
    velAbsPolyArcLineListIter* m_reader = nullptr; // the base's iterator, owned by the base
};
