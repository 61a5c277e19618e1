#include "arcline/lists/velPolylineSection.h"

#include "arcline/polyline/utils/velPolylineUtils.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Interval {
    double lo;
    double hi;
};

// A connected stretch of the curve from s to e: [s, e], or, glued through the closure point of a closed
// polyline, [s, P] followed by [0, e] (then s > e).
struct Stretch {
    double s;
    double e;
};

// Sorts the intervals and joins those that overlap or touch.
void normalise(std::vector<Interval>& v) {
    std::sort(v.begin(), v.end(), [](const Interval& a, const Interval& b) { return a.lo < b.lo; });
    std::vector<Interval> out;
    for (const Interval& i : v) {
        if (!out.empty() && i.lo <= out.back().hi) {
            out.back().hi = std::max(out.back().hi, i.hi);
        } else {
            out.push_back(i);
        }
    }
    v = std::move(out);
}

} // namespace

// The parameters that a section (or a combination of two) covers, as sorted disjoint intervals of [0, P].
// On a closed polyline 0 and P are one point: each set holds both as soon as it holds one, and an interval
// ending at P continues in the one starting at 0.
struct velPolylineSection::Pieces {
    Pieces(double end, bool is_closed) : P(end), closed(is_closed) {}

    // The parameters of the section from s to t (wrapping when t < s).
    void add_section(double s, double t) {
        if (t < s) {
            v.push_back({s, P});
            v.push_back({0.0, t});
        } else {
            v.push_back({s, t});
        }
    }
    // Normalises and, on a closed polyline, gives the closure point both its parameters.
    void finish() {
        if (closed) {
            bool at_end = false, at_start = false;
            for (const Interval& i : v) {
                at_end = at_end || i.hi == P;
                at_start = at_start || i.lo == 0.0;
            }
            if (at_end) v.push_back({0.0, 0.0});
            if (at_start) v.push_back({P, P});
        }
        normalise(v);
    }
    bool empty() const { return v.empty(); }
    double measure() const {
        double sum = 0.0;
        for (const Interval& i : v)
            sum += i.hi - i.lo;
        return sum;
    }
    // The connected stretches of the curve, glued through the closure point on a closed polyline.
    std::vector<Stretch> stretches() const {
        std::vector<Stretch> out;
        std::size_t first = 0, last = v.size();
        const bool glued = closed && v.size() >= 2 && v.front().lo == 0.0 && v.back().hi == P;
        if (glued) {
            out.push_back({v.back().lo, v.front().hi});
            first = 1;
            last = v.size() - 1;
        }
        for (std::size_t k = first; k < last; ++k)
            out.push_back({v[k].lo, v[k].hi});
        return out;
    }
    // Whether the stretch holds parameter t (both parameters of the closure point when glued).
    static bool holds(const Stretch& st, double t) {
        return st.s <= st.e ? st.s <= t && t <= st.e : t >= st.s || t <= st.e;
    }

    double P;
    bool closed;
    std::vector<Interval> v;
};

namespace {

// The ends of a stretch as a section writes them: the closure point as 0 where the stretch starts there and
// as P where it ends there; a glued point is the closure point at 0.
Stretch written(Stretch st, double P, bool closed) {
    if (!closed) return st;
    if (st.s == P && st.e == 0.0) return {0.0, 0.0};
    if (st.s == P && st.e != P) st.s = 0.0;
    if (st.e == 0.0 && st.s != 0.0) st.e = P;
    return st;
}

} // namespace

velPolylineSection::velPolylineSection(const velPolylineListIter& iter, double t0, double t1)
    : m_start(&iter, t0), m_end(&iter, t1) {}

velPolylineSection::velPolylineSection(const velPolylinePosition& start, const velPolylinePosition& end)
    : m_start(start), m_end(end) {}

void velPolylineSection::become(const velPolylinePosition& start, const velPolylinePosition& end) {
    m_start = start;
    m_end = end;
}

velPolylineSection velPolylineSection::whole_polyline(const velPolylineListIter& iter, int index) {
    if (index < 0 || index >= iter.size()) return {};
    const velPolylinePosition start(&iter, index, 0.0);
    const int n = start.my_polyline().num_pos();
    if (n < 1) return {};
    return {start, start.moved_to(n - 1.0)};
}

velPolylineSection velPolylineSection::whole_polyline(const velPolylinePosition& p) {
    if (p.iterator() == nullptr) return {};
    return whole_polyline(*p.iterator(), p.polyline_index());
}

bool velPolylineSection::valid() const {
    if (!m_start.valid() || !m_end.valid() || !m_start.is_on_same_polyline(m_end)) return false;
    const double P = polyline().num_pos() - 1.0;
    return m_start.parameter() <= P && m_end.parameter() <= P;
}

bool velPolylineSection::is_whole_polyline() const {
    if (iterator() == nullptr || polyline_index() < 0) return false;
    return m_start.parameter() == 0.0 && m_end.parameter() == polyline().num_pos() - 1.0;
}

double velPolylineSection::parameter_length() const {
    if (!valid()) return 0.0;
    const double s = m_start.parameter(), e = m_end.parameter();
    if (!wraps()) return e - s;
    return (polyline().num_pos() - 1.0 - s) + e;
}

double velPolylineSection::length() const {
    if (!valid()) return 0.0;
    const velPolylineListIter& line = polyline();
    const double s = m_start.parameter(), e = m_end.parameter();
    if (!wraps()) return velPolylineUtils::length(line, s, e);
    return velPolylineUtils::length(line, s, line.num_pos() - 1.0) + velPolylineUtils::length(line, 0.0, e);
}

double velPolylineSection::parameter_at_offset(double a, bool at_start) const {
    const double s = m_start.parameter(), e = m_end.parameter();
    if (a <= 0.0) return s;
    if (a >= parameter_length()) return e;
    const double P = polyline().num_pos() - 1.0;
    const double t = s + a;
    if (t < P) return t;
    // The closure point starts what follows as 0 on a closed polyline.
    if (t == P) return at_start && wraps() && velPolylineUtils::closed(polyline(), 0.0) ? 0.0 : P;
    return std::clamp(t - P, 0.0, e);
}

double velPolylineSection::parameter_at_length(double d, bool at_start) const {
    const double s = m_start.parameter(), e = m_end.parameter();
    if (d <= 0.0) return s;
    const double L = length();
    if (d >= L) return e;
    const velPolylineListIter& line = polyline();
    const double P = line.num_pos() - 1.0;
    // A walk that rounding carries off the end of a piece (-1.0) stops at that end.
    auto walk = [&line](double from, double len, double to) {
        const double t = velPolylineUtils::get_par_at_length(line, from, len, 1, 0);
        return t < 0.0 ? to : std::clamp(t, from, to);
    };
    if (!wraps()) return walk(s, d, e);
    const double first = velPolylineUtils::length(line, s, P);
    if (d > first) return walk(0.0, d - first, e);
    const double t = walk(s, d, P);
    if (t == P && at_start && velPolylineUtils::closed(line, 0.0)) return 0.0;
    return t;
}

velPolylinePosition velPolylineSection::position_at_length(double d) const {
    if (!valid() || !(d >= 0.0)) return {};
    if (d == 0.0) return m_start;
    const double L = length();
    if (d == L) return m_end;
    if (d > L) return {};
    return m_start.moved_to(parameter_at_length(d, false));
}

velPolylinePosition velPolylineSection::midpoint_by_length() const {
    return position_at_length(length() / 2.0);
}

bool velPolylineSection::contains(const velPolylinePosition& p) const {
    if (iterator() == nullptr || p.iterator() != iterator() || p.polyline_index() != polyline_index())
        return false;
    const double t = p.parameter(), s = m_start.parameter(), e = m_end.parameter();
    return wraps() ? (t >= s || t <= e) : (s <= t && t <= e);
}

bool velPolylineSection::contains_excluding_endpoints(const velPolylinePosition& p) const {
    if (iterator() == nullptr || p.iterator() != iterator() || p.polyline_index() != polyline_index())
        return false;
    const double t = p.parameter(), s = m_start.parameter(), e = m_end.parameter();
    return wraps() ? (t > s || t < e) : (s < t && t < e);
}

bool velPolylineSection::contains(const velPolylineSection& other) const {
    if (iterator() == nullptr || other.iterator() != iterator() || other.polyline_index() != polyline_index())
        return false;
    if (is_whole_polyline()) return true;
    if (other.is_whole_polyline()) return false;
    if (!contains(other.m_start) || !contains(other.m_end)) return false;
    // Both ends inside, but other may run the long way round the loop: then it holds one of our ends.
    if (other.contains(m_start)) return other.m_start == m_start;
    if (other.contains(m_end)) return other.m_end == m_end;
    return true;
}

bool velPolylineSection::contains_excluding_endpoints(const velPolylineSection& other) const {
    return contains(other) && !other.contains(m_start) && !other.contains(m_end);
}

bool velPolylineSection::comparable(const velPolylineSection& other) const {
    return iterator() != nullptr && other.iterator() == iterator() &&
           other.polyline_index() == polyline_index() && valid() && other.valid();
}

velPolylineSection velPolylineSection::on_same_polyline(double t0, double t1) const {
    return {m_start.moved_to(t0), m_start.moved_to(t1)};
}

velPolylineSection::Pieces velPolylineSection::common_part(const velPolylineSection& other) const {
    const velPolylineListIter& line = polyline();
    Pieces a(line.num_pos() - 1.0, velPolylineUtils::closed(line, 0.0) != 0);
    Pieces b = a;
    a.add_section(m_start.parameter(), m_end.parameter());
    b.add_section(other.m_start.parameter(), other.m_end.parameter());
    a.finish();
    b.finish();
    Pieces out(a.P, a.closed);
    for (const Interval& i : a.v) {
        for (const Interval& j : b.v) {
            const double lo = std::max(i.lo, j.lo), hi = std::min(i.hi, j.hi);
            if (lo <= hi) out.v.push_back({lo, hi});
        }
    }
    out.finish();
    return out;
}

velPolylineSection::Pieces velPolylineSection::union_with(const velPolylineSection& other) const {
    const velPolylineListIter& line = polyline();
    Pieces out(line.num_pos() - 1.0, velPolylineUtils::closed(line, 0.0) != 0);
    out.add_section(m_start.parameter(), m_end.parameter());
    out.add_section(other.m_start.parameter(), other.m_end.parameter());
    out.finish();
    return out;
}

velPolylineSection velPolylineSection::single_piece(const Pieces& pieces) const {
    const std::vector<Stretch> st = pieces.stretches();
    if (st.size() != 1) return {};
    const Stretch w = written(st.front(), pieces.P, pieces.closed);
    return on_same_polyline(w.s, w.e);
}

bool velPolylineSection::overlaps(const velPolylineSection& other) const {
    return comparable(other) && !common_part(other).empty();
}

bool velPolylineSection::overlaps_excluding_endpoints(const velPolylineSection& other) const {
    return comparable(other) && common_part(other).measure() > 0.0;
}

velPolylineSection velPolylineSection::cropped_by(const velPolylineSection& other) const {
    if (!comparable(other)) return {};
    return single_piece(common_part(other));
}

velPolylineSection velPolylineSection::merged_with(const velPolylineSection& other) const {
    if (!comparable(other)) return {};
    return single_piece(union_with(other));
}

velPolylineSection velPolylineSection::get_start_overlap_with(const velPolylineSection& other) const {
    if (!comparable(other)) return {};
    const Pieces common = common_part(other);
    for (const Stretch& st : common.stretches()) {
        if (!Pieces::holds(st, m_start.parameter())) continue;
        const Stretch w = written(st, common.P, common.closed);
        // The piece begins at our start (with our own parameter for the closure point), unless we are a
        // whole loop and the piece runs through our start.
        if (is_whole_polyline() && common.closed) return on_same_polyline(w.s, w.e);
        if (w.s == w.e) return {m_start, m_start};
        return {m_start, m_start.moved_to(w.e)};
    }
    return {};
}

velPolylineSection velPolylineSection::get_end_overlap_with(const velPolylineSection& other) const {
    if (!comparable(other)) return {};
    const Pieces common = common_part(other);
    for (const Stretch& st : common.stretches()) {
        if (!Pieces::holds(st, m_end.parameter())) continue;
        const Stretch w = written(st, common.P, common.closed);
        if (is_whole_polyline() && common.closed) return on_same_polyline(w.s, w.e);
        if (w.s == w.e) return {m_end, m_end};
        return {m_end.moved_to(w.s), m_end};
    }
    return {};
}

velPolylineSection velPolylineSection::subsection(double a, double b) const {
    if (!valid()) return {};
    const double L = parameter_length();
    a = std::clamp(a, 0.0, L);
    b = std::clamp(b, 0.0, L);
    if (a > b) return {};
    const double t0 = parameter_at_offset(a, true);
    return on_same_polyline(t0, a == b ? t0 : parameter_at_offset(b, false));
}

velPolylineSection velPolylineSection::subsection_by_length(double a, double b) const {
    if (!valid()) return {};
    const double L = length();
    a = std::clamp(a, 0.0, L);
    b = std::clamp(b, 0.0, L);
    if (a > b) return {};
    const double t0 = parameter_at_length(a, true);
    return on_same_polyline(t0, a == b ? t0 : parameter_at_length(b, false));
}

velPolylineSection velPolylineSection::normalized_subsection(double fa, double fb) const {
    if (!valid()) return {};
    const double L = parameter_length();
    fa = std::clamp(fa, 0.0, 1.0);
    fb = std::clamp(fb, 0.0, 1.0);
    // The ends exactly, not as a product that rounding could move.
    return subsection(fa == 1.0 ? L : fa * L, fb == 1.0 ? L : fb * L);
}

velPolylineSection velPolylineSection::normalized_subsection_by_length(double fa, double fb) const {
    if (!valid()) return {};
    const double L = length();
    fa = std::clamp(fa, 0.0, 1.0);
    fb = std::clamp(fb, 0.0, 1.0);
    return subsection_by_length(fa == 1.0 ? L : fa * L, fb == 1.0 ? L : fb * L);
}

velPolylineSection velPolylineSection::expanded_by_length(double d, int wrap) const {
    if (!valid()) return {};
    if (d == 0.0 || std::isnan(d)) return *this;
    const double L = length();
    if (d < 0.0) {
        if (-2.0 * d >= L) {
            const velPolylinePosition mid = midpoint_by_length();
            return {mid, mid};
        }
        return subsection_by_length(-d, L + d);
    }
    const velPolylineListIter& line = polyline();
    const double P = line.num_pos() - 1.0;
    const bool closed = velPolylineUtils::closed(line, 0.0) != 0;
    const bool round = closed && wrap;
    // Ends that grow towards each other (round a loop, or across the gap of a wrapping section) meet once
    // the section would be as long as the polyline.
    if ((round || wraps()) && L + 2.0 * d >= velPolylineUtils::length(line)) return on_same_polyline(0.0, P);
    double s = velPolylineUtils::get_par_at_length(line, m_start.parameter(), d, 0, round ? 1 : 0);
    double e = velPolylineUtils::get_par_at_length(line, m_end.parameter(), d, 1, round ? 1 : 0);
    // A walk that runs off an end of the polyline stops there.
    if (s < 0.0) s = 0.0;
    if (e < 0.0) e = P;
    const Stretch w = written({s, e}, P, closed);
    return on_same_polyline(w.s, w.e);
}

velPolylineSection velPolylineSection::transferred_to(velPolylineListIter& iter) const {
    if (!valid()) return {};
    return {velPolylinePosition(&iter, polyline_index(), m_start.parameter()),
            velPolylinePosition(&iter, polyline_index(), m_end.parameter())};
}

void velPolylineSection::copy_to(velPolylineListCursor& cursor) const {
    if (!valid()) return;
    const velPolylineListIter& line = polyline();
    const double s = m_start.parameter(), e = m_end.parameter();
    // The pieces of [a, b] span by span.
    auto write = [&](double a, double b) {
        for (double k = std::floor(a); k < b; k += 1.0) {
            const double t0 = std::max(a, k), t1 = std::min(b, k + 1.0);
            if (t1 > t0) cursor.add_span(line, t0, t1);
        }
    };
    cursor.create_polyline();
    ++cursor;
    cursor.add_interpolated_pos(line, s);
    if (!wraps()) {
        write(s, e);
        return;
    }
    write(s, line.num_pos() - 1.0);
    // An open polyline has no closure point: the straight span from its last position to its first joins
    // the two pieces.
    if (!velPolylineUtils::closed(line, 0.0)) cursor.add_pos(line, 0);
    write(0.0, e);
}
