#pragma once
// An axis-aligned 3D box. It is empty while its minimum x is DBL_MAX (the default).

#include "arcline/platform/giBox2.h"
#include "arcline/platform/giPoint3.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <ostream>

class giBox3 {
public:
    constexpr giBox3() = default;
    constexpr giBox3(const giPoint3& a, const giPoint3& b)
        : m_min(std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)),
          m_max(std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)) {}

    constexpr bool empty() const { return m_min.x == DBL_MAX; }
    void make_empty() { *this = giBox3(); }

    constexpr const giPoint3& min() const { return m_min; }
    constexpr const giPoint3& max() const { return m_max; }

    void merge(const giPoint3& p) {
        m_min.x = std::min(m_min.x, p.x);
        m_min.y = std::min(m_min.y, p.y);
        m_min.z = std::min(m_min.z, p.z);
        m_max.x = std::max(m_max.x, p.x);
        m_max.y = std::max(m_max.y, p.y);
        m_max.z = std::max(m_max.z, p.z);
    }
    void merge(const giBox3& b) {
        if (b.empty()) return;
        merge(b.m_min);
        merge(b.m_max);
    }

    // The point lies inside the box grown by `tol` on every side. An empty box contains nothing.
    constexpr bool contains(const giPoint3& p, double tol = 0.0) const {
        return !empty() && p.x >= m_min.x - tol && p.x <= m_max.x + tol && p.y >= m_min.y - tol &&
               p.y <= m_max.y + tol && p.z >= m_min.z - tol && p.z <= m_max.z + tol;
    }
    // The two closed boxes share at least one point.
    constexpr bool crosses(const giBox3& b) const {
        return !empty() && !b.empty() && m_min.x <= b.m_max.x && b.m_min.x <= m_max.x &&
               m_min.y <= b.m_max.y && b.m_min.y <= m_max.y && m_min.z <= b.m_max.z && b.m_min.z <= m_max.z;
    }
    // Grows the box by `d` on every side (shrinks it for negative d; a box shrunk past itself is empty).
    void offset(double d) {
        if (empty()) return;
        m_min = {m_min.x - d, m_min.y - d, m_min.z - d};
        m_max = {m_max.x + d, m_max.y + d, m_max.z + d};
        if (m_min.x > m_max.x || m_min.y > m_max.y || m_min.z > m_max.z) make_empty();
    }
    // Cuts the box down to its common part with `b`; empty when they do not cross.
    void clip(const giBox3& b) {
        if (!crosses(b)) {
            make_empty();
            return;
        }
        m_min = {std::max(m_min.x, b.m_min.x), std::max(m_min.y, b.m_min.y), std::max(m_min.z, b.m_min.z)};
        m_max = {std::min(m_max.x, b.m_max.x), std::min(m_max.y, b.m_max.y), std::min(m_max.z, b.m_max.z)};
    }

    constexpr double xlength() const { return empty() ? 0.0 : m_max.x - m_min.x; }
    constexpr double ylength() const { return empty() ? 0.0 : m_max.y - m_min.y; }
    constexpr double zlength() const { return empty() ? 0.0 : m_max.z - m_min.z; }
    constexpr giPoint3 centre() const {
        return {0.5 * (m_min.x + m_max.x), 0.5 * (m_min.y + m_max.y), 0.5 * (m_min.z + m_max.z)};
    }
    double diagonal() const {
        return std::sqrt(xlength() * xlength() + ylength() * ylength() + zlength() * zlength());
    }
    // Corner (u, v, w), each 0 for the minimum and 1 for the maximum side.
    constexpr giPoint3 point(int u, int v, int w = 0) const {
        return {u ? m_max.x : m_min.x, v ? m_max.y : m_min.y, w ? m_max.z : m_min.z};
    }
    // The box seen from above.
    giBox2 xy() const {
        giBox2 b;
        if (!empty()) {
            b.merge(m_min.xy());
            b.merge(m_max.xy());
        }
        return b;
    }

    constexpr bool operator==(const giBox3& b) const { return m_min == b.m_min && m_max == b.m_max; }

private:
    giPoint3 m_min{DBL_MAX, DBL_MAX, DBL_MAX};
    giPoint3 m_max{-DBL_MAX, -DBL_MAX, -DBL_MAX};
};

inline std::ostream& operator<<(std::ostream& os, const giBox3& b) {
    if (b.empty()) return os << "{empty}";
    return os << '{' << b.min() << ' ' << b.max() << '}';
}
