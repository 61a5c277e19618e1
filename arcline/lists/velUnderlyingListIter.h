#pragma once
// The iterator that a decorating view wraps. It is either a clone that the view owns (made from a const
// reference, the usual case) or an iterator that the view only uses (utPtrWrap), which must then outlive
// the view. Copying always makes an owned clone at the same position: a copied view moves independently of
// the view it was copied from, whatever that one held.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/utPtrWrap.h"

#include <memory>
#include <utility>

class velUnderlyingListIter {
public:
    // Owns a clone of `it`, made with create_new() at its position.
    explicit velUnderlyingListIter(const velPolylineListIter& it)
        : m_owned(it.create_new()), m_it(m_owned.get()) {}
    // Uses `it` without owning it.
    velUnderlyingListIter(velPolylineListIter& it, utPtrWrap) : m_it(&it) {}
    velUnderlyingListIter(const velUnderlyingListIter& other)
        : m_owned(other.m_it->create_new()), m_it(m_owned.get()) {}
    velUnderlyingListIter& operator=(const velUnderlyingListIter& other) {
        if (this != &other) {
            velUnderlyingListIter copy(other);
            std::swap(m_owned, copy.m_owned);
            std::swap(m_it, copy.m_it);
        }
        return *this;
    }
    ~velUnderlyingListIter() = default;

    velPolylineListIter& operator*() { return *m_it; }
    const velPolylineListIter& operator*() const { return *m_it; }
    velPolylineListIter* operator->() { return m_it; }
    const velPolylineListIter* operator->() const { return m_it; }
    // Nonzero when the iterator is a clone owned here.
    int owned() const { return m_owned != nullptr; }

private:
    std::unique_ptr<velPolylineListIter> m_owned; // set when owned; m_it then points at it
    velPolylineListIter* m_it;
};
