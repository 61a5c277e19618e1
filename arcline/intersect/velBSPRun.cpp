#include "arcline/intersect/velBSPRun.h"

#include "arcline/intersect/velCrossData.h"
#include "arcline/intersect/velListIntersector.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velTolerances.h"

#include <cmath>

// The extreme points of the circle that lie on the arc are those on the mid point's side of the chord.
giBox2 velBSPRun::span_box_of(const Vertex& s, const Vertex& e) {
    if (std::fabs(s.b) < velTol::bulge_zero) return giBox2({s.x, s.y}, {e.x, e.y});
    const double P0[2] = {s.x, s.y}, P1[2] = {e.x, e.y};
    double c[2], r;
    velCirbul::cbbucr(P0, P1, s.b, c, r);
    return span_box_of(s, e, c, r);
}

giBox2 velBSPRun::span_box_of(const Vertex& s, const Vertex& e, const double c[2], double r) {
    giBox2 box({s.x, s.y}, {e.x, e.y});
    const double b = s.b;
    if (std::fabs(b) < velTol::bulge_zero) return box;
    r = std::fabs(r);
    if (r == 0.0) return box;
    const double dx = e.x - s.x, dy = e.y - s.y;
    // The mid point lies right of the chord for b > 0: cross(d, M - P0) < 0.
    const double mid_side = -b;
    const double extremes[4][2] = {{c[0] + r, c[1]}, {c[0] - r, c[1]}, {c[0], c[1] + r}, {c[0], c[1] - r}};
    for (const auto& q : extremes) {
        const double side = dx * (q[1] - s.y) - dy * (q[0] - s.x);
        if (side * mid_side > 0.0) box.merge(giPoint2(q[0], q[1]));
    }
    return box;
}

velBSPRun::velBSPRun(velPolylineListIter& list, velCrossData& data) : m_data(&data), m_list(&list) {
    const int was = list.index();
    int polys = 0, points = 0;
    list.reset();
    while (++list) {
        ++polys;
        points += list.num_pos();
    }
    m_first.reserve(static_cast<std::size_t>(polys) + 1);
    m_vertices.reserve(static_cast<std::size_t>(points));
    m_closed.reserve(static_cast<std::size_t>(polys));
    m_boundary.reserve(static_cast<std::size_t>(polys));
    m_two_boundaries = data.two_boundaries();
    const int second = data.second_boundary_index();
    // The plain intersector's closure (first and last positions equal) is decided from the positions read
    // here rather than by reading them again through the function.
    const bool by_ends = data.closure_function() == &velListIntersector::closed_by_coincident_ends;
    list.reset();
    for (int i = 0; ++list; ++i) {
        const int n = list.num_pos();
        const bool linear = list.all_spans_linear();
        giPoint3 first, last;
        for (int j = 0; j < n; ++j) {
            const giPoint3 p = list.get_pos(j);
            if (j == 0) first = p;
            last = p;
            const double b = (j + 1 < n && !linear && !list.span_linear(j)) ? list.get_bulge(j) : 0.0;
            if (b != 0.0) m_any_arcs = true;
            m_vertices.push_back({p.x, p.y, b});
        }
        m_first.push_back(static_cast<int>(m_vertices.size()));
        const bool closed = n > 1 && (by_ends ? first == last : data.closed(list, i) != 0);
        m_closed.push_back(closed);
        if (!closed && n > 1) m_all_closed = false;
        m_boundary.push_back(m_two_boundaries && i >= second);
    }
    if (was < 0)
        list.reset();
    else
        list.set_index(was);
    fill_boxes(data.box_cache());
}

void velBSPRun::fill_boxes(velPolyarcline2dBoxCache* cache) {
    m_span_boxes.resize(m_vertices.size());
    m_polyline_boxes.assign(static_cast<std::size_t>(num_polylines()), giBox2());
    m_axis.assign(m_vertices.size(), 0);
    m_circles.assign(m_vertices.size(), Circle{0.0, 0.0, 0.0});
    if (cache) {
        cache->clear();
        cache->reserve(num_polylines(), static_cast<int>(m_vertices.size()));
    }
    for (int i = 0; i < num_polylines(); ++i) {
        const int n = num_pos(i);
        if (cache) cache->open_segment();
        if (n == 1) {
            const giPoint2 p = point(i, 0);
            m_total.merge(p);
            if (cache) cache->add_point(giBox2(p, p));
        }
        for (int j = 0; j + 1 < n; ++j) {
            const Vertex& s = vertex(i, j);
            const Vertex& e = vertex(i, j + 1);
            giBox2 b;
            if (s.b != 0.0) {
                // One circle for the span's box and for its stored circle.
                const double P0[2] = {s.x, s.y}, P1[2] = {e.x, e.y};
                double c[2], r;
                velCirbul::cbbucr(P0, P1, s.b, c, r);
                m_circles[at(m_first[at(i)] + j)] = {c[0], c[1], std::fabs(r)};
                b = span_box_of(s, e, c, r);
            } else {
                b = span_box_of(s, e);
            }
            const double dx = std::fabs(s.x - e.x), dy = std::fabs(s.y - e.y);
            if (s.b < velTol::span_fraction && dx * dx + dy * dy > velTol::coincident * velTol::coincident) {
                unsigned char& kind = m_axis[at(m_first[at(i)] + j)];
                if (dx <= velTol::coincident) kind |= vertical_span;
                if (dy <= velTol::coincident) kind |= horizontal_span;
                m_any_axis = m_any_axis || kind != 0;
            }
            m_span_boxes[at(m_first[at(i)] + j)] = b;
            m_polyline_boxes[at(i)].merge(b);
            m_total.merge(b);
            if (cache) cache->add_span(b);
        }
        if (cache) cache->close_segment();
    }
}

giPoint2 velBSPRun::span_point(int poly, int span, double u) const {
    const Vertex& s = vertex(poly, span);
    const Vertex& e = vertex(poly, span + 1);
    if (u <= 0.0) return {s.x, s.y};
    if (u >= 1.0) return {e.x, e.y};
    if (s.b == 0.0) return {s.x + (e.x - s.x) * u, s.y + (e.y - s.y) * u};
    const double P0[2] = {s.x, s.y}, P1[2] = {e.x, e.y};
    double p[2];
    velCirbul::cbpapo(P0, P1, s.b, u, p);
    return {p[0], p[1]};
}

giPoint2 velBSPRun::span_tangent(int poly, int span, double u) const {
    const Vertex& s = vertex(poly, span);
    const Vertex& e = vertex(poly, span + 1);
    const double P0[2] = {s.x, s.y}, P1[2] = {e.x, e.y};
    double t[2];
    velCirbul::cbpata(P0, P1, s.b, u, t);
    return {t[0], t[1]};
}

namespace {
// Span and fraction of a parameter of a polyline of `spans` spans; the end is the end of the last span.
void split_parameter(double t, int spans, int& span, double& u) {
    span = static_cast<int>(std::floor(t));
    if (span >= spans) span = spans - 1;
    if (span < 0) span = 0;
    u = t - span;
}
} // namespace

giPoint2 velBSPRun::evaluate(int poly, double t) const {
    if (num_spans(poly) == 0) return num_pos(poly) ? point(poly, 0) : giPoint2();
    int k;
    double u;
    split_parameter(t, num_spans(poly), k, u);
    return span_point(poly, k, u);
}

giPoint2 velBSPRun::tangent(int poly, double t) const {
    if (num_spans(poly) == 0) return {0.0, 0.0};
    int k;
    double u;
    split_parameter(t, num_spans(poly), k, u);
    return span_tangent(poly, k, u);
}

void velBSPRun::root_pieces(std::vector<velBSPPiece>& out) const {
    out.clear();
    for (int i = 0; i < num_polylines(); ++i) {
        const int n = num_pos(i);
        if (n < 2) continue;
        velBSPPiece p;
        p.poly = i;
        p.t0 = 0.0;
        p.t1 = n - 1.0;
        p.p0 = point(i, 0);
        p.p1 = point(i, n - 1);
        p.whole = closed(i);
        out.push_back(p);
    }
}
