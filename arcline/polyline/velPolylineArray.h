#pragma once
// The paged element array behind the storage classes of poly-arc-lines, with the growth rule they share:
// pages of 2^k elements, k raised (and the elements in use copied into a new array) as the line grows, up
// to pages of 1024 elements. The array is held through a shared pointer so that a straight-only line can
// hand it out as its own polygonization; it is copied before a write while anyone else holds it, so holders
// keep what they were given.

#include "arcline/platform/coPageArr.h"
#include "arcline/platform/coPrf.h"

#include <memory>
#include <vector>

template <class T>
class velPolylineArray {
public:
    using array_type = coPageArr<T>;

    // Growth figure of the page table, as every polyline container is made with.
    static constexpr int growth = 10;

    // The array itself is made at the first write (or reserve): an empty line holds no pages, no page
    // table and no shared block, only these few words.
    explicit velPolylineArray(int page_factor = 2, int num_pages = 5)
        : m_factor(page_factor), m_num_pages(num_pages) {}
    // A deep copy with the same page factor.
    velPolylineArray(const velPolylineArray& other)
        : m_array(other.m_array ? std::make_shared<array_type>(*other.m_array) : nullptr),
          m_factor(other.m_factor), m_num_pages(other.m_num_pages) {}
    velPolylineArray& operator=(const velPolylineArray&) = delete;

    // A fresh empty array.
    void reset(int page_factor = 2, int num_pages = 5) {
        m_array.reset();
        m_factor = page_factor;
        m_num_pages = num_pages;
    }

    int page_factor() const { return m_array ? m_array->page_factor() : m_factor; }
    int size() const { return m_array ? m_array->size() : 0; }

    // Called before an append: when the line needs pages of factor `needed`, larger than the current one,
    // the first `in_use` elements move to a new array with that factor.
    void grow(int needed, int in_use) {
        if (needed <= page_factor()) return;
        if (!m_array) {
            m_factor = needed;
            return;
        }
        auto bigger = std::make_shared<array_type>(needed, 5, growth);
        const int n = std::min(in_use, m_array->size());
        if (n > 0) {
            std::vector<T> run(static_cast<std::size_t>(n));
            m_array->copyout(run.data(), 0, n);
            bigger->copyin(run.data(), n, 0);
        }
        m_array = std::move(bigger);
    }

    // Raises the page factor to `factor` when it is larger, then makes the blocks up to element `last`
    // exist. Returns the container's answer.
    int reserve(int factor, int last) {
        grow(factor, size());
        unshare();
        return m_array->reserve(last + 1);
    }

    // Element i; a slot never written, or outside the array (i < 0), reads as a new block holds it (a
    // value-initialised element).
    T read(int i) const { return m_array && i >= 0 && i < m_array->size() ? m_array->read(i) : T(); }
    // Writes element i, raising the extent when i lies beyond it; nothing for i < 0.
    void write(int i, const T& value) {
        if (i < 0) return;
        unshare();
        m_array->enter(i, value);
    }

    // The shared array (made empty when there is none yet).
    const coPrf<array_type>& shared() const {
        make();
        return m_array;
    }
    const array_type& array() const {
        make();
        return *m_array;
    }
    array_type& array() {
        unshare();
        return *m_array;
    }

private:
    void make() const {
        if (!m_array) m_array = std::make_shared<array_type>(m_factor, m_num_pages, growth);
    }
    // Makes the array, or copies it while anyone else holds it.
    void unshare() {
        make();
        if (m_array.use_count() > 1) m_array = std::make_shared<array_type>(*m_array);
    }

    mutable coPrf<array_type> m_array; // null until first needed
    int m_factor;                      // page factor and page table size of the array to make
    int m_num_pages;
};
