// The list operations that go through the polyline sorter: splitting at crossings, removing loops,
// orientation tests, regions, limiting polylines to the region of boundaries, crossings between lists.

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/intersect/velSelfCrossingGraph.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velSingleTrimmedPolylineListIter.h"
#include "arcline/platform/intNaryTree.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velSorterScratch.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace {

velDebugGeometry& channel() {
    static velDebugGeometry& dbg = velDebugGeometry::get_from_manager("velPolylineListUtils");
    return dbg;
}

// A polyline on its own: the current polyline of `in` copied into a list of one.
std::unique_ptr<velAbsPolyArcLineListCursor> alone(const velPolylineListIter& in) {
    auto one = std::make_unique<velAbsPolyArcLineListCursor>();
    one->create_last_polyline();
    velPolylineUtils::append(in, *one);
    return one;
}

void depths(intNaryTree& tree, int depth, std::vector<int>& depth_of, std::vector<int>& children) {
    const int here = tree.Read();
    if (here >= 0) children[static_cast<std::size_t>(here)] = tree.NumOffspring();
    for (int i = 0; i < tree.NumOffspring(); ++i) {
        tree.Down(i);
        const int v = tree.Read();
        if (v >= 0 && v < static_cast<int>(depth_of.size())) depth_of[static_cast<std::size_t>(v)] = depth;
        depths(tree, depth + 1, depth_of, children);
        tree.Up();
    }
}

int orientation_flags(const velPolylineListIter& in, std::vector<int>& reverse) {
    velPolylineSorter sorter;
    if (sorter.any_intersections(in)) return 0;
    sorter.orient(in, nullptr, &reverse);
    return 1;
}

// Farther than this from the boundaries decides a polyline's side; nearer, it lies along them.
constexpr double decide_distance = 1e-4;

} // namespace

int velPolylineListUtils::split(const velPolylineListIter& in, velPolylineListCursor& out) {
    velPolylineSorter sorter;
    return sorter.split(in, out);
}

void velPolylineListUtils::remove_loops(const velPolylineListIter& in, velPolylineListCursor& out,
                                        double length, double area, velPolylineSorter* sorter) {
    velPolylineSorter own;
    velPolylineSorter& s = sorter ? *sorter : own;
    velAbsPolyArcLineListCursor dropped;
    std::unique_ptr<velPolylineListIter> it(in.create_new());
    it->reset();
    while (++*it) {
        if (it->num_pos() < 3) {
            out.create_last_polyline();
            velPolylineUtils::append(*it, out);
            continue;
        }
        const auto one = alone(*it);
        velAbsPolyArcLineListCursor pieces;
        s.split(one->iterator(), pieces);
        velPolylineListIter& p = pieces.iterator();
        double longest = 0.0;
        p.reset();
        while (++p)
            longest = std::max(longest, velPolylineUtils::length(p));
        const double threshold = std::min(longest, length) / 2.0;
        p.reset();
        while (++p) {
            const bool keep =
                velPolylineUtils::length(p) > threshold &&
                (!velPolylineUtils::closed(p, 0.0) || std::fabs(velPolylineUtils::area(p)) >= area);
            velPolylineListCursor& to = keep ? out : dropped;
            if (!keep && !channel().active(2)) continue;
            to.create_last_polyline();
            velPolylineUtils::append(p, to);
        }
    }
    if (dropped.size() > 0) channel().append_iter(dropped.iterator(), "loops", 2);
}

void velPolylineListUtils::remove_loops_by_length(const velPolylineListIter& in, velPolylineListCursor& out,
                                                  double length) {
    remove_loops(in, out, length, 0.0, nullptr);
}

void velPolylineListUtils::remove_loops_by_length_and_area(const velPolylineListIter& in,
                                                           velPolylineListCursor& out, double length,
                                                           double area) {
    remove_loops(in, out, length, area, nullptr);
}

void velPolylineListUtils::remove_loops_by_length_with_sorter(const velPolylineListIter& in,
                                                              velPolylineListCursor& out, double length,
                                                              velPolylineSorter& sorter) {
    remove_loops(in, out, length, 0.0, &sorter);
}

int velPolylineListUtils::oriented(const velPolylineListIter& in) {
    std::vector<int> reverse;
    if (!orientation_flags(in, reverse)) return 0;
    return std::none_of(reverse.begin(), reverse.end(), [](int r) { return r != 0; }) ? 1 : 0;
}

int velPolylineListUtils::reverse_oriented(const velPolylineListIter& in) {
    std::vector<int> reverse;
    if (!orientation_flags(in, reverse)) return 0;
    return std::all_of(reverse.begin(), reverse.end(), [](int r) { return r != 0; }) ? 1 : 0;
}

int velPolylineListUtils::find_regions(const velPolylineListIter& in,
                                       std::vector<std::vector<int>>& regions) {
    regions.clear();
    velPolylineSorter sorter;
    intNaryTree tree;
    sorter.nesting_tree(in, 0, tree);
    struct Walk {
        intNaryTree& tree;
        std::vector<std::vector<int>>& regions;
        void operator()(int depth) {
            for (int i = 0; i < tree.NumOffspring(); ++i) {
                tree.Down(i);
                if (depth % 2 == 1) {
                    std::vector<int> region{tree.Read()};
                    for (int h = 0; h < tree.NumOffspring(); ++h) {
                        tree.Down(h);
                        region.push_back(tree.Read());
                        tree.Up();
                    }
                    regions.push_back(region);
                }
                (*this)(depth + 1);
                tree.Up();
            }
        }
    };
    tree.Root();
    Walk{tree, regions}(1);
    return static_cast<int>(regions.size());
}

void velPolylineListUtils::innermost_segments(const velPolylineListIter& in, intcoSet& indices) {
    indices.clear();
    velPolylineSorter sorter;
    intNaryTree tree;
    sorter.nesting_tree(in, 0, tree);
    std::vector<int> depth_of(static_cast<std::size_t>(in.size()), 0), children(depth_of.size(), 0);
    tree.Root();
    depths(tree, 1, depth_of, children);
    for (int i = 0; i < in.size(); ++i)
        if (depth_of[static_cast<std::size_t>(i)] > 0 && children[static_cast<std::size_t>(i)] == 0)
            indices.add(i);
}

void velPolylineListUtils::limit_to_boundary(const velPolylineListIter& boundaries,
                                             velTrimmedPolylineListIter& polylines, int inside,
                                             velPolylineSorter* sorter, int on_boundary) {
    velPolylineSorter own;
    velPolylineSorter& s = sorter ? *sorter : own;
    channel().append_iter(boundaries, "boundary_curves", 2);
    channel().append_iter(polylines, "polylines_to_limit", 2);
    velCrossingcoPageArr crossings;
    s.intersect(polylines, boundaries, crossings);
    std::map<int, std::vector<double>> cuts;
    for (int i = 0; i < crossings.size(); ++i) {
        cuts[crossings.read(i).index1()].push_back(crossings.read(i).param1());
        channel().append_cross_drawing(crossings.read(i).point(), 0.1, 4, 45.0, "polyline_intersections", 2);
    }
    std::unique_ptr<velPolylineListIter> others(boundaries.create_new());
    // The pass meets the pieces in the order the crossings numbered them (a piece cut here leaves its second
    // part out of this pass), so a count of the pieces met is the crossings' index.
    polylines.reset();
    for (int seen = 0; ++polylines; ++seen) {
        const int n = polylines.num_pos();
        if (n < 2) continue;
        std::vector<double>& c = cuts[seen];
        std::sort(c.begin(), c.end());
        c.erase(std::unique(c.begin(), c.end()), c.end());
        double t = -1.0;
        int piece = -1;
        const double far =
            velPolylineUtils::farthest_partition(polylines, c, *others, decide_distance, t, piece);
        if (far == 0.0) { // along the boundaries
            if (!on_boundary) polylines.trim(0.0, n - 1.0);
            continue;
        }
        const giPoint3 p = polylines.get_interpolated_pos(t);
        channel().append_star_drawing(p, 0.1, "far_enough_points", 2);
        const bool in_region = velPolylineListUtils::point_inside_closed_polylines(p, *others) % 2 == 1;
        const bool keep_decider = in_region == (inside != 0);
        doublecoPageArr ranges;
        intcoPageArr flags;
        for (int k = 0; k <= static_cast<int>(c.size()); ++k) {
            const bool keep = ((k - piece) % 2 == 0) == keep_decider;
            if (keep) continue;
            ranges.append(k == 0 ? 0.0 : c[static_cast<std::size_t>(k - 1)]);
            ranges.append(k == static_cast<int>(c.size()) ? n - 1.0 : c[static_cast<std::size_t>(k)]);
        }
        if (ranges.size() == 2 && ranges.read(0) == 0.0 && ranges.read(1) == n - 1.0) {
            polylines.trim(0.0, n - 1.0);
        } else if (ranges.size() > 0) {
            polylines.trim_with_flags(ranges, flags);
        }
    }
    polylines.reset();
    channel().append_iter(polylines, "limited_polylines", 2);
}

void velPolylineListUtils::limit_to_boundary(const velPolylineListIter& boundaries,
                                             const velPolylineListIter& polylines,
                                             velPolylineListCursor* inside_out,
                                             velPolylineListCursor* outside_out, velPolylineSorter* sorter,
                                             int on_boundary) {
    velTrimmedPolylineListIter view(polylines);
    limit_to_boundary(boundaries, view, 1, sorter, on_boundary);
    auto write = [](velTrimmedPolylineListIter& v, velPolylineListCursor* to) {
        if (!to) return;
        v.reset();
        while (++v) {
            if (v.num_pos() == 0) continue;
            to->create_last_polyline();
            velPolylineUtils::append(v, *to);
        }
    };
    write(view, inside_out);
    if (outside_out) {
        view.invert();
        write(view, outside_out);
    }
}

int velPolylineListUtils::intersect(const velPolylineListIter& a, const velPolylineListIter& b, double tol,
                                    velCrossingcoPageArr& crossings, velPolylineSorter* sorter) {
    velPolylineSorter own;
    velPolylineSorter& s = sorter ? *sorter : own;
    velCrossingcoPageArr all;
    s.intersect(a, b, all);
    crossings.clear();
    for (int i = 0; i < all.size(); ++i) {
        const velCrossing& c = all.read(i);
        bool merged = false;
        for (int j = 0; j < crossings.size() && !merged; ++j) {
            const velCrossing& d = crossings.read(j);
            merged = d.index1() == c.index1() && d.index2() == c.index2() &&
                     std::fabs(d.param1() - c.param1()) < tol && std::fabs(d.param2() - c.param2()) < tol;
        }
        if (!merged) crossings.append(c);
    }
    return crossings.size();
}

int velPolylineListUtils::difference(const velPolylineListIter& a, const velPolylineListIter& b, double tol,
                                     velPolylineListCursor& out, velProgressBreak* progress) {
    out.clear();
    if (!velSorterScratch::all_finite(a) || !velSorterScratch::all_finite(b))
        return velPolylineSorter::non_finite_input;
    velPolylineSorter sorter;
    auto prepared = [&](const velPolylineListIter& in, velAbsPolyArcLineListCursor& to) {
        velAbsPolyArcLineListCursor raw;
        velSorterScratch::copy_all(in, raw);
        velSorterScratch::close_every(raw);
        remove_xy_spikes(tol, raw);
        std::unique_ptr<velPolylineListIter> list(raw.native_iter());
        sorter.orient(*list, &to);
    };
    velAbsPolyArcLineListCursor plus, minus, result;
    prepared(a, plus);
    prepared(b, minus);
    reverse_contours(plus);
    sorter.set_progress_break(progress, 1);
    sorter.subtraction(plus.iterator(), minus.iterator(), result);
    if (sorter.boolean_code() != 0) return sorter.boolean_code();
    remove_xy_spikes(tol, result);
    reverse_contours(result);
    velSorterScratch::copy_all(result.iterator(), out);
    return 0;
}

int velPolylineListUtils::is_small_intersection(const velPolylineListIter& in, const velCrossing& c,
                                                double tol) {
    if (c.index1() != c.index2() || c.invalid()) return 0;
    const double t1 = std::min(c.param1(), c.param2()), t2 = std::max(c.param1(), c.param2());
    return velPolylineUtils::length(in, t1, t2) < tol ? 1 : 0;
}

namespace {
// Passes over one polyline at most: each pass cuts the loops that are simple by then.
constexpr int max_uncross_passes = 16;
} // namespace

int velPolylineListUtils::uncross_small_intersections(const velPolylineListIter& in,
                                                      velPolylineListCursor& out, double tol,
                                                      int through_closure) {
    int cut = 0;
    std::unique_ptr<velPolylineListIter> it(in.create_new());
    it->reset();
    while (++*it) {
        auto line = alone(*it);
        for (int pass = 0; pass < max_uncross_passes; ++pass) {
            velPolylineListIter& p = line->iterator();
            p.reset();
            ++p;
            const double end = p.num_pos() - 1.0;
            if (end < 1.0) break;
            velCrossingcoPageArr crossings;
            velPolylineSorter sorter;
            sorter.self_intersect(p, crossings);
            velSelfCrossingGraph graph(crossings);
            // Simple small loops, as parameter ranges [a, b] to drop (b < a: through the closure).
            std::vector<std::pair<double, double>> loops;
            for (velCrossingGraphNode* n : graph.all_nodes()) {
                if (n->next() != n->pair() || n == n->pair()) continue;
                const double a = n->crossing()->param1(), b = n->next()->crossing()->param1();
                if (a < b) {
                    if (is_small_intersection(p, *n->crossing(), tol)) loops.emplace_back(a, b);
                } else if (through_closure && velPolylineUtils::closed(p, 0.0) &&
                           velPolylineUtils::length(p, a, end) + velPolylineUtils::length(p, 0.0, b) < tol) {
                    loops.emplace_back(a, b);
                }
            }
            if (loops.empty()) break;
            std::sort(loops.begin(), loops.end());
            auto next = std::make_unique<velAbsPolyArcLineListCursor>();
            next->create_last_polyline();
            const auto wrap =
                std::find_if(loops.begin(), loops.end(), [](const auto& l) { return l.second < l.first; });
            if (wrap != loops.end()) { // start at the crossing, the loop through the closure left out
                const auto [a, b] = *wrap;
                double at = b;
                for (const auto& [s, e] : loops)
                    if (s > at && e > s && e < a) {
                        velPolylineUtils::append(p, at, s, *next);
                        at = e;
                    }
                velPolylineUtils::append(p, at, a, *next);
            } else {
                double at = 0.0;
                for (const auto& [s, e] : loops) {
                    if (s < at) continue; // inside a loop already cut
                    velPolylineUtils::append(p, at, s, *next);
                    at = e;
                }
                velPolylineUtils::append(p, at, end, *next);
            }
            cut += static_cast<int>(loops.size());
            line = std::move(next);
        }
        out.create_last_polyline();
        velPolylineUtils::append(line->iterator(), out);
    }
    return cut;
}
