#include "arcline/polyutils/velBooleanVisibility.h"

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/utils/velPlaneSpan.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iterator>
#include <numeric>

namespace {

// The side points lie this fraction of the combined list's size from the test point ...
constexpr double side_step_of_size = 2e-10;
// ... but never closer than this many units of rounding of the coordinates there.
constexpr double side_step_roundings = 256.0;
// Boundaries within a quarter of the side step run through the test point.
constexpr double through_of_side_step = 0.25;
// Test points tried: the middles (and then two more fractions) of at most this many of the longest spans.
constexpr int test_spans = 8;
constexpr double test_fractions[] = {0.5, 0.3, 0.7};
// Where every one of those lies on a stretch shared with another boundary, the loop may still leave it just
// beside a crossing (where the curves part): points ever nearer the ends of the spans are tried.
constexpr double end_fractions[] = {0.01, 0.99, 0.001, 0.999, 1e-4, 1.0 - 1e-4};
// A boundary through the test point must run along the loop: parallel to it (the sine of the angle below
// this) and still within the band this fraction of the span before and after the test point.
constexpr double along_sine = 1e-6;
constexpr double along_check = 0.1;
// The index: a polyline of more spans than this gets bands, about this many spans long each; the grid has
// about one cell per polyline, at most this many a side.
constexpr int banded_spans = 32;
constexpr int spans_per_band = 4;
constexpr int grid_side = 512;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Buckets 0 .. count - 1 filled with items: `each(put)` calls put(bucket, item) for every placement, and is
// called twice (once to count, once to fill). Bucket b's items are items[first[b]] .. items[first[b + 1]] -
// 1, in the order they were put.
template <class Each>
void fill_buckets(int count, std::vector<int>& first, std::vector<int>& items, Each each) {
    first.assign(at(count + 1), 0);
    each([&](int bucket, int) { ++first[at(bucket + 1)]; });
    std::partial_sum(first.begin(), first.end(), first.begin());
    items.resize(at(first.back()));
    each([&](int bucket, int item) { items[at(first[at(bucket)]++)] = item; });
    // The fill moved every start to the next bucket's: shift them back.
    for (int b = count; b > 0; --b)
        first[at(b)] = first[at(b - 1)];
    first[0] = 0;
}

double cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

} // namespace

velBooleanVisibility::velBooleanVisibility(const velPolylineListIter& combined, int second_boundary,
                                           const std::vector<int>& weights)
    : m_list(combined.create_new()), m_second(second_boundary), m_weights(weights) {
    const int n = m_list->size();
    m_weights.resize(at(n), 1);
    m_boxes.resize(at(n));
    m_first.assign(at(n + 1), 0);
    giBox2 all;
    m_list->reset();
    while (++*m_list) {
        const int i = m_list->index();
        m_boxes[at(i)] = m_list->box(vel_2d_box);
        all.merge(m_boxes[at(i)]);
        m_first[at(i)] = static_cast<int>(m_spans.size());
        const int positions = m_list->num_pos();
        for (int k = 0; k + 1 < positions; ++k)
            m_spans.push_back(velPlaneSpan::of(*m_list, k));
        if (positions > 1 && !velPolylineUtils::closed(*m_list, 0.0))
            m_spans.push_back(
                velPlaneSpan::chord(m_list->get_pos(positions - 1).xy(), m_list->get_pos(0).xy()));
        m_first[at(i + 1)] = static_cast<int>(m_spans.size());
    }
    double size = 0.0, reach = 0.0;
    if (!all.empty()) {
        size = std::hypot(all.max().x - all.min().x, all.max().y - all.min().y);
        reach = std::max(
            {std::fabs(all.min().x), std::fabs(all.min().y), std::fabs(all.max().x), std::fabs(all.max().y)});
    }
    m_side = std::max(side_step_of_size * size, side_step_roundings * DBL_EPSILON * reach);
    if (m_side == 0.0) m_side = DBL_MIN;
    m_through = through_of_side_step * m_side;
    build_index(all);
}

void velBooleanVisibility::build_index(const giBox2& all) {
    const int n = static_cast<int>(m_boxes.size());
    // A span counts at points no higher or lower than its disc; the side points lie within m_side of the
    // test point, and the band of the test point serves the three of them.
    const double margin = 2.0 * m_side;
    m_bands.assign(at(n), Bands{});
    for (int i = 0; i < n; ++i) {
        const int first = m_first[at(i)], end = m_first[at(i + 1)];
        if (end - first <= banded_spans) continue;
        Bands& b = m_bands[at(i)];
        const int count = (end - first) / spans_per_band;
        b.y0 = m_boxes[at(i)].min().y - margin;
        const double height = m_boxes[at(i)].max().y + margin - b.y0;
        b.step = height > 0.0 ? height / count : 1.0;
        auto band = [&](double y) { return std::clamp(static_cast<int>((y - b.y0) / b.step), 0, count - 1); };
        fill_buckets(count, b.first, b.items, [&](auto put) {
            for (int k = first; k < end; ++k) {
                const velPlaneSpan& sp = m_spans[at(k)];
                const int lo = band(sp.C0.y - sp.reach - margin), hi = band(sp.C0.y + sp.reach + margin);
                for (int j = lo; j <= hi; ++j)
                    put(j, k);
            }
        });
    }
    m_grid = all;
    if (all.empty() || n == 0) return;
    m_grid.offset(2.0 * m_side);
    const int side = std::clamp(static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n)))), 1, grid_side);
    m_cols = m_rows = side;
    m_cell_w = std::max((m_grid.max().x - m_grid.min().x) / m_cols, DBL_MIN);
    m_cell_h = std::max((m_grid.max().y - m_grid.min().y) / m_rows, DBL_MIN);
    auto col = [&](double x) {
        return std::clamp(static_cast<int>((x - m_grid.min().x) / m_cell_w), 0, m_cols - 1);
    };
    auto row = [&](double y) {
        return std::clamp(static_cast<int>((y - m_grid.min().y) / m_cell_h), 0, m_rows - 1);
    };
    fill_buckets(m_cols * m_rows, m_cell_first, m_cell_items, [&](auto put) {
        for (int i = 0; i < n; ++i) {
            const giBox2& box = m_boxes[at(i)];
            if (box.empty()) continue;
            const int c0 = col(box.min().x - m_side), c1 = col(box.max().x + m_side);
            const int r0 = row(box.min().y - m_side), r1 = row(box.max().y + m_side);
            for (int r = r0; r <= r1; ++r)
                for (int c = c0; c <= c1; ++c)
                    put(r * m_cols + c, i);
        }
    });
}

std::pair<const int*, const int*> velBooleanVisibility::candidates(const giPoint2& p) const {
    if (m_cols == 0 || !m_grid.contains(p)) return {nullptr, nullptr};
    const int c = std::clamp(static_cast<int>((p.x - m_grid.min().x) / m_cell_w), 0, m_cols - 1);
    const int r = std::clamp(static_cast<int>((p.y - m_grid.min().y) / m_cell_h), 0, m_rows - 1);
    const int cell = r * m_cols + c;
    const int* items = m_cell_items.data();
    return {items + m_cell_first[at(cell)], items + m_cell_first[at(cell + 1)]};
}

template <class F>
void velBooleanVisibility::for_spans_near(int i, const giPoint2& q, F&& f) const {
    const Bands& b = m_bands[at(i)];
    if (b.first.empty()) {
        for (int k = m_first[at(i)]; k < m_first[at(i + 1)]; ++k)
            f(k);
        return;
    }
    const double u = (q.y - b.y0) / b.step;
    const int count = static_cast<int>(b.first.size()) - 1;
    if (!(u >= 0.0) || u >= count) return;
    const int j = static_cast<int>(u);
    for (int e = b.first[at(j)]; e < b.first[at(j + 1)]; ++e)
        f(b.items[at(e)]);
}

velBooleanVisibility::~velBooleanVisibility() = default;

bool velBooleanVisibility::inside(int operation, const Counts& c) {
    const bool in_a = c.a != 0, in_b = c.b != 0;
    switch (operation) {
    case addition:
        return in_a || in_b;
    case subtraction:
        return in_a && !in_b;
    default:
        return in_a && in_b;
    }
}

int velBooleanVisibility::decide(int operation, const velPolylineListIter& loop, bool* shares) const {
    Counts left, right;
    if (!side_counts(loop, left, right, shares)) return 0;
    const bool l = inside(operation, left), r = inside(operation, right);
    if (l == r) return 0;
    // Region on the left for addition and intersection, on the right for subtraction.
    const bool as_runs = operation == subtraction ? r : l;
    return as_runs ? 1 : -1;
}

bool velBooleanVisibility::side_counts(const velPolylineListIter& loop, Counts& left, Counts& right,
                                       bool* shares, bool* clear) const {
    if (clear) *clear = false;
    const int spans = loop.num_pos() - 1;
    if (spans < 1) return false;
    std::vector<double> lengths(at(spans));
    // Spans ranked by their chords (an arc's length is no shorter): no arc length needed per span.
    giPoint3 from = loop.get_pos(0);
    for (int k = 0; k < spans; ++k) {
        const giPoint3 to = loop.get_pos(k + 1);
        lengths[at(k)] = std::hypot(to.x - from.x, to.y - from.y);
        from = to;
    }
    std::vector<int> order(at(spans));
    std::iota(order.begin(), order.end(), 0);
    const int tried = std::min(spans, test_spans);
    std::partial_sort(order.begin(), order.begin() + tried, order.end(),
                      [&](int a, int b) { return lengths[at(a)] > lengths[at(b)]; });
    if (!(lengths[at(order[0])] > 0.0)) return false;
    // Best a point where no other boundary runs along the loop: there the loop's own curve alone separates
    // the two sides. Where another one runs along it (a shared edge), the two count together, which is
    // right for the pair but not for a loop that carries one of them only; such a point serves when the
    // loop has no other (equal boundaries).
    bool shared = false;
    int along = 0;
    bool have_fallback = false;
    Counts fallback_left, fallback_right;
    std::vector<double> fractions(std::begin(test_fractions), std::end(test_fractions));
    fractions.insert(fractions.end(), std::begin(end_fractions), std::end(end_fractions));
    for (const double f : fractions) {
        for (int i = 0; i < tried; ++i) {
            const int k = order[at(i)];
            if (!(lengths[at(k)] > 0.0)) break;
            Counts l, r;
            if (!counts_at(loop, k, f, l, r, shared, along, true)) continue;
            if (along <= 1) {
                left = l;
                right = r;
                if (shares) *shares = false;
                if (clear) *clear = true;
                return true;
            }
            if (!have_fallback) {
                have_fallback = true;
                fallback_left = l;
                fallback_right = r;
                if (shares) *shares = shared;
            }
        }
    }
    if (have_fallback) {
        left = fallback_left;
        right = fallback_right;
        return true;
    }
    // Every test point is touched or crossed by some boundary: take the first as it is.
    left = right = Counts{};
    counts_at(loop, order[0], test_fractions[0], left, right, shared, along, false);
    if (shares) *shares = shared;
    return true;
}

bool velBooleanVisibility::counts_at(const velPolylineListIter& loop, int span, double f, Counts& left,
                                     Counts& right, bool& shares, int& along_count, bool strict) const {
    const giPoint3 p3 = loop.get_interpolated_pos(span + f);
    const giUnitVec3 tangent = velPolylineUtils::span_tangent(loop, span, f);
    if (tangent.invalid()) return false;
    const double tx = tangent.x(), ty = tangent.y();
    const double tl = std::hypot(tx, ty);
    if (!(tl > 0.0)) return false;
    const double ux = tx / tl, uy = ty / tl;
    const giPoint2 p(p3.x, p3.y);
    const giPoint2 on_left(p.x - uy * m_side, p.y + ux * m_side),
        on_right(p.x + uy * m_side, p.y - ux * m_side);
    int along_same = 0;
    along_count = 0;
    const auto [first_candidate, end_candidate] = candidates(p);
    for (const int* c = first_candidate; c != end_candidate; ++c) {
        const int i = *c;
        if (!m_boxes[at(i)].contains(p, m_side)) continue;
        const int first = m_first[at(i)], end = m_first[at(i + 1)];
        if (end == first) continue;
        const int weight = m_weights[at(i)];
        int& count_l = i < m_second ? left.a : left.b;
        int& count_r = i < m_second ? right.a : right.b;
        // The winding number at the test point itself serves only a boundary that does not run through it
        // (on a boundary it would be the costly exact case): the near span is looked for first.
        int near = -1;
        for_spans_near(i, p, [&](int k) {
            if (near < 0 && m_spans[at(k)].near(p, m_through)) near = k;
        });
        if (near < 0) {
            int w = 0;
            for_spans_near(i, p, [&](int k) { w += m_spans[at(k)].winding_share(p); });
            count_l += weight * w;
            count_r += weight * w;
            continue;
        }
        // It runs through the test point: along the loop, or only touching or crossing it?
        m_list->set_index(i);
        const int positions = m_list->num_pos();
        double t = -1.0, d = DBL_MAX;
        const int k0 = std::min(near - first, positions - 2);
        velPolylineUtils::get_closest_point(p3, *m_list, k0, k0 + 1.0, t, d);
        const giUnitVec3 after = velPolylineUtils::tangent_after(*m_list, t);
        const giUnitVec3 before = velPolylineUtils::tangent_before(*m_list, t);
        bool along = !after.invalid() && !before.invalid() &&
                     std::fabs(cross(ux, uy, after.x(), after.y())) < along_sine &&
                     std::fabs(cross(ux, uy, before.x(), before.y())) < along_sine &&
                     (ux * after.x() + uy * after.y() > 0.0) == (ux * before.x() + uy * before.y() > 0.0);
        for (const double g : {f - along_check, f + along_check}) {
            if (!along) break;
            const giPoint3 q3 = loop.get_interpolated_pos(span + std::clamp(g, 0.0, 1.0));
            const giPoint2 q(q3.x, q3.y);
            along = false;
            for_spans_near(i, q, [&](int k) { along = along || m_spans[at(k)].near(q, m_through); });
        }
        if (!along && strict) return false;
        ++along_count;
        if (!after.invalid() && ux * after.x() + uy * after.y() > 0.0) ++along_same;
        int wl = 0, wr = 0;
        for_spans_near(i, p, [&](int k) {
            wl += m_spans[at(k)].winding_share(on_left);
            wr += m_spans[at(k)].winding_share(on_right);
        });
        count_l += weight * wl;
        count_r += weight * wr;
    }
    shares = along_same > 1;
    return true;
}

bool velBooleanVisibility::clear_counts_along(const velPolylineListIter& curve, double t0, double t1,
                                              Counts& left, Counts& right) const {
    const int first = std::max(static_cast<int>(std::floor(t0)), 0);
    const int end = std::min(static_cast<int>(std::ceil(t1)), curve.num_pos() - 1);
    // The spans of the stretch, each with the part of it inside, ranked by the part's chord.
    struct Part {
        int span;
        double lo, hi, chord;
    };
    std::vector<Part> parts;
    for (int k = first; k < end; ++k) {
        const double lo = std::max(t0 - k, 0.0), hi = std::min(t1 - k, 1.0);
        if (!(hi > lo)) continue;
        const giPoint3 a = curve.get_pos(k), b = curve.get_pos(k + 1);
        parts.push_back({k, lo, hi, (hi - lo) * std::hypot(b.x - a.x, b.y - a.y)});
    }
    const std::size_t tried = std::min(parts.size(), static_cast<std::size_t>(test_spans));
    std::partial_sort(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(tried), parts.end(),
                      [](const Part& a, const Part& b) { return a.chord > b.chord; });
    for (const double f : test_fractions) {
        for (std::size_t i = 0; i < tried; ++i) {
            const Part& part = parts[i];
            if (!(part.chord > 0.0)) break;
            Counts l, r;
            bool shared = false;
            int along = 0;
            if (!counts_at(curve, part.span, part.lo + f * (part.hi - part.lo), l, r, shared, along, true) ||
                along > 1)
                continue;
            left = l;
            right = r;
            return true;
        }
    }
    return false;
}
