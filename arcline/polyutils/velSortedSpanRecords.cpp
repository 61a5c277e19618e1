#include "arcline/polyutils/velSortedSpanRecords.h"

#include "arcline/lists/velPolylineListIterWithOffsetFlags.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <unordered_map>
#include <vector>

namespace {

struct RawSpan {
    double ax, ay, bx, by;
    bool arc = false;
    double cx = 0, cy = 0, r = 0;
    double a0 = 0, sweep = 0; // start angle and signed sweep of an arc
    double x0, y0, x1, y1;    // box
    velOffsetInfo record;
};

double angle_in(double a, double from, double sweep) {
    // The signed angle from `from` to `a` in the sweep's direction, 0 .. 2 pi.
    double d = sweep >= 0.0 ? a - from : from - a;
    d = std::fmod(d, 2.0 * std::numbers::pi);
    if (d < 0.0) d += 2.0 * std::numbers::pi;
    return d;
}

// Distance from (x, y) to the span, and whether the span there runs along (dx, dy) (positive dot product).
double distance_along(const RawSpan& s, double x, double y, double dx, double dy, bool& along) {
    if (!s.arc) {
        const double ux = s.bx - s.ax, uy = s.by - s.ay;
        const double len2 = ux * ux + uy * uy;
        double t = len2 > 0.0 ? ((x - s.ax) * ux + (y - s.ay) * uy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        along = ux * dx + uy * dy > 0.0;
        return std::hypot(x - (s.ax + t * ux), y - (s.ay + t * uy));
    }
    const double a = std::atan2(y - s.cy, x - s.cx);
    const double d = angle_in(a, s.a0, s.sweep);
    // The tangent of the arc at angle a, in its running direction.
    const double tx = s.sweep >= 0.0 ? -(y - s.cy) : (y - s.cy),
                 ty = s.sweep >= 0.0 ? (x - s.cx) : -(x - s.cx);
    along = tx * dx + ty * dy > 0.0;
    if (d <= std::fabs(s.sweep)) return std::fabs(std::hypot(x - s.cx, y - s.cy) - s.r);
    return std::min(std::hypot(x - s.ax, y - s.ay), std::hypot(x - s.bx, y - s.by));
}

RawSpan read_span(const velPolylineListIter& in, int k) {
    RawSpan s;
    const giPoint3 A = in.get_pos(k), B = in.get_pos(k + 1);
    s.ax = A.x;
    s.ay = A.y;
    s.bx = B.x;
    s.by = B.y;
    s.x0 = std::min(s.ax, s.bx);
    s.x1 = std::max(s.ax, s.bx);
    s.y0 = std::min(s.ay, s.by);
    s.y1 = std::max(s.ay, s.by);
    if (in.span_linear(k)) return s;
    const giPoint3 M = in.get_mid_pos(k);
    // The circle through A, M, B.
    const double mx = M.x, my = M.y;
    const double d = 2.0 * (s.ax * (my - s.by) + mx * (s.by - s.ay) + s.bx * (s.ay - my));
    if (std::fabs(d) < velTol::formula_zero) return s;
    const double a2 = s.ax * s.ax + s.ay * s.ay, m2 = mx * mx + my * my, b2 = s.bx * s.bx + s.by * s.by;
    s.cx = (a2 * (my - s.by) + m2 * (s.by - s.ay) + b2 * (s.ay - my)) / d;
    s.cy = (a2 * (s.bx - mx) + m2 * (s.ax - s.bx) + b2 * (mx - s.ax)) / d;
    s.r = std::hypot(s.ax - s.cx, s.ay - s.cy);
    s.arc = true;
    s.a0 = std::atan2(s.ay - s.cy, s.ax - s.cx);
    const double ab = std::atan2(s.by - s.cy, s.bx - s.cx);
    const bool ccw = (mx - s.ax) * (s.by - s.ay) - (my - s.ay) * (s.bx - s.ax) > 0.0; // bulging to the right
    s.sweep = ccw ? angle_in(ab, s.a0, 1.0) : -angle_in(ab, s.a0, -1.0);
    if (std::fabs(s.sweep) < velTol::formula_zero)
        s.sweep = ccw ? 2.0 * std::numbers::pi : -2.0 * std::numbers::pi;
    s.x0 = std::min(s.x0, s.cx - s.r);
    s.x1 = std::max(s.x1, s.cx + s.r);
    s.y0 = std::min(s.y0, s.cy - s.r);
    s.y1 = std::max(s.y1, s.cy + s.r);
    return s;
}

class Grid {
public:
    Grid(const std::vector<RawSpan>& spans) : m_spans(spans) {
        double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300, sum = 0.0;
        for (const RawSpan& s : spans) {
            x0 = std::min(x0, s.x0);
            y0 = std::min(y0, s.y0);
            x1 = std::max(x1, s.x1);
            y1 = std::max(y1, s.y1);
            sum += std::max(s.x1 - s.x0, s.y1 - s.y0);
        }
        m_x0 = x0;
        m_y0 = y0;
        m_extent = std::max(x1 - x0, y1 - y0);
        const double mean = spans.empty() ? 1.0 : sum / static_cast<double>(spans.size());
        m_cell = std::max({2.0 * mean, m_extent / 4096.0, velTol::coincident});
        for (std::size_t i = 0; i < spans.size(); ++i) {
            const RawSpan& s = spans[i];
            const long i0 = cell(s.x0 - m_x0), i1 = cell(s.x1 - m_x0);
            const long j0 = cell(s.y0 - m_y0), j1 = cell(s.y1 - m_y0);
            if ((i1 - i0 + 1) * (j1 - j0 + 1) > max_cells_per_span) {
                m_big.push_back(static_cast<int>(i));
                continue;
            }
            for (long a = i0; a <= i1; ++a)
                for (long b = j0; b <= j1; ++b)
                    m_cells[key(a, b)].push_back(static_cast<int>(i));
        }
    }
    double extent() const { return m_extent; }

    // The nearest span within tol of (x, y) that runs along (dx, dy); -1 when none.
    int nearest(double x, double y, double dx, double dy, double tol) const {
        int best = -1;
        double best_d = tol;
        auto consider = [&](int i) {
            bool along = false;
            const double d = distance_along(m_spans[static_cast<std::size_t>(i)], x, y, dx, dy, along);
            if (along && d <= best_d) {
                best_d = d;
                best = i;
            }
        };
        const long i0 = cell(x - tol - m_x0), i1 = cell(x + tol - m_x0);
        const long j0 = cell(y - tol - m_y0), j1 = cell(y + tol - m_y0);
        for (long a = i0; a <= i1; ++a)
            for (long b = j0; b <= j1; ++b) {
                const auto it = m_cells.find(key(a, b));
                if (it == m_cells.end()) continue;
                for (const int i : it->second)
                    consider(i);
            }
        for (const int i : m_big)
            consider(i);
        return best;
    }

private:
    static constexpr long max_cells_per_span = 256;
    long cell(double v) const { return static_cast<long>(std::floor(v / m_cell)); }
    static long long key(long a, long b) {
        return (static_cast<long long>(a) << 32) ^ static_cast<unsigned>(b);
    }

    const std::vector<RawSpan>& m_spans;
    double m_x0 = 0, m_y0 = 0, m_extent = 0, m_cell = 1;
    std::unordered_map<long long, std::vector<int>> m_cells;
    std::vector<int> m_big;
};

} // namespace

int velSortedSpanRecords::recover(const velPolylineListIter& raw,
                                  velPolylineWithOffsetFlagsListCursor& sorted) {
    const auto* records = dynamic_cast<const velPolylineListIterWithOffsetFlags*>(&raw);
    if (!records) return 0;
    std::unique_ptr<velPolylineListIter> in(raw.create_new());
    const auto* in_records = dynamic_cast<const velPolylineListIterWithOffsetFlags*>(in.get());
    std::vector<RawSpan> spans;
    std::vector<int> next; // the raw span after each one on its polyline (cyclic on closed ones)
    for (in->reset(); ++*in;) {
        const int n = in->num_pos() - 1;
        const int first = static_cast<int>(spans.size());
        for (int k = 0; k < n; ++k) {
            RawSpan s = read_span(*in, k);
            in_records->get_offset_info(k, s.record);
            spans.push_back(s);
            next.push_back(k + 1 < n ? first + k + 1 : first);
        }
    }
    if (spans.empty()) return 0;
    const Grid grid(spans);
    const double tol = std::max(match_fraction * grid.extent(), 0.0) + 2.0 * velTol::sort_retry_move;
    const double quick = match_fraction * grid.extent() + velTol::coincident;

    int given = 0;
    for (sorted.reset(); ++sorted;) {
        velPolylineListIter& out = sorted.iterator();
        const int n = out.num_pos() - 1;
        int previous = -1;
        for (int k = 0; k < n; ++k) {
            const giPoint3 A = out.get_pos(k), B = out.get_pos(k + 1);
            giPoint3 M =
                out.span_linear(k) ? giPoint3(0.5 * (A.x + B.x), 0.5 * (A.y + B.y), A.z) : out.get_mid_pos(k);
            // The running direction at M: the chord for a line; for an arc, the chord too (at the mid point
            // an arc runs parallel to its chord).
            const double dx = B.x - A.x, dy = B.y - A.y;
            int match = -1;
            if (previous >= 0) {
                for (const int c : {previous, next[static_cast<std::size_t>(previous)]}) {
                    bool along = false;
                    if (distance_along(spans[static_cast<std::size_t>(c)], M.x, M.y, dx, dy, along) <=
                            quick &&
                        along) {
                        match = c;
                        break;
                    }
                }
            }
            if (match < 0) match = grid.nearest(M.x, M.y, dx, dy, tol);
            if (match < 0) continue;
            const velOffsetInfo& r = spans[static_cast<std::size_t>(match)].record;
            sorted.set_offset_flag(k, r.temporary_span, r.span_position, r.span_side);
            previous = match;
            ++given;
        }
    }
    return given;
}
