#pragma once
// Storage shared by the straight-only lines velPolyLine (single precision) and velPolyLineDouble: one
// element per position, no mid slots. Every span is straight and a mid point reads as the unset point.

#include "arcline/platform/giXform3.h"
#include "arcline/polyline/velInterleavedPolyArcLine.h"

template <class T>
class velStraightPolyLine : public velAbsPolyArcLine {
public:
    using element = velPolylineElement<T>;
    using array_type = coPageArr<T>;

    void reset() override {
        velAbsPolyArcLine::reset();
        m_array.reset();
    }
    int reserve(int n) override { return m_array.reserve(compute_page_factor(n), n - 1); }
    void add_pos(const giPoint3& p) override {
        const int n = num_pos();
        m_array.grow(compute_page_factor(n + 1), n);
        m_array.write(n, element::from_point(p));
        set_num_pos(n + 1);
        invalidate_caches();
    }
    void edit_pos(int i, const giPoint3& p) override {
        m_array.write(i > 0 ? i - 1 : -1, element::from_point(p));
        invalidate_caches();
    }
    // No mid slots: nothing to edit.
    void edit_mid_pos(int, const giPoint3&) override {}
    int span_linear(int) const override { return 1; }
    void get_pos(int i, giPoint3& p) const override {
        p = element::to_point(m_array.read(i > 0 ? i - 1 : -1));
    }
    void get_mid_pos(int, giPoint3& mid) const override { mid = giPoint3(); }
    int can_hold_arcs() const override { return 0; }

    void transform(const giXform3& xf) {
        for (int i = 0; i < num_pos(); ++i)
            m_array.write(i, element::from_point(xf * element::to_point(m_array.read(i))));
        invalidate_caches();
    }

    int page_factor() const { return m_array.page_factor(); }

protected:
    velStraightPolyLine() = default;
    explicit velStraightPolyLine(int n)
        : m_array(compute_page_factor(n), compute_num_pages(n, compute_page_factor(n))) {}
    velStraightPolyLine(const velStraightPolyLine& other)
        : velAbsPolyArcLine(other), m_array(other.m_array) {}

    velPolylineArray<T>& elements() { return m_array; }
    const velPolylineArray<T>& elements() const { return m_array; }

private:
    velPolylineArray<T> m_array;
};
