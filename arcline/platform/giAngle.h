#pragma once
// An angle, held in radians, made from and read back in radians or degrees.

#include "arcline/platform/giVector2.h"
#include "arcline/platform/giVector3.h"
#include "arcline/platform/utMath.h"

#include <cmath>

class giAngle {
public:
    constexpr giAngle() = default;

    static constexpr giAngle from_radians(double r) { return giAngle(r); }
    static constexpr giAngle from_degrees(double d) { return giAngle(utMath::radians(d)); }

    constexpr double radians() const { return m_rad; }
    constexpr double degrees() const { return utMath::degrees(m_rad); }

    // Angle turning `a` onto `b`, anticlockwise positive, in (-pi, pi].
    static giAngle signed_angle(const giVector2& a, const giVector2& b) {
        return giAngle(std::atan2(a.cross(b), a.dot(b)));
    }
    // Angle between the directions, in [0, pi].
    static giAngle unsigned_angle(const giVector2& a, const giVector2& b) {
        return giAngle(std::fabs(std::atan2(a.cross(b), a.dot(b))));
    }
    static giAngle unsigned_angle(const giVector3& a, const giVector3& b) {
        return giAngle(std::atan2(a.cross(b).length(), a.dot(b)));
    }
    // Angle between the lines along the vectors, whatever their senses, in [0, pi/2].
    static giAngle apparent_angle(const giVector2& a, const giVector2& b) {
        const double u = unsigned_angle(a, b).radians();
        return giAngle(u > utMath::half_pi ? utMath::pi - u : u);
    }
    static giAngle apparent_angle(const giVector3& a, const giVector3& b) {
        const double u = unsigned_angle(a, b).radians();
        return giAngle(u > utMath::half_pi ? utMath::pi - u : u);
    }

    constexpr giAngle operator-() const { return giAngle(-m_rad); }
    constexpr bool operator==(const giAngle&) const = default;
    constexpr auto operator<=>(const giAngle&) const = default;

private:
    constexpr explicit giAngle(double r) : m_rad(r) {}
    double m_rad = 0.0;
};
