#include "arcline/polyline/contour/torCurvePtr3Polyline.h"

#include "arcline/platform/torLine3.h"
#include "arcline/platform/torPolygonizeTRP3.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>

torCurvePtr3Polyline::torCurvePtr3Polyline(const torCurvePtr3& c, double tol) {
    append(c, tol);
}

torCurvePtr3Polyline::torCurvePtr3Polyline(const torCompCurve3& c, double tol) {
    for (int k = 0; k < c.num_curves(); ++k)
        append(c.get_curve(k), tol);
}

torCurvePtr3Polyline::torCurvePtr3Polyline(utCopy, const torCurvePtr3Polyline& other)
    : m_points(other.m_points), m_params(other.m_params), m_curves(other.m_curves),
      m_tolerance(other.m_tolerance) {}

void torCurvePtr3Polyline::add_pos(const giPoint3& p, double t, const torCurvePtr3& c, double tol) {
    m_tolerance = std::max(m_tolerance, tol);
    const int n = num_pos();
    if (n > 0 && m_curves[n - 1] == c && m_points[n - 1].coincident(p, coincident_tol)) return;
    m_points.append(p);
    m_params.append(t);
    m_curves.append(c);
}

void torCurvePtr3Polyline::add_pos(double t, const torCurvePtr3& c, double tol) {
    add_pos(c->evaluate(t), t, c, tol);
}

int torCurvePtr3Polyline::append(const torCurvePtr3& c, double tol) {
    m_tolerance = std::max(m_tolerance, tol);
    const int n = num_pos();
    if (n > 0 && !c->start().coincident(m_points[n - 1], coincident_tol)) return 0;
    return append(c, tol, n > 0);
}

int torCurvePtr3Polyline::append(const torCurvePtr3& c, double tol, int skip_first) {
    std::vector<giPoint3> points;
    std::vector<double> params;
    torPolygonizeTRP3::polygonize(*c, tol, points, params);
    for (std::size_t k = skip_first ? 1 : 0; k < points.size(); ++k)
        add_pos(points[k], params[k], c, tol);
    return 1;
}

int torCurvePtr3Polyline::closed() const {
    const int n = num_pos();
    return n >= 3 && m_points[0].coincident(m_points[n - 1], coincident_tol);
}

void torCurvePtr3Polyline::get_pos(int i, giPoint3& p, double& t, torCurvePtr3& c) const {
    p = m_points[i];
    t = m_params[i];
    c = m_curves[i];
}

void torCurvePtr3Polyline::clear() {
    m_points.clear();
    m_params.clear();
    m_curves.clear();
    init_tolerance();
}

int torCurvePtr3Polyline::primary_period(int i) const {
    if (!closed()) return i;
    const int m = num_pos() - 1;
    return ((i % m) + m) % m;
}

double torCurvePtr3Polyline::primary_period(double x) const {
    if (!closed()) return x;
    const double m = num_pos() - 1.0;
    const double r = x - m * std::floor(x / m);
    return r < m ? r : 0.0; // rounding can land a hair below a multiple on the multiple itself
}

double torCurvePtr3Polyline::put_in_range(double x) const {
    if (closed()) return primary_period(x);
    return std::clamp(x, 0.0, std::max(num_pos() - 1.0, 0.0));
}

giPoint3 torCurvePtr3Polyline::evaluate(double x) const {
    if (num_pos() == 0) return {};
    x = put_in_range(x);
    const double fi = std::floor(x);
    const int i = static_cast<int>(fi);
    if (x == fi) return m_points[primary_period(i)];
    return m_points[primary_period(i)].interpolate(m_points[primary_period(i + 1)], x - fi);
}

double torCurvePtr3Polyline::calculate_allowable_jump() const {
    return std::max(m_tolerance, coincident_tol);
}

bool torCurvePtr3Polyline::joining_end(const torCurve3& c, const giPoint3& p, double near, double& t) const {
    const double reach = calculate_allowable_jump();
    const double ends[2] = {c.start_param(), c.end_param()};
    bool found = false;
    for (double e : ends) {
        if (!c.evaluate(e).coincident(p, reach)) continue;
        if (!found || std::fabs(e - near) < std::fabs(t - near)) t = e;
        found = true;
    }
    return found;
}

torCurvePtr3Polyline::ChordCurve torCurvePtr3Polyline::chord_curve(int j) const {
    const torCurvePtr3& c0 = m_curves[j];
    const torCurvePtr3& c1 = m_curves[j + 1];
    const double t0 = m_params[j], t1 = m_params[j + 1];
    if (c0 && c0 == c1) return {c0, t0, t1};
    const giPoint3& p0 = m_points[j];
    const giPoint3& p1 = m_points[j + 1];
    if (p0.coincident(p1, zero_chord_tol)) return c1 ? ChordCurve{c1, t1, t1} : ChordCurve{};
    double t = 0.0;
    if (c1 && joining_end(*c1, p0, t1, t)) return {c1, t, t1};
    if (c0 && joining_end(*c0, p1, t0, t)) return {c0, t0, t};
    return {};
}

void torCurvePtr3Polyline::curve_param_at(double x, torCurvePtr3& c, double& t) const {
    c.reset();
    t = -DBL_MAX;
    const int n = num_pos();
    if (n == 0) return;
    // A position in range answers for itself, the last one of a closed polyline included.
    if (!(x >= 0.0 && x <= n - 1.0 && x == std::floor(x))) x = put_in_range(x);
    const double fi = std::floor(x);
    const int i = static_cast<int>(fi);
    if (x == fi) {
        c = m_curves[i];
        t = m_params[i];
        return;
    }
    const ChordCurve cc = chord_curve(i);
    if (!cc.curve) return;
    c = cc.curve;
    t = cc.t0 + (x - fi) * (cc.t1 - cc.t0);
}

std::vector<int> torCurvePtr3Polyline::locate_jumps() const {
    std::vector<int> jumps;
    for (int j = 0; j + 1 < num_pos(); ++j)
        if (!m_curves[j] || m_curves[j] != m_curves[j + 1]) jumps.push_back(j);
    return jumps;
}

torCurvePtr3 torCurvePtr3Polyline::curve(double x1, double x2) const {
    const int n = num_pos();
    if (n < 2) return {};
    const double last = n - 1.0;
    x1 = std::clamp(x1, 0.0, last);
    x2 = std::clamp(x2, 0.0, last);
    if (x1 > x2) {
        const torCurvePtr3 forward = curve(x2, x1);
        return forward ? forward->subcurve(forward->end_param(), forward->start_param()) : forward;
    }
    // Pieces of curves (curve, parameters a to b) or straight pieces (no curve, points pa to pb).
    struct Piece {
        torCurvePtr3 curve;
        double a, b;
        giPoint3 pa, pb;
    };
    std::vector<Piece> pieces;
    for (int j = static_cast<int>(std::floor(x1)); j < n - 1 && j < x2; ++j) {
        const double fa = std::max(x1 - j, 0.0), fb = std::min(x2 - j, 1.0);
        if (!(fa < fb)) continue;
        const ChordCurve cc = chord_curve(j);
        if (!cc.curve) {
            const giPoint3 pa = m_points[j].interpolate(m_points[j + 1], fa);
            const giPoint3 pb = m_points[j].interpolate(m_points[j + 1], fb);
            if (!(pa == pb)) pieces.push_back({nullptr, 0.0, 0.0, pa, pb});
            continue;
        }
        const double a = cc.t0 + fa * (cc.t1 - cc.t0), b = cc.t0 + fb * (cc.t1 - cc.t0);
        if (a == b) continue;
        Piece* prev = pieces.empty() ? nullptr : &pieces.back();
        if (prev && prev->curve == cc.curve && prev->b == a && (prev->b > prev->a) == (b > a)) {
            prev->b = b;
        } else {
            pieces.push_back({cc.curve, a, b, {}, {}});
        }
    }
    auto make = [](const Piece& p) -> torCurvePtr3 {
        if (!p.curve) return std::make_shared<torLine3>(p.pa, p.pb);
        return p.curve->subcurve(p.a, p.b);
    };
    if (pieces.empty()) return {};
    if (pieces.size() == 1) return make(pieces.front());
    auto comp = std::make_shared<torCompCurve3>();
    for (const Piece& p : pieces)
        comp->append(make(p));
    return comp;
}

giVector3 torCurvePtr3Polyline::tangent(torT x) const {
    const int n = num_pos();
    if (n < 2) return {0.0, 0.0, 0.0};
    const int j = std::min(static_cast<int>(std::floor(put_in_range(x))), n - 2);
    giVector3 d = m_points[j + 1] - m_points[j];
    if (d.length() <= zero_chord_tol) return {0.0, 0.0, 0.0};
    d.unitize();
    return d;
}

giVector3 torCurvePtr3Polyline::average_tangent(int i) const {
    const int n = num_pos();
    giVector3 sum(0.0, 0.0, 0.0);
    if (n < 2) return sum;
    const bool ring = closed();
    if (ring) i = primary_period(i);
    auto add_chord = [&](int j) {
        giVector3 d = m_points[j + 1] - m_points[j];
        if (d.length() > zero_chord_tol) sum = sum + d / d.length();
    };
    if (i > 0) {
        add_chord(i - 1);
    } else if (ring) {
        add_chord(n - 2);
    }
    if (i < n - 1) add_chord(i);
    if (sum.length() <= zero_chord_tol) return {0.0, 0.0, 0.0};
    sum.unitize();
    return sum;
}
