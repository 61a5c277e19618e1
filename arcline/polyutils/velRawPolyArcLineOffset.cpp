#include "arcline/polyutils/velRawPolyArcLineOffset.h"

#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velTolerances.h"
#include "arcline/polyutils/velOffsetValidity.h"
#include "arcline/polyutils/velRawOffsetMeet.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Record k of `records` (size n); the default record past its end or without records.
velOffsetInfo record(const velOffsetInfocoPageArrcoPrf& records, int n, int k) {
    return k < n ? (*records)[k] : velOffsetInfo();
}

// The spans of a poly-arc-line contour read one by one, in order, with their temporary flags and labels
// as the contour's span objects carry them.
class SpanReader {
public:
    explicit SpanReader(const velPolyArcLineAdapter& contour)
        : m_line(contour.polyarcline()), m_current(contour.current_flags()),
          m_constant(contour.constant_flags()), m_n_current(m_current ? m_current->size() : 0),
          m_n_constant(m_constant ? m_constant->size() : 0) {
        if (m_line.num_pos() > 0) m_line.get_pos(1, m_end);
    }
    int size() const { return m_line.num_spans(); }
    giPoint3 first_point() const {
        giPoint3 p;
        m_line.get_pos(1, p);
        return p;
    }
    giPoint3 last_point() const {
        giPoint3 p;
        m_line.get_pos(m_line.num_pos(), p);
        return p;
    }
    // The next span (span 1 first).
    velRawOffsetSpan next() {
        const int i = ++m_span;
        const giPoint3 start = m_end;
        m_line.get_pos(i + 1, m_end);
        bool arc = !m_line.span_linear(i);
        giPoint3 mid;
        if (arc) {
            m_line.get_mid_pos(i, mid);
            arc = !mid.is_unset();
        }
        velRawOffsetSpan span =
            arc ? velRawOffsetSpan::arc_through(start, mid, m_end) : velRawOffsetSpan::line(start, m_end);
        // Temporary flags live in the current records; labels in the constant records when there are some.
        if (m_n_current > 0 || m_n_constant > 0) {
            const velOffsetInfo flags = record(m_current, m_n_current, i - 1);
            const velOffsetInfo label = m_constant ? record(m_constant, m_n_constant, i - 1) : flags;
            if (flags.temporary_span) (arc ? span.temp_arc : span.temp_line) = true;
            span.set_label(label.span_position, label.span_side);
        }
        return span;
    }

private:
    const velAbsPolyArcLine& m_line;
    const velOffsetInfocoPageArrcoPrf m_current;
    const velOffsetInfocoPageArrcoPrf& m_constant;
    const int m_n_current, m_n_constant;
    giPoint3 m_end;
    int m_span = 0;
};

} // namespace

velRawPolyArcLineOffset::velRawPolyArcLineOffset(const Settings& settings, int input_spans)
    : m_settings(settings), m_input_spans(input_spans) {
    m_out.reserve(2 * static_cast<std::size_t>(input_spans) + 8);
}

velRawOffsetSpan velRawPolyArcLineOffset::offset_span(const velRawOffsetSpan& span, const giVector3& t0,
                                                      const giVector3& t1) const {
    const velRawOffsetJoins::Settings& s = m_settings.joins;
    velRawOffsetSpan moved = span.moved(s.offset, t0, t1);
    // An arc so flat that it collapsed only by rounding is offset as the line it nearly is.
    if (moved.temp_line && span.arc &&
        std::fabs(span.b * span.chord() * 0.5) < velPolyArcLineAdapter::contour_tol) {
        velRawOffsetSpan straight = velRawOffsetSpan::line(span.s, span.e);
        moved = straight.moved(s.offset);
    }
    if (s.span_info)
        moved.set_label(span.position, span.side);
    else
        moved.clear_label();
    return moved;
}

void velRawPolyArcLineOffset::join(const velRawOffsetSpan& prev_in, const velRawOffsetSpan& cur_in,
                                   const giVector3& t1, const giVector3& t2, velRawOffsetSpan& cur,
                                   bool same) {
    const velRawOffsetJoins::Settings& s = m_settings.joins;
    const bool after_collapsed = cur_in.arc && cur.temp_line;
    if (m_out.empty()) {
        velRawOffsetJoins::round(prev_in, cur_in, t1, t2, false, after_collapsed, m_out, s);
        return;
    }
    velRawOffsetSpan& prev = m_out.back();
    if (!same) {
        // Temporary lines stand for collapsed arcs: their crossings with neighbours mean nothing.
        if (m_input_spans > 2 && !prev.temp_line && !cur.temp_line) {
            // How far apart the offsets of the input corner lie: the rounded corner's chord.
            const giPoint3 A = prev_in.e + velRawOffsetSpan::right_normal(t1) * s.offset;
            const giPoint3 B = prev_in.e + velRawOffsetSpan::right_normal(t2) * s.offset;
            const giVector3 D = B - A;
            if (velRawOffsetMeet::trim(prev, cur, s.tol, D.x() * D.x() + D.y() * D.y())) return;
        }
        if (m_settings.extend && velRawOffsetJoins::extend(prev, cur, m_out, s)) return;
    }
    const bool before_collapsed = prev_in.arc && m_out.back().temp_line;
    velRawOffsetJoins::round(prev_in, cur_in, t1, t2, before_collapsed, after_collapsed, m_out, s);
}

velAbsContourcoPrf velRawPolyArcLineOffset::write(const velPolyArcLineAdapter& kind, const Spans& out,
                                                  double tol) {
    // Cleaning (velSpanVectorContour::clean) as the spans are written: a span within `tol` of a point is
    // left out, and the span after it starts where the one before ended, as positions do; a closed result
    // whose end spans went is closed again by its first position.
    const auto degenerate = [tol](const velRawOffsetSpan& span) {
        return span.s.distance_squared(span.e) <= tol * tol &&
               (!span.arc || span.s.distance_squared(span.mid()) <= tol * tol);
    };
    const std::size_t n = out.size();
    std::size_t first = 0, last = n;
    while (first < n && degenerate(out[first]))
        ++first;
    if (first == n) return {};
    while (degenerate(out[last - 1]))
        --last;
    const bool closed = out.front().s == out.back().e;
    giPoint3 at = closed ? out[last - 1].e : out[first].s; // the same point unless spans went

    std::unique_ptr<velAbsPolyArcLine> line(kind.polyarcline().create_empty());
    const int arcs = line->can_hold_arcs();
    line->reserve(static_cast<int>(last - first) + 1);
    auto records =
        std::make_shared<velOffsetInfocoPageArr>(velPolylineWithOffsetFlagsListCursor::flag_page_factor);
    for (std::size_t i = first; i < last; ++i) {
        const velRawOffsetSpan& span = out[i];
        if (i > first && degenerate(span)) continue;
        // A storage class of straight spans refuses arcs, as appending them would.
        if (span.arc && !arcs) continue;
        if (line->num_pos() == 0) {
            if (i > first) at = span.s;
            line->add_pos(at);
        }
        if (span.arc) {
            // An arc whose start moved keeps its bulge.
            const double p0[2] = {at.x, at.y}, p1[2] = {span.e.x, span.e.y};
            double m[2];
            velCirbul::cbbump(p0, p1, span.b, m);
            line->add_arc(giPoint3(m[0], m[1], at.z), span.e);
        } else {
            line->add_pos(span.e);
        }
        at = span.e;
        velOffsetInfo info;
        info.temporary_span = span.temporary();
        info.span_position = span.position;
        info.span_side = span.side;
        records->append(info);
    }
    auto result = ut_make_shared_claiming<velPolyArcLineAdapter>(std::move(line));
    result->adopt_flags(records);
    return result;
}

velAbsContourcoPrf velRawPolyArcLineOffset::offset(const velPolyArcLineAdapter& contour,
                                                   const Settings& settings, int& changed) {
    changed = 0;
    SpanReader reader(contour);
    const int n = reader.size();
    const double d = settings.joins.offset;
    const bool closed = n > 0 && reader.first_point() == reader.last_point();

    velRawPolyArcLineOffset run(settings, n);
    Spans& out = run.m_out;
    velRawOffsetSpan first_in, prev_in;
    giVector3 prev_t1;                               // end tangent of the input span before
    giPoint3 low = reader.first_point(), high = low; // box of the positions
    for (int i = 0; i < n; ++i) {
        const velRawOffsetSpan cur_in = reader.next();
        low = giPoint3(std::min(low.x, cur_in.e.x), std::min(low.y, cur_in.e.y), 0.0);
        high = giPoint3(std::max(high.x, cur_in.e.x), std::max(high.y, cur_in.e.y), 0.0);
        giVector3 t0, t1;
        cur_in.tangents(t0, t1);
        velRawOffsetSpan cur = run.offset_span(cur_in, t0, t1);
        if (i > 0) run.join(prev_in, cur_in, prev_t1, t0, cur, false);
        velRawOffsetJoins::add_span(cur, out, settings.joins);
        if (i == 0) first_in = cur_in;
        prev_in = cur_in;
        prev_t1 = t1;
    }
    // A closed contour offset inward by half its extent vanishes. Its positions alone reaching farther
    // settle it without the exact box (arcs' extreme points), which is asked for small ones only.
    if (closed && !contour.valid_offsetting_pars() &&
        !(std::max(high.x - low.x, high.y - low.y) > contour.get_tol() + 2.0 * std::fabs(d)) &&
        velOffsetValidity::vanishes(contour, d))
        return {};
    changed = n > 0 ? 1 : 0;
    if (!out.empty() && closed) {
        const giVector3 t2 = first_in.start_tangent();
        if (out.size() == 1) {
            // A result of one span meets itself at the closing point: only a rounded corner applies.
            velRawOffsetSpan only = out.front();
            run.join(prev_in, first_in, prev_t1, t2, only, true);
        } else {
            // The joins change the first span's start; appends go after the last, never onto it.
            velRawOffsetSpan first = out.front();
            run.join(prev_in, first_in, prev_t1, t2, first, false);
            const giPoint3 end = out.front().e; // taken over from a removed end span when the rest went
            out.front() = first;
            if (out.size() == 1) out.front().e = end;
        }
        if (out.front().s != out.back().e) out.front().s = out.back().e;
    }
    if (out.empty()) return {};
    return write(contour, out, velTol::span_fraction);
}
