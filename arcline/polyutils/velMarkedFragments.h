#pragma once
// Fragments (see velAbstractFragments) with an int mark on every start and every end: what made the end (a
// crossing, a trimming, a polyline end). Merges and filters keep the marks of the ends they keep; an end
// added without a mark gets no_mark.

#include "arcline/polyutils/velAbstractFragments.h"

#include <climits>

class velMarkedFragments : public velAbstractFragments {
public:
    static constexpr int no_mark = INT_MIN + 1;

    const utTypeID& ut_dynamic_type() const override;
    int ut_is_kind_of(const utTypeID& t) const override;
    static const utTypeID& ut_static_type();
    static const velMarkedFragments* ut_dynamic_cast(const velAbstractFragments* p);
    static velMarkedFragments* ut_dynamic_cast(velAbstractFragments* p);

    std::unique_ptr<velAbstractFragments> clone() const override {
        return std::make_unique<velMarkedFragments>(*this);
    }
    void reset() override;

    // Fragment k's start (end) with its mark; k = num_fragments() adds a fragment (its other end equal to
    // the value until set). Keeping the fragments ascending and disjoint is the caller's part.
    void set_start(int k, double value, int mark);
    void set_end(int k, double value, int mark);
    int start_mark(int k) const { return m_marks[2 * static_cast<std::size_t>(k)]; }
    int end_mark(int k) const { return m_marks[2 * static_cast<std::size_t>(k) + 1]; }
    // Fragment k's start (end) becomes fragment j's start (end) of `other`, with its mark when other is
    // marked too.
    void copy_start_from_fragment(int k, const velAbstractFragments& other, int j);
    void copy_end_from_fragment(int k, const velAbstractFragments& other, int j);

protected:
    void append_from(const velAbstractFragments& a, int ia, const velAbstractFragments& b, int ib) override;

private:
    // Keeps one mark per stored value.
    void sync_marks() { m_marks.resize(m_values.size(), no_mark); }

    std::vector<int> m_marks;
};
