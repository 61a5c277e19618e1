#pragma once
// A length that may be known only by its square. Comparisons use the squares, so the root is taken only
// when value() is asked for.

#include <cmath>

class giLength {
public:
    constexpr giLength() = default;
    constexpr explicit giLength(double length) : m_sq(length * length), m_len(length) {}

    static constexpr giLength from_squared(double sq) {
        giLength l;
        l.m_sq = sq;
        l.m_len = -1.0;
        return l;
    }

    constexpr double squared() const { return m_sq; }
    double value() const {
        if (m_len < 0.0) m_len = std::sqrt(m_sq);
        return m_len;
    }
    operator double() const { return value(); }

    constexpr bool operator<(const giLength& o) const { return m_sq < o.m_sq; }
    constexpr bool operator>(const giLength& o) const { return m_sq > o.m_sq; }
    constexpr bool operator<=(const giLength& o) const { return m_sq <= o.m_sq; }
    constexpr bool operator>=(const giLength& o) const { return m_sq >= o.m_sq; }
    constexpr bool operator==(const giLength& o) const { return m_sq == o.m_sq; }

private:
    double m_sq = 0.0;
    mutable double m_len = 0.0; // negative while not rooted
};
