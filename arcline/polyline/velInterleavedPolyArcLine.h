#pragma once
// Storage shared by velPolyArcLine (single precision) and velPolyArcLineDouble: positions and mid points
// interleaved in one paged array, P1, M1, P2, M2, ..., Pn, so that one span's data sits together. A
// straight span carries a marker in its mid slot: (-FLT_MAX, 0, 0) in single precision, (-DBL_MAX, 0, 0)
// in double.

#include "arcline/platform/giFloatArray3.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giXform3.h"
#include "arcline/polyline/velAbsPolyArcLine.h"
#include "arcline/polyline/velPolylineArray.h"

#include <cfloat>
#include <climits>

// How an element type is read, written and marked.
template <class T>
struct velPolylineElement;

template <>
struct velPolylineElement<giFloatArray3> {
    static giPoint3 to_point(const giFloatArray3& e) { return e.point(); }
    static giFloatArray3 from_point(const giPoint3& p) { return giFloatArray3(p); }
    static giFloatArray3 marker() { return {-FLT_MAX, 0.0f, 0.0f}; }
    static bool is_marker(const giFloatArray3& e) { return e == marker(); }
};

template <>
struct velPolylineElement<giPoint3> {
    static giPoint3 to_point(const giPoint3& e) { return e; }
    static giPoint3 from_point(const giPoint3& p) { return p; }
    static giPoint3 marker() { return {-DBL_MAX, 0.0, 0.0}; }
    static bool is_marker(const giPoint3& e) { return velAbsPolyArcLine::is_no_mid_point(e); }
};

template <class T>
class velInterleavedPolyArcLine : public velAbsPolyArcLine {
public:
    using element = velPolylineElement<T>;

    void reset() override {
        velAbsPolyArcLine::reset();
        m_array.reset();
    }
    int reserve(int n) override { return m_array.reserve(compute_page_factor(2 * n + 1), 2 * n); }

    void add_pos(const giPoint3& p) override {
        const int n = num_pos();
        grow_array();
        if (n >= 1) m_array.write(mid_point_index(n), element::marker());
        m_array.write(point_index(n + 1), element::from_point(p));
        set_num_pos(n + 1);
        invalidate_caches();
    }
    void add_arc(const giPoint3& mid, const giPoint3& end) override {
        const int n = num_pos();
        if (n < 1) return; // an arc needs a start
        grow_array();
        m_array.write(mid_point_index(n), element::from_point(mid));
        m_array.write(point_index(n + 1), element::from_point(end));
        set_num_pos(n + 1);
        invalidate_caches();
    }
    void edit_pos(int i, const giPoint3& p) override {
        m_array.write(point_index(i), element::from_point(p));
        invalidate_caches();
    }
    void edit_mid_pos(int i, const giPoint3& mid) override {
        m_array.write(mid_point_index(i),
                      is_no_mid_point(mid) ? element::marker() : element::from_point(mid));
        invalidate_caches();
    }

    int span_linear(int i) const override { return element::is_marker(m_array.read(mid_point_index(i))); }
    void get_pos(int i, giPoint3& p) const override { p = element::to_point(m_array.read(point_index(i))); }
    void get_mid_pos(int i, giPoint3& mid) const override {
        const T stored = m_array.read(mid_point_index(i));
        mid = element::to_point(stored);
        if (element::is_marker(stored)) mid.x = -DBL_MAX;
    }

    // Every position and every arc's mid point mapped by xf (straight spans keep their marker). Arcs stay
    // arcs through the three mapped points, so only rigid motions and uniform scalings keep them circular;
    // that is not checked.
    void transform(const giXform3& xf) {
        const int n = num_pos();
        for (int i = 1; i <= n; ++i) {
            m_array.write(point_index(i),
                          element::from_point(xf * element::to_point(m_array.read(point_index(i)))));
            if (i < n && !span_linear(i)) {
                m_array.write(mid_point_index(i),
                              element::from_point(xf * element::to_point(m_array.read(mid_point_index(i)))));
            }
        }
        invalidate_caches();
    }
    void force_transform(const giXform3& xf) { transform(xf); }

    int page_factor() const { return m_array.page_factor(); }

protected:
    velInterleavedPolyArcLine() = default;
    // Sized for n positions.
    explicit velInterleavedPolyArcLine(int n)
        : m_array(compute_page_factor(2 * n + 1),
                  compute_num_pages(2 * n + 1, compute_page_factor(2 * n + 1))) {}
    velInterleavedPolyArcLine(const velInterleavedPolyArcLine& other)
        : velAbsPolyArcLine(other), m_array(other.m_array) {}

    // Storage slots of position i and of span i's mid point. Computed in 64 bits: an index far out of range
    // (a caller's bug, such as a parameter of NaN cast to int) gives slot -1, which reads as an empty
    // element and is never written, instead of an overflow.
    static int point_index(int i) { return slot(2LL * i - 2); }
    static int mid_point_index(int i) { return slot(2LL * i - 1); }
    static int slot(long long k) { return k >= 0 && k <= INT_MAX ? static_cast<int>(k) : -1; }

    // Before an append: pages large enough for the element count after it.
    void grow_array() {
        const int n = num_pos();
        const int in_use = n > 0 ? 2 * n - 1 : 0;
        m_array.grow(compute_page_factor(point_index(n) + 3), in_use);
    }

    // The 2n - 1 elements as stored, for archives.
    velPolylineArray<T>& elements() { return m_array; }

private:
    velPolylineArray<T> m_array;
};
