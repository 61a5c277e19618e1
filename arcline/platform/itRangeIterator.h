#pragma once
// An itIterator over a standard container (anything with begin() and end()), which must outlive it and
// must not change while it is read.

#include "arcline/platform/itIterator.h"

#include <iterator>
#include <memory>

template <class Container>
class itRangeIterator : public itIterator<typename Container::value_type> {
public:
    using T = typename Container::value_type;

    explicit itRangeIterator(const Container& c) : m_container(&c), m_pos(c.end()) {}
    explicit itRangeIterator(const Container&&) = delete;

    std::unique_ptr<itIterator<T>> clone() const override { return std::make_unique<itRangeIterator>(*this); }
    void reset() override { m_pos = m_container->end(); }
    bool operator++() override {
        m_pos = m_pos == m_container->end() ? m_container->begin() : std::next(m_pos);
        return m_pos != m_container->end();
    }
    const T& current() const override { return *m_pos; }

private:
    const Container* m_container;
    typename Container::const_iterator m_pos; // end() before the first element and after the last
};

template <class Container>
itRangeIterator<Container> it_range(const Container& c) {
    return itRangeIterator<Container>(c);
}
