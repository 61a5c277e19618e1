#pragma once
// A point of doubles. A default-constructed point is the unset point: x = -DBL_MAX. Polylines use that same
// value as the "no mid point" marker of a straight span.

#include "arcline/platform/giPoint2.h"
#include "arcline/platform/giVector3.h"

#include <cfloat>
#include <cmath>
#include <ostream>

struct giPoint3 {
    double x = -DBL_MAX;
    double y = 0.0;
    double z = 0.0;

    constexpr giPoint3() = default;
    constexpr giPoint3(double px, double py, double pz) : x(px), y(py), z(pz) {}
    constexpr explicit giPoint3(const giVector3& v) : x(v.x()), y(v.y()), z(v.z()) {}

    static constexpr giPoint3 unset() { return giPoint3(); }
    constexpr bool is_unset() const { return x == -DBL_MAX; }

    constexpr double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    constexpr double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }

    constexpr double distance_squared(const giPoint3& o) const {
        const double dx = x - o.x, dy = y - o.y, dz = z - o.z;
        return dx * dx + dy * dy + dz * dz;
    }
    double distance(const giPoint3& o) const { return std::sqrt(distance_squared(o)); }

    // Distance at most `tol`; tolerance 0 asks for equal coordinates.
    constexpr bool coincident(const giPoint3& o, double tol) const {
        if (tol == 0.0) return x == o.x && y == o.y && z == o.z;
        return distance_squared(o) <= tol * tol;
    }

    // The point at `fraction` of the way from this point to `o`.
    constexpr giPoint3 interpolate(const giPoint3& o, double fraction) const {
        return {x + (o.x - x) * fraction, y + (o.y - y) * fraction, z + (o.z - z) * fraction};
    }

    constexpr giPoint2 xy() const { return {x, y}; }
    constexpr giVector3 as_vector() const { return {x, y, z}; }

    constexpr giVector3 operator-(const giPoint3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr giPoint3 operator+(const giVector3& v) const { return {x + v.x(), y + v.y(), z + v.z()}; }
    constexpr giPoint3 operator-(const giVector3& v) const { return {x - v.x(), y - v.y(), z - v.z()}; }
    giPoint3& operator+=(const giVector3& v) { return *this = *this + v; }
    giPoint3& operator-=(const giVector3& v) { return *this = *this - v; }

    constexpr bool operator==(const giPoint3& o) const { return x == o.x && y == o.y && z == o.z; }
};

inline std::ostream& operator<<(std::ostream& os, const giPoint3& p) {
    return os << '(' << p.x << ", " << p.y << ", " << p.z << ')';
}

constexpr giPoint3 giPoint2::xyz(double z) const {
    return {x, y, z};
}
