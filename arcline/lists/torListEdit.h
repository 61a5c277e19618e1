#pragma once
// The list edits that the curve-list cursors share. Each cursor reads back through an iterator over the same
// coDList; the cursor's current polyline is element index() of the list. Edits go through a coDListcoCursor
// placed at that index, and the reading iterator is put back on its index after a removal, since the node
// it stood on is gone.

#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/platform/coDList.h"
#include "arcline/platform/coDListcoCursor.h"

namespace tor_list_edit {

// Inserts `value` after the cursor's current element, at the front when the cursor is undefined.
template <class T>
void insert_after_current(coDList<T>& list, const velPolylineListCursor& cursor, const T& value) {
    coDListcoCursor<T> at(list);
    at.set_index(cursor.index());
    at.insert_after(value);
}

// The cursor's current element; it must have one.
template <class T>
T current(coDList<T>& list, const velPolylineListCursor& cursor) {
    coDListcoCursor<T> at(list);
    at.set_index(cursor.index());
    return at.current();
}

// Removes the cursor's current element; the one that followed becomes current at the same index, or the
// cursor becomes undefined when it removed the last. Nothing when undefined.
template <class T>
void remove_current(coDList<T>& list, velPolylineListCursor& cursor) {
    const int k = cursor.index();
    if (k < 0) return;
    coDListcoCursor<T> at(list);
    at.set_index(k);
    at.remove();
    cursor.reset(); // the reading iterator's node is gone: leave it without reading it
    if (k < cursor.size()) cursor.set_index(k);
}

// Moves `from`'s current element (the same shared object) after `to`'s current element, which stays
// current; `from` then stands as after remove_current.
template <class T>
void move_after(coDList<T>& to_list, const velPolylineListCursor& to, coDList<T>& from_list,
                velPolylineListCursor& from) {
    if (from.index() < 0) return;
    insert_after_current(to_list, to, current(from_list, from));
    remove_current(from_list, from);
}

} // namespace tor_list_edit
