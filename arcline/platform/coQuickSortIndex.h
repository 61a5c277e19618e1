#pragma once
// The permutation that sorts a key array ascending: order[0] is the index of the smallest key. The sort is
// stable (equal keys keep the order of their indices) and the keys are not moved. Floating-point NaN keys
// are placed after every number.
// Instantiations are named after the key type: doublecoQuickSortIndex sorts doubles.

#include "arcline/platform/coPageArr.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <type_traits>
#include <vector>

template <class K>
class coQuickSortIndex {
public:
    coQuickSortIndex() = default;
    coQuickSortIndex(const K* keys, int n) { sort(keys, n); }
    explicit coQuickSortIndex(const std::vector<K>& keys) { sort(keys); }
    explicit coQuickSortIndex(const coPageArr<K>& keys) { sort(keys); }

    // Replaces the permutation by the one that sorts keys[0 .. n).
    void sort(const K* keys, int n) {
        sort_by(n, [keys](int i) -> const K& { return keys[i]; });
    }
    void sort(const std::vector<K>& keys) { sort(keys.data(), static_cast<int>(keys.size())); }
    void sort(const coPageArr<K>& keys) {
        sort_by(keys.size(), [&keys](int i) -> const K& { return keys.read(i); });
    }

    int size() const { return static_cast<int>(m_order.size()); }
    // Index of the key that sorts into place i.
    int operator[](int i) const { return m_order[static_cast<std::size_t>(i)]; }
    const std::vector<int>& indices() const { return m_order; }

private:
    static bool key_less(const K& a, const K& b) {
        if constexpr (std::is_floating_point_v<K>) {
            // NaN compares false with everything, which breaks the sort's ordering; it goes last instead.
            return !std::isnan(a) && (std::isnan(b) || a < b);
        } else {
            return a < b;
        }
    }

    template <class Key>
    void sort_by(int n, Key key) {
        m_order.resize(static_cast<std::size_t>(std::max(n, 0)));
        std::iota(m_order.begin(), m_order.end(), 0);
        // Ties broken by index: stable without the buffer of a stable sort.
        std::sort(m_order.begin(), m_order.end(), [&key](int a, int b) {
            const K& ka = key(a);
            const K& kb = key(b);
            if (key_less(ka, kb)) return true;
            if (key_less(kb, ka)) return false;
            return a < b;
        });
    }

    std::vector<int> m_order;
};

using doublecoQuickSortIndex = coQuickSortIndex<double>;
using intcoQuickSortIndex = coQuickSortIndex<int>;
