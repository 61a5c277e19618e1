// The sort itself: the input made fit to sort (cancelling pairs, empty boundaries, closures on a crossing),
// the sorting core, the retry on moved input; and split and orient, which cut and rejoin without keeping by
// visibility.

#include "arcline/intersect/velIntersectorBSPNode.h"
#include "arcline/intersect/velListIntersector.h"
#include "arcline/intersect/velPolylineListZoneNode.h"
#include "arcline/intersect/velZonedPolylineListUtils.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListRAIter.h"
#include "arcline/lists/velFlattenedPolylineListIter.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/velProgressBreak.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velAbsPolyArcLine.h"
#include "arcline/polyline/velTolerances.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velSorterScratch.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace velSorterScratch;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Two closed polylines are copies of one boundary when they have the same spans, the same way round, from
// any start: every position and every arc's mid point within tol (velTol::same_copy: boundaries moved by
// more than that are sorted as two).
bool same_copy(const velPolylineListIter& a, const velPolylineListIter& b, double tol) {
    const int spans = a.num_pos() - 1;
    if (spans < 1 || b.num_pos() - 1 != spans) return false;
    const giPoint3 start = a.get_pos(0);
    for (int r = 0; r < spans; ++r) {
        if (!b.get_pos(r).coincident(start, tol)) continue;
        bool same = true;
        for (int k = 0; k < spans && same; ++k) {
            const int j = (r + k) % spans;
            same = a.span_linear(k) == b.span_linear(j) &&
                   a.get_pos(k + 1).coincident(b.get_pos(j + 1), tol) &&
                   (a.span_linear(k) || a.get_mid_pos(k).coincident(b.get_mid_pos(j), tol));
        }
        if (same) return true;
    }
    return false;
}

// Copies of one boundary (under the winding rule) are sorted once, as one boundary of a weight that counts
// them: n copies of a square cost what one does, where each pair of copies would meet along every span.
// Returns the weight of every polyline left in `work`, empty when there were no copies; `all` gets the list
// as it was when there were.
std::vector<int> merge_copies(Scratch& work, Scratch& all) {
    const int n = work.size();
    if (n < 2) return {};
    // Copies have the same positions and mid points: boxes of those find the candidates without the
    // arcs' extremes.
    std::vector<giBox3> boxes(at(n));
    for (int i = 0; i < n; ++i) {
        work.set_index(i);
        const velPolylineListIter& p = work.iterator();
        giBox3& box = boxes[at(i)];
        for (int k = 0; k < p.num_pos(); ++k) {
            box.merge(p.get_pos(k));
            if (k + 1 < p.num_pos() && !p.span_linear(k)) box.merge(p.get_mid_pos(k));
        }
    }
    std::vector<int> order(at(n));
    for (int i = 0; i < n; ++i)
        order[at(i)] = i;
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const giPoint3 &p = boxes[at(a)].min(), &q = boxes[at(b)].min();
        return p.x != q.x ? p.x < q.x : p.y < q.y;
    });
    std::vector<int> copy_of(at(n), -1);
    // Read by index in box order: a random access view.
    velAbsPolyArcLineListRAIter a_view(work.list()), b_view(work.list());
    velPolylineListIter *a = &a_view, *b = &b_view;
    bool any = false;
    for (std::size_t u = 0; u < order.size(); ++u) {
        const int i = order[u];
        if (copy_of[at(i)] >= 0) continue;
        const giBox3& bi = boxes[at(i)];
        a->set_index(i);
        for (std::size_t v = u + 1;
             v < order.size() && boxes[at(order[v])].min().x <= bi.min().x + velTol::same_copy; ++v) {
            const int j = order[v];
            const giBox3& bj = boxes[at(j)];
            if (copy_of[at(j)] >= 0 || !bi.min().coincident(bj.min(), velTol::same_copy) ||
                !bi.max().coincident(bj.max(), velTol::same_copy))
                continue;
            b->set_index(j);
            if (!same_copy(*a, *b, velTol::same_copy)) continue;
            copy_of[at(j)] = i;
            any = true;
        }
    }
    if (!any) return {};
    copy_all(work.iterator(), all);
    std::vector<int> weight(at(n), 1);
    for (int j = 0; j < n; ++j)
        if (copy_of[at(j)] >= 0) ++weight[at(copy_of[at(j)])];
    std::vector<int> kept;
    for (int i = n - 1; i >= 0; --i) {
        if (copy_of[at(i)] < 0) continue;
        work.set_index(i);
        work.remove();
    }
    for (int i = 0; i < n; ++i)
        if (copy_of[at(i)] < 0) kept.push_back(weight[at(i)]);
    return kept;
}

} // namespace

int velPolylineSorter::sort(const velPolylineListIter& in, velPolylineListCursor& out,
                            velPolylineListCursor* extra) {
    m_stopped = 0;
    out.clear();
    if (!all_finite(in)) return non_finite_input;
    Scratch work;
    copy_all(in, work);
    const int n = work.size();
    std::vector<double> areas(at(n));
    std::vector<giBox3> boxes(at(n));
    bool tiny = false;
    for (int i = 0; i < n; ++i) {
        work.set_index(i);
        areas[at(i)] = velPolylineUtils::area(work.iterator());
        boxes[at(i)] = work.box();
        tiny = tiny || std::fabs(areas[at(i)]) < velTol::empty_area;
    }
    // A boundary and its exact reverse cancel.
    std::vector<char> marked(at(n), 0);
    if (n >= 2) {
        std::vector<int> by_area(at(n));
        for (int i = 0; i < n; ++i)
            by_area[at(i)] = i;
        std::sort(by_area.begin(), by_area.end(), [&](int a, int b) { return areas[at(a)] < areas[at(b)]; });
        for (int i = 0; i < n; ++i) {
            if (marked[at(i)] || areas[at(i)] <= 0.0) continue;
            auto lo = std::lower_bound(by_area.begin(), by_area.end(), -areas[at(i)] - velTol::empty_area,
                                       [&](int a, double v) { return areas[at(a)] < v; });
            for (; lo != by_area.end() && areas[at(*lo)] <= -areas[at(i)] + velTol::empty_area; ++lo) {
                const int j = *lo;
                if (marked[at(j)] || j == i) continue;
                const giBox3 &a = boxes[at(i)], &b = boxes[at(j)];
                if (a.min().coincident(b.min(), velTol::same_copy) &&
                    a.max().coincident(b.max(), velTol::same_copy)) {
                    marked[at(i)] = marked[at(j)] = 1;
                    break;
                }
            }
        }
    }
    const bool any_marked = std::find(marked.begin(), marked.end(), 1) != marked.end();
    if (any_marked) {
        debug_list(work.iterator(), "Horrible overlaps", 2);
        for (int i = n - 1; i >= 0; --i) {
            if (!marked[at(i)]) continue;
            work.set_index(i);
            work.remove();
        }
        debug_list(work.iterator(), "Opposite removal", 2);
    }
    if (tiny) {
        // A closed polyline of no area encloses nothing, unless it crosses itself into lobes that cancel
        // (a balanced figure of eight): those lobes are regions of their own and stay.
        remove_if(work, [](const velPolylineListIter& p) {
            if (!empty_closed(p)) return false;
            Scratch one;
            one.create_last_polyline();
            velPolylineUtils::append(p, one);
            velPolylineSorter splitter;
            splitter.set_closure_function(&velPolylineSorter::all_closed, nullptr);
            Scratch lobes;
            splitter.split(one.iterator(), lobes);
            std::unique_ptr<velPolylineListIter> it(lobes.native_iter());
            it->reset();
            while (++*it)
                if (!empty_closed(*it)) return false;
            return true;
        });
    }
    close_every(work);

    // A boundary whose closing point lies on another part of it starts elsewhere.
    if (velPolylineListUtils::has_self_intersections_at_closure_in_2d(work.iterator(),
                                                                      velTol::closure_crossing)) {
        std::unique_ptr<velPolylineListIter> flat_source(work.native_iter());
        const velFlattenedPolylineListIter flat(*flat_source, 0.0);
        double length = 0.0;
        int spans = 0;
        for (int i = 0; i < work.size(); ++i) {
            work.set_index(i);
            length += velPolylineUtils::length(work.iterator());
            spans += std::max(work.num_pos() - 1, 0);
        }
        const velPolylineListZoneNode<2> zones(flat, spans > 0 ? length / spans : 1.0);
        Scratch moved;
        velFlattenedPolylineListIter walk(flat);
        walk.reset();
        while (++walk) {
            double t = velZonedPolylineListUtils::non_self_intersecting_parameter(
                walk, velTol::closure_crossing, zones.individual_polyline_zones(walk.index()));
            if (t < 0.0) t = 0.0;
            std::unique_ptr<velPolylineListIter> source(work.native_iter());
            source->set_index(walk.index());
            velPolylineUtils::copy_with_start_move(*source, t, moved);
        }
        work.clear();
        copy_all(moved.iterator(), work);
    }

    // Clean every boundary (spans shorter than the working accuracy go).
    velPolylineListUtils::clean(velTol::span_fraction, work);
    remove_if(work, [](const velPolylineListIter& p) { return p.num_pos() < 2; });
    if (work.size() == 0) return 0;

    // The core reads polylines by index (every segment of every path): a random access view of the list.
    Scratch all_copies;
    if (m_visible_mode != 0) m_sort_weights = merge_copies(work, all_copies);
    std::unique_ptr<velPolylineListIter> cleaned(new velAbsPolyArcLineListRAIter(work.list()));
    int code = sort_internal(*cleaned, out, 1);
    if (code == weighted_copies_crossed) {
        // Copies of a boundary that others cross are sorted one by one: a loop through them would not keep
        // one count on its right.
        // Coinciding copies defeat the judgment of paths at one point too: the traversal decides.
        m_sort_weights.clear();
        work.clear();
        copy_all(all_copies.iterator(), work);
        cleaned = std::make_unique<velAbsPolyArcLineListRAIter>(work.list());
        out.clear();
        m_judge_paths = false;
        code = sort_internal(*cleaned, out, 1);
    }
    if (code != 0 && !m_stopped) {
        Scratch moved;
        copy_all(*cleaned, moved);
        velPolylineListUtils::move(moved, velTol::sort_retry_move);
        debug_list(moved.iterator(), "before_move", 2);
        out.clear();
        velProgressBreak* progress = m_progress;
        m_progress = nullptr;
        const velAbsPolyArcLineListRAIter moved_iter(moved.list());
        code = sort_internal(moved_iter, out, 1);
        m_progress = progress;
        if (code != 0) {
            debug_list(*cleaned, "still_error", 2);
            out.clear();
            if (m_sort_weights.empty())
                copy_all(*cleaned, out);
            else
                copy_all(all_copies.iterator(), out);
        } else {
            debug_list(out.iterator(), "ok", 2);
        }
    }
    m_sort_weights.clear();
    m_judge_paths = true;
    if (m_stopped) {
        out.clear();
        return 1;
    }
    if (extra) copy_all(out.iterator(), *extra);
    return code;
}

int velPolylineSorter::sort_internal(const velPolylineListIter& in, velPolylineListCursor& out,
                                     int top_level) {
    debug_list(in, "unsorted", 2);
    if (m_progress && top_level && m_progress_mode == 0) m_progress->set_range(6);
    const velClosureFunction saved = m_closure;
    void* saved_data = m_closure_data;
    set_closure_function(&all_closed, nullptr);
    struct Restore {
        velPolylineSorter& s;
        velClosureFunction f;
        void* d;
        ~Restore() { s.set_closure_function(f, d); }
    } restore{*this, saved, saved_data};

    m_segments = velSegmentMap(in.size());
    if (self_intersect(in, -1, 0, 1, nullptr) < 0 || check_increment_progress()) return 1;
    debug_tree("bsp");
    if (fix_crossing_consistency(in) != 0) {
        debug_list(in, "unsorted_err", 2);
        debug_crossings(in, "crossings", 2);
        return 2;
    }
    if (check_increment_progress()) return 1;

    Scratch loops;
    // Under the winding rule the paths are judged as they are traced and only those that bound the region
    // are written; where that cannot judge them all, every loop is written and the traversal decides.
    int visible = 0;
    if (m_visible_mode != 0 && m_judge_paths) {
        visible = write_visible_paths(in, loops);
        if (visible == weighted_copies_crossed) return visible;
    }
    if (visible != 1) {
        if (!m_sort_weights.empty()) return weighted_copies_crossed;
        velSegmentMap joints;
        std::vector<char> crossed;
        // Joints are numbered by the loops' indices: size the map for every loop the paths can make.
        joints.resize(m_tables.num_valid() + 1);
        calculate_curve_rejoins(in, loops, crossed, &joints);
        const int paths = loops.size();
        joints.resize(paths);
        copy_uncrossed(in, crossed, loops);
        debug_list(loops.iterator(), "after_visility_test1", 2);
        if (check_increment_progress()) return 1;
        remove_if(loops, [](const velPolylineListIter& p) { return p.num_pos() < 2 || empty_closed(p); });
        if (m_visible_mode == 0) {
            // Even-odd: every loop separates an even count from an odd one, so every loop bounds the region;
            // only its orientation is set, by its depth among the others.
            orient_by_depth(loops);
        } else {
            keep_visible(loops, paths == loops.size() ? &joints : nullptr);
        }
    } else {
        if (debug_on(2)) {
            // Every loop, as the traversal would have seen them (written only for the channel).
            Scratch all;
            std::vector<char> crossed;
            calculate_curve_rejoins(in, all, crossed, nullptr);
            copy_uncrossed(in, crossed, all);
            debug_list(all.iterator(), "after_visility_test1", 2);
        }
        if (check_increment_progress()) return 1;
        remove_if(loops, [](const velPolylineListIter& p) { return p.num_pos() < 2 || empty_closed(p); });
    }
    debug_list(loops.iterator(), "after_visility_test2", 2);
    if (check_increment_progress()) return 1;

    // Final clean-up: spikes, degenerate and empty loops.
    for (int i = 0; i < loops.size(); ++i) {
        loops.set_index(i);
        velPolylineUtils::remove_xy_spikes(velTol::span_fraction, loops);
    }
    remove_if(loops, [](const velPolylineListIter& p) { return p.num_pos() < 2 || empty_closed(p); });
    if (check_increment_progress()) return 1;
    copy_all(loops.iterator(), out);
    m_segments.clear();
    if (m_progress && !m_stopped && top_level && m_progress_mode == 0)
        m_progress->increment(std::max(m_progress->range() - m_progress->done(), 0));
    debug_list(out.iterator(), "sorted", 2);
    return 0;
}

int velPolylineSorter::split(const velPolylineListIter& in, velPolylineListCursor& out,
                             torCurvePtr3coDList* debug) {
    out.clear();
    m_stopped = 0;
    if (!all_finite(in)) return non_finite_input;
    auto attempt = [&](const velPolylineListIter& list) {
        m_segments = velSegmentMap(list.size());
        if (self_intersect(list, -1, 0, 1, debug) < 0) return 1;
        if (fix_crossing_consistency(list) != 0) return 1;
        Scratch paths;
        std::vector<char> crossed;
        calculate_curve_rejoins(list, paths, crossed, nullptr);
        copy_uncrossed(list, crossed, paths);
        copy_all(paths.iterator(), out);
        return 0;
    };
    if (attempt(in) == 0) return 0;
    Scratch moved;
    copy_all(in, moved);
    velPolylineListUtils::move(moved, velTol::sort_retry_move);
    debug_list(moved.iterator(), "split_before_move", 2);
    out.clear();
    std::unique_ptr<velPolylineListIter> moved_iter(moved.native_iter());
    if (attempt(*moved_iter) == 0) {
        debug_list(out.iterator(), "split_ok", 2);
        return 0;
    }
    debug_list(in, "split_still_error", 2);
    out.clear();
    copy_all(in, out);
    return 1;
}

int velPolylineSorter::orient(const velPolylineListIter& in, velPolylineListCursor* out,
                              std::vector<int>* reverse, torCurvePtr3coDList* debug) {
    (void)debug;
    if (!all_finite(in)) return non_finite_input;
    Scratch work;
    copy_all(in, work);
    // Closed polylines of (next to) no area have no inside to orient.
    double smallest = INFINITY;
    for (int i = 0; i < work.size(); ++i) {
        work.set_index(i);
        smallest = std::min(smallest, std::fabs(velPolylineUtils::area(work.iterator())));
    }
    if (smallest < velTol::formula_zero) {
        remove_if(work, [](const velPolylineListIter& p) {
            return velPolylineUtils::closed(p, 0.0) &&
                   std::fabs(velPolylineUtils::area(p)) < velTol::formula_zero;
        });
    }
    const velAbsPolyArcLineListRAIter list(work.list());
    return orient_worker(list, out, reverse);
}

int velPolylineSorter::orient_worker(const velPolylineListIter& in, velPolylineListCursor* out,
                                     std::vector<int>* reverse) {
    const velClosureFunction saved = m_closure;
    void* saved_data = m_closure_data;
    set_closure_function(&all_closed, nullptr);
    Scratch loops;
    int code = 0;
    m_segments = velSegmentMap(in.size());
    std::vector<char> crossed(static_cast<std::size_t>(in.size()), 0);
    if (self_intersect(in, -1, 0, 1, nullptr) < 0 || fix_crossing_consistency(in) != 0) {
        code = 1;
        copy_all(in, loops);
    } else {
        calculate_curve_rejoins(in, loops, crossed, nullptr);
        copy_uncrossed(in, crossed, loops);
    }
    set_closure_function(saved, saved_data);
    const std::vector<int> flip = depth_flips(loops);
    if (reverse) {
        // Meaningful per input polyline when nothing was cut: the loops are then the input in order.
        reverse->assign(static_cast<std::size_t>(in.size()), 0);
        const bool uncut = std::find(crossed.begin(), crossed.end(), 1) == crossed.end();
        if (uncut && loops.size() == in.size()) *reverse = flip;
    }
    if (out) {
        for (int k = 0; k < loops.size(); ++k) {
            loops.set_index(k);
            if (flip[static_cast<std::size_t>(k)]) velPolylineUtils::reverse(loops);
        }
        copy_all(loops.iterator(), *out);
    }
    return code;
}

std::vector<int> velPolylineSorter::depth_flips(velAbsPolyArcLineListCursor& loops) {
    std::unique_ptr<velPolylineListIter> iter(loops.native_iter());
    intNaryTree tree;
    nesting_tree(*iter, 0, tree);
    // Depth 1 anticlockwise (area 0 or more), depth 2 clockwise, and so on.
    std::vector<int> flip(static_cast<std::size_t>(loops.size()), 0);
    struct Walk {
        intNaryTree& tree;
        Scratch& loops;
        std::vector<int>& flip;
        void operator()(int depth) {
            for (int i = 0; i < tree.NumOffspring(); ++i) {
                tree.Down(i);
                const int k = tree.Read();
                loops.set_index(k);
                const double a = velPolylineUtils::area(loops.iterator());
                if (depth % 2 == 1 ? a < 0.0 : a >= 0.0) flip[static_cast<std::size_t>(k)] = 1;
                (*this)(depth + 1);
                tree.Up();
            }
        }
    };
    tree.Root();
    Walk{tree, loops, flip}(1);
    return flip;
}

void velPolylineSorter::orient_by_depth(velAbsPolyArcLineListCursor& loops) {
    const std::vector<int> flip = depth_flips(loops);
    for (int k = 0; k < loops.size(); ++k) {
        if (!flip[static_cast<std::size_t>(k)]) continue;
        loops.set_index(k);
        velPolylineUtils::reverse(loops);
    }
}
