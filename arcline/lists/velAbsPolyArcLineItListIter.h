#pragma once
// Reads any forward sequence of polylines given as an itIterator: of the polylines themselves, or of plain,
// shared or unique pointers to them (each dereferenced as it is read). The sequence must outlive the
// iterator. Moving forward steps the sequence; moving backward starts it again from the beginning. The size
// is counted once, by walking a clone, and then kept.

#include "arcline/lists/velAbsPolyArcLineListIterBase.h"
#include "arcline/platform/itIterator.h"

#include <memory>

class velAbsPolyArcLineItListIter : public velAbsPolyArcLineListIterBase {
public:
    explicit velAbsPolyArcLineItListIter(const itIterator<velAbsPolyArcLine>& polylines);
    explicit velAbsPolyArcLineItListIter(const itIterator<velAbsPolyArcLine*>& polylines);
    explicit velAbsPolyArcLineItListIter(const itIterator<const velAbsPolyArcLine*>& polylines);
    explicit velAbsPolyArcLineItListIter(const itIterator<std::shared_ptr<velAbsPolyArcLine>>& polylines);
    explicit velAbsPolyArcLineItListIter(const itIterator<std::unique_ptr<velAbsPolyArcLine>>& polylines);
    velAbsPolyArcLineItListIter(const velAbsPolyArcLineItListIter& other);
    velAbsPolyArcLineItListIter& operator=(const velAbsPolyArcLineItListIter& other);

    int size() const override;
    void reset() override;
    int operator++() override;
    int index() const override { return m_index; }
    // Forward: k - index() steps; backward: from the beginning, k + 1 steps. -1 makes it undefined.
    void set_index(int k) override;
    velAbsPolyArcLineItListIter* create_new() const override {
        return new velAbsPolyArcLineItListIter(*this);
    }

private:
    std::unique_ptr<itIterator<velAbsPolyArcLine>> m_sequence;
    int m_index = -1;
    mutable int m_size = -1; // -1 until counted
};
