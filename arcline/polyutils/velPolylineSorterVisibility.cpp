// The sorter's visibility over whole lists: the traversal of the BSP tree from outside everything, the
// visibility of whole polylines, the nesting tree and the orientation of boundaries by depth.

#include "arcline/intersect/velIntersectorBSPNode.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velTolerances.h"
#include "arcline/polyutils/velBoundaryNesting.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velSorterScratch.h"
#include "arcline/polyutils/velVisibilityCalculator.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<double> areas_of(const velPolylineListIter& in) {
    std::vector<double> areas(static_cast<std::size_t>(in.size()), 0.0);
    std::unique_ptr<velPolylineListIter> list(in.create_new());
    list->reset();
    while (++*list)
        areas[static_cast<std::size_t>(list->index())] = velPolylineUtils::area(*list);
    return areas;
}

// Copies `from` into `to` placing each index once: a boundary already placed is not placed again (its
// children go under the node that placed it first).
void copy_tree_remove_duplicate(intNaryTree& from, intNaryTree& to, std::vector<char>& placed) {
    const int n = from.NumOffspring();
    for (int i = 0; i < n; ++i) {
        from.Down(i);
        const int value = from.Read();
        const bool place =
            value >= 0 && value < static_cast<int>(placed.size()) && !placed[static_cast<std::size_t>(value)];
        if (place) {
            placed[static_cast<std::size_t>(value)] = 1;
            to.Adopt(value);
            to.Down(to.NumOffspring() - 1);
        }
        copy_tree_remove_duplicate(from, to, placed);
        if (place) to.Up();
        from.Up();
    }
}

// Parent of every boundary in the tree (-1: the root).
void parents_of(intNaryTree& tree, std::vector<int>& parent) {
    const int here = tree.Read();
    for (int i = 0; i < tree.NumOffspring(); ++i) {
        tree.Down(i);
        const int v = tree.Read();
        if (v >= 0 && v < static_cast<int>(parent.size())) parent[static_cast<std::size_t>(v)] = here;
        parents_of(tree, parent);
        tree.Up();
    }
}

void adopt_children(intNaryTree& tree, const std::vector<int>& parent, int of) {
    for (int i = 0; i < static_cast<int>(parent.size()); ++i) {
        if (parent[static_cast<std::size_t>(i)] != of) continue;
        tree.Adopt(i);
        tree.Down(tree.NumOffspring() - 1);
        adopt_children(tree, parent, i);
        tree.Up();
    }
}

// With trusted orientations a boundary sits directly under one of the other orientation only (a hole
// under an outer boundary, an island under a hole): one of the same orientation as its parent moves up
// until that holds.
void correct_oriented_nesting(intNaryTree& tree, const std::vector<double>& areas) {
    std::vector<int> parent(areas.size(), -1);
    tree.Root();
    parents_of(tree, parent);
    std::vector<int> corrected(parent);
    auto positive = [&](int i) { return areas[static_cast<std::size_t>(i)] > 0.0; };
    for (int i = 0; i < static_cast<int>(parent.size()); ++i) {
        int p = parent[static_cast<std::size_t>(i)];
        while (p >= 0 && positive(p) == positive(i))
            p = parent[static_cast<std::size_t>(p)];
        corrected[static_cast<std::size_t>(i)] = p;
    }
    tree = intNaryTree(-1);
    tree.Root();
    adopt_children(tree, corrected, -1);
    tree.Root();
}

} // namespace

int velPolylineSorter::determine_visibility(const velPolylineListIter& in, int count, int second_boundary,
                                            const velSegmentMap* segments,
                                            const velVisibilityCalculator& calculator, int flags,
                                            velVisibilityResult& result, velBoundaryNesting* nesting) {
    if (!velSorterScratch::all_finite(in)) return result.known();
    m_data.set_second_boundary_index(second_boundary);
    m_data.set_closure_function(m_closure ? m_closure : &all_closed, m_closure_data);
    m_data.set_totally_closed(m_closure == nullptr || m_closure == &all_closed);
    m_data.set_visibility_test(1);
    m_data.set_intersections(0);
    if (!m_tree) {
        m_tree_list.reset(in.create_new());
        m_tree = std::make_unique<velIntersectorBSPNode>(*m_tree_list, &m_data);
    }
    if (m_tree->limits().empty()) return result.known();
    const giPoint2 lo = m_tree->limits().min();
    const int keep = debug_on(2);
    m_tree->determine_visibility({lo.x, lo.y, 0.0}, count, segments, calculator, flags, keep ? 0 : 1, 0,
                                 result, nesting);
    if (keep) debug_tree("determine_visibility_bsp_tree");
    return result.known();
}

void velPolylineSorter::check_visibility(int n, int count, const velPolylineListIter& in,
                                         std::vector<int>& hidden, const velSegmentMap* segments) {
    m_result.reset();
    hidden.clear();
    if (n < 1) {
        m_data.disable_box_cache();
        return;
    }
    m_data.enable_box_cache();
    m_tree.reset();
    m_result.initialize(n, nullptr);
    const velVisibilityCalculator calculator(m_visible_mode);
    determine_visibility(in, count, -1, segments, calculator, 0, m_result, nullptr);
    m_tree.reset();
    hidden.assign(static_cast<std::size_t>(n), 1);
    for (int i = 0; i < n; ++i)
        if (m_result.visibility_defined(i) && m_result.visible(i)) hidden[static_cast<std::size_t>(i)] = 0;
}

void velPolylineSorter::keep_visible(velAbsPolyArcLineListCursor& list, const velSegmentMap* joints) {
    std::unique_ptr<velPolylineListIter> iter(list.native_iter());
    const int n = iter->size();
    std::vector<int> hidden;
    check_visibility(n, 0, *iter, hidden, joints);
    for (int i = n - 1; i >= 0; --i) {
        if (!hidden[static_cast<std::size_t>(i)]) continue;
        list.set_index(i);
        list.remove();
    }
}

void velPolylineSorter::nesting_tree(const velPolylineListIter& in, int oriented, intNaryTree& tree,
                                     torCurvePtr3coDList* debug) {
    tree = intNaryTree(-1);
    tree.Root();
    const int n = in.size();
    if (n == 0 || !velSorterScratch::all_finite(in)) return;
    if (n == 1) {
        tree.Adopt(0);
        return;
    }
    const velClosureFunction saved = m_closure;
    void* saved_data = m_closure_data;
    set_closure_function(&all_closed, nullptr);
    const std::vector<double> areas = areas_of(in);
    const int positive =
        static_cast<int>(std::count_if(areas.begin(), areas.end(), [](double a) { return a > 0.0; }));
    if (oriented && positive == n) {
        for (int i = 0; i < n; ++i)
            tree.Adopt(i);
    } else if (oriented && positive == 1) {
        const int outer = static_cast<int>(
            std::find_if(areas.begin(), areas.end(), [](double a) { return a > 0.0; }) - areas.begin());
        tree.Adopt(outer);
        tree.Down(0);
        for (int i = 0; i < n; ++i)
            if (i != outer) tree.Adopt(i);
        tree.Root();
    } else {
        intNaryTree scratch(-1);
        velVisibilityResult result;
        result.initialize(n, nullptr);
        m_tree.reset();
        m_data.enable_box_cache();
        {
            velBoundaryNesting nesting(scratch, areas);
            const velVisibilityCalculator calculator(1);
            determine_visibility(in, 0, -1, nullptr, calculator, 0, result, &nesting);
        }
        tree_picture(debug);
        m_tree.reset();
        std::vector<char> placed(static_cast<std::size_t>(n), 0);
        scratch.Root();
        tree.Root();
        copy_tree_remove_duplicate(scratch, tree, placed);
        // A boundary the traversal never met (it lies in a node decided whole) sits at the top.
        for (int i = 0; i < n; ++i)
            if (!placed[static_cast<std::size_t>(i)]) tree.Adopt(i);
        if (oriented) correct_oriented_nesting(tree, areas);
    }
    tree.Root();
    set_closure_function(saved, saved_data);
}
