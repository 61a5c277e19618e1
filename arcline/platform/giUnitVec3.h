#pragma once
// A 3D unit vector. It is unset (invalid()) when x = -DBL_MAX: made from a zero vector, or default-made.

#include "arcline/platform/giVector3.h"
#include "arcline/platform/gi_Axis.h"

#include <cfloat>
#include <cmath>
#include <ostream>

class giUnitVec3 {
public:
    constexpr giUnitVec3() = default;
    // Normalizes `v`; a zero (or non-finite length) vector gives the unset unit vector.
    explicit giUnitVec3(const giVector3& v) { assign(v.x(), v.y(), v.z()); }
    giUnitVec3(double x, double y, double z) { assign(x, y, z); }
    constexpr explicit giUnitVec3(gi_Axis axis)
        : m_x(axis == giAxisX ? 1.0 : 0.0), m_y(axis == giAxisY ? 1.0 : 0.0),
          m_z(axis == giAxisZ ? 1.0 : 0.0) {}

    constexpr bool invalid() const { return m_x == -DBL_MAX; }

    constexpr double x() const { return m_x; }
    constexpr double y() const { return m_y; }
    constexpr double z() const { return m_z; }
    constexpr double operator[](int i) const { return i == 0 ? m_x : (i == 1 ? m_y : m_z); }

    giVector3 vector() const { return {m_x, m_y, m_z}; }
    operator giVector3() const { return vector(); }

    constexpr double dot(const giUnitVec3& o) const { return m_x * o.m_x + m_y * o.m_y + m_z * o.m_z; }
    constexpr giUnitVec3 operator-() const { return raw(-m_x, -m_y, -m_z); }
    constexpr bool operator==(const giUnitVec3& o) const {
        return m_x == o.m_x && m_y == o.m_y && m_z == o.m_z;
    }

private:
    static constexpr giUnitVec3 raw(double x, double y, double z) {
        giUnitVec3 u;
        u.m_x = x;
        u.m_y = y;
        u.m_z = z;
        return u;
    }
    void assign(double x, double y, double z) {
        const double len = std::sqrt(x * x + y * y + z * z);
        if (len > 0.0 && std::isfinite(len)) {
            m_x = x / len;
            m_y = y / len;
            m_z = z / len;
        }
    }

    double m_x = -DBL_MAX, m_y = 0.0, m_z = 0.0;
};

inline std::ostream& operator<<(std::ostream& os, const giUnitVec3& v) {
    return os << '[' << v.x() << ", " << v.y() << ", " << v.z() << ']';
}
