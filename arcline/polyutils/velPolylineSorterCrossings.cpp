// The sorter's crossings: the intersection behind every query, the double crossings of coinciding
// stretches dropped, and orders of crowded crossings tried until the order is one that closed planar curves
// can have.

#include "arcline/intersect/velIntersectorBSPNode.h"
#include "arcline/intersect/velListIntersector.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/velTolerances.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velSorterScratch.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Orders of crowded crossings tried at most, over all groups together ...
constexpr long max_orders_tried = 40320; // 8!
// ... and fewer on long tables: every order tried costs a consistency test over all records, and this
// bounds orders times records (a few tenths of a second), so that a flood of crossings (coincident arcs)
// cannot stall the sort.
constexpr long max_order_work = 4'000'000;
// Points sampled inside each of two stretches to tell whether they coincide.
constexpr int stretch_samples = 5;

// Distance in XY from p to span k of the current polyline of `list` (the whole span).
double distance_to_span(const velPolylineListIter& list, int k, const giPoint3& p) {
    const giPoint3 a = list.get_pos(k), b = list.get_pos(k + 1);
    const double cx = b.x - a.x, cy = b.y - a.y;
    const double d2 = cx * cx + cy * cy;
    const double bulge = list.span_linear(k) ? 0.0 : list.get_bulge(k);
    const double to_a = std::hypot(p.x - a.x, p.y - a.y), to_b = std::hypot(p.x - b.x, p.y - b.y);
    if (d2 == 0.0) return to_a;
    if (std::fabs(bulge) <= velTol::bulge_zero) {
        const double t = std::clamp(((p.x - a.x) * cx + (p.y - a.y) * cy) / d2, 0.0, 1.0);
        return std::hypot(p.x - (a.x + t * cx), p.y - (a.y + t * cy));
    }
    // The arc's mid point lies bulge * d / 2 to the right of the chord's middle; its centre on that line.
    const double d = std::sqrt(d2);
    const double rx = cy / d, ry = -cx / d; // right normal
    const double s = bulge * d / 2.0;
    const double r = (s * s + d2 / 4.0) / (2.0 * s); // signed with the bulge
    const double ox = (a.x + b.x) / 2.0 + rx * (s - r), oy = (a.y + b.y) / 2.0 + ry * (s - r);
    const double px = p.x - ox, py = p.y - oy;
    const double len = std::hypot(px, py);
    if (len == 0.0) return std::fabs(r);
    const double qx = ox + px / len * std::fabs(r), qy = oy + py / len * std::fabs(r);
    // The arc is the part of its circle on the mid point's side of the chord (the mid point lies s along
    // the right normal).
    const double side_q = (qx - a.x) * rx + (qy - a.y) * ry;
    if ((side_q >= 0.0) == (s >= 0.0)) return std::fabs(len - std::fabs(r));
    return std::min(to_a, to_b);
}

// The spans that the stretch from t0 forwards to t1 touches (through the closure when t1 < t0).
// The number of spans that stretch_spans(spans, t0, t1) lists.
int forward_span_count(int spans, double t0, double t1) {
    const int k0 = std::clamp(static_cast<int>(std::floor(t0)), 0, spans - 1);
    const int k1 = std::clamp(static_cast<int>(std::floor(t1)), 0, spans - 1);
    return (k1 - k0 + spans) % spans + 1;
}

std::vector<int> stretch_spans(int spans, double t0, double t1) {
    std::vector<int> out;
    const int k0 = std::clamp(static_cast<int>(std::floor(t0)), 0, spans - 1);
    const int k1 = std::clamp(static_cast<int>(std::floor(t1)), 0, spans - 1);
    for (int k = k0;; k = (k + 1) % spans) {
        out.push_back(k);
        if (k == k1 || static_cast<int>(out.size()) > spans) break;
    }
    return out;
}

double span_distance_in_parameter(int spans, double t0, double t1) {
    double d = std::fabs(std::floor(t0) - std::floor(t1));
    return std::min(d, spans - d);
}

} // namespace

int velPolylineSorter::self_intersect(const velPolylineListIter& in, int second_boundary,
                                      int store_alternates, int force_box_cache, torCurvePtr3coDList* debug) {
    m_tree.reset();
    m_data.crossings().clear();
    m_tables.clear();
    m_num_crossings = 0;
    // Coordinates that are not finite have no crossings to find (and no place in the tree).
    if (!velSorterScratch::all_finite(in)) return 0;
    std::unique_ptr<velPolylineListIter> list(in.create_new());
    bool any = false;
    list->reset();
    while (!any && ++*list)
        any = list->num_pos() > 0;
    if (!any) return 0;
    m_data.set_store_crossing_pairs(1);
    m_data.set_store_alternate_crossings(store_alternates);
    m_data.set_second_boundary_index(second_boundary);
    m_data.set_intersections(1);
    m_data.set_visibility_test(0);
    m_data.set_closure_function(m_closure ? m_closure : &velListIntersector::closed_by_coincident_ends,
                                m_closure_data);
    m_data.set_totally_closed(m_closure == &all_closed);
    if (force_box_cache) m_data.enable_box_cache();
    m_tree = std::make_unique<velIntersectorBSPNode>(*list, &m_data);
    int count = 0;
    if (m_tree->destructive_subdivision(velIntersectorBSPNode::max_breadth_first_nodes, count, m_progress) ==
        2) {
        m_stopped = 1;
        return -1;
    }
    tree_picture(debug);
    m_tables.build(m_data.crossings(), closure_flags(*list));
    debug_crossings(*list, "prerat_crossings", 3);
    m_num_crossings = rationalize_crossings(*list);
    debug_crossings(*list, "crossings", 3);
    return m_num_crossings;
}

std::vector<char> velPolylineSorter::closure_flags(const velPolylineListIter& in) const {
    std::vector<char> closed(static_cast<std::size_t>(in.size()), 1);
    if (m_closure == &all_closed) return closed;
    std::unique_ptr<velPolylineListIter> list(in.create_new());
    list->reset();
    while (++*list) {
        const int i = list->index();
        closed[static_cast<std::size_t>(i)] =
            m_closure ? static_cast<char>(m_closure(*list, i, m_closure_data) != 0)
                      : static_cast<char>(velListIntersector::closed_by_coincident_ends(*list, i, nullptr));
    }
    return closed;
}

int velPolylineSorter::rationalize_crossings(const velPolylineListIter& in) {
    std::unique_ptr<velPolylineListIter> one(in.create_new());
    std::unique_ptr<velPolylineListIter> two(in.create_new());
    velCrossingcoPageArr& crossings = m_data.crossings();
    // Whether the stretch of curve `a` from record ra to sa keeps within the tolerance of curve `b` near
    // the stretch from rb to sb.
    auto stretch_within = [&](int ra, int sa, int rb, int sb) {
        one->set_index(m_tables.curve(ra));
        two->set_index(m_tables.curve(rb));
        const int spans_a = one->num_pos() - 1, spans_b = two->num_pos() - 1;
        if (spans_a < 1 || spans_b < 1) return false;
        double t0 = m_tables.param(ra), t1 = m_tables.param(sa);
        if (t1 < t0) t1 += spans_a; // through the closure
        double u0 = m_tables.param(rb), u1 = m_tables.param(sb);
        if (u1 < u0) std::swap(u0, u1);
        // The other stretch may run either way round; take the spans of the shorter way.
        const std::vector<int> near =
            forward_span_count(spans_b, u1, u0) < forward_span_count(spans_b, u0, u1)
                ? stretch_spans(spans_b, u1, u0)
                : stretch_spans(spans_b, u0, u1);
        for (int k = 1; k <= stretch_samples; ++k) {
            double t = t0 + (t1 - t0) * k / (stretch_samples + 1);
            if (t >= spans_a) t -= spans_a;
            const giPoint3 p = one->get_interpolated_pos(t);
            double best = INFINITY;
            for (const int s : near)
                best = std::min(best, distance_to_span(*two, s, p));
            if (best > velTol::coinciding_stretch) return false;
        }
        return true;
    };
    // Passes over the order: a stretch found drops its four records at once, and the tables are rebuilt
    // once a pass has dropped some (rebuilding after every stretch made a flood of crossings along
    // coinciding curves quadratic). Within a pass the links of the records beside a dropped one are stale,
    // so a candidate touching a dropped record waits for the next pass.
    for (;;) {
        std::vector<char> dropped(static_cast<std::size_t>(m_tables.num_records()), 0);
        auto is_dropped = [&](int x) { return dropped[static_cast<std::size_t>(x)] != 0; };
        bool any = false;
        for (const int r : m_tables.order()) {
            if (!m_tables.valid(r) || is_dropped(r)) continue;
            const int s = m_tables.next_crossing_on_same_curve(r);
            if (s < 0 || s == r || !m_tables.valid(s) || s == velCrossingOrderTables::next_intersection(r))
                continue;
            if (m_tables.other_curve(r) != m_tables.other_curve(s)) continue;
            const int r2 = velCrossingOrderTables::next_intersection(r);
            const int s2 = velCrossingOrderTables::next_intersection(s);
            if (is_dropped(s) || is_dropped(r2) || is_dropped(s2)) continue;
            // Consecutive on the other curve too, either way round: together they cut out one thin piece.
            const int after_r2 = m_tables.next_crossing_on_same_curve(r2);
            const int after_s2 = m_tables.next_crossing_on_same_curve(s2);
            if (after_r2 != s2 && after_s2 != r2) continue;
            one->set_index(m_tables.curve(r));
            two->set_index(m_tables.curve(r2));
            const int spans_a = one->num_pos() - 1, spans_b = two->num_pos() - 1;
            if (span_distance_in_parameter(spans_a, m_tables.param(r), m_tables.param(s)) > 1.0 ||
                span_distance_in_parameter(spans_b, m_tables.param(r2), m_tables.param(s2)) > 1.0)
                continue;
            if (!stretch_within(r, s, r2, s2) || !stretch_within(r2, s2, r, s)) continue;
            for (const int x : {r, r2, s, s2}) {
                m_segments.add_redundant_trimming(m_tables.curve(x), m_tables.param(x));
                crossings.enter(x).set_invalid();
                dropped[static_cast<std::size_t>(x)] = 1;
            }
            any = true;
        }
        if (!any) break;
        m_tables.build(crossings, closure_flags(in));
    }
    return m_tables.num_valid() / 2;
}

int velPolylineSorter::fix_crossing_consistency(const velPolylineListIter& in) {
    if (m_tables.check_order_consistency()) return 0;
    if (fix_crossing_consistency(in, velTol::order_uncertain_fine) == 0) return 0;
    return fix_crossing_consistency(in, velTol::order_uncertain_coarse);
}

int velPolylineSorter::fix_crossing_consistency(const velPolylineListIter& in, double tolerance) {
    (void)in;
    // Groups of records next to each other along a curve whose crossing points lie within the tolerance of
    // their neighbour: positions in the order (start, size).
    const std::vector<int> before = m_tables.order();
    const velCrossingcoPageArr& crossings = m_data.crossings();
    std::vector<std::pair<int, int>> groups;
    for (int c = 0, k = 0; c < m_tables.num_curves(); k += m_tables.num_on_curve(c), ++c) {
        const int end = k + m_tables.num_on_curve(c);
        for (int i = k; i < end;) {
            int j = i + 1;
            while (j < end && crossings.read(before[static_cast<std::size_t>(j)])
                                  .point()
                                  .coincident(crossings.read(before[static_cast<std::size_t>(j - 1)]).point(),
                                              tolerance))
                ++j;
            if (j - i > 1) groups.emplace_back(i, j - i);
            i = j;
        }
    }
    if (groups.empty()) return 1;
    // Every combination of orders of the groups, numbered in the factorial number system per group.
    long total = 1;
    std::vector<long> radix;
    for (const auto& g : groups) {
        long f = 1;
        for (int i = 2; i <= g.second; ++i)
            f = std::min(f * i, max_orders_tried + 1);
        radix.push_back(f);
        total = std::min(total * f, max_orders_tried + 1);
    }
    total = std::min(total, max_orders_tried);
    total = std::min(total, std::max(2L, max_order_work / std::max(1L, static_cast<long>(before.size()))));
    int found = 0;
    std::vector<int> chosen;
    std::vector<int> order(before.size());
    for (long number = 1; number < total && found < 2; ++number) {
        order = before;
        long rest = number;
        for (std::size_t g = 0; g < groups.size(); ++g) {
            long code = rest % radix[g];
            rest /= radix[g];
            // The code-th permutation of the group's records (Lehmer code).
            std::vector<int> pool(before.begin() + groups[g].first,
                                  before.begin() + groups[g].first + groups[g].second);
            for (int i = 0; i < groups[g].second; ++i) {
                long f = 1;
                for (int m = 2; m < groups[g].second - i; ++m)
                    f *= m;
                const long pick = code / f;
                code %= f;
                order[static_cast<std::size_t>(groups[g].first + i)] = pool[static_cast<std::size_t>(pick)];
                pool.erase(pool.begin() + pick);
            }
        }
        m_tables.set_order(order);
        if (m_tables.check_order_consistency()) {
            if (++found == 1) chosen = order;
        }
    }
    if (found == 1) {
        m_tables.set_order(chosen);
        return 0;
    }
    m_tables.set_order(before);
    return 1;
}
