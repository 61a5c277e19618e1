#pragma once
// The writing side of every list of polylines. Algorithms write their results through a cursor and read back
// through its iterator(); the cursor's current polyline is that iterator's current polyline.
//
// Writing one polyline:
//     cursor.create_polyline();        // inserted after the current polyline (at the front when undefined)
//     ++cursor;                        // the new polyline becomes current
//     cursor.add_pos(src, 0);          // first point: a position, or add_interpolated_pos(src, t)
//     cursor.add_pos(src, i);          // a straight span to position i of src, or
//     cursor.add_span(src, t0, t1);    // the piece t0..t1 of one span of src (reversed when t0 > t1)
// `src` must stand on the polyline being copied; its points are read at the time of the call. A cursor filled
// from empty keeps the order of creation; to append to a filled cursor, set_index(size() - 1) first.
//
// Calls outside the contract (add_ calls with no current polyline, an index outside the polyline) are not
// checked.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/utPtrWrap.h"

#include <memory>
#include <ostream>

class velAbsPolyArcLine;

// What add_span writes before the end point of a piece.
enum velAddCoincidentPointType {
    // Nothing: the producer has written the start already.
    vel_add_no_start_point = 0,
    // The start point, unless it coincides with the polyline's last position within the cursor's
    // coincidence check tolerance.
    vel_add_start_point_if_apart = 1
};

class velPolylineListCursor {
public:
    // The current polyline as a contour; null where the cursor has no contour view.
    virtual velAbsContourcoPrf get_current();
    // Same as create_polyline(); the argument is ignored.
    virtual void create_polyline(int size_hint);
    // Inserts a new empty polyline after the current one, at the front when the cursor is undefined. The new
    // polyline does not become current.
    virtual void create_polyline() = 0;
    // Appends position i of src's current polyline to the current polyline.
    virtual void add_pos(const velPolylineListIter& src, int i) = 0;
    // Appends the point at parameter t of src's current polyline.
    virtual void add_interpolated_pos(const velPolylineListIter& src, double t) = 0;
    // Appends the piece t0..t1 of one span of src's current polyline. This default writes straight pieces
    // only: the start point as the add coincident point type says, then the point at t1. Cursors whose
    // storage holds arcs write arcs.
    virtual void add_span(const velPolylineListIter& src, double t0, double t1);
    // Deletes the current polyline; the one that followed becomes current at the same index, or the cursor
    // becomes undefined when it was the last.
    virtual void remove() = 0;
    // Takes other's current polyline out of other (as other.remove() would) and inserts it after this
    // cursor's current polyline, which stays current.
    virtual void move_polyline_after(velPolylineListCursor& other) = 0;
    // A new empty cursor of the same storage kind; the caller owns it.
    virtual velPolylineListCursor* create_empty() const = 0;
    // Removes every polyline.
    virtual void clear();
    virtual ~velPolylineListCursor();

    // Reading back, through the iterator.
    int operator++() { return ++*m_iterator; }
    void reset() { m_iterator->reset(); }
    int size() const { return m_iterator->size(); }
    int index() const { return m_iterator->index(); }
    void set_index(int k) { m_iterator->set_index(k); }
    int num_pos() const { return m_iterator->num_pos(); }
    giPoint3 get_pos(int i) const { return m_iterator->get_pos(i); }
    giPoint3 get_mid_pos(int i) const { return m_iterator->get_mid_pos(i); }
    double get_bulge(int i) const { return m_iterator->get_bulge(i); }
    int span_linear(int i) const { return m_iterator->span_linear(i); }
    int all_spans_linear() const { return m_iterator->all_spans_linear(); }
    giPoint3 get_interpolated_pos(double t) const { return m_iterator->get_interpolated_pos(t); }
    giBox3 box() const { return m_iterator->box(vel_3d_box); }
    velPolylineListIter& iterator() const { return *m_iterator; }

    // Moves other's current polyline to the end of this cursor. This cursor keeps its current polyline, or
    // stands on polyline 0 when it was undefined.
    void append(velPolylineListCursor& other);
    // A new empty polyline after the last one, made current (create_polyline inserts after the current one
    // and leaves the cursor where it was).
    void create_last_polyline();

    void set_add_coincident_point_type(velAddCoincidentPointType type) { m_add_coincident_point_type = type; }
    velAddCoincidentPointType add_coincident_point_type() const { return m_add_coincident_point_type; }
    void set_coincidence_check_tol(double tol) { m_coincidence_check_tol = tol; }
    double coincidence_check_tol() const { return m_coincidence_check_tol; }

protected:
    // No iterator yet; the derived class sets one, which the cursor then owns.
    velPolylineListCursor() = default;
    // Reads through `it` without owning it.
    velPolylineListCursor(utPtrWrap, velPolylineListIter* it) : m_iterator(it) {}
    // Reads through a clone of other's iterator (owned) with other's two settings.
    velPolylineListCursor(const velPolylineListCursor& other);
    velPolylineListCursor& operator=(const velPolylineListCursor& other);

    // Installs the reading iterator, deleting an owned predecessor.
    void set_iterator(velPolylineListIter* it, int owns);
    // For add_span: appends the point at t0 first when the add coincident point type asks for it.
    void add_start_point_if_apart(const velPolylineListIter& src, double t0);
    // Appends src's current polyline to `out` position by position, arcs by their own mid points (as
    // straight spans when out cannot hold arcs): the move between cursors of different storage kinds.
    static void copy_current_exactly(const velPolylineListIter& src, velAbsPolyArcLine& out);

private:
    std::unique_ptr<velPolylineListIter> m_owned_iterator; // set when the cursor owns m_iterator
    velPolylineListIter* m_iterator = nullptr;
    velAddCoincidentPointType m_add_coincident_point_type = vel_add_no_start_point;
    double m_coincidence_check_tol = 0.0;
};

// Writes "velPolylineListCursor {", the iterator as velPolylineListIter writes it, and "}", one per line.
utOstream& operator<<(utOstream& os, const velPolylineListCursor& cursor);
std::ostream& operator<<(std::ostream& os, const velPolylineListCursor& cursor);
