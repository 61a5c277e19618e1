#pragma once
// Operations on whole lists of polylines: a list is read through a velPolylineListIter, written through a
// velPolylineListCursor, or edited in place through a cursor. Most operations apply an operation of
// velPolylineUtils to every polyline in turn; the others measure or filter the list, edit its order,
// find regions, measure distances, or trim a trimmed view. All members are static; nothing keeps state.
//
// Conventions of every operation:
// - A list read through a const iterator is walked on a clone (create_new()), so the caller's iterator
//   does not move. Indices are the iterator's own (index(), from 0); parameters are list parameters
//   (span floor(t), bulge fraction t - floor(t)).
// - Operations writing to an `out` cursor append after the polylines it already holds, in the order of
//   `in`, and leave it on the last polyline written. `in` must not read what `out` writes.
// - Operations editing a cursor in place visit its polylines in order and leave it reset (undefined).
// - "Closed" means velPolylineUtils::closed(iter, tol), with tol 0 where no tolerance is given. Areas are
//   signed (velPolylineUtils::area, anticlockwise positive) and compared by absolute value.
// - Geometric failure is never an exception: empty lists give zero counts and lengths, empty boxes, -1
//   indices and parameters, and DBL_MAX for distances that were not found.
//
// Debug output: the channel "velPolylineListUtils" at level 2 ("0=Off, 2=on") receives, from the spike and
// kink removals, the polylines that the removal changed (no longer spacially_equivalent_xy to their input
// within spike_change_tol): "remove_spikes:input" and "remove_spikes:output", "remove_kinks:input" and
// "remove_kinks:output". They are kept on the channel until its next flush.
//
// The stages live beside this file: velPolylineListUtils.cpp (the per-polyline family and the measures),
// ...Filters.cpp (filters and cleaning), ...Editing.cpp (moving, ordering, joining, temporary spans),
// ...Regions.cpp (inside tests, regions, containment, closure and convexity tests), ...Distances.cpp
// (closest points and distances between lists), ...Boxes.cpp (trimming outside a box, best-fit planes and
// optimised boxes), ...Sorting.cpp (what goes through the polyline sorter: splitting, loops, orientation,
// regions, limiting to boundaries, crossings between lists), ...Offsets.cpp (offsets of polylines with
// heights).

#include "arcline/intersect/velCrossingcoPageArr.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"
#include "arcline/platform/coSet.h"
#include "arcline/platform/giBox2.h"
#include "arcline/platform/giBox3.h"
#include "arcline/platform/giPlane.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giUnitVec3.h"
#include "arcline/platform/giVector3.h"
#include "arcline/platform/giWorkplane3.h"
#include "arcline/polyline/utils/velPolylinePosition.h"
#include "arcline/polyline/velTolerances.h"

#include <vector>

class velPolyarcline2dBoxCache;
class velOffsetter;
class velPolylineSorter;
class velProgressBreak;
class velPolyarcline3dBoxCache;

class velPolylineListUtils {
public:
    // Two polylines count as changed by a cleaning step (for the debug output) when they are not
    // spacially_equivalent_xy within this distance.
    static constexpr double spike_change_tol = 0.01;
    // The distances between lists that are found by bisection (max_distance and its relatives) are within
    // this fraction of the size of the lists' common box of the true value (and never finer than
    // velTol::coincident).
    static constexpr double distance_accuracy = 1e-7;

    // ---------------------------------------------------------------------------------------------------
    // The per-polyline family: each applies the velPolylineUtils operation of the same name to every
    // polyline in order. Those writing to `out` write each polyline of `in` that has positions as a new
    // polyline of `out` (polylines without positions are left out, as copy() leaves them). Those editing
    // `list` in place keep every polyline in it, even one that the operation empties.

    // velPolylineUtils::strip (streaming thinning within tol, significant arcs kept).
    static void strip(const velPolylineListIter& in, double tol, velPolylineListCursor& out);
    // velPolylineUtils::simple_strip (Douglas-Peucker thinning of the positions within tol).
    static void simple_strip(const velPolylineListIter& in, double tol, velPolylineListCursor& out);
    // velPolylineUtils::smash_spans_by_length (every span cut into pieces about `length` long).
    static void smash_spans_by_length(const velPolylineListIter& in, double length,
                                      velPolylineListCursor& out);
    // velPolylineUtils::shave_off_tips_of_dog_ears; returns the number of ears cut from the whole list.
    static int shave_off_tips_of_dog_ears(const velPolylineListIter& in, velPolylineListCursor& out,
                                          double tol);
    // velPolylineUtils::remove_spans_shorter_than (spans of length at most `length` removed).
    static void remove_spans_shorter_than(double length, velPolylineListCursor& list);
    // velPolylineUtils::remove_kinks (zigzags of a straight span of at most `tol` between corners sharper
    // than `angle` degrees); returns the number of kinks removed by the first passes, summed over the list.
    static int remove_kinks(double angle, double tol, velPolylineListCursor& list);
    // velPolylineUtils::remove_spikes (measured in 3D) and remove_xy_spikes (in x and y); return the number
    // of spikes removed from the whole list.
    static int remove_spikes(double tol, velPolylineListCursor& list);
    static int remove_xy_spikes(double tol, velPolylineListCursor& list);
    // velPolylineUtils::forcably_close: every open polyline of at least two positions gets its first
    // position again at its end.
    static void forcably_close(velPolylineListCursor& list);
    // Every polyline written with its arcs as chords within tol (velPolylineUtils::add_polygonized_span for
    // every span, after the first position).
    static void polygonize(const velPolylineListIter& in, velPolylineListCursor& out, double tol);
    // Every polyline reversed: the contour's reverse() where the cursor offers a contour (so offset records
    // and labels follow the spans), velPolylineUtils::reverse otherwise.
    static void reverse_contours(velPolylineListCursor& list);
    // Every temporary arc span becomes an ordinary arc: in the records of an offset-flag cursor
    // (velPolylineWithOffsetFlagsListCursor) the temporary flag of each arc span is cleared (its position
    // and side kept); over other cursors each contour span that is a temporary arc gets
    // set_arc_span_temp_state(0). Returns the number of spans changed.
    static int remove_arc_span_temp_state(velPolylineListCursor& list);

    // ---------------------------------------------------------------------------------------------------
    // Measures

    // Sum of the signed areas of every polyline (velPolylineUtils::area takes each as closed, so an open
    // polyline adds the area closed by the chord from its end to its start).
    static double area(const velPolylineListIter& in);
    // Sum of the lengths.
    static double length(const velPolylineListIter& in);
    // length over num_spans; 0 without spans.
    static double average_span_length(const velPolylineListIter& in);
    // Positions, spans (n - 1 for a polyline of n >= 1 positions), arc spans and polylines without positions.
    static int num_points(const velPolylineListIter& in);
    static int num_spans(const velPolylineListIter& in);
    static int num_arc_spans(const velPolylineListIter& in);
    static int num_empty_polylines(const velPolylineListIter& in);
    // Polylines closed within tol, and the rest (empty polylines are not closed).
    static int num_closed_polylines(const velPolylineListIter& in, double tol);
    static int num_open_polylines(const velPolylineListIter& in, double tol);
    // 1 when every polyline is closed (tolerance 0), also for an empty list.
    static int closed(const velPolylineListIter& in);
    // The merged boxes of every polyline (the iterator's own box computations, arcs exact).
    static giBox2 box(const velPolylineListIter& in, vel2dBox kind);
    static giBox3 box(const velPolylineListIter& in, vel3dBox kind);
    // Index of the closed polyline of largest (smallest) |area|, the first of equal ones; -1 when no polyline
    // is closed.
    static int largest_area(const velPolylineListIter& in);
    static int smallest_area(const velPolylineListIter& in);
    // velPolylineUtils::unsigned_turn_angle (in 3D) of polyline `index`, in degrees; -1 gives the sum over
    // the whole list. 0 for an index that is not in the list.
    static double unsigned_turn_angle(const velPolylineListIter& in, int index);
    // The smallest velPolylineUtils::distance_between_closest_adjacent_points of the polylines; DBL_MAX when
    // no polyline has two positions.
    static double distance_between_closest_adjacent_points(const velPolylineListIter& in);

    // ---------------------------------------------------------------------------------------------------
    // Shape tests

    // 1 when the two lists cover the same points of the plane within tol: every point of each, flattened to
    // z = 0, lies within tol of the other (the XY Hausdorff distance is at most tol, decided within
    // distance_accuracy). Tilted arcs are taken by the arcs through their projected points. Two lists
    // without positions are equivalent; one without and one with are not.
    static int spacially_equivalent_xy(const velPolylineListIter& a, const velPolylineListIter& b,
                                       double tol);
    // 1 when the XY shadow of every polyline turns one way only: along each polyline (round a closed one,
    // through its closing corner) the corners and arcs turn all anticlockwise or all clockwise, turns the
    // other way of up to `angle` degrees each being taken as straight, and the whole turning stays within
    // one lap (360 + angle degrees), so that a closed polyline bounds a convex region and an open one runs
    // along the boundary of one. Spans without length in XY are passed over. 1 for an empty list.
    static int xy_projection_is_convex(const velPolylineListIter& in, double angle);
    // 1 when some polyline closed within tol has its closing point (position 0) within tol, in XY, of one of
    // its spans other than the two that meet there (velPolylineUtils::point_is_self_intersected_in_2d): the
    // closing point is a self-contact, where a sort must not start the polyline.
    static int has_self_intersections_at_closure_in_2d(const velPolylineListIter& in, double tol);

    // ---------------------------------------------------------------------------------------------------
    // Filters: each edits `list` in place, removing the polylines it names, and returns how many it removed.

    // Polylines closed within tol; polylines not closed within tol (empty ones included).
    static int remove_closed_polylines(double tol, velPolylineListCursor& list);
    static int remove_open_polylines(double tol, velPolylineListCursor& list);
    // Polylines longer than `length`; shorter than `length` (empty ones have length 0).
    static int remove_polylines_longer_than(double length, velPolylineListCursor& list);
    static int remove_polylines_shorter_than(double length, velPolylineListCursor& list);
    // Polylines of fewer than n positions; closed ones (tolerance 0) of fewer than n positions.
    static int remove_polylines_with_less_points_than(int n, velPolylineListCursor& list);
    static int remove_closed_polylines_with_less_points_than(int n, velPolylineListCursor& list);
    // Polylines without positions, and closed polylines (tolerance 0) of |area| below `area` that are spikes
    // through and through: a copy of such a polyline has its spikes removed with the tolerance
    // max(sqrt(|area|), velTol::coincident), and the polyline goes when nothing of the copy is left. A small
    // polyline that is not that thin everywhere stays.
    static int remove_closed_polylines_with_less_area_than(double area, velPolylineListCursor& list);
    // Polylines closed within `width`, with |area| below `area`, whose mean width (|area| over length) is
    // below `width`.
    static int remove_thin_closed_polylines(double width, double area, velPolylineListCursor& list);
    // Every contour gets velAbsContour::clean(tol) (spans whose ends lie within tol removed, the contour
    // kept connected and closed ones closed; over a cursor without contours the polyline is cleaned as a
    // copy and written back), then polylines without positions are removed. Returns the number of spans
    // removed.
    static int clean(double tol, velPolylineListCursor& list);

    // ---------------------------------------------------------------------------------------------------
    // List editing

    // Every polyline of `from` moved, in order, to the end of `to`; `from` is left empty.
    static void move(velPolylineListCursor& from, velPolylineListCursor& to);
    // A small scattering move, for a second try at a degenerate input: with N the number of positions in
    // the list and k counting down from N (velBackwardsCounter) over the positions in list order, position
    // k is moved by d in the XY direction at the angle 2 pi k / N, so that neighbouring positions move in
    // different directions. Polylines of one position or none stay where they are (their positions are
    // counted). The last position of a closed polyline (tolerance 0) moves with its first, so that it stays
    // closed; an arc keeps its kind, its mid point moved by the mean of its ends' moves.
    static void move(velPolylineListCursor& list, double d);
    // The polylines in the opposite order (each unchanged).
    static void reverse_order(velPolylineListCursor& list);
    // Joins polylines that continue each other: chains of polylines in which each one starts within tol of
    // the end of the one before are written to `out` as one polyline each, in the order of the first
    // polyline of each chain in `in`. A chain grows at its end with the first polyline (in list order) not
    // yet used that starts at its end, and at its start with the first that ends at its start; polylines
    // are never reversed, and closed ones (tolerance 0) and those without positions are written alone. A
    // chain stops growing when it closes (its end within tol of its start). Where two polylines meet apart,
    // the next one's first span starts at the end of the one before. Returns the number of polylines
    // written.
    static int append_touching_segments(const velPolylineListIter& in, velPolylineListCursor& out,
                                        double tol);
    // Every maximal run of consecutive temporary straight spans (temporary arcs) of every polyline written to
    // `out` as a polyline of its own. Only for an `in` that is a velPolylineListIterWithOffsetFlags: for
    // other iterators nothing is written. Return the number of polylines written.
    static int extract_temp_lines(const velPolylineListIter& in, velPolylineListCursor& out);
    static int extract_temp_arcs(const velPolylineListIter& in, velPolylineListCursor& out);

    // ---------------------------------------------------------------------------------------------------
    // Regions

    // The number of closed polylines (tolerance 0) of `in` that hold `point` (in XY, inside or on them:
    // velPolylineUtils::point_inside_closed_polyline); an odd count puts the point inside the region they
    // bound. With a box cache of `in` (velPolyarcline2dBoxCache::cache_boxes) polylines whose cached box
    // does not hold the point are passed over without reading them.
    static int point_inside_closed_polylines(const giPoint3& point, const velPolylineListIter& in,
                                             const velPolyarcline2dBoxCache* cache = nullptr);
    // The region of `in` in which `point` lies, written to `out`: its boundary, the closed polyline
    // (tolerance 0) of least |area| that holds the point, and then its holes, the closed polylines inside
    // that boundary that do not hold the point and lie inside no other such polyline. Nesting is judged in
    // XY by the first point of the inner polyline that does not lie on the outer one. Polylines are copied
    // as they are (not reoriented). Writes nothing when no closed polyline holds the point. Returns the
    // number of polylines written.
    static int find_region_containing_pos(const velPolylineListIter& in, const giPoint3& point,
                                          velPolylineListCursor& out);
    // 1 when the region bounded by the closed polylines of `a` (tolerance 0; in XY, a point inside an odd
    // number of them) holds every polyline of `b`, points within tol of a boundary counting as held. Each
    // polyline of b is cut at its crossings with a's boundaries (velListIntersector) and each piece is judged
    // by one of its points lying farther than tol from them (the points at half its length, then quarters,
    // down to sixteenths); a piece without such a point runs along a boundary and is held. 1 when b has no
    // positions; 0 when a has no closed polyline and b has positions.
    static int contains(const velPolylineListIter& a, const velPolylineListIter& b, double tol);

    // ---------------------------------------------------------------------------------------------------
    // Distances. The closest-point queries return the distance to the point found, set `index` and `t` to
    // its polyline and parameter (-1 and -1.0 with DBL_MAX when no polyline has a position), and measure arcs
    // exactly (tilted ones in their own plane). Of equally near points the first in list order wins.
    // Polylines whose box lies farther than the best distance found are not measured.

    // The point of the list nearest to P.
    static double closest_point(const giPoint3& P, const velPolylineListIter& in, int& index, double& t);
    // The same as a position on `in` (which must outlive it); invalid when nothing was found. The other
    // closest-point queries to a segment and to a line have this form too.
    static double closest_point(const giPoint3& P, const velPolylineListIter& in, velPolylinePosition& pos);
    // The point of the list nearest to the segment PQ (velPolylineUtils::closest_point_to_segment).
    static double closest_point(const giPoint3& P, const giPoint3& Q, const velPolylineListIter& in,
                                int& index, double& t);
    static double closest_point(const giPoint3& P, const giPoint3& Q, const velPolylineListIter& in,
                                velPolylinePosition& pos);
    // The point of the list nearest to the line through P along `direction` (the ray from P when
    // `half_line`), velPolylineUtils::closest_point with a direction; a zero direction is the point P.
    static double closest_point(const giPoint3& P, const giVector3& direction, const velPolylineListIter& in,
                                int half_line, int& index, double& t);
    static double closest_point(const giPoint3& P, const giVector3& direction, const velPolylineListIter& in,
                                int half_line, velPolylinePosition& pos);
    // The point nearest to P with distances measured within `plane`
    // (velPolylineUtils::closest_point_in_plane: both projected onto it along its normal).
    static double closest_point_in_plane(const giPoint3& P, const giPlane& plane,
                                         const velPolylineListIter& in, int& index, double& t);
    // The point nearest to P on every polyline but polyline `excluded`.
    static double closest_point_on_all_but(const giPoint3& P, const velPolylineListIter& in, int excluded,
                                           int& index, double& t);
    // The point nearest to P among the points of the list inside `box` (faces included); with a 3D box cache
    // of `in`, spans whose cached box does not cross the box are not solved.
    static double closest_point_within_box(const giPoint3& P, const giBox3& box,
                                           const velPolylineListIter& in, int& index, double& t);
    static double closest_point_within_box(const giPoint3& P, const giBox3& box,
                                           const velPolylineListIter& in,
                                           const velPolyarcline3dBoxCache& cache, int& index, double& t);

    // The smallest distance between a polyline of `a` and one of `b`, by velPolylineUtils::min_distance on
    // every pair (arcs taken by their chords), with the polylines and parameters of the closest pair;
    // pairs whose boxes lie farther apart than the best distance are not measured, and the search stops at
    // distance 0. sqrt(DBL_MAX) with indices -1 when either list has no positions.
    static double min_distance(const velPolylineListIter& a, const velPolylineListIter& b, int& index_a,
                               double& t_a, int& index_b, double& t_b);
    static double min_distance(const velPolylineListIter& a, const velPolylineListIter& b);
    // 1 as soon as some polyline comes nearer to P than d (velPolylineUtils::min_distance_smaller_than, arcs
    // exact); 0 otherwise.
    static int min_distance_smaller_than(const velPolylineListIter& in, const giPoint3& P, double d);
    // 1 when min_distance(a, b) < d.
    static int min_distance_smaller_than(const velPolylineListIter& a, const velPolylineListIter& b,
                                         double d);
    // The directed Hausdorff distance: the largest distance from a point of `a` to the list `b`, arcs exact,
    // found by bisection of a's spans with bounds on the distance along each piece, within
    // distance_accuracy. 0 when a has no positions; DBL_MAX when b has none (and a has).
    static double max_distance_one_way(const velPolylineListIter& a, const velPolylineListIter& b);
    // The Hausdorff distance: the larger of the two one-way distances.
    static double max_distance(const velPolylineListIter& a, const velPolylineListIter& b);
    // 1 when max_distance(a, b) < d, decided as soon as the bisection settles it.
    static int max_distance_smaller_than(const velPolylineListIter& a, const velPolylineListIter& b,
                                         double d);

    // ---------------------------------------------------------------------------------------------------
    // Boxes and planes

    // Trims away, piece by piece of the trimmed view, every maximal run of consecutive spans whose 3D boxes
    // do not cross `box` (spans visited from the last to the first, each run removed with one trim); a
    // piece whose box misses `box` goes whole. Spans that reach into the box are kept whole, so what stays
    // covers the part of the list inside the box. Returns the number of runs trimmed away. The view is left
    // reset.
    static int trim_outside_box(const giBox3& box, velTrimmedPolylineListIter& trimmed);
    // The same with XY boxes. With a 2D box cache of the underlying list (cache_boxes of
    // trimmed.underlying_iter()), whole underlying polylines and inner spans are judged by their cached
    // boxes.
    static int trim_outside_box(const giBox2& box, velTrimmedPolylineListIter& trimmed,
                                const velPolyarcline2dBoxCache* cache = nullptr);
    // The normal of the plane that fits the list's points best in the least-squares sense (positions and,
    // for arcs, the points at a quarter, half and three quarters of them), turned to agree with the turning
    // of the list about it (the sum of its polylines' vector areas), or, when that is nothing, towards +Z
    // (+X, then +Y, for a vertical plane). Points on one line give the plane through that line nearest to
    // horizontal; fewer than three distinct points give +Z.
    static giUnitVec3 best_fit_plane_normal(const velPolylineListIter& in);
    // A box of least area around the list seen along `normal`: `workplane` gets its z axis along the normal
    // and its x axis along an edge of the convex hull of the list's shadow (arcs by chords within
    // distance_accuracy of the list's size), chosen so that the shadow's bounding rectangle is the
    // smallest; `box` is the exact box of the list in workplane coordinates (arcs exact). Returns 0, leaving
    // both alone, when the list has no positions.
    static int optimised_box(const giUnitVec3& normal, const velPolylineListIter& in, giWorkplane3& workplane,
                             giBox3& box);
    // The same along best_fit_plane_normal(in).
    static int optimised_box(const velPolylineListIter& in, giWorkplane3& workplane, giBox3& box);

    // ---------------------------------------------------------------------------------------------------
    // Through the polyline sorter. Where a sorter is passed it is used (and keeps its state, as after its own
    // calls); null makes one for the call.

    // The polylines cut at their crossings and rejoined by switching curves at every crossing
    // (velPolylineSorter::split): a figure of eight becomes its two lobes. 0 on success.
    static int split(const velPolylineListIter& in, velPolylineListCursor& out);
    // Each polyline of `in` on its own, cut at its self-crossings into pieces; the pieces longer than half of
    // the smaller of `length` and the longest piece's length, and (when closed) of |area| at least `area`,
    // go to out. Polylines of fewer than 3 positions go unchanged. The pieces dropped are written to the
    // channel as "loops" at level 2.
    static void remove_loops(const velPolylineListIter& in, velPolylineListCursor& out, double length,
                             double area, velPolylineSorter* sorter);
    static void remove_loops_by_length(const velPolylineListIter& in, velPolylineListCursor& out,
                                       double length);
    static void remove_loops_by_length_and_area(const velPolylineListIter& in, velPolylineListCursor& out,
                                                double length, double area);
    static void remove_loops_by_length_with_sorter(const velPolylineListIter& in, velPolylineListCursor& out,
                                                   double length, velPolylineSorter& sorter);
    // 1 when no two polylines cross and every closed polyline is oriented by its depth in the nesting
    // (outer anticlockwise, holes clockwise, islands anticlockwise ...); reverse_oriented: every one the
    // other way round.
    static int oriented(const velPolylineListIter& in);
    static int reverse_oriented(const velPolylineListIter& in);
    // The regions of non-crossing closed polylines: one entry per boundary at odd depth of the nesting (an
    // outer boundary), its index first and then those of its holes (its children). Returns their number.
    static int find_regions(const velPolylineListIter& in, std::vector<std::vector<int>>& regions);
    // The closed polylines with no other inside them (leaves of the nesting tree).
    static void innermost_segments(const velPolylineListIter& in, intcoSet& indices);
    // Trims the polylines of `polylines` to the region of the closed `boundaries` (inside an odd number of
    // them): with inside = 1 the portions inside stay, with 0 those outside. The portions between crossings
    // alternate; each polyline is decided at the point of its pieces farthest from the boundaries. A polyline
    // lying along the boundaries (no point farther than 1e-4) is trimmed away unless `on_boundary`.
    static void limit_to_boundary(const velPolylineListIter& boundaries,
                                  velTrimmedPolylineListIter& polylines, int inside,
                                  velPolylineSorter* sorter = nullptr, int on_boundary = 0);
    // The same without touching `polylines`: the portions inside go to inside_out, the others to
    // outside_out (either may be null).
    static void limit_to_boundary(const velPolylineListIter& boundaries, const velPolylineListIter& polylines,
                                  velPolylineListCursor* inside_out, velPolylineListCursor* outside_out,
                                  velPolylineSorter* sorter = nullptr, int on_boundary = 0);
    // Crossings between a polyline of a and one of b (index1 in a, index2 in b), crossings of one pair of
    // polylines closer than tol along both merged into one. Returns their number.
    static int intersect(const velPolylineListIter& a, const velPolylineListIter& b, double tol,
                         velCrossingcoPageArr& crossings, velPolylineSorter* sorter = nullptr);
    // The region of a without that of b into out (cleared first): both lists are regions of closed
    // boundaries in any orientation, oriented by nesting first; spikes within tol go from both inputs and
    // the result; the result has anticlockwise outer boundaries and clockwise holes. `progress` (may be
    // null) may stop the operation (answer 1, out empty). 0 on success; 2 when the operation failed (out
    // empty); velPolylineSorter::non_finite_input for a coordinate that is not finite (out empty).
    static int difference(const velPolylineListIter& a, const velPolylineListIter& b, double tol,
                          velPolylineListCursor& out, velProgressBreak* progress = nullptr);
    // Each polyline of `in` with its small loops cut out, to out: a loop is the stretch between the two
    // passes of a self-crossing with no other crossing on it (in the crossing graph of the polyline, a node
    // whose next node along the curve is its own pair), small when shorter than tol. Loops that only become
    // simple once the loops inside them are gone are cut on later passes. With `through_closure`, a closed
    // polyline's loop that runs through its closing point is cut too (the polyline then starts and ends at
    // the crossing). Returns the number of loops cut.
    static int uncross_small_intersections(const velPolylineListIter& in, velPolylineListCursor& out,
                                           double tol, int through_closure);
    // 1 when c is a self-crossing of the current polyline of `in` whose loop (the stretch from its smaller
    // parameter to its larger) is shorter than tol.
    static int is_small_intersection(const velPolylineListIter& in, const velCrossing& c, double tol);

    // ---------------------------------------------------------------------------------------------------
    // Offsets of polylines with heights

    // Every polyline of `in` with two or more positions offset in XY by `offset` as a contour
    // (velOffsetter::offset(contour, offset): the right side at offset >= 0, the left at -offset), with z
    // carried over: positions that repeat the previous one in XY are dropped, the flat copy is offset with
    // side labels, each offset span is mapped back onto the input span it came from
    // (velPolylineUtils::offset_span_mapping) and z is interpolated along that span (a corner span keeps the
    // z of its corner; an arc's mid point takes the mean of its ends' z). Each offset polyline is appended to
    // `out` and its signed distance to `distances`. The offsetter's settings are used (span labels kept on
    // the way and restored after). Returns the number of polylines written. Debug output on level 2:
    // "offset_with_z_input", "offset_with_z_output".
    static int offset_with_z(velOffsetter& offsetter, const velPolylineListIter& in, double offset,
                             std::vector<double>& distances, velPolylineListCursor& out);
    // The same with an offsetter of default settings.
    static int offset_with_z(const velPolylineListIter& in, double offset, std::vector<double>& distances,
                             velPolylineListCursor& out);
    // Both offsets of every polyline (offset1 then offset2, polyline by polyline), `distances` telling which
    // each output polyline is.
    static int double_offset_with_z(velOffsetter& offsetter, const velPolylineListIter& in, double offset1,
                                    double offset2, std::vector<double>& distances,
                                    velPolylineListCursor& out);
    static int double_offset_with_z(const velPolylineListIter& in, double offset1, double offset2,
                                    std::vector<double>& distances, velPolylineListCursor& out);

protected:
    velPolylineListUtils() = default;

    // velPolylineUtils::remove_spikes (xy = 0) or remove_xy_spikes (xy = 1) on every polyline, with the
    // debug output of the changed ones.
    static int remove_spikes(double tol, int xy, velPolylineListCursor& list);
};
