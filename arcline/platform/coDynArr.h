#pragma once
// A dynamic array: one contiguous block that grows as needed. New elements are value-initialised. Unlike the
// paged array, growing may move the elements, so references do not survive resize() or expand().
// Instantiations are named after the element type: intcoDynArr is a coDynArr<int>.

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

template <class T>
class coDynArr {
    // std::vector<bool> hands out proxies, not references; flags are kept as utBool (an int).
    static_assert(!std::is_same_v<T, bool>, "use coDynArr<utBool> for flags");

public:
    coDynArr() = default;
    explicit coDynArr(int n) : m_items(static_cast<std::size_t>(std::max(n, 0))) {}

    int size() const { return static_cast<int>(m_items.size()); }
    bool empty() const { return m_items.empty(); }

    // Exactly n elements: the first min(n, size()) are kept, any new ones are T().
    void resize(int n) { m_items.resize(static_cast<std::size_t>(std::max(n, 0))); }
    // At least n elements; an array that is already long enough is left alone.
    void expand(int n) {
        if (n > size()) resize(n);
    }
    void clear() { m_items.clear(); }
    // Takes the contents of `other`, which is left empty.
    void become(coDynArr& other) {
        if (this != &other) m_items = std::exchange(other.m_items, {});
    }
    void append(const T& value) { m_items.push_back(value); }

    const T& operator[](int i) const { return m_items[static_cast<std::size_t>(i)]; }
    T& operator[](int i) { return m_items[static_cast<std::size_t>(i)]; }
    T* data() { return m_items.data(); }
    const T* data() const { return m_items.data(); }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<T> m_items;
};

using intcoDynArr = coDynArr<int>;
using doublecoDynArr = coDynArr<double>;
