#include "arcline/polyline/spans/velAbsSpan.h"

#include "arcline/polyline/spans/velArc2Utils.h"
#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

// Bulges at most this are straight for the length formula.
constexpr double zero_bulge = velTol::bulge_zero;
// A moved chord no longer than this (squared 1e-10) is no span to keep as temporary.
constexpr double collapsed_chord2 = velTol::coincident;

struct xy {
    double v[2];
    explicit xy(const giPoint3& p) : v{p.x, p.y} {}
    operator const double*() const { return v; }
};

// Right-hand normal (v.y, -v.x, 0) of an XY tangent.
giVector3 right_normal(const giVector3& v) {
    return {v.y(), -v.x(), 0.0};
}

giVector3 unit_xy(double x, double y) {
    giVector3 v(x, y, 0.0);
    v.unitize();
    return v;
}

} // namespace

void velAbsSpan::invalidate_cache() {
    m_bulge = DBL_MAX;
    m_chord = -1.0;
    m_length = -1.0;
    m_box.make_empty();
    m_start_vector.set(-DBL_MAX, 0.0, 0.0);
}

void velAbsSpan::fill_vectors() const {
    if (m_start_vector.x() != -DBL_MAX) return;
    const giPoint3 s = start_point(), e = end_point();
    m_chord_vector = unit_xy(e.x - s.x, e.y - s.y);
    if (is_of_class_arc()) {
        const double b = get_bulge();
        double t0[2], t1[2];
        velCirbul::cbpata(xy(s), xy(e), b, 0.0, t0);
        velCirbul::cbpata(xy(s), xy(e), b, 1.0, t1);
        m_start_vector = unit_xy(t0[0], t0[1]);
        m_end_vector = unit_xy(t1[0], t1[1]);
    } else {
        m_end_vector = m_chord_vector;
        m_start_vector = m_chord_vector;
    }
}

giVector3 velAbsSpan::start_vector() const {
    fill_vectors();
    return m_start_vector;
}

giVector3 velAbsSpan::end_vector() const {
    fill_vectors();
    return m_end_vector;
}

giVector3 velAbsSpan::parameter_vector(const double& t) const {
    double tan[2];
    velCirbul::cbpata(xy(start_point()), xy(end_point()), get_bulge(), t, tan);
    return {tan[0], tan[1], 0.0};
}

double velAbsSpan::chord_length() const {
    if (m_chord < 0.0) {
        const giPoint3 s = start_point(), e = end_point();
        m_chord = std::hypot(e.x - s.x, e.y - s.y);
    }
    return m_chord;
}

double velAbsSpan::get_length() const {
    if (m_length >= 0.0) return m_length;
    const double L = chord_length();
    if (is_of_class_line() || L == 0.0) {
        m_length = L;
    } else {
        const double b = get_bulge();
        m_length = std::fabs(b) > zero_bulge ? std::atan(b) * L * (b * b + 1.0) / b : L;
    }
    return m_length;
}

double velAbsSpan::get_bulge() const {
    if (m_bulge != DBL_MAX) return m_bulge;
    const giPoint3 s = start_point(), e = end_point();
    if (is_of_class_line() || s.coincident(e, 0.0)) {
        m_bulge = 0.0;
    } else {
        m_bulge = velArc3Utils::bulge(s, e, mid_point());
    }
    return m_bulge;
}

int velAbsSpan::is_a_line(double tol) const {
    return tol >= std::fabs(get_bulge()) * chord_length() / 2.0;
}

int velAbsSpan::set_bulge(double b) {
    if (is_of_class_line()) {
        m_bulge = 0.0;
        return 0;
    }
    const giPoint3 s = start_point(), e = end_point();
    double mid[2];
    velCirbul::cbbump(xy(s), xy(e), b, mid);
    set_arcspan_mid_point(giPoint3(mid[0], mid[1], s.z));
    invalidate_cache();
    m_bulge = b;
    initialise_vectors();
    return 1;
}

void velAbsSpan::get_centre_mid_radius(giPoint3& centre, giPoint3& mid, double& radius) const {
    const giPoint3 s = start_point(), e = end_point();
    if (is_of_class_arc()) {
        double c[2], r;
        velCirbul::cbbucr(xy(s), xy(e), get_bulge(), c, r);
        centre = giPoint3(c[0], c[1], s.z);
        mid = mid_point();
        radius = std::fabs(r);
    } else {
        centre = s.interpolate(e, 0.5);
        mid = centre;
        radius = 0.0;
    }
}

giBox2 velAbsSpan::get_boundbox() const {
    if (m_box.empty()) {
        const giPoint3 s = start_point(), e = end_point();
        velArc2Utils::bounding_box(s.xy(), e.xy(), is_of_class_arc() ? get_bulge() : 0.0, m_box);
    }
    return m_box;
}

giVector2 velAbsSpan::unit_chord_vector() const {
    fill_vectors();
    return {m_chord_vector.x(), m_chord_vector.y()};
}

giPoint3 velAbsSpan::parameter_point(const double& t) const {
    const giPoint3 s = start_point(), e = end_point();
    if (is_of_class_line()) return s.interpolate(e, t);
    if (is_of_class_arc()) {
        double p[2];
        velCirbul::cbpapo(xy(s), xy(e), get_bulge(), t, p);
        return {p[0], p[1], s.z};
    }
    return {0.0, 0.0, 0.0};
}

int velAbsSpan::trim(double t0, double t1) {
    if (t0 == 0.0 && t1 == 1.0) return 1;
    if (t1 <= t0) return 0;
    double sub = 0.0;
    const bool arc = is_of_class_arc();
    if (arc) velCirbul::cbsebu(xy(start_point()), xy(end_point()), get_bulge(), t0, t1, sub);
    const giPoint3 p0 = parameter_point(t0), p1 = parameter_point(t1);
    copy_to_start_point(p0);
    copy_to_end_point(p1);
    invalidate_cache();
    if (arc) set_bulge(sub);
    initialise_vectors();
    return 1;
}

void velAbsSpan::reverse() {
    const giPoint3 s = start_point(), m = mid_point(), e = end_point();
    const bool arc = is_of_class_arc();
    copy_to_start_point(e);
    copy_to_end_point(s);
    // The mid point of an arc is the same point in both directions.
    if (arc) set_arcspan_mid_point(m);
    invalidate_cache();
    initialise_vectors();
}

velAbsSpancoPrf velAbsSpan::offset(double d) const {
    if (is_of_class_line()) {
        const giVector3 n = right_normal(start_vector()) * d;
        velAbsSpancoPrf copy = create_new();
        copy->copy_to_start_point(start_point() + n);
        copy->copy_to_end_point(end_point() + n);
        copy->invalidate_cache();
        return copy;
    }
    if (is_of_class_arc()) return offset_arc_span(d);
    return nullptr;
}

velAbsSpancoPrf velAbsSpan::offset_arc_span(double d) const {
    // Each end moves along its own normal, which keeps the arc about the same centre with the same sweep.
    const giPoint3 s = start_point(), e = end_point();
    const giPoint3 s1 = s + right_normal(start_vector()) * d;
    const giPoint3 e1 = e + right_normal(end_vector()) * d;
    const double cx = e.x - s.x, cy = e.y - s.y;
    const double mx = e1.x - s1.x, my = e1.y - s1.y;
    if (mx * cx + my * cy <= 0.0) {
        // The arc collapsed through its centre.
        if (mx * mx + my * my <= collapsed_chord2) return create_line_span(s1, e1);
        return create_temp_line_span(s1, e1);
    }
    double mid[2];
    velCirbul::cbbump(xy(s1), xy(e1), get_bulge(), mid);
    return create_arc_span(s1, e1, giPoint3(mid[0], mid[1], s1.z));
}

void velAbsSpan::move_ends_keeping_bulge(const giPoint3* start, const giPoint3* end) {
    const double b = get_bulge();
    const bool arc = is_of_class_arc();
    if (start) copy_to_start_point(*start);
    if (end) copy_to_end_point(*end);
    invalidate_cache();
    if (arc) set_bulge(b);
    initialise_vectors();
}

void velAbsSpan::move_start_pt_normal(double d) {
    const giPoint3 p = start_point() + right_normal(start_vector()) * d;
    move_ends_keeping_bulge(&p, nullptr);
}

void velAbsSpan::move_end_pt_normal(double d) {
    const giPoint3 p = end_point() + right_normal(end_vector()) * d;
    move_ends_keeping_bulge(nullptr, &p);
}

int velAbsSpan::move_orthogonal(double d) {
    const giPoint3 s = start_point(), e = end_point();
    const giPoint3 s1 = s + right_normal(start_vector()) * d;
    const giPoint3 e1 = e + right_normal(end_vector()) * d;
    // An arc that would pass through its centre stays as it is.
    if (is_of_class_arc() && (e1.x - s1.x) * (e.x - s.x) + (e1.y - s1.y) * (e.y - s.y) <= 0.0) return 0;
    move_ends_keeping_bulge(&s1, &e1);
    return 1;
}

int velAbsSpan::intersect(const velAbsSpancoPrf& other, double* t_this, double* t_other, int max) const {
    if (!other) return 0;
    const giPoint3 sa = start_point(), ea = end_point(), sb = other->start_point(), eb = other->end_point();
    int count, coincident;
    double ta[velCirbul::max_intersections], tb[velCirbul::max_intersections];
    double pts[velCirbul::max_intersections][2];
    velCirbul::cbincb_g(xy(sa), xy(ea), is_of_class_arc() ? get_bulge() : 0.0, 0.0, 1.0, xy(sb), xy(eb),
                        other->is_of_class_arc() ? other->get_bulge() : 0.0, 0.0, 1.0,
                        velCirbul::intersection_tol, count, ta, tb, pts, coincident);
    // Reported nearer this span's end first: cbincb_g orders by this span's parameter, ascending.
    const int n = std::min(count, std::max(0, std::min(max, 2)));
    for (int i = 0; i < n; ++i) {
        t_this[i] = ta[count - 1 - i];
        t_other[i] = tb[count - 1 - i];
    }
    return n;
}
