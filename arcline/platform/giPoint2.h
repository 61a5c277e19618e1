#pragma once
// A 2D point of doubles; default-constructed it is the unset point (x = -DBL_MAX).

#include "arcline/platform/giVector2.h"

#include <cfloat>
#include <cmath>
#include <ostream>

struct giPoint3;

struct giPoint2 {
    double x = -DBL_MAX;
    double y = 0.0;

    constexpr giPoint2() = default;
    constexpr giPoint2(double px, double py) : x(px), y(py) {}
    constexpr explicit giPoint2(const giVector2& v) : x(v.x()), y(v.y()) {}

    static constexpr giPoint2 unset() { return giPoint2(); }
    constexpr bool is_unset() const { return x == -DBL_MAX; }

    constexpr double operator[](int i) const { return i == 0 ? x : y; }
    constexpr double& operator[](int i) { return i == 0 ? x : y; }

    constexpr double distance_squared(const giPoint2& o) const {
        const double dx = x - o.x, dy = y - o.y;
        return dx * dx + dy * dy;
    }
    double distance(const giPoint2& o) const { return std::sqrt(distance_squared(o)); }

    // Distance at most `tol`; tolerance 0 asks for equal coordinates.
    constexpr bool coincident(const giPoint2& o, double tol) const {
        if (tol == 0.0) return x == o.x && y == o.y;
        return distance_squared(o) <= tol * tol;
    }

    constexpr giPoint2 interpolate(const giPoint2& o, double fraction) const {
        return {x + (o.x - x) * fraction, y + (o.y - y) * fraction};
    }

    // The point lifted to height z (defined in giPoint3.h, which a caller has to include anyway to use the
    // result).
    constexpr giPoint3 xyz(double z) const;
    constexpr giVector2 as_vector() const { return {x, y}; }

    constexpr giVector2 operator-(const giPoint2& o) const { return {x - o.x, y - o.y}; }
    constexpr giPoint2 operator+(const giVector2& v) const { return {x + v.x(), y + v.y()}; }
    constexpr giPoint2 operator-(const giVector2& v) const { return {x - v.x(), y - v.y()}; }
    giPoint2& operator+=(const giVector2& v) { return *this = *this + v; }
    giPoint2& operator-=(const giVector2& v) { return *this = *this - v; }

    constexpr bool operator==(const giPoint2& o) const { return x == o.x && y == o.y; }
};

inline std::ostream& operator<<(std::ostream& os, const giPoint2& p) {
    return os << '(' << p.x << ", " << p.y << ')';
}
