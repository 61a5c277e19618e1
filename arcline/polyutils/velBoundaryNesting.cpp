#include "arcline/polyutils/velBoundaryNesting.h"

#include <algorithm>
#include <cmath>

velBoundaryNesting::velBoundaryNesting(intNaryTree& tree, const std::vector<double>& areas)
    : m_tree(tree), m_areas(areas), m_placed(areas.size(), 0) {
    m_tree.Root();
    m_tree.DeleteNodes();
    m_tree.Write(-1);
}

void velBoundaryNesting::move(int i, int times) {
    if (times % 2 == 0) return;
    const auto it = std::find(m_pending.begin(), m_pending.end(), i);
    if (it != m_pending.end())
        m_pending.erase(it);
    else
        m_pending.push_back(i);
}

double velBoundaryNesting::size(int i) const {
    return i >= 0 && i < static_cast<int>(m_areas.size()) ? std::fabs(m_areas[static_cast<std::size_t>(i)])
                                                          : 0.0;
}

void velBoundaryNesting::do_moves() {
    for (;;) {
        // Out of the boundaries left behind, innermost first.
        for (;;) {
            const auto it = std::find(m_pending.begin(), m_pending.end(), m_tree.Read());
            if (it == m_pending.end() || m_tree.Read() < 0) break;
            m_pending.erase(it);
            m_tree.Up();
        }
        if (m_pending.empty()) return;
        // Into the largest boundary still to cross.
        auto largest = std::max_element(m_pending.begin(), m_pending.end(),
                                        [&](int a, int b) { return size(a) < size(b); });
        const int i = *largest;
        m_pending.erase(largest);
        do_down(i);
    }
}

void velBoundaryNesting::do_down(int i) {
    for (int k = 0; k < m_tree.NumOffspring(); ++k) {
        m_tree.Down(k);
        if (m_tree.Read() == i) return;
        m_tree.Up();
    }
    m_tree.Adopt(i);
    m_tree.Down(m_tree.NumOffspring() - 1);
    if (i >= 0 && i < static_cast<int>(m_placed.size())) m_placed[static_cast<std::size_t>(i)] = 1;
}

void velBoundaryNesting::place_here(int i) {
    for (int k = 0; k < m_tree.NumOffspring(); ++k) {
        m_tree.Down(k);
        const bool there = m_tree.Read() == i;
        m_tree.Up();
        if (there) return;
    }
    m_tree.Adopt(i);
    if (i >= 0 && i < static_cast<int>(m_placed.size())) m_placed[static_cast<std::size_t>(i)] = 1;
}

void velBoundaryNesting::set_position(const std::vector<int>& path) {
    m_tree.FollowPath(path);
    m_pending.clear();
}

bool velBoundaryNesting::placed(int i) const {
    return i >= 0 && i < static_cast<int>(m_placed.size()) && m_placed[static_cast<std::size_t>(i)] != 0;
}
