#pragma once
// An array whose size is fixed when it is made; its elements start value-initialised (0 for numbers).
// Instantiations are named after the element type: utBoolcoFixedArr holds one flag per item.

#include "arcline/platform/utBool.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <vector>

template <class T>
class coFixedArr {
    // std::vector<bool> hands out proxies, not references; flags are kept as utBool (an int).
    static_assert(!std::is_same_v<T, bool>, "use coFixedArr<utBool> for flags");

public:
    explicit coFixedArr(int n = 0) : m_items(static_cast<std::size_t>(std::max(n, 0))) {}
    coFixedArr(int n, const T& value) : m_items(static_cast<std::size_t>(std::max(n, 0)), value) {}

    int size() const { return static_cast<int>(m_items.size()); }
    const T& operator[](int i) const { return m_items[static_cast<std::size_t>(i)]; }
    T& operator[](int i) { return m_items[static_cast<std::size_t>(i)]; }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<T> m_items;
};

using utBoolcoFixedArr = coFixedArr<utBool>;
