#pragma once
// A 2D orthonormal frame: an origin and an x axis, the y axis a quarter turn anticlockwise from it.

#include "arcline/platform/giPoint2.h"
#include "arcline/platform/giUnitVec2.h"

class giWorkplane2 {
public:
    giWorkplane2() : m_origin(0.0, 0.0), m_x(giAxisX) {}
    giWorkplane2(const giPoint2& origin, const giVector2& xaxis) { become(origin, xaxis); }

    void become(const giPoint2& origin, const giVector2& xaxis) {
        m_origin = origin;
        m_x = giUnitVec2(xaxis);
    }

    const giPoint2& origin() const { return m_origin; }
    const giUnitVec2& xaxis() const { return m_x; }
    giUnitVec2 yaxis() const { return giUnitVec2(-m_x.y(), m_x.x()); }

    giPoint2 to_world(const giPoint2& p) const {
        return {m_origin.x + m_x.x() * p.x - m_x.y() * p.y, m_origin.y + m_x.y() * p.x + m_x.x() * p.y};
    }
    giPoint2 to_work(const giPoint2& p) const {
        const double dx = p.x - m_origin.x, dy = p.y - m_origin.y;
        return {dx * m_x.x() + dy * m_x.y(), -dx * m_x.y() + dy * m_x.x()};
    }

private:
    giPoint2 m_origin;
    giUnitVec2 m_x;
};
