#pragma once
// An ordered set of distinct values; iteration visits them in ascending order.
// Instantiations are named after the element type: intcoSet is a coSet<int>.

#include <set>

template <class T>
class coSet {
public:
    // True when `value` was not in the set before.
    bool add(const T& value) { return m_items.insert(value).second; }
    // True when `value` was in the set.
    bool remove(const T& value) { return m_items.erase(value) != 0; }
    bool contains(const T& value) const { return m_items.find(value) != m_items.end(); }

    int size() const { return static_cast<int>(m_items.size()); }
    bool empty() const { return m_items.empty(); }
    void clear() { m_items.clear(); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::set<T> m_items;
};

using intcoSet = coSet<int>;
