#pragma once
// Clean boundaries from any tangle of closed polylines. sort() takes closed boundaries that may cross
// themselves and each other, overlap or be oriented inconsistently, and writes the closed, non-crossing
// boundaries of the region they enclose under the winding rule: anticlockwise outer boundaries and
// clockwise holes. The same machinery splits polylines at their crossings, orients boundaries by their
// nesting, builds the nesting tree and answers every crossing query of the list utilities.
//
//     velPolylineSorter sorter;
//     if (sorter.sort(in, out) != 0) { ... out holds the cleaned input, unsorted ... }
//
// How a sort works. The BSP intersector finds every crossing, each stored with its mirror record. The
// crossing order tables rank the records along every curve. Double crossings of stretches that coincide
// (an overlap or a touch) are dropped (rationalize_crossings); an order that cannot come from closed planar
// curves is repaired by trying other orders of crossings that lie too close together to be ordered
// (fix_crossing_consistency). Then every crossed boundary is cut at its crossings into segments, and the
// segments are joined into closed loops by switching to the other curve at every crossing. Loops made that
// way never cross each other (they touch at most, at the crossing points), and along each of them the
// winding count on its left is one more than on its right. Under the winding rule (visible mode 1) a loop
// is therefore judged at one point of its own, where no other boundary runs along it, by the winding counts
// of the input on its two sides; only the loops that separate counts 0 and 1 are written. Where some loop
// has no such point (boundaries that coincide along all of it), every loop is written and the visibility
// traversal of a BSP tree over them decides with its tie rules; so it does under even-odd (mode 0), which
// keeps the loops between an odd count and an even one.
//
// Copies of one boundary (the same spans the same way round, from any start, within 1e-10) are sorted as
// one boundary whose count is their number: 10,000 copies of a square cost what one does. Copies that
// another boundary crosses are sorted one by one by the traversal (a loop through them would not keep one
// count more on its left than on its right, and coinciding copies leave no point to judge a loop at).
//
// Failure: results are codes, never exceptions. When the crossings cannot be made consistent the sort is
// retried once on the input moved by 1e-5 (each position in a different direction); when that fails too the
// cleaned input is written unsorted and the code is non-zero. A progress break that asks to stop makes the
// sort return 1 with nothing written.
//
// Debug geometry goes to the channel "arclinesorter" (level 2: each stage's lists; level 3: the crossings
// before and after rationalising).
//
// A sorter serves one operation at a time and may be reused; separate sorters are independent.

#include "arcline/intersect/velCrossData.h"
#include "arcline/intersect/velCrossingcoPageArr.h"
#include "arcline/platform/intNaryTree.h"
#include "arcline/polyutils/velCrossingOrderTables.h"
#include "arcline/polyutils/velSegmentMap.h"
#include "arcline/polyutils/velVisibilityResult.h"

#include <memory>
#include <string>
#include <vector>

class giPoint3;
#include "arcline/platform/torCurvePtr3coDList.h"
class velAbsPolyArcLineListCursor;
class velBoundaryNesting;
class velIntersectorBSPNode;
class velPolylineListCursor;
class velPolylineListIter;
class velProgressBreak;
class velVisibilityCalculator;

class velPolylineSorter {
public:
    velPolylineSorter();
    velPolylineSorter(const velPolylineSorter&) = delete;
    velPolylineSorter& operator=(const velPolylineSorter&) = delete;
    virtual ~velPolylineSorter();

    // --- Regions

    // The answer of sort and boolean_code() for input with a coordinate that is not finite (NaN or
    // infinite): refused, out empty, the input untouched.
    static constexpr int non_finite_input = 3;

    // The clean boundaries of the region of `in` (every polyline taken as closed) into `out`, which is
    // cleared first. 0 on success; non-zero when the crossings could not be made consistent (2, out then
    // holds the cleaned input), when the progress break stopped the sort (1, out empty), or for
    // non_finite_input. `extra`, when given, receives a copy of the result.
    int sort(const velPolylineListIter& in, velPolylineListCursor& out,
             velPolylineListCursor* extra = nullptr);
    // The polylines of `in` cut at their crossings and rejoined by switching curves at every crossing, with
    // no visibility test (closure from the iterator: open polylines give open paths). 0 on success; on
    // failure the input is copied unchanged and the answer is 1; non_finite_input (out empty) for a
    // coordinate that is not finite.
    int split(const velPolylineListIter& in, velPolylineListCursor& out,
              torCurvePtr3coDList* debug = nullptr);
    // Orients boundaries by depth: children of the root anticlockwise, their children clockwise, and so on.
    // The boundaries are first cut and rejoined at their crossings (as split does); `out`, when given,
    // receives them oriented; `reverse`, when given, gets one flag per polyline of `in` (1: reverse it),
    // meaningful when the input has no crossings. 0 on success; non_finite_input (nothing written) for a
    // coordinate that is not finite.
    int orient(const velPolylineListIter& in, velPolylineListCursor* out, std::vector<int>* reverse = nullptr,
               torCurvePtr3coDList* debug = nullptr);
    // The containment tree of the closed polylines of `in`: the root holds -1, every other node a polyline
    // index, children the polylines directly inside their parent. With `oriented`, the areas' signs are
    // trusted (a single anticlockwise polyline holds all the others, all anticlockwise: none nests). A
    // list with a coordinate that is not finite gives the root alone; the crossing queries find nothing in
    // such a list.
    void nesting_tree(const velPolylineListIter& in, int oriented, intNaryTree& tree,
                      torCurvePtr3coDList* debug = nullptr);

    // --- Region operations
    //
    // Each list is a set of closed boundaries that do not cross one another (polylines whose ends lie apart
    // are closed by a straight span). Spikes are removed from both first; the crossings of the one list with
    // the other are found, the boundaries are cut there and rejoined into loops, and the loops that bound
    // the result are kept (velBooleanVisibility states the test). Nothing is thrown: when the crossings
    // cannot be made consistent the operation is repeated once with duplicate boundaries merged into one of
    // a higher weight; when that fails too, out receives the first list unchanged (addition, intersection)
    // or nothing (subtraction), and boolean_code() says so. `debug`, when given, receives the BSP tree.

    // The union of the regions of a and b, both given as anticlockwise outer boundaries with clockwise holes
    // (total area 0 or more); the result is oriented the same way.
    void addition(const velPolylineListIter& a, const velPolylineListIter& b, velPolylineListCursor& out,
                  torCurvePtr3coDList* debug = nullptr);
    // The region of plus without that of minus. Plus is given clockwise (outer boundaries clockwise, holes
    // anticlockwise: total area 0 or less), minus anticlockwise; the result is bounded as plus is. A result
    // larger than plus is recomputed by sorting.
    void subtraction(const velPolylineListIter& plus, const velPolylineListIter& minus,
                     velPolylineListCursor& out, torCurvePtr3coDList* debug = nullptr);
    // The region common to a and b (oriented as for addition); the result is oriented the same way.
    void intersection(const velPolylineListIter& a, const velPolylineListIter& b, velPolylineListCursor& out,
                      torCurvePtr3coDList* debug = nullptr);
    // How the last region operation ended: 0 done, 1 stopped by the progress break (out empty), 2 failed
    // (out holds the failure result), non_finite_input (refused, out empty).
    int boolean_code() const { return m_boolean_code; }

    // The result of a region operation on the combined list `in` (list A below `second_boundary`, list B
    // from it on) whose crossings are in the tables: the loops made by rejoining the cut boundaries and the
    // uncrossed boundaries, cleaned of spikes within `tol`, kept by check_visibility2, closed straight loops
    // of fewer than 4 positions dropped. Appended to out.
    void construct_result(const velPolylineListIter& in, int second_boundary, double tol, int operation,
                          velPolylineListCursor& out);
    // For every loop of `loops`: 1 keep it, -1 keep it reversed, 0 drop it, for `operation` (0 addition,
    // 1 subtraction, 2 intersection) on the combined list `in`, each polyline weighted (set_weights). A loop
    // that repeats one kept before it is dropped.
    void check_visibility2(int operation, const velPolylineListIter& in, int second_boundary,
                           const velPolylineListIter& loops, std::vector<int>& keep);
    // The weight of every polyline of the combined list in the region operations (empty: all 1).
    void set_weights(std::vector<int> weights) { m_weights = std::move(weights); }

    // --- Crossings

    // 1 when any two polylines of `in` cross or one crosses itself.
    int any_intersections(const velPolylineListIter& in, torCurvePtr3coDList* debug = nullptr);
    // Crossings between polylines below `second_boundary` and those at or above it, one record each, curve 1
    // the lower.
    void intersect(const velPolylineListIter& in, int second_boundary, velCrossingcoPageArr& out,
                   torCurvePtr3coDList* debug = nullptr);
    // Crossings between a polyline of A and one of B: index1 in A, index2 in B.
    void intersect(const velPolylineListIter& a, const velPolylineListIter& b, velCrossingcoPageArr& out,
                   torCurvePtr3coDList* debug = nullptr);
    // Every crossing of the list, one record each; and with the mirror record after each.
    void self_intersect(const velPolylineListIter& in, velCrossingcoPageArr& out,
                        torCurvePtr3coDList* debug = nullptr);
    void self_intersect_keep_duplicates(const velPolylineListIter& in, velCrossingcoPageArr& out,
                                        torCurvePtr3coDList* debug = nullptr);
    // The valid crossings of the last intersection (each counted once).
    int num_crossings() const { return m_num_crossings; }

    // --- Visibility (shared with the region operations)

    // Runs the visibility traversal over the whole list from the lower left corner of the BSP root (count
    // `count` there): `result` gets an entry per polyline, `nesting` (may be null) the containment. The
    // sorter's last tree is reused when one exists. Returns the number of entries decided.
    int determine_visibility(const velPolylineListIter& in, int count, int second_boundary,
                             const velSegmentMap* segments, const velVisibilityCalculator& calculator,
                             int flags, velVisibilityResult& result, velBoundaryNesting* nesting = nullptr);
    // For every polyline of `in` (n of them): hidden[i] = 0 when it is visible, 1 otherwise.
    void check_visibility(int n, int count, const velPolylineListIter& in, std::vector<int>& hidden,
                          const velSegmentMap* segments = nullptr);

    // --- Settings

    // 1 (default): the winding rule; 0: even-odd.
    void set_visible_mode(int mode) { m_visible_mode = mode; }
    int visible_mode() const { return m_visible_mode; }
    // Progress and interruption; mode 0 counts the sort's 6 steps on the break, any other mode only asks
    // it whether to stop.
    void set_progress_break(velProgressBreak* progress, int mode = 0) {
        m_progress = progress;
        m_progress_mode = mode;
    }
    // Which polylines are closed, for the crossing queries (default: first and last positions equal).
    void set_closure_function(velClosureFunction closed, void* data) {
        m_closure = closed;
        m_closure_data = data;
    }
    // Debug lists collected under names and written together by output_debug_geometry() when delayed.
    void delay_debug_output(int on) { m_delay_debug = on; }
    void add_debug_iter(const velPolylineListIter& list, const char* name, int level);
    void output_debug_geometry();

    // The closure function that reports every polyline closed.
    static int all_closed(const velPolylineListIter& list, int index, void* data);

    velCrossData& cross_data() { return m_data; }
    const velCrossingOrderTables& tables() const { return m_tables; }
    const velSegmentMap& segment_map() const { return m_segments; }

protected:
    // The intersection behind every query: crossings with mirror records into the cross data, then the
    // tables and the rationalising. Returns the number of valid crossings; -1 when stopped.
    int self_intersect(const velPolylineListIter& in, int second_boundary, int store_alternates,
                       int force_box_cache, torCurvePtr3coDList* debug);
    int sort_internal(const velPolylineListIter& in, velPolylineListCursor& out, int top_level);
    // Drops double crossings of coinciding stretches; returns the number of valid crossings left.
    int rationalize_crossings(const velPolylineListIter& in);
    // 0 when the crossing order is consistent, or was made so; 1 otherwise.
    int fix_crossing_consistency(const velPolylineListIter& in);
    int fix_crossing_consistency(const velPolylineListIter& in, double tolerance);
    // Cuts every crossed polyline at its crossings and writes the loops (paths) made by switching curves at
    // every crossing; `crossed` gets a flag per polyline. Returns the number of paths written.
    int calculate_curve_rejoins(const velPolylineListIter& in, velAbsPolyArcLineListCursor& out,
                                std::vector<char>& crossed, velSegmentMap* joints = nullptr);
    void copy_uncrossed(const velPolylineListIter& in, const std::vector<char>& crossed,
                        velPolylineListCursor& out) const;
    // One segment of a path: curve `curve` from t0 forwards to t1, through its closure when `wraps`; and a
    // path, its segments in order.
    struct Piece {
        int curve;
        double t0, t1;
        bool wraps;
    };
    struct Path {
        std::vector<Piece> pieces;
        bool closed = false;
    };
    std::vector<Path> trace_paths(const velPolylineListIter& in, std::vector<char>& crossed) const;
    void write_path(const velPolylineListIter& in, const Path& path, velAbsPolyArcLineListCursor& out,
                    velSegmentMap* joints) const;
    // Under the winding rule: the paths (and uncrossed polylines) that bound the region, written to `out`,
    // each judged by the counts of `in` on its two sides at one point. A path switches curves at every
    // crossing, so the count on its left is the count on its right plus one along its whole length, and one
    // point tells whether it separates 0 from 1: no second tree over the paths is needed. Returns 1 when
    // written; 0, with nothing written, when some path has no point where its own curve alone runs
    // (coinciding boundaries, which the traversal's tie rules order); weighted_copies_crossed.
    int write_visible_paths(const velPolylineListIter& in, velAbsPolyArcLineListCursor& out);
    // The longest pieces of a path tried for a point that judges it.
    static constexpr std::size_t max_judged_pieces = 8;
    // Keeps the polylines of `list` (a cursor's list) that are visible under the sorter's mode.
    void keep_visible(velAbsPolyArcLineListCursor& list, const velSegmentMap* joints);
    // Per loop of a list of loops that do not cross: 1 when its orientation disagrees with its depth in the
    // nesting (depth 1 anticlockwise, depth 2 clockwise, ...); and the loops reversed accordingly.
    std::vector<int> depth_flips(velAbsPolyArcLineListCursor& loops);
    void orient_by_depth(velAbsPolyArcLineListCursor& loops);
    int check_increment_progress();
    int debug_on(int level) const;
    void debug_list(const velPolylineListIter& list, const char* name, int level);
    void debug_crossings(const velPolylineListIter& in, const char* name, int level);
    void debug_tree(const char* name);
    std::vector<char> closure_flags(const velPolylineListIter& in) const;

    // The common path of the region operations (operation 0, 1, 2); returns the code of boolean_code().
    int boolean_operation(const velPolylineListIter& a, const velPolylineListIter& b, int operation,
                          velPolylineListCursor& out, torCurvePtr3coDList* debug);
    int boolean_attempt(const velPolylineListIter& in, int second_boundary, int operation,
                        velPolylineListCursor& out, torCurvePtr3coDList* debug);
    // With the debug channel "visibility" on: the loops kept by the visibility traversal of the loops alone
    // compared with those of check_visibility2; when they differ, both results and the inputs are written.
    void compare_visibility_paths(int operation, const velPolylineListIter& in,
                                  const velPolylineListIter& loops, const std::vector<int>& keep);
    void subtraction_by_sorting(const velPolylineListIter& plus, const velPolylineListIter& minus,
                                velPolylineListCursor& out);

private:
    int orient_worker(const velPolylineListIter& in, velPolylineListCursor* out, std::vector<int>* reverse);
    void tree_picture(torCurvePtr3coDList* debug) const;

    velCrossData m_data;
    velCrossingOrderTables m_tables;
    velSegmentMap m_segments;
    std::unique_ptr<velPolylineListIter> m_tree_list; // the list the tree was built on
    std::unique_ptr<velIntersectorBSPNode> m_tree;
    int m_num_crossings = 0;
    velClosureFunction m_closure = nullptr;
    void* m_closure_data = nullptr;
    int m_visible_mode = 1;
    std::vector<int> m_weights;
    // The sort's weight of every polyline of its core's input (copies merged); empty: all 1.
    std::vector<int> m_sort_weights;
    // sort_internal's answer when copies merged into one weighted boundary are crossed by others.
    static constexpr int weighted_copies_crossed = 4;
    // Whether the sort judges its paths at a point of their own (off for copies that others cross).
    bool m_judge_paths = true;
    int m_boolean_code = 0;
    velVisibilityResult m_result;
    velVisibilityResult m_result2;
    velProgressBreak* m_progress = nullptr;
    int m_progress_mode = 0;
    int m_progress_top = 0; // the sort that set the progress range
    int m_stopped = 0;
    int m_delay_debug = 0;
    struct DebugEntry;
    std::vector<std::unique_ptr<DebugEntry>> m_debug_entries;
};
