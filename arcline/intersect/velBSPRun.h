#pragma once
// The geometry of one BSP intersection run, read once from the input list into flat arrays: per polyline its
// vertices (x, y and the bulge of the span that starts there), whether it is closed, and which boundary it
// belongs to; per span its box (from the cross data's box cache when there is one). Every node of the tree
// reads spans from here by (polyline, span) index, so the hot loops make no virtual call.
//
// Spans are planar: a tilted arc is taken by its XY projection's bulge, as the list protocol gives it.

#include "arcline/intersect/velBSPPiece.h"
#include "arcline/platform/giBox2.h"
#include "arcline/platform/giPoint2.h"

#include <memory>
#include <vector>

class velCrossData;
class velPolylineListIter;
class velPolyarcline2dBoxCache;

class velBSPRun {
public:
    struct Vertex {
        double x, y;
        double b; // bulge of the span from this vertex to the next (0 for the last vertex)
    };

    // Reads every polyline of `list` (left where it stood). Closure comes from the cross data's closure
    // function (every polyline closed without one); boundaries from its second boundary index. When the
    // cross data has a box cache it is filled from the same vertices and used; otherwise span boxes are
    // computed here.
    velBSPRun(velPolylineListIter& list, velCrossData& data);

    velCrossData& cross_data() const { return *m_data; }
    // The input list (the underlying list of the root's view, which the run keeps alive).
    const velPolylineListIter& list() const { return *m_list; }
    void keep_view(std::shared_ptr<const void> view) { m_view = std::move(view); }
    int num_polylines() const { return static_cast<int>(m_first.size()) - 1; }
    int num_pos(int poly) const { return m_first[at(poly) + 1] - m_first[at(poly)]; }
    int num_spans(int poly) const { return num_pos(poly) > 1 ? num_pos(poly) - 1 : 0; }
    const Vertex& vertex(int poly, int j) const { return m_vertices[at(m_first[at(poly)] + j)]; }
    giPoint2 point(int poly, int j) const {
        const Vertex& v = vertex(poly, j);
        return {v.x, v.y};
    }
    double bulge(int poly, int span) const { return vertex(poly, span).b; }
    const giBox2& span_box(int poly, int span) const { return m_span_boxes[at(m_first[at(poly)] + span)]; }
    // The union of a polyline's span boxes (empty for a polyline without spans).
    const giBox2& polyline_box(int poly) const { return m_polyline_boxes[at(poly)]; }
    // The circle of an arc span (radius 0 for a straight span or a zero chord).
    struct Circle {
        double x, y, r;
    };
    const Circle& circle(int poly, int span) const { return m_circles[at(m_first[at(poly)] + span)]; }
    bool closed(int poly) const { return m_closed[at(poly)] != 0; }
    // 0 for boundary A (or the only boundary), 1 for boundary B.
    int boundary(int poly) const { return m_boundary[at(poly)]; }
    bool two_boundaries() const { return m_two_boundaries; }
    bool any_arcs() const { return m_any_arcs; }
    bool all_closed() const { return m_all_closed; }
    // The union of the span boxes (one-position polylines add their point); empty when no polyline has a
    // position.
    const giBox2& total_box() const { return m_total; }

    // Point and unit tangent at underlying parameter t of a polyline (t in [0, last]).
    giPoint2 evaluate(int poly, double t) const;
    giPoint2 tangent(int poly, double t) const;
    // The direction of span `span` at bulge parameter u, not normalised (the chord of a straight span).
    giPoint2 span_direction(int poly, int span, double u) const {
        const Vertex& s = vertex(poly, span);
        const Vertex& e = vertex(poly, span + 1);
        const double dx = e.x - s.x, dy = e.y - s.y;
        if (s.b == 0.0) return {dx, dy};
        const double v = 2.0 * u - 1.0, k = 1.0 - v * s.b * v * s.b, g = -2.0 * s.b * v;
        return {k * dx + g * dy, k * dy - g * dx};
    }
    // The same within one span at bulge parameter u in [0, 1].
    giPoint2 span_point(int poly, int span, double u) const;
    giPoint2 span_tangent(int poly, int span, double u) const;

    // The box of the span from s to e (s.b its bulge): the ends and the circle's extreme points on the arc.
    static giBox2 span_box_of(const Vertex& s, const Vertex& e);
    // The same with the arc's circle (centre c, signed radius r from velCirbul::cbbucr) already computed.
    static giBox2 span_box_of(const Vertex& s, const Vertex& e, const double c[2], double r);

    // Straight spans along an axis, which split lines must keep clear of: bit 1 for a vertical span, bit 2
    // for a horizontal one. A span counts as straight when its signed bulge is below span_fraction (clockwise
    // arcs included) and its ends are apart by more than the coincidence tolerance.
    static constexpr unsigned char vertical_span = 1, horizontal_span = 2;
    unsigned char axis_span(int poly, int span) const { return m_axis[at(m_first[at(poly)] + span)]; }
    bool any_axis_spans() const { return m_any_axis; }

    // Working arrays reused from node to node: a run is used by one thread at a time.
    struct SpanUse {
        int poly, span, piece;
        double u0, u1;
    };
    struct UniqueSpan {
        int poly, span, first, n;
        giBox2 box; // holds the part of the span in the node (the whole span's box but for lines)
    };
    struct Scratch {
        std::vector<velBSPPiece> left, right, cut, quadrants[4];
        std::vector<SpanUse> uses;
        std::vector<UniqueSpan> spans;
        std::vector<int> free;
    };
    Scratch& scratch() const { return m_scratch; }

    // The pieces of the root: every polyline with at least two positions, whole (closed polylines as whole
    // closed pieces, open ones with true ends).
    void root_pieces(std::vector<velBSPPiece>& out) const;

private:
    static std::size_t at(int k) { return static_cast<std::size_t>(k); }
    void fill_boxes(velPolyarcline2dBoxCache* cache);

    velCrossData* m_data;
    const velPolylineListIter* m_list;
    std::shared_ptr<const void> m_view; // keeps the root's view (and so m_list) alive
    std::vector<int> m_first{0};
    std::vector<Vertex> m_vertices;
    std::vector<giBox2> m_span_boxes; // indexed like the vertices; the last vertex's slot is unused
    std::vector<giBox2> m_polyline_boxes;
    std::vector<Circle> m_circles;     // indexed like the vertices
    std::vector<unsigned char> m_axis; // indexed like the vertices
    std::vector<unsigned char> m_closed;
    std::vector<unsigned char> m_boundary;
    giBox2 m_total;
    bool m_two_boundaries = false;
    bool m_any_arcs = false;
    bool m_all_closed = true;
    bool m_any_axis = false;
    mutable Scratch m_scratch;
};
