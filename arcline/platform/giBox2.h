#pragma once
// An axis-aligned 2D box. It is empty while its minimum x is DBL_MAX (the default).

#include "arcline/platform/giPoint2.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <ostream>

class giBox2 {
public:
    constexpr giBox2() = default;
    constexpr giBox2(const giPoint2& a, const giPoint2& b)
        : m_min(std::min(a.x, b.x), std::min(a.y, b.y)), m_max(std::max(a.x, b.x), std::max(a.y, b.y)) {}

    constexpr bool empty() const { return m_min.x == DBL_MAX; }
    void make_empty() { *this = giBox2(); }

    constexpr const giPoint2& min() const { return m_min; }
    constexpr const giPoint2& max() const { return m_max; }

    void merge(const giPoint2& p) {
        m_min.x = std::min(m_min.x, p.x);
        m_min.y = std::min(m_min.y, p.y);
        m_max.x = std::max(m_max.x, p.x);
        m_max.y = std::max(m_max.y, p.y);
    }
    void merge(const giBox2& b) {
        if (b.empty()) return;
        merge(b.m_min);
        merge(b.m_max);
    }

    // The point lies inside the box grown by `tol` on every side. An empty box contains nothing.
    constexpr bool contains(const giPoint2& p, double tol = 0.0) const {
        return !empty() && p.x >= m_min.x - tol && p.x <= m_max.x + tol && p.y >= m_min.y - tol &&
               p.y <= m_max.y + tol;
    }
    // The two closed boxes share at least one point.
    constexpr bool crosses(const giBox2& b) const {
        return !empty() && !b.empty() && m_min.x <= b.m_max.x && b.m_min.x <= m_max.x &&
               m_min.y <= b.m_max.y && b.m_min.y <= m_max.y;
    }
    // Grows the box by `d` on every side (shrinks it for negative d; a box shrunk past itself is empty).
    void offset(double d) {
        if (empty()) return;
        m_min.x -= d;
        m_min.y -= d;
        m_max.x += d;
        m_max.y += d;
        if (m_min.x > m_max.x || m_min.y > m_max.y) make_empty();
    }
    // Cuts the box down to its common part with `b`; empty when they do not cross.
    void clip(const giBox2& b) {
        if (!crosses(b)) {
            make_empty();
            return;
        }
        m_min = {std::max(m_min.x, b.m_min.x), std::max(m_min.y, b.m_min.y)};
        m_max = {std::min(m_max.x, b.m_max.x), std::min(m_max.y, b.m_max.y)};
    }

    constexpr double xlength() const { return empty() ? 0.0 : m_max.x - m_min.x; }
    constexpr double ylength() const { return empty() ? 0.0 : m_max.y - m_min.y; }
    constexpr giPoint2 centre() const { return {0.5 * (m_min.x + m_max.x), 0.5 * (m_min.y + m_max.y)}; }
    double diagonal() const { return std::hypot(xlength(), ylength()); }
    // Corner (u, v), each 0 for the minimum and 1 for the maximum side.
    constexpr giPoint2 point(int u, int v) const { return {u ? m_max.x : m_min.x, v ? m_max.y : m_min.y}; }

    constexpr bool operator==(const giBox2& b) const { return m_min == b.m_min && m_max == b.m_max; }

private:
    giPoint2 m_min{DBL_MAX, DBL_MAX};
    giPoint2 m_max{-DBL_MAX, -DBL_MAX};
};

inline std::ostream& operator<<(std::ostream& os, const giBox2& b) {
    if (b.empty()) return os << "{empty}";
    return os << '{' << b.min() << ' ' << b.max() << '}';
}
