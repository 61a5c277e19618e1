#pragma once
// Writes a doubly linked list; see coDList for positions and the head. A cursor is positioned as an iterator
// is, and inserting leaves it on its current node (or at the head). Removing through one cursor leaves other
// iterators and cursors dangling if they stood on the removed node. The list must outlive the cursor.

#include "arcline/platform/coDList.h"

#include <iterator>
#include <list>

template <class T>
class coDListcoIterator;

template <class T>
class coDListcoCursor : public co_detail::coDListWalker<std::list<T>, typename std::list<T>::iterator> {
    using Walker = co_detail::coDListWalker<std::list<T>, typename std::list<T>::iterator>;

public:
    explicit coDListcoCursor(coDList<T>& list) : Walker(list.m_items) {}

    // Stands where the iterator stands (on the same list).
    void become(const coDListcoIterator<T>& it) {
        // The list's erase of an empty range turns the iterator's read-only node into a writable one.
        this->m_node = this->m_list->erase(it.m_node, it.m_node);
        this->m_index = it.m_index;
    }

    // The current element; not at the head.
    T& current() const { return *this->m_node; }
    T& operator*() const { return *this->m_node; }
    T* operator->() const { return &*this->m_node; }

    // Appends after the last element.
    void insert_last(const T& value) { this->m_list->push_back(value); }
    // Inserts after the current node; at the head, before the first element.
    void insert_after(const T& value) {
        if (this->m_index < 0) {
            this->m_list->push_front(value);
        } else {
            this->m_list->insert(std::next(this->m_node), value);
        }
    }
    // Removes the current node and moves to the previous one (the head when it was the first). Answers 0,
    // removing nothing, at the head.
    int remove() {
        if (this->m_index < 0) return 0;
        const auto next = this->m_list->erase(this->m_node);
        if (--this->m_index < 0) {
            this->m_node = this->m_list->end();
        } else {
            this->m_node = std::prev(next);
        }
        return 1;
    }
    // Removes the first element; a cursor that stood on it goes to the head, one further on keeps its node.
    // Answers 0 on an empty list.
    int remove_first() {
        if (this->m_list->empty()) return 0;
        this->m_list->pop_front();
        if (this->m_index == 0) {
            this->reset();
        } else if (this->m_index > 0) {
            --this->m_index;
        }
        return 1;
    }

private:
    friend class coDListcoIterator<T>;
};
