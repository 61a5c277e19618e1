#include "arcline/polyutils/velAbstractFragments.h"

#include <algorithm>
#include <memory>

const utTypeID& velAbstractFragments::ut_static_type() {
    static const utTypeID id("velAbstractFragments");
    return id;
}

namespace {
[[maybe_unused]] const utTypeID& type_id_at_load = velAbstractFragments::ut_static_type();
} // namespace

const utTypeID& velAbstractFragments::ut_dynamic_type() const {
    return ut_static_type();
}

int velAbstractFragments::ut_is_kind_of(const utTypeID& t) const {
    return t == ut_static_type();
}

void velAbstractFragments::append(double s, double e) {
    if (!m_values.empty() && s <= m_values.back()) {
        m_values.back() = std::max(m_values.back(), e);
        return;
    }
    m_values.push_back(s);
    m_values.push_back(e);
}

int velAbstractFragments::contains(double v) const {
    // Ends are ascending: the first end at least v by binary search over the odd positions.
    int lo = 0, hi = num_fragments();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (end(mid) < v)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < num_fragments() && v >= start(lo);
}

void velAbstractFragments::append_from(const velAbstractFragments& a, int ia, const velAbstractFragments& b,
                                       int ib) {
    append(a.start(ia), b.end(ib));
}

int velAbstractFragments::next_fragment(const velAbstractFragments& a, int pa, const velAbstractFragments& b,
                                        int pb) {
    const int na = 2 * a.num_fragments(), nb = 2 * b.num_fragments();
    if (pa >= na) return pb >= nb ? -1 : 1;
    if (pb >= nb) return 0;
    const double va = a.m_values[static_cast<std::size_t>(pa)], vb = b.m_values[static_cast<std::size_t>(pb)];
    if (va != vb) return va < vb ? 0 : 1;
    // A start (even position) before an end, so that closed fragments that touch meet.
    return (pa % 2 == 0) ? 0 : ((pb % 2 == 0) ? 1 : 0);
}

void velAbstractFragments::merge_fragments_engine(const velAbstractFragments& a,
                                                  const velAbstractFragments& b, int depth) {
    velAbstractFragments* result = this;
    // The result may be one of the inputs: work on copies (of the same class, marks and all) then.
    const velAbstractFragments* pa = &a;
    const velAbstractFragments* pb = &b;
    std::unique_ptr<velAbstractFragments> copy;
    if (pa == this || pb == this) {
        copy = clone();
        if (pa == this) pa = copy.get();
        if (pb == this) pb = copy.get();
    }
    result->reset();
    int ia = 0, ib = 0, covered = 0;
    const velAbstractFragments* open_set = nullptr;
    int open_index = 0;
    for (;;) {
        const int which = next_fragment(*pa, ia, *pb, ib);
        if (which < 0) break;
        const velAbstractFragments& set = which == 0 ? *pa : *pb;
        int& pos = which == 0 ? ia : ib;
        const bool is_start = pos % 2 == 0;
        const int fragment = pos / 2;
        ++pos;
        if (is_start) {
            if (++covered == depth) {
                open_set = &set;
                open_index = fragment;
            }
        } else {
            if (covered-- == depth) result->append_from(*open_set, open_index, set, fragment);
        }
    }
}

void velAbstractFragments::merge_fragments_or(const velAbstractFragments& a, const velAbstractFragments& b) {
    merge_fragments_engine(a, b, 1);
}

void velAbstractFragments::merge_fragments_and(const velAbstractFragments& a, const velAbstractFragments& b) {
    merge_fragments_engine(a, b, 2);
}

void velAbstractFragments::remove_short_fragments(double length, velAbstractFragments& out,
                                                  int keep_equal) const {
    const std::unique_ptr<velAbstractFragments> copy = clone();
    const velAbstractFragments& src = *copy;
    out.reset();
    for (int k = 0; k < src.num_fragments(); ++k) {
        const double len = src.end(k) - src.start(k);
        if (len > length || (keep_equal && len == length)) out.append_from(src, k, src, k);
    }
}

void velAbstractFragments::remove_short_gaps(double length, velAbstractFragments& out) const {
    const std::unique_ptr<velAbstractFragments> copy = clone();
    const velAbstractFragments& src = *copy;
    out.reset();
    int first = 0;
    for (int k = 0; k < src.num_fragments(); ++k) {
        const bool last = k + 1 == src.num_fragments();
        if (last || src.start(k + 1) - src.end(k) >= length) {
            out.append_from(src, first, src, k);
            first = k + 1;
        }
    }
}
