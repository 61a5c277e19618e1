// The sorter's region operations: union, difference and intersection of two lists of boundaries, on the
// combined list whose second boundary index separates them, with the retry on simplified input, the checks
// of the inputs and of the result, and the difference recomputed by sorting when it came out too large.

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velTolerances.h"
#include "arcline/polyutils/velBooleanVisibility.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velSorterScratch.h"

#include <cmath>

namespace {

using namespace velSorterScratch;

// The two visibility paths agree when their results lie within this of each other.
constexpr double visibility_paths_agree = 0.1;

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// A closed polyline of fewer than 4 positions and no arc runs out and back: it bounds nothing.
bool straight_and_too_short(const velPolylineListIter& p) {
    if (p.num_pos() >= 4) return false;
    for (int k = 0; k + 1 < p.num_pos(); ++k)
        if (!p.span_linear(k)) return false;
    return true;
}

// The same closed curve within tol: boxes and areas agree and every point of each lies near the other.
bool same_loop(const velPolylineListIter& a, const velPolylineListIter& b, double tol) {
    const giBox2 ba = a.box(vel_2d_box), bb = b.box(vel_2d_box);
    if (!ba.min().coincident(bb.min(), tol) || !ba.max().coincident(bb.max(), tol)) return false;
    Scratch one, two;
    one.create_last_polyline();
    velPolylineUtils::append(a, one);
    two.create_last_polyline();
    velPolylineUtils::append(b, two);
    return velPolylineListUtils::spacially_equivalent_xy(one.iterator(), two.iterator(), tol) != 0;
}

double list_area(const velPolylineListIter& in) {
    return velPolylineListUtils::area(in);
}

} // namespace

// --- The three operations

void velPolylineSorter::addition(const velPolylineListIter& a, const velPolylineListIter& b,
                                 velPolylineListCursor& out, torCurvePtr3coDList* debug) {
    boolean_operation(a, b, velBooleanVisibility::addition, out, debug);
    if (!debug_on(1)) return;
    const bool pre =
        list_area(a) >= 0.0 && list_area(b) >= 0.0 && !any_intersections(a) && !any_intersections(b);
    if (pre && !any_intersections(out.iterator())) return;
    debug_list(a, "addition | b1", 1);
    debug_list(b, "addition | b2", 1);
    debug_list(out.iterator(), "addition | result", 1);
}

void velPolylineSorter::intersection(const velPolylineListIter& a, const velPolylineListIter& b,
                                     velPolylineListCursor& out, torCurvePtr3coDList* debug) {
    boolean_operation(a, b, velBooleanVisibility::intersection, out, debug);
}

void velPolylineSorter::subtraction(const velPolylineListIter& plus, const velPolylineListIter& minus,
                                    velPolylineListCursor& out, torCurvePtr3coDList* debug) {
    const int code = boolean_operation(plus, minus, velBooleanVisibility::subtraction, out, debug);
    debug_list(plus, "plus", 3);
    debug_list(minus, "minus", 3);
    debug_list(out.iterator(), "result", 3);
    if (debug_on(1)) {
        const bool pre = list_area(plus) <= 0.0 && list_area(minus) >= 0.0 && !any_intersections(plus) &&
                         !any_intersections(minus);
        if (!pre) {
            debug_list(plus, "subtract | plus | precondition", 1);
            debug_list(minus, "subtract | minus | precondition", 1);
            debug_list(out.iterator(), "subtract | result | precondition", 1);
        }
    }
    if (code == 1) return;
    if (std::fabs(list_area(out.iterator())) <= std::fabs(list_area(plus)) + velTol::subtraction_growth)
        return;
    if (debug_on(1)) {
        debug_list(plus, "subtract | plus | result", 1);
        debug_list(minus, "subtract | minus | result", 1);
        Scratch both;
        copy_all(plus, both);
        copy_all(minus, both);
        debug_list(both.iterator(), "subtract | both | result", 1);
        debug_list(out.iterator(), "result", 1);
        debug_crossings(both.iterator(), "crossings", 1);
    }
    subtraction_by_sorting(plus, minus, out);
}

void velPolylineSorter::subtraction_by_sorting(const velPolylineListIter& plus,
                                               const velPolylineListIter& minus, velPolylineListCursor& out) {
    // Reversed, plus counts +1 inside and minus -1: the winding rule keeps plus without minus.
    Scratch raw_minus, clean_minus;
    copy_all(minus, raw_minus);
    velPolylineListUtils::remove_xy_spikes(velTol::boolean_input_spikes, raw_minus);
    sort(raw_minus.iterator(), clean_minus);
    Scratch raw_plus, clean_plus;
    copy_all(plus, raw_plus);
    velPolylineListUtils::remove_xy_spikes(velTol::boolean_input_spikes, raw_plus);
    velPolylineListUtils::reverse_contours(raw_plus);
    sort(raw_plus.iterator(), clean_plus);
    velPolylineListUtils::reverse_contours(clean_plus);
    copy_all(clean_minus.iterator(), clean_plus);
    velPolylineListUtils::reverse_contours(clean_plus);
    Scratch sorted;
    sort(clean_plus.iterator(), sorted);
    velPolylineListUtils::reverse_contours(sorted);
    out.clear();
    copy_all(sorted.iterator(), out);
    debug_list(out.iterator(), "sorted_result", 1);
}

// --- The common path

int velPolylineSorter::boolean_operation(const velPolylineListIter& a, const velPolylineListIter& b,
                                         int operation, velPolylineListCursor& out,
                                         torCurvePtr3coDList* debug) {
    m_stopped = 0;
    out.clear();
    if (!all_finite(a) || !all_finite(b)) {
        m_boolean_code = non_finite_input;
        return m_boolean_code;
    }
    Scratch first, second;
    copy_all(b, second);
    velPolylineListUtils::remove_xy_spikes(velTol::boolean_input_spikes, second);
    copy_all(a, first);
    velPolylineListUtils::remove_xy_spikes(velTol::boolean_input_spikes, first);
    auto unusable = [](const velPolylineListIter& p) { return p.num_pos() < 2; };
    remove_if(first, unusable);
    remove_if(second, unusable);
    const int second_boundary = first.size();
    copy_all(second.iterator(), first);
    close_every(first);
    std::unique_ptr<velPolylineListIter> combined(first.native_iter());

    m_weights.assign(at(combined->size()), 1);
    int code = boolean_attempt(*combined, second_boundary, operation, out, debug);
    if (code == 2) {
        // Duplicates (boxes that agree) become one boundary of a higher weight.
        Scratch simple;
        std::vector<int> weights;
        std::vector<giBox2> kept_boxes;
        int simple_second = second_boundary;
        for (int i = 0; i < first.size(); ++i) {
            first.set_index(i);
            const giBox2 box = first.iterator().box(vel_2d_box);
            int found = -1;
            for (std::size_t k = 0; k < kept_boxes.size() && found < 0; ++k)
                if (kept_boxes[k].min().coincident(box.min(), velTol::boolean_result) &&
                    kept_boxes[k].max().coincident(box.max(), velTol::boolean_result))
                    found = static_cast<int>(k);
            if (found >= 0) {
                ++weights[at(found)];
                if (i < second_boundary) --simple_second;
                continue;
            }
            kept_boxes.push_back(box);
            weights.push_back(1);
            simple.create_last_polyline();
            velPolylineUtils::append(first.iterator(), simple);
        }
        debug_list(*combined, "boolean input", 2);
        debug_list(simple.iterator(), "boolean simplified input", 2);
        std::unique_ptr<velPolylineListIter> simple_iter(simple.native_iter());
        m_weights = std::move(weights);
        out.clear();
        code = boolean_attempt(*simple_iter, simple_second, operation, out, debug);
        debug_list(out.iterator(), "boolean result", 2);
    }
    m_weights.clear();
    if (m_stopped) code = 1;
    if (code != 0) {
        out.clear();
        if (code == 2 && operation != velBooleanVisibility::subtraction) copy_all(a, out);
    }
    m_boolean_code = code;
    return code;
}

int velPolylineSorter::boolean_attempt(const velPolylineListIter& in, int second_boundary, int operation,
                                       velPolylineListCursor& out, torCurvePtr3coDList* debug) {
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
    if (self_intersect(in, second_boundary, 0, 0, debug) < 0 || check_increment_progress()) return 1;
    if (fix_crossing_consistency(in) != 0) return 2;
    construct_result(in, second_boundary, velTol::boolean_result, operation, out);
    m_segments.clear();
    return 0;
}

void velPolylineSorter::construct_result(const velPolylineListIter& in, int second_boundary, double tol,
                                         int operation, velPolylineListCursor& out) {
    Scratch loops;
    std::vector<char> crossed;
    calculate_curve_rejoins(in, loops, crossed, nullptr);
    copy_uncrossed(in, crossed, loops);
    remove_if(loops, [](const velPolylineListIter& p) { return p.num_pos() < 2 || empty_closed(p); });
    debug_list(loops.iterator(), "boolean loops", 2);
    // The keep test reads the loops as traced, on the input's own curves; spikes go after it.
    std::vector<int> keep;
    {
        std::unique_ptr<velPolylineListIter> loop_iter(loops.native_iter());
        check_visibility2(operation, in, second_boundary, *loop_iter, keep);
        compare_visibility_paths(operation, in, *loop_iter, keep);
    }
    for (int i = loops.size() - 1; i >= 0; --i) {
        loops.set_index(i);
        if (keep[at(i)] == 0) {
            loops.remove();
            continue;
        }
        velPolylineUtils::remove_xy_spikes(tol, loops);
        if (keep[at(i)] < 0) velPolylineUtils::reverse(loops);
    }
    for (int i = 0; i < loops.size(); ++i) {
        loops.set_index(i);
        const velPolylineListIter& loop = loops.iterator();
        if (loop.num_pos() < 2 || empty_closed(loop) || straight_and_too_short(loop)) continue;
        out.create_last_polyline();
        velPolylineUtils::append(loop, out);
    }
}

void velPolylineSorter::compare_visibility_paths(int operation, const velPolylineListIter& in,
                                                 const velPolylineListIter& loops,
                                                 const std::vector<int>& keep) {
    velDebugGeometry& dbg = velDebugGeometry::get_from_manager("visibility");
    if (!dbg.active(1)) return;
    // The other path: the traversal of the loops from outside everything, started at the count that makes
    // the operation's boundary count 0 | 1 (the loops separate combined counts k | k + 1 of the two lists:
    // k = 0 for the union, 1 for the intersection, -1 for the difference of a clockwise first list).
    const int start = operation == velBooleanVisibility::addition       ? 0
                      : operation == velBooleanVisibility::intersection ? -1
                                                                        : 1;
    const int saved_mode = m_visible_mode;
    m_visible_mode = 1;
    std::vector<int> hidden;
    check_visibility(loops.size(), start, loops, hidden);
    m_visible_mode = saved_mode;
    Scratch crossing, straight;
    std::unique_ptr<velPolylineListIter> loop(loops.create_new());
    loop->reset();
    while (++*loop) {
        const std::size_t i = at(loop->index());
        if (keep[i] != 0) {
            crossing.create_last_polyline();
            velPolylineUtils::append(*loop, crossing);
        }
        if (!hidden[i]) {
            straight.create_last_polyline();
            velPolylineUtils::append(*loop, straight);
        }
    }
    if (velPolylineListUtils::spacially_equivalent_xy(crossing.iterator(), straight.iterator(),
                                                      visibility_paths_agree))
        return;
    dbg.copy_iter(crossing.iterator(), "crossing visibility", 1);
    dbg.copy_iter(straight.iterator(), "straight visibility", 1);
    dbg.copy_iter(in, "m_in", 1);
    dbg.copy_iter(loops, "input", 1);
}

void velPolylineSorter::check_visibility2(int operation, const velPolylineListIter& in, int second_boundary,
                                          const velPolylineListIter& loops, std::vector<int>& keep) {
    const velBooleanVisibility test(in, second_boundary, m_weights);
    std::unique_ptr<velPolylineListIter> loop(loops.create_new());
    std::unique_ptr<velPolylineListIter> other(loops.create_new());
    keep.assign(at(loops.size()), 0);
    std::vector<int> kept;
    loop->reset();
    while (++*loop) {
        const int i = loop->index();
        bool shares = false;
        const int k = test.decide(operation, *loop, &shares);
        if (k == 0) continue;
        // A loop that runs along another boundary may repeat a kept one (equal boundaries in both lists).
        bool repeat = false;
        for (std::size_t j = 0; shares && !repeat && j < kept.size(); ++j) {
            other->set_index(kept[j]);
            repeat = same_loop(*loop, *other, velTol::boolean_result);
        }
        if (repeat) continue;
        keep[at(i)] = k;
        kept.push_back(i);
    }
}
