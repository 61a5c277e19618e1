#include "arcline/intersect/velPolylineBSPTrimmerHelper.h"

#include "arcline/intersect/velBSPPieceSplitter.h"
#include "arcline/intersect/velBSPRun.h"
#include "arcline/intersect/velDirection.h"
#include "arcline/intersect/velPolyarcline2dBoxCache.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"
#include "arcline/polyline/spans/velCirbul.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

// The geometry of a list read through the protocol, one polyline at a time: the source that the piece
// walk reads when it splits a trimmed list.
class ListSource {
public:
    using Vertex = velBSPRun::Vertex;

    ListSource(const velPolylineListIter& list, const velPolyarcline2dBoxCache* boxes)
        : m_list(list.create_new()), m_boxes(boxes) {}

    int num_spans(int poly) const {
        load(poly);
        return m_vertices.size() > 1 ? static_cast<int>(m_vertices.size()) - 1 : 0;
    }
    const Vertex& vertex(int poly, int j) const {
        load(poly);
        return m_vertices[static_cast<std::size_t>(j)];
    }
    giPoint2 point(int poly, int j) const {
        const Vertex& v = vertex(poly, j);
        return {v.x, v.y};
    }
    giPoint2 span_point(int poly, int span, double u) const {
        const Vertex& s = vertex(poly, span);
        const Vertex& e = vertex(poly, span + 1);
        const double P0[2] = {s.x, s.y}, P1[2] = {e.x, e.y};
        double p[2];
        velCirbul::cbpapo(P0, P1, s.b, u, p);
        return {p[0], p[1]};
    }
    giPoint2 evaluate(int poly, double t) const {
        const int last = num_spans(poly);
        if (last == 0) return point(poly, 0);
        const int k = std::clamp(static_cast<int>(t), 0, last - 1);
        return span_point(poly, k, t - k);
    }
    giBox2 span_box(int poly, int span) const {
        if (m_boxes) return m_boxes->get_span_box(poly, span);
        return velBSPRun::span_box_of(vertex(poly, span), vertex(poly, span + 1));
    }

private:
    void load(int poly) const {
        if (poly == m_loaded) return;
        m_list->set_index(poly);
        const int n = m_list->num_pos();
        m_vertices.clear();
        for (int j = 0; j < n; ++j) {
            const giPoint3 p = m_list->get_pos(j);
            m_vertices.push_back(
                {p.x, p.y, j + 1 < n && !m_list->span_linear(j) ? m_list->get_bulge(j) : 0.0});
        }
        m_loaded = poly;
    }

    std::unique_ptr<velPolylineListIter> m_list;
    const velPolyarcline2dBoxCache* m_boxes;
    mutable int m_loaded = -1;
    mutable std::vector<Vertex> m_vertices;
};

int never_closed(const velPolylineListIter&, int, void*) {
    return 0;
}

} // namespace

velPolylineBSPTrimmerHelper::velPolylineBSPTrimmerHelper(velTrimmedPolylineListIter& pieces, int variable,
                                                         double value,
                                                         const velPolyarcline2dBoxCache* box_cache,
                                                         velTrimmedPolylineListIter* low_out,
                                                         velTrimmedPolylineListIter* high_out)
    : m_pieces(pieces), m_variable(variable), m_value(value), m_box_cache(box_cache), m_low(low_out),
      m_high(high_out) {}

void velPolylineBSPTrimmerHelper::subdivide_polyline_single_variable() {
    std::vector<velBSPPiece> in, low, high;
    // Every segment is split on its own: the parts of a closure break come back as the same two segments.
    read_pieces(m_pieces, never_closed, nullptr, in);
    const ListSource source(m_pieces.underlying_iter(), m_box_cache);
    const bool flags = m_pieces.edge_flags_enabled();
    const int low_flag =
        !flags ? velBSPPiece::true_end : (m_variable == 0 ? velDirectionRight : velDirectionTop);
    const int high_flag =
        !flags ? velBSPPiece::true_end : (m_variable == 0 ? velDirectionLeft : velDirectionBottom);
    velBSPPieceSplitter::split(source, in, m_variable, m_value, low_flag, high_flag, low, high);
    if (m_low) write_pieces(low, m_pieces.underlying_iter(), *m_low);
    if (m_high) write_pieces(high, m_pieces.underlying_iter(), *m_high);
}

void velPolylineBSPTrimmerHelper::read_pieces(velTrimmedPolylineListIter& view, velClosureFunction closed,
                                              void* data, std::vector<velBSPPiece>& out) {
    out.clear();
    const ListSource source(view.underlying_iter(), nullptr);
    const int was = view.index();
    int poly = -1;
    view.reset();
    while (++view) {
        if (view.underlying_index() == poly) continue; // the record was read whole at its first piece
        poly = view.underlying_index();
        const velPolylineTrimmings& rec = *view.current_trimmings();
        const int n = rec.num_segs();
        const double last = source.num_spans(poly);
        const bool is_closed = last > 0 && (closed ? closed(view.underlying_iter(), poly, data) : 1) != 0;
        auto piece = [&](int i) {
            velBSPPiece p;
            p.poly = poly;
            p.t0 = rec.segment_start(i);
            p.t1 = rec.segment_end(i);
            p.start_flag = rec.get_start_flag(i);
            p.end_flag = rec.get_end_flag(i);
            p.p0 = source.evaluate(poly, p.t0);
            p.p1 = source.evaluate(poly, p.t1);
            return p;
        };
        const bool wraps =
            is_closed && n >= 2 && rec.segment_start(0) == 0.0 && rec.segment_end(n - 1) == last;
        for (int i = wraps ? 1 : 0; i < (wraps ? n - 1 : n); ++i) {
            velBSPPiece p = piece(i);
            p.whole = is_closed && n == 1 && p.t0 == 0.0 && p.t1 == last;
            out.push_back(p);
        }
        if (wraps) {
            velBSPPiece p = piece(n - 1);
            const velBSPPiece first = piece(0);
            p.t1 = first.t1;
            p.p1 = first.p1;
            p.end_flag = first.end_flag;
            p.wraps = true;
            out.push_back(p);
        }
    }
    view.set_index(was);
}

void velPolylineBSPTrimmerHelper::write_pieces(const std::vector<velBSPPiece>& pieces,
                                               const velPolylineListIter& underlying,
                                               velTrimmedPolylineListIter& out) {
    struct Segment {
        double s, e;
        int fs, fe;
    };
    std::map<int, std::vector<Segment>> by_poly;
    const ListSource source(underlying, nullptr);
    for (const velBSPPiece& p : pieces) {
        auto& segs = by_poly[p.poly];
        if (p.wraps) {
            const double last = source.num_spans(p.poly);
            segs.push_back({p.t0, last, p.start_flag, velPolylineTrimmings::no_flag});
            segs.push_back({0.0, p.t1, velPolylineTrimmings::no_flag, p.end_flag});
        } else {
            segs.push_back({p.t0, p.t1, p.start_flag, p.end_flag});
        }
    }
    std::vector<velPolylineTrimmings> records;
    records.reserve(by_poly.size());
    for (auto& [poly, segs] : by_poly) {
        std::sort(segs.begin(), segs.end(), [](const Segment& a, const Segment& b) { return a.s < b.s; });
        // The record's range is the whole polyline, so that a closing point is recognised as one.
        const double last = source.num_spans(poly);
        const int none = velPolylineTrimmings::no_flag;
        velPolylineTrimmings rec(poly, 0.0, last);
        if (segs.front().s > 0.0)
            rec.trim_underlying_parameter(0, 0.0, segs.front().s, segs.front().fs, none);
        for (std::size_t i = 0; i + 1 < segs.size(); ++i)
            rec.trim_underlying_parameter(rec.num_segs() - 1, segs[i].e, segs[i + 1].s, segs[i + 1].fs,
                                          segs[i].fe);
        if (rec.num_segs() > 0 && segs.back().e < last)
            rec.trim_underlying_parameter(rec.num_segs() - 1, segs.back().e, last, none, segs.back().fe);
        if (rec.num_segs() > 0) {
            rec.set_start_flag(0, segs.front().fs);
            rec.set_end_flag(rec.num_segs() - 1, segs.back().fe);
        }
        records.push_back(std::move(rec));
    }
    out.become(underlying);
    out.set_all_trimmings(std::move(records));
}
