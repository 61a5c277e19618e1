#include "arcline/polyline/spans/velArc3Utils.h"

#include "arcline/platform/giBox2.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/platform/utMath.h"
#include "arcline/polyline/spans/velArc2Utils.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cmath>

namespace {

// Sagitta below which an arc's length is its chord's.
constexpr double straight_sagitta = velTol::flat_sagitta;

giPoint3 midpoint(const giPoint3& a, const giPoint3& b) {
    return a.interpolate(b, 0.5);
}

} // namespace

double velArc3Utils::arc_length(const giPoint3& S, const giPoint3& M, const giPoint3& E) {
    const double y = 0.5 * S.distance(E);
    const double x = M.distance(midpoint(S, E));
    if (x < straight_sagitta) return 2.0 * y;
    const double R = (x * x + y * y) / (2.0 * x);
    return 2.0 * R * std::atan2(y, R - x);
}

double velArc3Utils::bulge(const giPoint3& S, const giPoint3& E, const giPoint3& M) {
    const giVector3 h = (E - S) * 0.5;
    const giVector3 s = M - (S + h);
    const double hl = h.length(), sl = s.length();
    if (hl == 0.0 || sl == 0.0) return 0.0;
    const double b = sl / hl;
    // Mid point left of the chord seen from +Z: the arc turns clockwise.
    return h.cross(s).z() > 0.0 ? -b : b;
}

void velArc3Utils::get_centre_and_radius(const giPoint3& S, const giPoint3& E, const giPoint3& M,
                                         giPoint3& centre, double& radius) {
    const giVector3 a = S - M, b = E - M;
    const giVector3 axb = a.cross(b);
    const double den = 2.0 * axb.length_squared();
    if (den == 0.0) {
        // Collinear: no circle.
        centre = midpoint(S, E);
        radius = 0.0;
        return;
    }
    const giVector3 num = (b * a.length_squared() - a * b.length_squared()).cross(axb);
    centre = M + num / den;
    radius = centre.distance(S);
}

giPoint3 velArc3Utils::circular_midpoint(const giPoint3& S, const giPoint3& P, const giPoint3& E) {
    const giVector3 d = S - E;
    const double l2 = d.length_squared();
    if (l2 == 0.0) return P;
    return P - d * ((P - midpoint(S, E)).dot(d) / l2);
}

giPoint3 velArc3Utils::circular_midpoint(double r, const giPoint3& C, const giPoint3& S, const giPoint3& E,
                                         const giVector3& n) {
    const giPoint3 m0 = midpoint(S, E);
    if (S.distance(E) < straight_sagitta) return m0;
    giVector3 u = n.cross(E - S);
    if (u.unitize() == 0.0) return m0;
    const giVector3 cm = m0 - C;
    const double proj = cm.dot(u);
    const double sigma = proj > 0.0 ? 1.0 : (proj < 0.0 ? -1.0 : 0.0);
    return m0 + u * (r - sigma * cm.length());
}

giLength velArc3Utils::distance_from_chord_mid_point(const giPoint3& P, const giPoint3& S,
                                                     const giPoint3& E) {
    return giLength::from_squared(P.distance_squared(midpoint(S, E)));
}

double velArc3Utils::distance_fraction_to_parameter(const giPoint3& S, const giPoint3& M, const giPoint3& E,
                                                    double f) {
    const double y = 0.5 * S.distance(E);
    if (y == 0.0) return std::clamp(f, 0.0, 1.0); // zero chord: no arc to measure along
    const double x = M.distance(midpoint(S, E));
    const double b = x / y;
    const double length = velArc2Utils::arc_length(2.0 * y, b);
    const double t = velArc2Utils::parameter_at_distance(giPoint2(-y, 0.0), giPoint2(y, 0.0), b, f * length);
    return std::clamp(t, 0.0, 1.0);
}

bool velArc3Utils::is_linear(const giPoint3& S, const giPoint3& M, const giPoint3& E, double tol) {
    if (S.coincident(E, tol)) return true;
    const giVector3 d = E - S;
    return (M - S).cross(d).length() / d.length() < tol;
}

giBox3 velArc3Utils::bbox(const giPoint3& S, const giPoint3& E, const giPoint3& M) {
    giBox3 box(S, E);
    box.merge(M);
    if (S.z == E.z && S.z == M.z) {
        // An arc in a plane of constant height: exact in bulge form, however flat the arc.
        giBox2 b2;
        velArc2Utils::bounding_box(S.xy(), E.xy(), bulge(S, E, M), b2);
        box.merge(b2.min().xyz(S.z));
        box.merge(b2.max().xyz(S.z));
        return box;
    }
    giPoint3 C;
    double R;
    get_centre_and_radius(S, E, M, C, R);
    if (R == 0.0) return box;
    // The arc turns about n from S through M to E; its sweep is twice the angle from S to M.
    giVector3 n = (M - S).cross(E - M);
    if (n.unitize() == 0.0) return box;
    const giVector3 cs = S - C;
    auto angle_from_start = [&](const giVector3& v) {
        double a = std::atan2(cs.cross(v).dot(n), cs.dot(v));
        return a < 0.0 ? a + utMath::two_pi : a;
    };
    const double sweep = 2.0 * angle_from_start(M - C);
    for (int k = 0; k < 3; ++k) {
        // The circle's extremes along axis k lie at C +- R w, w the axis projected into the arc's plane.
        const giVector3 axis(k == 0, k == 1, k == 2);
        giVector3 w = axis - n * axis.dot(n);
        if (w.unitize() == 0.0) continue;
        for (double sgn : {1.0, -1.0}) {
            const giVector3 cv = w * (sgn * R);
            if (angle_from_start(cv) <= sweep) box.merge(C + cv);
        }
    }
    return box;
}
