#pragma once
// A 2D unit vector. It is unset (invalid()) when x = -DBL_MAX: made from a zero vector, or default-made.

#include "arcline/platform/giVector2.h"
#include "arcline/platform/gi_Axis.h"

#include <cfloat>
#include <cmath>
#include <ostream>

class giUnitVec2 {
public:
    constexpr giUnitVec2() = default;
    // Normalizes `v`; a zero (or non-finite length) vector gives the unset unit vector.
    explicit giUnitVec2(const giVector2& v) { assign(v.x(), v.y()); }
    giUnitVec2(double x, double y) { assign(x, y); }
    // giAxisZ has no 2D direction and gives the unset unit vector.
    constexpr explicit giUnitVec2(gi_Axis axis) {
        if (axis != giAxisZ) {
            m_x = axis == giAxisX ? 1.0 : 0.0;
            m_y = axis == giAxisY ? 1.0 : 0.0;
        }
    }

    constexpr bool invalid() const { return m_x == -DBL_MAX; }

    constexpr double x() const { return m_x; }
    constexpr double y() const { return m_y; }
    constexpr double operator[](int i) const { return i == 0 ? m_x : m_y; }

    giVector2 vector() const { return {m_x, m_y}; }
    operator giVector2() const { return vector(); }

    constexpr double dot(const giUnitVec2& o) const { return m_x * o.m_x + m_y * o.m_y; }
    constexpr double cross(const giUnitVec2& o) const { return m_x * o.m_y - m_y * o.m_x; }
    constexpr bool operator==(const giUnitVec2& o) const { return m_x == o.m_x && m_y == o.m_y; }

private:
    void assign(double x, double y) {
        const double len = std::sqrt(x * x + y * y);
        if (len > 0.0 && std::isfinite(len)) {
            m_x = x / len;
            m_y = y / len;
        }
    }

    double m_x = -DBL_MAX, m_y = 0.0;
};

inline std::ostream& operator<<(std::ostream& os, const giUnitVec2& v) {
    return os << '[' << v.x() << ", " << v.y() << ']';
}
