#pragma once
// Writes a vector of owned polylines and reads it back through a velAbsPolyArcLineVecListIter. Spans are
// written straight (the base add_span): this cursor is the plain collector of point polylines; arcs of a
// source come out as their end points. New polylines take the storage class of the vector's first polyline,
// velPolyArcLineDouble when the vector is empty.
//
// Ownership: the public constructor writes a vector that the caller owns; create_empty() makes a cursor that
// owns its vector and deletes it with every polyline in it.

#include "arcline/lists/velAbsPolyArcLineVecListIter.h"
#include "arcline/lists/velPolylineListCursor.h"

#include <memory>

class velAbsPolyArcLineVecListCursor : public velPolylineListCursor {
public:
    explicit velAbsPolyArcLineVecListCursor(velAbsPolyArcLineVec* polylines);
    velAbsPolyArcLineVecListCursor(const velAbsPolyArcLineVecListCursor&) = delete;
    velAbsPolyArcLineVecListCursor& operator=(const velAbsPolyArcLineVecListCursor&) = delete;
    ~velAbsPolyArcLineVecListCursor() override;

    void create_polyline() override;
    using velPolylineListCursor::create_polyline;
    void add_pos(const velPolylineListIter& src, int i) override;
    void add_interpolated_pos(const velPolylineListIter& src, double t) override;
    void remove() override;
    // `other` of this class: ownership of its current polyline moves here. Another kind of cursor: the
    // geometry of its current polyline is copied into a new polyline here, then removed from other.
    void move_polyline_after(velPolylineListCursor& other) override;
    // Owns a new empty vector; default settings.
    velPolylineListCursor* create_empty() const override;
    void clear() override;

    // The current polyline. An index outside the vector throws std::out_of_range("invalid vector<T>
    // subscript").
    velAbsPolyArcLine& current_polyarcline() const;
    velAbsPolyArcLineVec& polylines() const { return *m_polylines; }

private:
    explicit velAbsPolyArcLineVecListCursor(std::unique_ptr<velAbsPolyArcLineVec> owned);
    void init_iterator();

    std::unique_ptr<velAbsPolyArcLineVec> m_owned;
    velAbsPolyArcLineVec* m_polylines;
    velAbsPolyArcLineVecListIter* m_reader = nullptr; // the base's iterator, owned by the base
};
