#pragma once
// Reads a paged array from its first element to its last, in insertion order:
//     for (coPageArrcoIterator<T> it(arr); it; ++it) use(*it);
// The iterator holds a pointer to the array, which must outlive it; it sees elements appended meanwhile.

#include "arcline/platform/coPageArr.h"

template <class T>
class coPageArrcoIterator {
public:
    explicit coPageArrcoIterator(const coPageArr<T>& arr) : m_arr(&arr) {}
    // The iterator would outlive a temporary array.
    explicit coPageArrcoIterator(const coPageArr<T>&&) = delete;

    // Back to the first element.
    void reset() { m_index = 0; }
    coPageArrcoIterator& operator++() {
        ++m_index;
        return *this;
    }

    // There is a current element.
    bool valid() const { return m_index < m_arr->size(); }
    explicit operator bool() const { return valid(); }

    // The current element; only while valid().
    const T& operator*() const { return m_arr->read(m_index); }
    const T* operator->() const { return &m_arr->read(m_index); }
    int index() const { return m_index; }

private:
    const coPageArr<T>* m_arr;
    int m_index = 0;
};
