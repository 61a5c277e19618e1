#include "arcline/polyutils/velRawOffsetSpan.h"

#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velTolerances.h"

namespace {

giVector3 unit_xy(double x, double y) {
    const double len = std::sqrt(x * x + y * y);
    return len > 0.0 ? giVector3(x / len, y / len, 0.0) : giVector3(x, y, 0.0);
}

} // namespace

velRawOffsetSpan velRawOffsetSpan::arc_through(const giPoint3& S, const giPoint3& M, const giPoint3& E) {
    if (S.z != M.z || S.z != E.z) return arc_span(S, E, velArc3Utils::bulge(S, E, M));
    // velArc3Utils::bulge in the plane: the mid point's offset from the chord's middle over the half chord,
    // negative when it lies left of the chord (the arc turns clockwise).
    const double hx = 0.5 * (E.x - S.x), hy = 0.5 * (E.y - S.y);
    const double sx = M.x - (S.x + hx), sy = M.y - (S.y + hy);
    const double h2 = hx * hx + hy * hy, s2 = sx * sx + sy * sy;
    if (h2 == 0.0 || s2 == 0.0) return arc_span(S, E, 0.0);
    const double b = std::sqrt(s2 / h2);
    return arc_span(S, E, hx * sy - hy * sx > 0.0 ? -b : b);
}

double velRawOffsetSpan::length() const {
    const double L = chord();
    if (!arc || L == 0.0) return L;
    const double b2 = b * b;
    // atan(b) (1 + b^2) / b = 1 + 2/3 b^2 - 2/15 b^4 + 2/35 b^6 - ...: for the flat arcs of smooth outlines
    // the series to b^4 is exact to 6e-14.
    if (b2 < flat_length_bulge * flat_length_bulge) return L * (1.0 + b2 * (2.0 / 3.0 - b2 * (2.0 / 15.0)));
    return std::fabs(b) > velTol::bulge_zero ? std::atan(b) * L * (b2 + 1.0) / b : L;
}

giVector3 velRawOffsetSpan::start_tangent() const {
    const double dx = e.x - s.x, dy = e.y - s.y;
    if (!arc) return unit_xy(dx, dy);
    const double k = 1.0 - b * b;
    return unit_xy(k * dx + 2.0 * b * dy, k * dy - 2.0 * b * dx);
}

giVector3 velRawOffsetSpan::end_tangent() const {
    const double dx = e.x - s.x, dy = e.y - s.y;
    if (!arc) return unit_xy(dx, dy);
    const double k = 1.0 - b * b;
    return unit_xy(k * dx - 2.0 * b * dy, k * dy + 2.0 * b * dx);
}

void velRawOffsetSpan::tangents(giVector3& t0, giVector3& t1) const {
    const double dx = e.x - s.x, dy = e.y - s.y;
    const double L = std::sqrt(dx * dx + dy * dy);
    if (!(L > 0.0)) {
        t0 = t1 = giVector3(0.0, 0.0, 0.0);
        return;
    }
    if (!arc) {
        t0 = t1 = giVector3(dx / L, dy / L, 0.0);
        return;
    }
    // The tangents (k d +- 2b n) are (1 + b^2) times as long as the chord d.
    const double k = 1.0 - b * b, f = 1.0 / (L * (1.0 + b * b));
    t0 = giVector3((k * dx + 2.0 * b * dy) * f, (k * dy - 2.0 * b * dx) * f, 0.0);
    t1 = giVector3((k * dx - 2.0 * b * dy) * f, (k * dy + 2.0 * b * dx) * f, 0.0);
}

double velRawOffsetSpan::part_bulge(double b, double t0, double t1) {
    const double u0 = 2.0 * t0 - 1.0, u1 = 2.0 * t1 - 1.0;
    const double c = 1.0 + u0 * u1 * b * b, sn = b * (u1 - u0);
    const double r = std::sqrt(c * c + sn * sn);
    if (!(r > 0.0)) return 0.0;
    // tan(x / 2) = sin x / (1 + cos x) = (1 - cos x) / sin x, whichever keeps its digits.
    return c >= 0.0 ? sn / (r + c) : (r - c) / sn;
}

double velRawOffsetSpan::parameter(double qx, double qy) const {
    const double dx = e.x - s.x, dy = e.y - s.y, L2 = dx * dx + dy * dy;
    if (L2 < velTol::formula_zero * velTol::formula_zero) return 0.0;
    const double px = qx - 0.5 * (s.x + e.x), py = qy - 0.5 * (s.y + e.y);
    const double f = 0.5 * L2 - (py * dx - px * dy) * b;
    if (std::fabs(f) >= velTol::formula_zero * std::sqrt(L2)) return 0.5 * ((px * dx + py * dy) / f + 1.0);
    return px * dx + py * dy >= 0.0 ? 1e100 : -1e100;
}

giPoint3 velRawOffsetSpan::point(double t) const {
    if (!arc) return s.interpolate(e, t);
    if (t <= 0.0) return s;
    if (t >= 1.0) return {e.x, e.y, s.z};
    const double p0[2] = {s.x, s.y}, p1[2] = {e.x, e.y};
    double p[2];
    velCirbul::cbpapo(p0, p1, b, t, p);
    return {p[0], p[1], s.z};
}

giPoint3 velRawOffsetSpan::mid() const {
    if (!arc) return s.interpolate(e, 0.5);
    const double p0[2] = {s.x, s.y}, p1[2] = {e.x, e.y};
    double m[2];
    velCirbul::cbbump(p0, p1, b, m);
    return {m[0], m[1], s.z};
}

void velRawOffsetSpan::centre_radius(giPoint3& centre, double& radius) const {
    if (!arc) {
        centre = s.interpolate(e, 0.5);
        radius = 0.0;
        return;
    }
    const double p0[2] = {s.x, s.y}, p1[2] = {e.x, e.y};
    double c[2];
    velCirbul::cbbucr(p0, p1, b, c, radius);
    centre = giPoint3(c[0], c[1], s.z);
    radius = std::fabs(radius);
}

int velRawOffsetSpan::trim(double t0, double t1) {
    if (t0 == 0.0 && t1 == 1.0) return 1;
    if (t1 <= t0) return 0;
    const double sub = arc && b != 0.0 ? part_bulge(b, t0, t1) : 0.0;
    const giPoint3 q0 = point(t0), q1 = point(t1);
    s = q0;
    e = q1;
    if (arc) b = sub;
    return 1;
}

velRawOffsetSpan velRawOffsetSpan::moved(double d, const giVector3& t0, const giVector3& t1) const {
    if (!arc) {
        const giVector3 n = right_normal(t0) * d;
        velRawOffsetSpan copy = *this;
        copy.s = s + n;
        copy.e = e + n;
        return copy;
    }
    // Each end moves along its own normal: the arc stays about its centre with the same sweep.
    const giPoint3 s1 = s + right_normal(t0) * d;
    const giPoint3 e1 = e + right_normal(t1) * d;
    const double cx = e.x - s.x, cy = e.y - s.y;
    const double mx = e1.x - s1.x, my = e1.y - s1.y;
    if (mx * cx + my * cy <= 0.0) {
        // The arc collapsed through its centre.
        if (mx * mx + my * my <= velTol::coincident) return line(s1, e1);
        return temporary_line(s1, e1);
    }
    velRawOffsetSpan out = arc_span(s1, e1, b);
    // An arc with ends at two heights measures its bulge in space, from its mid point at the start's height.
    if (s1.z != e1.z) out.b = velArc3Utils::bulge(s1, e1, out.mid());
    return out;
}
