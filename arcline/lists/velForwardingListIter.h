#pragma once
// The common part of the decorating views that wrap one iterator and present its list polyline for
// polyline: the list-level slots (size, reset, ++, index, set_index) and the position count forward to the
// wrapped iterator; a view overrides what it changes. It has no run-time identity of its own.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/lists/velUnderlyingListIter.h"

class velForwardingListIter : public velPolylineListIter {
public:
    int size() const override { return m_underlying->size(); }
    void reset() override { m_underlying->reset(); }
    int operator++() override { return ++*m_underlying; }
    int num_pos() const override { return m_underlying->num_pos(); }
    int index() const override { return m_underlying->index(); }
    void set_index(int k) override { m_underlying->set_index(k); }

    velPolylineListIter& underlying_iterator() { return *m_underlying; }
    const velPolylineListIter& underlying_iterator() const { return *m_underlying; }

protected:
    // Owns a clone of `underlying`.
    explicit velForwardingListIter(const velPolylineListIter& underlying) : m_underlying(underlying) {}
    velForwardingListIter(const velForwardingListIter&) = default;
    velForwardingListIter& operator=(const velForwardingListIter&) = default;

    velUnderlyingListIter m_underlying;
};
