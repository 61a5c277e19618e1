#pragma once
// A cloneable forward iterator over a sequence of T, behind a virtual interface, so that a class can read
// any caller's sequence without naming its container:
//     it->reset();
//     while (++*it) use(it->current());
// A new iterator stands before the first element, as after reset().

#include <memory>

template <class T>
class itIterator {
public:
    using value_type = T;

    virtual ~itIterator() = default;
    // An independent copy at the same place in the same sequence.
    virtual std::unique_ptr<itIterator> clone() const = 0;
    // Before the first element.
    virtual void reset() = 0;
    // To the next element; false, and before the first again, after the last.
    virtual bool operator++() = 0;
    // The element reached by the last successful step.
    virtual const T& current() const = 0;

protected:
    itIterator() = default;
    itIterator(const itIterator&) = default;
    itIterator& operator=(const itIterator&) = default;
};
