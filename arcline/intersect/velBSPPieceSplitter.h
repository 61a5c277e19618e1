#pragma once
// Splitting the pieces of a BSP node at one of its split lines: coordinate `axis` (0: x, 1: y) equal to
// `value`. Every piece is walked span by span; spans whose box lies wholly on one side are passed over, the
// others are cut exactly (velAxisCut). The parts below the value go to `low`, the others to `high`; the ends
// made by the cuts get `low_flag` (in low) or `high_flag` (in high) and lie exactly on the line, and the
// other ends keep their flags. A cut point is computed once and stored in both parts, so that the pieces on
// the two sides of a line meet it at the same place: the crossing tests of the children rely on that.
//
// A whole closed polyline that the line cuts becomes pieces, one of which runs across its closing point;
// parts of zero length are dropped.

#include "arcline/intersect/velAxisCut.h"
#include "arcline/intersect/velBSPPiece.h"
#include "arcline/intersect/velBSPRun.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

class velBSPPieceSplitter {
public:
    // Appends the parts of `pieces` to low and high. Source: see velBSPPieceWalk below (velBSPRun is one).
    template <class Source>
    static void split(const Source& run, const std::vector<velBSPPiece>& pieces, int axis, double value,
                      int low_flag, int high_flag, std::vector<velBSPPiece>& low,
                      std::vector<velBSPPiece>& high);

    // Calls f(span, u0, u1) for every span of the piece in order along it, with the part [u0, u1] of the
    // span that the piece covers; stops early when f returns false. `last` is the polyline's span count.
    template <class F>
    static void for_each_span(int last, const velBSPPiece& p, F&& f);
    template <class F>
    static void for_each_span(const velBSPRun& run, const velBSPPiece& p, F&& f) {
        for_each_span(run.num_spans(p.poly), p, std::forward<F>(f));
    }
    // The number of spans the piece touches.
    static int num_spans(const velBSPRun& run, const velBSPPiece& p) {
        return num_spans(run.num_spans(p.poly), p);
    }
    static int num_spans(int last, const velBSPPiece& p) {
        auto count = [last](double a, double b) {
            if (!(a < b)) return 0;
            int first, final;
            span_range(a, b, last, first, final);
            return final - first + 1;
        };
        return p.wraps ? count(p.t0, last) + count(0.0, p.t1) : count(p.t0, p.t1);
    }
    // The spans [first, final] that the range [a, b] (0 <= a < b) of a polyline of `last` spans touches.
    static void span_range(double a, double b, int last, int& first, int& final) {
        first = std::min(static_cast<int>(a), last - 1);
        int c = static_cast<int>(b);
        if (c < b) ++c;
        final = std::max(std::min(c - 1, last - 1), first);
    }

protected:
    velBSPPieceSplitter() = default;
};

template <class F>
void velBSPPieceSplitter::for_each_span(int last, const velBSPPiece& p, F&& f) {
    // The spans of [a, b] (a < b, no closing point inside); false when f asked to stop.
    auto range = [&](double a, double b) {
        if (!(a < b)) return true;
        int first, final;
        span_range(a, b, last, first, final);
        for (int k = first; k <= final; ++k) {
            const double u0 = k == first ? a - k : 0.0;
            const double u1 = k == final ? b - k : 1.0;
            if (!f(k, u0, u1)) return false;
        }
        return true;
    };
    if (!p.wraps) {
        range(p.t0, p.t1);
        return;
    }
    if (range(p.t0, static_cast<double>(last))) range(0.0, p.t1);
}

// The walk over one piece: the part being built and the side it lies on. Source gives the geometry:
// num_spans(poly), vertex(poly, j) (x, y, b), point(poly, j), span_point(poly, span, u) and
// span_box(poly, span); velBSPRun is one, the trimmed-list splitter has another.
template <class Source>
class velBSPPieceWalk {
public:
    velBSPPieceWalk(const Source& run, const velBSPPiece& p, int axis, double value, int low_flag,
                    int high_flag, std::vector<velBSPPiece>& low, std::vector<velBSPPiece>& high)
        : m_run(run), m_p(p), m_axis(axis), m_value(value), m_low_flag(low_flag), m_high_flag(high_flag),
          m_low(low), m_high(high), m_last(run.num_spans(p.poly)) {}

    void run() {
        if (!m_p.wraps && !m_p.whole && single_straight_span()) return;
        m_part = m_p;
        m_part.wraps = false;
        m_part.whole = false;
        m_high_side = m_p.p0[m_axis] >= m_value;
        // The piece's final span, where the stored end point (not the vertex) gives the side.
        int first, final;
        velBSPPieceSplitter::span_range(m_p.wraps ? 0.0 : m_p.t0, m_p.t1, m_last, first, final);
        m_final = final;
        int prev = -1;
        velBSPPieceSplitter::for_each_span(m_run.num_spans(m_p.poly), m_p, [&](int k, double u0, double u1) {
            if (k < prev) m_crossed_closure = m_part_crossed_closure = true;
            prev = k;
            span(k, u0, u1);
            return true;
        });
        finish();
    }

private:
    static double along(const auto& v, int axis) { return axis == 0 ? v.x : v.y; }

    // The common piece inside one straight span: at most one cut, taken from the span's own vertices as the
    // general walk takes it. False when the piece is not of that kind.
    bool single_straight_span() {
        int first, final;
        velBSPPieceSplitter::span_range(m_p.t0, m_p.t1, m_last, first, final);
        if (first != final) return false;
        const auto& s = m_run.vertex(m_p.poly, first);
        if (s.b != 0.0) return false;
        const bool h0 = m_p.p0[m_axis] >= m_value, h1 = m_p.p1[m_axis] >= m_value;
        if (h0 == h1) {
            (h0 ? m_high : m_low).push_back(m_p);
            return true;
        }
        const auto& e = m_run.vertex(m_p.poly, first + 1);
        const double a = along(s, m_axis), d = along(e, m_axis) - a;
        const double u = std::clamp(d != 0.0 ? (m_value - a) / d : 0.5, m_p.t0 - first, m_p.t1 - first);
        giPoint2 at(s.x + (e.x - s.x) * u, s.y + (e.y - s.y) * u);
        at[m_axis] = m_value;
        const double t = first + u;
        velBSPPiece before = m_p, after = m_p;
        before.t1 = t;
        before.p1 = at;
        before.end_flag = h0 ? m_high_flag : m_low_flag;
        after.t0 = t;
        after.p0 = at;
        after.start_flag = h1 ? m_high_flag : m_low_flag;
        if (before.t0 < before.t1) (h0 ? m_high : m_low).push_back(before);
        if (after.t0 < after.t1) (h1 ? m_high : m_low).push_back(after);
        return true;
    }

    void span(int k, double u0, double u1) {
        const bool final = k == m_final && (!m_p.wraps || m_crossed_closure);
        if (!final) {
            // A span whose box lies wholly on the current side ends there too: nothing to cut.
            const giBox2& box = m_run.span_box(m_p.poly, k);
            if (m_high_side ? box.min()[m_axis] >= m_value : box.max()[m_axis] < m_value) return;
        }
        const giPoint2 end = final ? m_p.p1 : m_run.point(m_p.poly, k + 1);
        const bool end_high = end[m_axis] >= m_value;
        const auto& s = m_run.vertex(m_p.poly, k);
        if (end_high == m_high_side) {
            // No change of side between the ends: a line stays, an arc stays when its box does.
            if (s.b == 0.0) return;
            const giBox2& box = m_run.span_box(m_p.poly, k);
            const double lo = box.min()[m_axis], hi = box.max()[m_axis];
            if (m_high_side ? lo >= m_value : hi < m_value) return;
        }
        const auto& e = m_run.vertex(m_p.poly, k + 1);
        const double P0[2] = {s.x, s.y}, P1[2] = {e.x, e.y};
        double u[velAxisCut::max_cuts];
        const int n = velAxisCut::cuts(P0, P1, s.b, m_axis, m_value, u0, u1, m_high_side, end_high, u);
        for (int i = 0; i < n; ++i) {
            giPoint2 at = m_run.span_point(m_p.poly, k, u[i]);
            at[m_axis] = m_value;
            cut(k + u[i], at);
        }
    }

    // Ends the current part at parameter t and starts the next one there, on the other side.
    void cut(double t, const giPoint2& at) {
        velBSPPiece done = m_part;
        done.t1 = t;
        done.p1 = at;
        done.end_flag = m_high_side ? m_high_flag : m_low_flag;
        emit(done, m_part_crossed_closure, m_high_side);
        m_high_side = !m_high_side;
        m_part.t0 = t;
        m_part.p0 = at;
        m_part.start_flag = m_high_side ? m_high_flag : m_low_flag;
        m_part_crossed_closure = false;
    }

    void finish() {
        velBSPPiece done = m_part;
        done.t1 = m_p.t1;
        done.p1 = m_p.p1;
        done.end_flag = m_p.end_flag;
        if (m_p.whole && m_parts == 0) {
            // Not cut: the whole closed polyline lies on one side.
            (m_high_side ? m_high : m_low).push_back(m_p);
            return;
        }
        if (m_p.whole && m_held_valid && m_held_high == m_high_side) {
            // The last part runs on through the closing point into the first: one piece across it.
            done.t1 = m_held.t1;
            done.p1 = m_held.p1;
            done.end_flag = m_held.end_flag;
            m_held_valid = false;
            emit(done, true, m_high_side);
            return;
        }
        emit(done, m_part_crossed_closure, m_high_side);
        if (m_held_valid) {
            // The closing point of a polyline whose ends do not meet exactly: a true end of both parts.
            m_held_valid = false;
            emit(m_held, false, m_held_high);
        }
    }

    void emit(velBSPPiece part, bool crossed_closure, bool high_side) {
        ++m_parts;
        part.whole = false;
        part.wraps = crossed_closure;
        if (part.wraps && part.t0 >= m_last) {
            part.t0 = 0.0;
            part.wraps = false;
        }
        if (part.wraps && part.t1 <= 0.0) {
            part.t1 = m_last;
            part.wraps = false;
        }
        // The first part of a whole closed polyline waits for the last one, which may join it.
        if (m_p.whole && m_parts == 1) {
            m_held = part;
            m_held_high = high_side;
            m_held_valid = true;
            return;
        }
        if (!part.wraps && !(part.t0 < part.t1)) return; // zero length
        (high_side ? m_high : m_low).push_back(part);
    }

    const Source& m_run;
    const velBSPPiece& m_p;
    const int m_axis;
    const double m_value;
    const int m_low_flag, m_high_flag;
    std::vector<velBSPPiece>& m_low;
    std::vector<velBSPPiece>& m_high;
    const int m_last;
    int m_final = 0;
    velBSPPiece m_part;
    bool m_high_side = false;
    bool m_crossed_closure = false;      // the walk has passed the closing point
    bool m_part_crossed_closure = false; // the current part has
    int m_parts = 0;
    velBSPPiece m_held;
    bool m_held_high = false;
    bool m_held_valid = false;
};

template <class Source>
void velBSPPieceSplitter::split(const Source& run, const std::vector<velBSPPiece>& pieces, int axis,
                                double value, int low_flag, int high_flag, std::vector<velBSPPiece>& low,
                                std::vector<velBSPPiece>& high) {
    for (const velBSPPiece& p : pieces)
        velBSPPieceWalk<Source>(run, p, axis, value, low_flag, high_flag, low, high).run();
}
