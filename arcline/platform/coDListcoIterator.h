#pragma once
// Reads a doubly linked list; see coDList for positions and the head. Starts at the head:
//     coDListcoIterator<T> it(list);
//     while (++it) use(*it);
// The list must outlive the iterator.

#include "arcline/platform/coDList.h"
#include "arcline/platform/coDListcoCursor.h"

#include <list>

template <class T>
class coDListcoIterator
    : public co_detail::coDListWalker<const std::list<T>, typename std::list<T>::const_iterator> {
    using Walker = co_detail::coDListWalker<const std::list<T>, typename std::list<T>::const_iterator>;

public:
    explicit coDListcoIterator(const coDList<T>& list) : Walker(list.m_items) {}
    // The iterator would outlive a temporary list.
    explicit coDListcoIterator(const coDList<T>&&) = delete;

    // Stands where the cursor stands (on the same list).
    void become(const coDListcoCursor<T>& cursor) {
        this->m_node = cursor.m_node;
        this->m_index = cursor.m_index;
    }

    // The current element; not at the head.
    const T& current() const { return *this->m_node; }
    const T& operator*() const { return *this->m_node; }
    const T* operator->() const { return &*this->m_node; }

private:
    friend class coDListcoCursor<T>;
};
