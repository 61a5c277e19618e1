#pragma once
// An affine transformation of 3D points: a 3x3 linear part and a translation. Applying it to a vector uses
// the linear part only.

#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector3.h"

#include <cmath>

class giXform3 {
public:
    // The identity.
    constexpr giXform3() = default;
    // Row-major 3x4 matrix: rows (m[0..3]), (m[4..7]), (m[8..11]), the last column the translation.
    constexpr explicit giXform3(const double (&m)[12]) {
        for (int i = 0; i < 12; ++i)
            m_m[i] = m[i];
    }

    static constexpr giXform3 translation(const giVector3& t) {
        giXform3 x;
        x.m_m[3] = t.x();
        x.m_m[7] = t.y();
        x.m_m[11] = t.z();
        return x;
    }
    static constexpr giXform3 scaling(double s, const giPoint3& centre = {0.0, 0.0, 0.0}) {
        giXform3 x;
        x.m_m[0] = x.m_m[5] = x.m_m[10] = s;
        x.m_m[3] = centre.x * (1.0 - s);
        x.m_m[7] = centre.y * (1.0 - s);
        x.m_m[11] = centre.z * (1.0 - s);
        return x;
    }
    // Rotation by `radians` anticlockwise about the axis through `centre` parallel to z.
    static giXform3 rotation_z(double radians, const giPoint3& centre = {0.0, 0.0, 0.0}) {
        const double c = std::cos(radians), s = std::sin(radians);
        const double m[12] = {c,   -s,  0.0, centre.x - c * centre.x + s * centre.y,
                              s,   c,   0.0, centre.y - s * centre.x - c * centre.y,
                              0.0, 0.0, 1.0, 0.0};
        return giXform3(m);
    }

    constexpr double operator()(int row, int col) const { return m_m[row * 4 + col]; }

    constexpr giPoint3 operator*(const giPoint3& p) const {
        return {m_m[0] * p.x + m_m[1] * p.y + m_m[2] * p.z + m_m[3],
                m_m[4] * p.x + m_m[5] * p.y + m_m[6] * p.z + m_m[7],
                m_m[8] * p.x + m_m[9] * p.y + m_m[10] * p.z + m_m[11]};
    }
    constexpr giVector3 operator*(const giVector3& v) const {
        return {m_m[0] * v.x() + m_m[1] * v.y() + m_m[2] * v.z(),
                m_m[4] * v.x() + m_m[5] * v.y() + m_m[6] * v.z(),
                m_m[8] * v.x() + m_m[9] * v.y() + m_m[10] * v.z()};
    }
    // Composition: (a * b) applied to p is a applied to (b applied to p).
    constexpr giXform3 operator*(const giXform3& b) const {
        giXform3 r;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 4; ++j) {
                double v = (j == 3) ? m_m[i * 4 + 3] : 0.0;
                for (int k = 0; k < 3; ++k)
                    v += m_m[i * 4 + k] * b.m_m[k * 4 + j];
                r.m_m[i * 4 + j] = v;
            }
        }
        return r;
    }

private:
    double m_m[12] = {1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0};
};
