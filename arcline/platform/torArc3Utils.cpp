#include "arcline/platform/torArc3Utils.h"

#include <cmath>

namespace {

// The arc's own frame: origin at the chord midpoint, x along the chord, y away from the mid point, so that
// the arc is the bulge arc from (-h, 0) to (h, 0) with bulge b = sagitta / h >= 0 (mid point at (0, -b h)).
struct ArcFrame {
    giPoint3 origin;
    giVector3 x, y;
    double h = 0.0, b = 0.0;
};

// False when there is no arc: coincident ends, or a mid point on the chord.
bool arc_frame(const giPoint3& S, const giPoint3& M, const giPoint3& E, ArcFrame& f) {
    f.origin = S.interpolate(E, 0.5);
    f.x = E - S;
    const double L = f.x.unitize();
    if (L == 0.0) return false;
    f.h = 0.5 * L;
    giVector3 sag = M - f.origin;
    sag = sag - f.x * sag.dot(f.x); // the part square to the chord
    const double m = sag.unitize();
    if (m == 0.0) return false;
    f.y = -sag;
    f.b = m / f.h;
    return true;
}

} // namespace

giPoint3 torArc3Utils::evaluate(const giPoint3& S, const giPoint3& M, const giPoint3& E, double t) {
    ArcFrame f;
    if (!arc_frame(S, M, E, f)) return S.interpolate(E, t);
    // Bulge-form position with u = 2t - 1: (h (1 + b^2) u, -h b (1 - u^2)) / (1 + u^2 b^2).
    const double u = 2.0 * t - 1.0;
    const double ub = u * f.b;
    const double den = 1.0 + ub * ub;
    const double x = f.h * (1.0 + f.b * f.b) * u / den;
    const double y = -f.h * f.b * (1.0 - u * u) / den;
    return f.origin + f.x * x + f.y * y;
}

giVector3 torArc3Utils::derivative(const giPoint3& S, const giPoint3& M, const giPoint3& E, int order,
                                   double t) {
    if (order == 0) return evaluate(S, M, E, t).as_vector();
    if (order < 0 || order > 2) return {0.0, 0.0, 0.0};
    ArcFrame f;
    if (!arc_frame(S, M, E, f)) return order == 1 ? E - S : giVector3(0.0, 0.0, 0.0);
    const double u = 2.0 * t - 1.0;
    const double b = f.b, ub = u * b;
    const double den = 1.0 + ub * ub;
    const double k = f.h * (1.0 + b * b);
    double dx, dy;
    if (order == 1) {
        // d/du, times du/dt = 2.
        dx = 2.0 * k * (1.0 - ub * ub) / (den * den);
        dy = 2.0 * k * 2.0 * b * u / (den * den);
    } else {
        const double den3 = den * den * den;
        dx = 4.0 * (-2.0 * k * u * b * b * (3.0 - ub * ub)) / den3;
        dy = 4.0 * (2.0 * k * b * (1.0 - 3.0 * ub * ub)) / den3;
    }
    return f.x * dx + f.y * dy;
}
