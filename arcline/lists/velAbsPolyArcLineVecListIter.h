#pragma once
// Reads a vector of owned polylines by index; set_index costs nothing. The vector must outlive the iterator
// and is not owned; clones share it.

#include "arcline/lists/velAbsPolyArcLineListIterBase.h"

#include <memory>
#include <vector>

using velAbsPolyArcLineVec = std::vector<std::unique_ptr<velAbsPolyArcLine>>;

class velAbsPolyArcLineVecListIter : public velAbsPolyArcLineListIterBase {
public:
    explicit velAbsPolyArcLineVecListIter(const velAbsPolyArcLineVec* polylines) : m_polylines(polylines) {}
    velAbsPolyArcLineVecListIter(const velAbsPolyArcLineVecListIter&) = default;
    velAbsPolyArcLineVecListIter& operator=(const velAbsPolyArcLineVecListIter&) = default;

    int size() const override { return static_cast<int>(m_polylines->size()); }
    void reset() override { set_index(-1); }
    int operator++() override {
        set_index(m_index + 1 < size() ? m_index + 1 : -1);
        return m_index >= 0;
    }
    int index() const override { return m_index; }
    // Stores k without a check; -1 makes the iterator undefined.
    void set_index(int k) override {
        m_index = k;
        m_current = k >= 0 && k < size() ? (*m_polylines)[static_cast<std::size_t>(k)].get() : nullptr;
    }
    velAbsPolyArcLineVecListIter* create_new() const override {
        return new velAbsPolyArcLineVecListIter(*this);
    }

private:
    const velAbsPolyArcLineVec* m_polylines;
    int m_index = -1;
};
