#pragma once
// A 3D vector with a lazily cached length. The cache holds DBL_MAX while nothing is known, a negative value
// (the negated squared length) once only the square has been asked for, and the length itself once it has
// been rooted. Components are reached through accessors so that every change empties the cache.

#include <cfloat>
#include <cmath>
#include <ostream>

class giVector3 {
public:
    constexpr giVector3() = default;
    constexpr giVector3(double x, double y, double z) : m_x(x), m_y(y), m_z(z) {}

    constexpr double x() const { return m_x; }
    constexpr double y() const { return m_y; }
    constexpr double z() const { return m_z; }
    constexpr double operator[](int i) const { return i == 0 ? m_x : (i == 1 ? m_y : m_z); }

    void set(double x, double y, double z) {
        m_x = x;
        m_y = y;
        m_z = z;
        m_len = DBL_MAX;
    }

    // The cached value as it stands (DBL_MAX, a negated square, or the length).
    double cached_length() const { return m_len; }

    double length_squared() const {
        if (m_len == DBL_MAX) {
            const double sq = m_x * m_x + m_y * m_y + m_z * m_z;
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
            m_z /= len;
            m_len = 1.0;
        }
        return len;
    }

    constexpr double dot(const giVector3& o) const { return m_x * o.m_x + m_y * o.m_y + m_z * o.m_z; }
    constexpr giVector3 cross(const giVector3& o) const {
        return {m_y * o.m_z - m_z * o.m_y, m_z * o.m_x - m_x * o.m_z, m_x * o.m_y - m_y * o.m_x};
    }

    constexpr giVector3 operator+(const giVector3& o) const {
        return {m_x + o.m_x, m_y + o.m_y, m_z + o.m_z};
    }
    constexpr giVector3 operator-(const giVector3& o) const {
        return {m_x - o.m_x, m_y - o.m_y, m_z - o.m_z};
    }
    constexpr giVector3 operator-() const { return {-m_x, -m_y, -m_z}; }
    constexpr giVector3 operator*(double s) const { return {m_x * s, m_y * s, m_z * s}; }
    constexpr giVector3 operator/(double s) const { return {m_x / s, m_y / s, m_z / s}; }
    friend constexpr giVector3 operator*(double s, const giVector3& v) { return v * s; }

    constexpr bool operator==(const giVector3& o) const {
        return m_x == o.m_x && m_y == o.m_y && m_z == o.m_z;
    }

private:
    double m_x = 0.0, m_y = 0.0, m_z = 0.0;
    mutable double m_len = DBL_MAX;
};

inline std::ostream& operator<<(std::ostream& os, const giVector3& v) {
    return os << '[' << v.x() << ", " << v.y() << ", " << v.z() << ']';
}
