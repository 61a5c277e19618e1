#include "arcline/polyutils/velCrossingOrderTables.h"

#include "arcline/intersect/velCrossingcoPageArr.h"

#include <algorithm>
#include <map>
#include <utility>

void velCrossingOrderTables::clear() {
    m_curve.clear();
    m_param.clear();
    m_closed.clear();
    m_order.clear();
    m_curve_start.assign(1, 0);
    m_rank.clear();
}

void velCrossingOrderTables::build(const velCrossingcoPageArr& crossings, const std::vector<char>& closed) {
    clear();
    m_closed = closed;
    const int n = crossings.size() & ~1; // whole mirror pairs only
    const int curves = static_cast<int>(closed.size());
    m_curve.resize(at(n));
    m_param.resize(at(n));
    m_rank.assign(at(n), -1);
    std::vector<int> count(at(curves) + 1, 0);
    for (int r = 0; r < n; r += 2) {
        const velCrossing& c = crossings.read(r);
        const velCrossing& m = crossings.read(r + 1);
        m_curve[at(r)] = c.index1();
        m_param[at(r)] = c.param1();
        m_curve[at(r + 1)] = m.index1();
        m_param[at(r + 1)] = m.param1();
        const bool ok = !c.invalid() && !m.invalid() && c.index1() >= 0 && c.index1() < curves &&
                        m.index1() >= 0 && m.index1() < curves;
        if (!ok) continue;
        m_rank[at(r)] = m_rank[at(r + 1)] = 0; // valid; ranked below
        ++count[at(c.index1()) + 1];
        ++count[at(m.index1()) + 1];
    }
    m_curve_start.assign(at(curves) + 1, 0);
    for (int c = 0; c < curves; ++c)
        m_curve_start[at(c) + 1] = m_curve_start[at(c)] + count[at(c) + 1];
    m_order.assign(at(m_curve_start.back()), -1);
    std::vector<int> fill(m_curve_start.begin(), m_curve_start.end() - 1);
    for (int r = 0; r < n; ++r)
        if (m_rank[at(r)] >= 0) m_order[at(fill[at(m_curve[at(r)])]++)] = r;
    for (int c = 0; c < curves; ++c) {
        // Ties in parameter keep the record order, so that a crossing and a neighbour found at the same
        // place come out the same way in every run.
        std::stable_sort(m_order.begin() + m_curve_start[at(c)], m_order.begin() + m_curve_start[at(c) + 1],
                         [&](int a, int b) { return m_param[at(a)] < m_param[at(b)]; });
    }
    rank_from_order();
}

void velCrossingOrderTables::rank_from_order() {
    for (int c = 0; c + 1 < static_cast<int>(m_curve_start.size()); ++c)
        for (int k = m_curve_start[at(c)]; k < m_curve_start[at(c) + 1]; ++k)
            m_rank[at(m_order[at(k)])] = k - m_curve_start[at(c)];
}

void velCrossingOrderTables::set_order(const std::vector<int>& order) {
    m_order = order;
    rank_from_order();
}

int velCrossingOrderTables::next_crossing_on_same_curve(int r) const {
    const int c = m_curve[at(r)];
    const int k = m_curve_start[at(c)] + m_rank[at(r)] + 1;
    if (k < m_curve_start[at(c) + 1]) return m_order[at(k)];
    return closed(c) ? m_order[at(m_curve_start[at(c)])] : -1;
}

int velCrossingOrderTables::previous_crossing_on_same_curve(int r) const {
    const int c = m_curve[at(r)];
    const int k = m_curve_start[at(c)] + m_rank[at(r)] - 1;
    if (k >= m_curve_start[at(c)]) return m_order[at(k)];
    return closed(c) ? m_order[at(m_curve_start[at(c) + 1] - 1)] : -1;
}

int velCrossingOrderTables::first_on_curve(int c) const {
    return num_on_curve(c) > 0 ? m_order[at(m_curve_start[at(c)])] : -1;
}

int velCrossingOrderTables::ending_index(int c) const {
    return num_on_curve(c) > 0 ? m_order[at(m_curve_start[at(c) + 1] - 1)] : -1;
}

bool velCrossingOrderTables::check_order_consistency() const {
    std::map<std::pair<int, int>, int> pair_count;
    for (const int r : m_order) {
        if (r & 1) continue; // each crossing once, from its first record
        const int a = m_curve[at(r)], b = m_curve[at(r + 1)];
        if (a == b) {
            if (closed(a) && ((m_rank[at(r)] - m_rank[at(r + 1)]) % 2) == 0) return false;
        } else if (closed(a) && closed(b)) {
            ++pair_count[{std::min(a, b), std::max(a, b)}];
        }
    }
    for (const auto& [curves, count] : pair_count)
        if (count % 2) return false;
    return true;
}
