#pragma once
// A 2D vector with a lazily cached length; the cache follows the rules of giVector3.

#include <cfloat>
#include <cmath>
#include <ostream>

class giVector2 {
public:
    constexpr giVector2() = default;
    constexpr giVector2(double x, double y) : m_x(x), m_y(y) {}

    constexpr double x() const { return m_x; }
    constexpr double y() const { return m_y; }
    constexpr double operator[](int i) const { return i == 0 ? m_x : m_y; }

    void set(double x, double y) {
        m_x = x;
        m_y = y;
        m_len = DBL_MAX;
    }

    double cached_length() const { return m_len; }

    double length_squared() const {
        if (m_len == DBL_MAX) {
            const double sq = m_x * m_x + m_y * m_y;
            m_len = -sq;
            return sq;
        }
        return m_len < 0.0 ? -m_len : m_len * m_len;
    }
    double length() const {
        if (m_len == DBL_MAX || m_len < 0.0) m_len = std::sqrt(length_squared());
        return m_len;
    }

    // Scales the vector to unit length and returns the length it had. A zero vector stays zero.
    double unitize() {
        const double len = length();
        if (len > 0.0) {
            m_x /= len;
            m_y /= len;
            m_len = 1.0;
        }
        return len;
    }

    constexpr double dot(const giVector2& o) const { return m_x * o.m_x + m_y * o.m_y; }
    // The z component of the 3D cross product.
    constexpr double cross(const giVector2& o) const { return m_x * o.m_y - m_y * o.m_x; }
    // The vector turned a quarter turn clockwise: the right-hand normal (y, -x).
    constexpr giVector2 right_normal() const { return {m_y, -m_x}; }
    constexpr giVector2 left_normal() const { return {-m_y, m_x}; }

    constexpr giVector2 operator+(const giVector2& o) const { return {m_x + o.m_x, m_y + o.m_y}; }
    constexpr giVector2 operator-(const giVector2& o) const { return {m_x - o.m_x, m_y - o.m_y}; }
    constexpr giVector2 operator-() const { return {-m_x, -m_y}; }
    constexpr giVector2 operator*(double s) const { return {m_x * s, m_y * s}; }
    constexpr giVector2 operator/(double s) const { return {m_x / s, m_y / s}; }
    friend constexpr giVector2 operator*(double s, const giVector2& v) { return v * s; }

    constexpr bool operator==(const giVector2& o) const { return m_x == o.m_x && m_y == o.m_y; }

private:
    double m_x = 0.0, m_y = 0.0;
    mutable double m_len = DBL_MAX;
};

inline std::ostream& operator<<(std::ostream& os, const giVector2& v) {
    return os << '[' << v.x() << ", " << v.y() << ']';
}
