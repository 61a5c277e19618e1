#pragma once
// A doubly linked list. It is read through coDListcoIterator and written through coDListcoCursor. Both keep
// a current node and its index; index -1 is the head, the place before the first element and after the
// last, where there is no current element. Nodes never move, so a position (and a reference to its element)
// stays valid until that node is removed.

#include <algorithm>
#include <iterator>
#include <list>

template <class T>
class coDListcoIterator;
template <class T>
class coDListcoCursor;

template <class T>
class coDList {
public:
    int size() const { return static_cast<int>(m_items.size()); }
    bool empty() const { return m_items.empty(); }
    // Positions on this list, other than the head, are left dangling.
    void clear() { m_items.clear(); }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    friend class coDListcoIterator<T>;
    friend class coDListcoCursor<T>;

    std::list<T> m_items;
};

namespace co_detail {

// The positioning that iterator and cursor share. The places form a ring: head, 0, 1, ..., n - 1, head. The
// head is the list's end(), so it is reached in one step from anywhere.
template <class List, class Node>
class coDListWalker {
public:
    // To the head.
    void reset() {
        m_node = m_list->end();
        m_index = -1;
    }
    // To the next node; false, at the head, after the last one (and on an empty list). So
    //     while (++it) use(*it);
    // visits every element once from the head.
    bool operator++() {
        m_node = m_index < 0 ? m_list->begin() : std::next(m_node);
        if (m_node == m_list->end()) {
            m_index = -1;
            return false;
        }
        ++m_index;
        return true;
    }
    // To the previous node; false, at the head, before the first one. From the head, to the last node.
    bool operator--() {
        if (m_node == m_list->begin()) {
            reset();
            return false;
        }
        m_index = (m_index < 0 ? size() : m_index) - 1;
        --m_node;
        return true;
    }
    // To index i (-1 for the head), walking from the current node or from the head, forwards or backwards,
    // whichever is the fewest steps. An index outside [-1, size()) goes to the head and answers 0.
    int set_index(int i) {
        const int ring = size() + 1;
        if (i < -1 || i >= ring - 1) {
            reset();
            return i == -1;
        }
        const int from_here = (i - m_index + ring) % ring; // forward steps
        const int from_head = i + 1;
        if (std::min(from_head, ring - from_head) < std::min(from_here, ring - from_here)) reset();
        const int ahead = (i - m_index + ring) % ring;
        if (ahead <= ring - ahead) {
            for (int s = 0; s < ahead; ++s)
                ++*this;
        } else {
            for (int s = ahead; s < ring; ++s)
                --*this;
        }
        return 1;
    }

    int index() const { return m_index; }
    int size() const { return static_cast<int>(m_list->size()); }

protected:
    explicit coDListWalker(List& list) : m_list(&list), m_node(list.end()) {}

    List* m_list;
    Node m_node;
    int m_index = -1;
};

} // namespace co_detail
