#pragma once
// A paged array: elements live in pages of 2^k elements, element i in page i >> k at slot i & (2^k - 1).
// Pages never move once made, so growing the array costs one page allocation and, now and then, a larger
// table of page pointers, but never a copy of the elements; references to elements stay valid while the
// array grows (append(arr[0]) is safe), until shrink(), clear(), copy() or become() drop them.
//
// Every slot at or beyond size() holds a value-initialised T: pages are made that way and shrink() puts the
// elements it drops back to T(). So elements that come back into the extent (expand(), enter() past the
// end) read as T(), and dropped elements release what they hold at once.
//
// Element order is insertion order. Indices are not checked: reading or writing outside [0, size()) through
// read() or operator[] is undefined, enter() is the way to write past the end.
//
// Instantiations are named after the element type: intcoPageArr is a coPageArr<int>.

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

template <class T>
class coPageArr {
    template <bool Const>
    class basic_iterator;

public:
    using value_type = T;
    using iterator = basic_iterator<false>;
    using const_iterator = basic_iterator<true>;

    // Pages of more than 2^max_page_factor elements are not made; larger page factors are clamped.
    static constexpr int max_page_factor = 24;

    // Pages hold 2^page_factor elements. The page table has room for num_pages pages before it first grows,
    // and then grows by at least `growth` slots at a time: by half its size once that is more, so that a long
    // run of appends to an array of small pages stays linear.
    explicit coPageArr(int page_factor = 2, int num_pages = 5, int growth = 10)
        : m_shift(std::clamp(page_factor, 0, max_page_factor)), m_mask((1 << m_shift) - 1),
          m_growth(std::max(growth, 1)) {
        m_pages.reserve(static_cast<std::size_t>(std::max(num_pages, 0)));
    }
    coPageArr(const coPageArr& other) : coPageArr(other.m_shift, 0, other.m_growth) { copy(other); }
    // The moved-from array is empty, has no pages and keeps its page factor.
    coPageArr(coPageArr&& other) noexcept
        : m_pages(std::exchange(other.m_pages, {})), m_size(std::exchange(other.m_size, 0)),
          m_shift(other.m_shift), m_mask(other.m_mask), m_growth(other.m_growth) {}
    coPageArr& operator=(const coPageArr& other) {
        copy(other);
        return *this;
    }
    coPageArr& operator=(coPageArr&& other) noexcept {
        become(other);
        return *this;
    }
    ~coPageArr() = default;

    int page_factor() const { return m_shift; }
    int size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // Pages made so far (they are kept by clear() and shrink()).
    int num_blocks() const { return static_cast<int>(m_pages.size()); }

    // The hot path: two loads and no branch.
    const T& read(int i) const { return m_pages[static_cast<std::size_t>(i >> m_shift)][i & m_mask]; }
    const T& operator[](int i) const { return read(i); }
    T& operator[](int i) { return m_pages[static_cast<std::size_t>(i >> m_shift)][i & m_mask]; }

    // Makes sure that `page` and every page before it exist, and returns the page's first element.
    T* get_block(int page) {
        if (page >= num_blocks()) make_pages(page + 1);
        return m_pages[static_cast<std::size_t>(page)].get();
    }

    // Element i, after making its page and raising size() to i + 1 when i is at or past the end; elements
    // between the old end and i read as T().
    T& enter(int i) {
        if (i >= m_size) {
            get_block(i >> m_shift);
            m_size = i + 1;
        }
        return (*this)[i];
    }
    void enter(int i, const T& value) { enter(i) = value; }
    void append(const T& value) { enter(m_size) = value; }

    // Makes the pages for n elements; size() is unchanged. Returns 1 (allocation failure throws).
    int reserve(int n) {
        if (n > 0) get_block((n - 1) >> m_shift);
        return 1;
    }
    // Raises size() to n when it is smaller; the new elements read as T().
    void expand(int n) {
        if (n <= m_size) return;
        get_block((n - 1) >> m_shift);
        m_size = n;
    }
    // Lowers size() to n when it is larger; pages are kept.
    void shrink(int n) {
        n = std::max(n, 0);
        if (n >= m_size) return;
        for_runs(*this, n, m_size - n, [](T* run, int len, int) { std::fill_n(run, len, T()); });
        m_size = n;
    }
    void clear() { shrink(0); }

    // Reverses the elements in [0, size()).
    void reverse() {
        using std::swap;
        for (int i = 0, j = m_size - 1; i < j; ++i, --j)
            swap((*this)[i], (*this)[j]);
    }

    // Becomes a copy of `other` with its page factor; this array's growth figure is kept. Only the pages
    // that hold other's elements are copied.
    void copy(const coPageArr& other) {
        if (this == &other) return;
        std::vector<std::unique_ptr<T[]>> pages;
        const int needed = other.pages_for(other.m_size);
        pages.reserve(std::max(m_pages.capacity(), static_cast<std::size_t>(needed)));
        const std::size_t page_len = std::size_t{1} << other.m_shift;
        for (int p = 0; p < needed; ++p) {
            // Whole pages: the tail of the last one is T() in `other` as it must be here.
            auto page = std::make_unique_for_overwrite<T[]>(page_len);
            std::copy_n(other.m_pages[static_cast<std::size_t>(p)].get(), page_len, page.get());
            pages.push_back(std::move(page));
        }
        m_pages = std::move(pages);
        m_size = other.m_size;
        m_shift = other.m_shift;
        m_mask = other.m_mask;
    }

    // Writes src[0 .. n) to elements at, at + 1, ..., growing the array as enter() does. src must not
    // point into this array.
    void copyin(const T* src, int n, int at = 0) {
        if (n <= 0) return;
        expand(at + n);
        for_runs(*this, at, n, [src](T* run, int len, int done) { std::copy_n(src + done, len, run); });
    }
    // Reads elements from, from + 1, ..., from + n - 1 into dst; they must lie within [0, size()).
    void copyout(T* dst, int from, int n) const {
        if (n <= 0) return;
        for_runs(*this, from, n,
                 [dst](const T* run, int len, int done) { std::copy_n(run, len, dst + done); });
    }

    // Takes the contents and page factor of `other`, which is left empty with no pages.
    void become(coPageArr& other) {
        if (this == &other) return;
        m_pages = std::exchange(other.m_pages, {});
        m_size = std::exchange(other.m_size, 0);
        m_shift = other.m_shift;
        m_mask = other.m_mask;
    }

    iterator begin() { return iterator(this, 0); }
    iterator end() { return iterator(this, m_size); }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, m_size); }

private:
    int pages_for(int n) const { return n > 0 ? ((n - 1) >> m_shift) + 1 : 0; }

    void make_pages(int count) {
        const auto wanted = static_cast<std::size_t>(count);
        if (wanted > m_pages.capacity()) {
            const std::size_t cap = m_pages.capacity();
            m_pages.reserve(std::max(wanted, cap + std::max(static_cast<std::size_t>(m_growth), cap / 2)));
        }
        const std::size_t page_len = std::size_t{1} << m_shift;
        while (m_pages.size() < wanted)
            m_pages.push_back(std::make_unique<T[]>(page_len));
    }

    // Calls f(first element of run, run length, elements of the range before the run) for the runs of
    // consecutive slots that make up elements [from, from + n), one run per page touched.
    template <class Self, class F>
    static void for_runs(Self& self, int from, int n, F f) {
        const int page_len = self.m_mask + 1;
        for (int done = 0; done < n;) {
            const int i = from + done;
            const int len = std::min(n - done, page_len - (i & self.m_mask));
            f(&self[i], len, done);
            done += len;
        }
    }

    std::vector<std::unique_ptr<T[]>> m_pages;
    int m_size = 0;
    int m_shift;
    int m_mask;
    int m_growth;
};

// A forward iterator by index, for range-for and the standard algorithms.
template <class T>
template <bool Const>
class coPageArr<T>::basic_iterator {
    using Arr = std::conditional_t<Const, const coPageArr, coPageArr>;

public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = std::conditional_t<Const, const T*, T*>;
    using reference = std::conditional_t<Const, const T&, T&>;

    basic_iterator() = default;
    basic_iterator(Arr* arr, int index) : m_arr(arr), m_index(index) {}

    reference operator*() const { return (*m_arr)[m_index]; }
    pointer operator->() const { return &(*m_arr)[m_index]; }
    basic_iterator& operator++() {
        ++m_index;
        return *this;
    }
    basic_iterator operator++(int) {
        basic_iterator before = *this;
        ++m_index;
        return before;
    }
    bool operator==(const basic_iterator& other) const { return m_index == other.m_index; }

private:
    Arr* m_arr = nullptr;
    int m_index = 0;
};

using intcoPageArr = coPageArr<int>;
using doublecoPageArr = coPageArr<double>;
