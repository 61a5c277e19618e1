#pragma once
// Presents an itIterator<In> as an itIterator<Out>: each element is passed through a function object that
// returns a reference to an Out living as long as the element (a dereference, a member).

#include "arcline/platform/itIterator.h"

#include <memory>

template <class Out, class In, class F>
class itTransformIterator : public itIterator<Out> {
public:
    itTransformIterator(const itIterator<In>& source, F f) : m_source(source.clone()), m_f(f) {}
    itTransformIterator(const itTransformIterator& other)
        : m_source(other.m_source->clone()), m_f(other.m_f) {}
    itTransformIterator& operator=(const itTransformIterator& other) {
        if (this != &other) {
            m_source = other.m_source->clone();
            m_f = other.m_f;
        }
        return *this;
    }

    std::unique_ptr<itIterator<Out>> clone() const override {
        return std::make_unique<itTransformIterator>(*this);
    }
    void reset() override { m_source->reset(); }
    bool operator++() override { return ++*m_source; }
    const Out& current() const override { return m_f(m_source->current()); }

private:
    std::unique_ptr<itIterator<In>> m_source;
    F m_f;
};
