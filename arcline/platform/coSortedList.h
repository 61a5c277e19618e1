#pragma once
// Values kept in ascending order in one contiguous block, read by position. Equal values are all kept, a
// new one after those already there. Adding and removing move the values after the place, so this suits
// short lists and lists read far more often than changed.
// Instantiations are named after the element type: doublecoSortedList is a coSortedList<double>.

#include <algorithm>
#include <cstddef>
#include <vector>

template <class T>
class coSortedList {
public:
    // Inserts `value` after every value not greater than it and returns its position.
    int add(const T& value) {
        const auto at = std::upper_bound(m_items.begin(), m_items.end(), value) - m_items.begin();
        m_items.insert(m_items.begin() + at, value);
        return static_cast<int>(at);
    }
    void remove_at(int i) { m_items.erase(m_items.begin() + i); }
    void clear() { m_items.clear(); }

    // Position of the first value that is not less than `value`; size() when there is none.
    int find_first_not_less(const T& value) const {
        return static_cast<int>(std::lower_bound(m_items.begin(), m_items.end(), value) - m_items.begin());
    }

    int size() const { return static_cast<int>(m_items.size()); }
    bool empty() const { return m_items.empty(); }
    const T& operator[](int i) const { return m_items[static_cast<std::size_t>(i)]; }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<T> m_items;
};

using doublecoSortedList = coSortedList<double>;
