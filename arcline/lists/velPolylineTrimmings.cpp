#include "arcline/lists/velPolylineTrimmings.h"

#include "arcline/polyline/spans/velArc2Utils.h"

#include <algorithm>
#include <cmath>

namespace {

// A boundary within snap_tol of a whole number is that number.
double snapped(double x) {
    const double whole = std::floor(x + 0.5);
    return std::fabs(x - whole) <= velPolylineTrimmings::snap_tol ? whole : x;
}

// Inserts a copy of the `per` entries of segment i after them.
template <class T>
void duplicate_entries(std::vector<T>& v, int i, std::size_t per) {
    if (v.empty()) return;
    const auto at = v.begin() + static_cast<std::ptrdiff_t>(per * std::size_t(i));
    std::vector<T> copy(at, at + static_cast<std::ptrdiff_t>(per));
    v.insert(at + static_cast<std::ptrdiff_t>(per), copy.begin(), copy.end());
}

template <class T>
void erase_entries(std::vector<T>& v, int i, std::size_t per) {
    if (v.empty()) return;
    const auto at = v.begin() + static_cast<std::ptrdiff_t>(per * std::size_t(i));
    v.erase(at, at + static_cast<std::ptrdiff_t>(per));
}

// The union of two sorted lists of closed intervals given as flat boundary lists; touching intervals merge.
std::vector<double> union_of(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<std::pair<double, double>> all;
    for (std::size_t k = 0; k + 1 < a.size(); k += 2)
        all.emplace_back(a[k], a[k + 1]);
    for (std::size_t k = 0; k + 1 < b.size(); k += 2)
        all.emplace_back(b[k], b[k + 1]);
    std::stable_sort(all.begin(), all.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<double> out;
    for (const auto& [s, e] : all) {
        if (!out.empty() && s <= out.back()) {
            out.back() = std::max(out.back(), e);
        } else {
            out.push_back(s);
            out.push_back(e);
        }
    }
    return out;
}

std::vector<double> boundaries_of(const velPolylineTrimmings& t) {
    std::vector<double> b;
    for (int i = 0; i < t.num_segs(); ++i) {
        b.push_back(t.segment_start(i));
        b.push_back(t.segment_end(i));
    }
    return b;
}

} // namespace

void velPolylineTrimmings::set_box(int i, const giBox3& b) {
    if (m_boxes.empty()) m_boxes.assign(std::size_t(m_num_segs), giBox3());
    m_boxes[std::size_t(i)] = b;
}

void velPolylineTrimmings::set_start_flag(int i, int flag) {
    if (m_flags.empty()) {
        if (flag == no_flag) return;
        m_flags.assign(2 * std::size_t(m_num_segs), no_flag);
    }
    m_flags[2 * std::size_t(i)] = flag;
}

void velPolylineTrimmings::set_end_flag(int i, int flag) {
    if (m_flags.empty()) {
        if (flag == no_flag) return;
        m_flags.assign(2 * std::size_t(m_num_segs), no_flag);
    }
    m_flags[2 * std::size_t(i) + 1] = flag;
}

int velPolylineTrimmings::get_monotone(int i, gi_Axis& axis) const {
    if (m_monotone.empty()) return 0;
    axis = static_cast<gi_Axis>(m_monotone[2 * std::size_t(i) + 1]);
    return m_monotone[2 * std::size_t(i)];
}

void velPolylineTrimmings::set_monotone(int i, int flag, int axis) {
    if (m_monotone.empty()) m_monotone.assign(2 * std::size_t(m_num_segs), 0);
    m_monotone[2 * std::size_t(i)] = flag;
    m_monotone[2 * std::size_t(i) + 1] = axis;
}

void velPolylineTrimmings::reset(double start, double end) {
    m_start = start;
    m_end = end;
    m_num_segs = 1;
    m_segs.clear();
    drop_extras();
}

void velPolylineTrimmings::make_array() {
    if (m_segs.empty() && m_num_segs == 1) m_segs = {m_start, m_end};
}

void velPolylineTrimmings::set_segment(int i, double s, double e) {
    make_array();
    m_segs[2 * std::size_t(i)] = s;
    m_segs[2 * std::size_t(i) + 1] = e;
}

void velPolylineTrimmings::drop_extras() {
    m_boxes.clear();
    m_flags.clear();
    m_monotone.clear();
}

void velPolylineTrimmings::box_not_computed(int i) {
    if (!m_boxes.empty()) m_boxes[std::size_t(i)] = giBox3();
}

void velPolylineTrimmings::set_boundaries(std::vector<double> b) {
    m_num_segs = static_cast<int>(b.size() / 2);
    m_segs = std::move(b);
    drop_extras();
}

void velPolylineTrimmings::duplicate_segment(int i) {
    make_array();
    duplicate_entries(m_segs, i, 2);
    duplicate_entries(m_boxes, i, 1);
    duplicate_entries(m_flags, i, 2);
    duplicate_entries(m_monotone, i, 2);
    ++m_num_segs;
}

void velPolylineTrimmings::remove_segment(int i) {
    make_array();
    erase_entries(m_segs, i, 2);
    erase_entries(m_boxes, i, 1);
    erase_entries(m_flags, i, 2);
    erase_entries(m_monotone, i, 2);
    --m_num_segs;
}

void velPolylineTrimmings::trim_underlying_parameter(int i, double a, double b, int fs, int fe) {
    a = snapped(a);
    b = snapped(b);
    const double s = segment_start(i);
    const double e = segment_end(i);
    if (!(b > a || (b == a && (a == s || b == e)))) return;
    // Only the part of the range on the segment counts.
    a = std::max(a, s);
    b = std::min(b, e);
    if (b < a) return;
    if (std::fabs(a - s) <= snap_tol) {
        if (b >= e - snap_tol) {
            remove_segment(i);
            return;
        }
        set_segment(i, b, e);
        set_start_flag(i, fs);
    } else if (b >= e - snap_tol) {
        set_segment(i, s, a);
        set_end_flag(i, fe);
    } else {
        // A cut inside: two segments, [s, a] and [b, e].
        duplicate_segment(i);
        set_segment(i, s, a);
        set_end_flag(i, fe);
        set_segment(i + 1, b, e);
        set_start_flag(i + 1, fs);
        box_not_computed(i + 1);
    }
    box_not_computed(i);
}

double velPolylineTrimmings::underlying_parameter(int i, double t, double bulge) const {
    const double s = segment_start(i);
    const double e = segment_end(i);
    const int n = num_pos(i);
    int k = static_cast<int>(std::floor(t));
    double f = t - k;
    if (k >= n - 1) {
        k = n - 2;
        f = 1.0;
    }
    if (n < 2) return s;
    double a, b;
    if (k == 0) {
        a = s;
        b = n - 2 == 0 ? e : std::floor(s) + 1;
    } else if (k == n - 2) {
        a = std::ceil(e) - 1;
        b = e;
    } else {
        a = std::floor(s) + k;
        b = a + 1;
    }
    // Positions map exactly.
    if (f == 0.0) return a;
    if (f == 1.0) return b;
    if (bulge != 0.0 && (k == 0 || k == n - 2)) {
        // A partial arc is parametrised in its own right.
        const double m = std::floor(a);
        return a + (b - a) * velArc2Utils::reparameterise(a - m, b - m, bulge, f);
    }
    return a + f * (b - a);
}

void velPolylineTrimmings::trim(int i, double a, double b, double bulge_a, double bulge_b, int fs, int fe) {
    const double ua = underlying_parameter(i, a, bulge_a);
    const double ub = underlying_parameter(i, b, bulge_b);
    trim_underlying_parameter(i, ua, ub, fs, fe);
}

void velPolylineTrimmings::split(int i, double t, double bulge) {
    const double u = snapped(underlying_parameter(i, t, bulge));
    const double s = segment_start(i);
    const double e = segment_end(i);
    duplicate_segment(i);
    set_segment(i, s, u);
    set_segment(i + 1, u, e);
    box_not_computed(i);
    box_not_computed(i + 1);
}

void velPolylineTrimmings::invert(int last) {
    std::vector<double> gaps;
    double prev = 0.0;
    for (int i = 0; i < m_num_segs; ++i) {
        if (segment_start(i) > prev) {
            gaps.push_back(prev);
            gaps.push_back(segment_start(i));
        }
        prev = std::max(prev, segment_end(i));
    }
    if (last > prev) {
        gaps.push_back(prev);
        gaps.push_back(last);
    }
    set_boundaries(std::move(gaps));
}

void velPolylineTrimmings::add(const velPolylineTrimmings& other, velPolylineTrimmings& result) const {
    if (m_num_segs == 0 || other.m_num_segs == 0) {
        result = m_num_segs == 0 ? other : *this;
        return;
    }
    const double lo = std::min(segment_start(0), other.segment_start(0));
    const double hi = std::max(segment_end(m_num_segs - 1), other.segment_end(other.m_num_segs - 1));
    result.m_index = m_index;
    result.reset(lo, hi);
    result.set_boundaries(union_of(boundaries_of(*this), boundaries_of(other)));
}

void velPolylineTrimmings::subtract(const velPolylineTrimmings& other, velPolylineTrimmings& result) const {
    if (m_num_segs == 0) return;
    if (other.m_num_segs == 0) {
        result = *this;
        return;
    }
    // this \ other = complement, within [0, L], of (complement of this) u other.
    const int L = static_cast<int>(std::ceil(segment_end(m_num_segs - 1)));
    velPolylineTrimmings gaps(*this);
    gaps.invert(L);
    std::vector<double> u = union_of(boundaries_of(gaps), boundaries_of(other));
    std::vector<double> clipped;
    for (std::size_t k = 0; k + 1 < u.size(); k += 2) {
        const double s = std::max(u[k], 0.0), e = std::min(u[k + 1], double(L));
        if (s < e || (s == e && s >= 0.0 && s <= L)) {
            clipped.push_back(s);
            clipped.push_back(e);
        }
    }
    result = *this;
    result.set_boundaries(std::move(clipped));
    result.invert(L);
}

void velPolylineTrimmings::defragment(int& i) {
    if (m_num_segs < 2) return;
    std::vector<double> b;
    int renumbered = i;
    for (int k = 0; k < m_num_segs; ++k) {
        if (!b.empty() && segment_start(k) - b.back() <= snap_tol) {
            b.back() = std::max(b.back(), segment_end(k));
        } else {
            b.push_back(segment_start(k));
            b.push_back(segment_end(k));
        }
        if (k == i) renumbered = static_cast<int>(b.size() / 2) - 1;
    }
    if (static_cast<int>(b.size() / 2) == m_num_segs) return;
    set_boundaries(std::move(b));
    i = renumbered;
}

bool velPolylineTrimmings::check_consistent() const {
    for (int i = 0; i < m_num_segs; ++i) {
        if (segment_start(i) > segment_end(i)) return false;
        if (i > 0 && segment_start(i) <= segment_end(i - 1)) return false;
    }
    return true;
}
