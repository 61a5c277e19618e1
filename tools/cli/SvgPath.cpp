#include "tools/cli/SvgPath.h"

#include "arcline/platform/giVector3.h"
#include "arcline/platform/torArc3Utils.h"
#include "arcline/polyline/spans/velArc3Utils.h"
#include "tools/cli/Format.h"
#include "tools/cli/PolylineSummary.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace arcline::cli {

namespace {

// Bulge of the XY projection: tan(sweep / 4), positive anticlockwise (the mid point right of the chord).
double xy_bulge(const giPoint3& s, const giPoint3& m, const giPoint3& e) {
    const double cx = e.x - s.x, cy = e.y - s.y;
    const double c2 = cx * cx + cy * cy;
    const double left = cx * (m.y - s.y) - cy * (m.x - s.x); // chord length times the mid point's height
    return -2.0 * left / c2;
}

// A page coordinate as the path data holds it.
double printed(double v) {
    const std::string text = format::fixed(v);
    double back = v;
    std::from_chars(text.data(), text.data() + text.size(), back);
    return back;
}

// Centre of the circle through three points of the plane.
giPoint2 circumcentre(const giPoint2& a, const giPoint2& b, const giPoint2& c) {
    const double bx = b.x - a.x, by = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
    const double d = 2.0 * (bx * cy - by * cx);
    const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    return {a.x + (cy * b2 - by * c2) / d, a.y + (bx * c2 - cx * b2) / d};
}

} // namespace

// SVG finds the centre of an A command from its ends and radius: at sqrt(r^2 - c^2/4) from the chord's
// middle. Near a half circle that root magnifies any rounding of r or of the ends (a radius rounded to 1e-3
// can move a 400 unit half circle by a unit). So the radius written is the one that puts SVG's centre at
// the true centre's distance from the chord between the printed ends, and it is printed finely.
double SvgPath::page_radius(const giPoint3& s, const giPoint3& m, const giPoint3& e, double radius) const {
    const SvgPage& page = *m_page;
    const giPoint2 c =
        circumcentre({page.x(s.x), page.y(s.y)}, {page.x(m.x), page.y(m.y)}, {page.x(e.x), page.y(e.y)});
    const double x1 = printed(page.x(s.x)), y1 = printed(page.y(s.y));
    const double x2 = printed(page.x(e.x)), y2 = printed(page.y(e.y));
    const double half = 0.5 * std::hypot(x2 - x1, y2 - y1);
    if (!(half > 0.0) || !std::isfinite(c.x) || !std::isfinite(c.y)) return radius;
    const double h =
        std::abs((c.x - 0.5 * (x1 + x2)) * (y2 - y1) - (c.y - 0.5 * (y1 + y2)) * (x2 - x1)) / (2.0 * half);
    return std::hypot(half, h);
}

SvgPath::ArcShape SvgPath::shape(const giPoint3& s, const giPoint3& m, const giPoint3& e) {
    const giVector3 chord = e - s;
    const double c = chord.length();
    if (!(c > zero_chord_tol)) return ArcShape::point;
    const giVector3 n = (m - s).cross(chord);
    const double n_len = n.length();
    // |n| is the chord times the mid point's distance from it; the bulge is twice that distance over c.
    if (!(2.0 * n_len / (c * c) >= flat_bulge)) return ArcShape::straight;
    return std::hypot(n.x(), n.y()) <= tilt_tol * n_len ? ArcShape::flat : ArcShape::tilted;
}

SvgPath::Arc SvgPath::flat_arc(const giPoint3& s, const giPoint3& m, const giPoint3& e) {
    const double b = xy_bulge(s, m, e);
    const double c = std::hypot(e.x - s.x, e.y - s.y);
    return {c * (1.0 + b * b) / (4.0 * std::abs(b)), std::abs(b) > 1.0, b < 0.0};
}

void SvgPath::point(char command, const giPoint3& p) {
    m_d += command;
    m_d += format::fixed(m_page->x(p.x));
    m_d += ' ';
    m_d += format::fixed(m_page->y(p.y));
    m_last = p;
}

void SvgPath::move_to(const giPoint3& p) {
    point('M', p);
}

void SvgPath::line_to(const giPoint3& p) {
    point('L', p);
}

void SvgPath::arc_to(const giPoint3& mid, const giPoint3& end) {
    const giPoint3 start = m_last;
    // The arc's shape is judged, and tilted arcs sampled, in model space scaled to page units: a scaling
    // keeps arcs circular and their orientation, and keeps coordinates near the largest double finite.
    const double k = m_page->scale();
    const giPoint3 ks(k * start.x, k * start.y, k * start.z), km(k * mid.x, k * mid.y, k * mid.z),
        ke(k * end.x, k * end.y, k * end.z);
    switch (shape(ks, km, ke)) {
    case ArcShape::point:
        return;
    case ArcShape::straight:
        line_to(end);
        return;
    case ArcShape::flat: {
        const Arc a = flat_arc(ks, km, ke); // in page units
        if (a.large_arc && std::hypot(ke.x - ks.x, ke.y - ks.y) < split_chord_ratio * a.radius) {
            // SVG puts the centre on the bisector of the printed ends; when they are close, rounding them
            // turns that bisector and swings the far side of the arc (and ends that print as one point
            // make SVG draw nothing). Two halves have long chords.
            const giPoint3 q1 = torArc3Utils::evaluate(ks, km, ke, 0.25),
                           q3 = torArc3Utils::evaluate(ks, km, ke, 0.75);
            arc_to(giPoint3(q1.x / k, q1.y / k, q1.z / k), mid);
            arc_to(giPoint3(q3.x / k, q3.y / k, q3.z / k), end);
            return;
        }
        const std::string radius = format::fixed(page_radius(start, mid, end, a.radius), radius_decimals);
        m_d += 'A';
        m_d += radius;
        m_d += ' ';
        m_d += radius;
        m_d += a.large_arc ? " 0 1 " : " 0 0 ";
        m_d += a.sweep ? "1 " : "0 ";
        m_d += format::fixed(m_page->x(end.x));
        m_d += ' ';
        m_d += format::fixed(m_page->y(end.y));
        m_last = end;
        return;
    }
    case ArcShape::tilted: {
        const double page_length = velArc3Utils::arc_length(ks, km, ke);
        const int n = std::clamp(static_cast<int>(std::ceil(std::min(page_length / sample_step, 1e6))),
                                 min_samples, max_samples);
        // The arc's own parameter runs 0 .. 1 through the mid point at 0.5; the end is taken as given, so
        // that the next span starts where this one ends.
        for (int i = 1; i < n; ++i) {
            const giPoint3 q = torArc3Utils::evaluate(ks, km, ke, static_cast<double>(i) / n);
            line_to(giPoint3(q.x / k, q.y / k, q.z / k));
        }
        line_to(end);
        return;
    }
    }
}

void SvgPath::add_polyline(const velPolylineListIter& it) {
    const int n = it.num_pos();
    if (n == 0) return;
    move_to(it.get_pos(0));
    for (int i = 1; i < n; ++i) {
        if (it.span_linear(i - 1)) {
            line_to(it.get_pos(i));
        } else {
            arc_to(it.get_mid_pos(i - 1), it.get_pos(i));
        }
    }
    if (PolylineSummary::is_closed(it)) close();
}

} // namespace arcline::cli
