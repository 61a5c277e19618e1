#pragma once
// Measures, queries, copying and cleaning of one polyline: the current polyline of a list iterator, written
// (where a function writes) through a list cursor. Nothing here moves the iterator read (queries that walk a
// whole list walk a clone of it) and nothing keeps state between calls.
//
// Conventions of every function:
// - Positions are numbered 0 .. n - 1 (n = num_pos()), span k runs from position k to k + 1, and a parameter
//   t addresses the point at fraction t - floor(t) of span floor(t); the end of the polyline is t = n - 1.
// - Within an arc span the fraction is the bulge parameter (0.5 at the mid point), not a fraction of length;
//   lengths along arcs are converted. The bulge parametrisation is symmetric about the mid point, so the
//   length from fraction u to the end of a span is the length from its start to fraction 1 - u.
// - Arcs are read through get_mid_pos and get_bulge; arcs tilted out of XY are handled in their own plane
//   by every 3D query. Area, turning in XY and the 2D tests work in x and y.
// - "Closed" means closed(iter, 0.0): first and last positions are equal. An undefined iterator reads as a
//   polyline without positions.
// - Geometric failure is never an exception: parameters that are not found are -1.0, distances that are not
//   found DBL_MAX, tangents of zero-length spans the unset unit vector.

#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giBox2.h"
#include "arcline/platform/giBox3.h"
#include "arcline/platform/giLength.h"
#include "arcline/platform/giPlane.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giUnitVec2.h"
#include "arcline/platform/giUnitVec3.h"
#include "arcline/platform/giVector3.h"
#include "arcline/polyline/velTolerances.h"

#include <vector>

class Interpolate;

class velPolyarcline3dBoxCache;
class velPolylineListIterWithOffsetFlags;

class velPolylineUtils {
public:
    // ---------------------------------------------------------------------------------------------------
    // Measures and queries

    // --- Closure, counts, shape

    // 0 for no positions; else 1 when positions 0 and n - 1 coincide within tol (one position is closed).
    static int closed(const velPolylineListIter& iter, double tol);
    // Spans with span_linear(k) = 0; 0 at once when the iterator promises all_spans_linear().
    static int num_arc_spans(const velPolylineListIter& iter);
    // Smallest distance between consecutive positions; DBL_MAX for fewer than two positions.
    static double distance_between_closest_adjacent_points(const velPolylineListIter& iter);
    // 1 when every point of the polyline, arcs included (their extreme points off the plane are found
    // exactly), lies within tol of `plane`, which is set to the plane through the first position, the
    // position or mid point farthest from it and the one farthest from the line of those two, with
    // its normal turned to +Z (to +X, then +Y, when it lies in a vertical plane). A polyline whose points
    // lie on one line (or in one point) is planar; its plane then contains the line and is the one nearest
    // to horizontal. Fewer than one position: 0, plane untouched.
    static int planar(const velPolylineListIter& iter, double tol, giPlane& plane);
    // The span and fraction that parameter t stands on: k = floor(t) kept within 0 .. n - 2, so that the end
    // t = n - 1 is span n - 2 at f = 1; f = t - k. Without spans (n < 2): k = -1, f = 0.
    static void span_param(const velPolylineListIter& iter, double t, int& k, double& f);

    // --- Lengths

    // Length of span k: an arc of bulge |b| > 1e-5 measures atan(|b|) L (b^2 + 1) / |b| on its chord L,
    // flatter arcs and straight spans measure L.
    static double span_length(int k, const velPolylineListIter& iter);
    // Length from the start of span k to its fraction f.
    static double span_length_at_par(const velPolylineListIter& iter, int k, double f);
    // Fraction of span k at length s from its start, within [0, 1].
    static double span_par_at_length(const velPolylineListIter& iter, int k, double s);
    // Whole length; 0 for an undefined iterator or fewer than two positions.
    static double length(const velPolylineListIter& iter);
    // Length from t1 to t2 (both taken within [0, n - 1]); 0 when t2 < t1, for an undefined iterator and
    // fewer than two positions. Additive: length(a, b) + length(b, c) = length(a, c).
    static double length(const velPolylineListIter& iter, double t1, double t2);
    // Length from t1 forwards to t2 on a closed polyline, through the closing point when t2 < t1.
    static double length_closed(const velPolylineListIter& iter, double t1, double t2);
    // 1 as soon as the running sum of span lengths reaches d; 0 when the whole stays below d or there are no
    // spans.
    static int longer_than(const velPolylineListIter& iter, double d);
    // The parameter at length s from t, forwards when `forward`, else backwards; round a closed polyline
    // when `wrap` (lengths beyond one lap are taken modulo the whole length). -1.0 when s < 0, when the walk
    // runs off an end, for fewer than two positions, and when wrapping a closed polyline of length 0 with
    // s > 0.
    static double get_par_at_length(const velPolylineListIter& iter, double t, double s, int forward,
                                    int wrap);
    // The point at length s from the start; s <= 0 gives the first position, s >= length() the last. The
    // unset point when there are no positions.
    static giPoint3 point_at_length(const velPolylineListIter& iter, double s);
    // Walking from t (forwards when `forward`, else backwards), the first parameter at which the height is
    // z(t) + dz, exactly on tilted arcs too (the height along an arc is solved in its bulge parameter); `p`
    // is its point. dz = 0 gives t. -1.0 and the unset point when the polyline never reaches that height in
    // that direction (the walk stops at the ends; it does not wrap).
    static double point_at_z_offset(const velPolylineListIter& iter, double t, double dz, int forward,
                                    giPoint3& p);

    // --- Area

    // Signed area in XY, positive anticlockwise seen from +Z; the polyline is taken as closed without a
    // test. 0 for fewer than 4 positions without an arc. Arcs add the exact segment between chord and arc.
    static double area(const velPolylineListIter& iter);

    // --- Tangents

    // Unit tangent of span k at fraction f in the direction of travel; unset when the span has length 0.
    static giUnitVec3 span_tangent(const velPolylineListIter& iter, int k, double f);
    // Tangent leaving t. At the end of a closed polyline it is the start of span 0, of an open one the end
    // of the last span. Zero-length spans fall back on the start of the following spans, then on the end of
    // the preceding ones; unset when every span has length 0 (or there are none).
    static giUnitVec3 tangent_after(const velPolylineListIter& iter, double t);
    // Tangent arriving at t. At an integer t it is the end of the span before; at t = 0 that is the last
    // span of a closed polyline, the start of span 0 of an open one. Zero-length spans fall back on the end
    // of the preceding spans, then on the start of the following ones.
    static giUnitVec3 tangent_before(const velPolylineListIter& iter, double t);
    // Total turning in degrees measured in XY, anticlockwise positive: the sum of the signed corner angles
    // (each in (-180, 180]) plus the signed sweep of every arc (as seen from +Z). On a closed polyline the
    // corner at the closing point counts, so a simple anticlockwise loop turns +360 and a clockwise -360.
    static double signed_turn_angle(const velPolylineListIter& iter);
    // Total turning in degrees without sign: corners by their unsigned 3D angles and arcs by their sweeps;
    // with `xy` the polyline is flattened to z = 0 first (a tilted arc then turns as its ellipse does).
    static double unsigned_turn_angle(const velPolylineListIter& iter, int xy);

    // --- Closest points and distances

    // Distance from P to segment AB; t the segment parameter of the foot.
    static giLength get_min_distance(const giPoint3& P, const giPoint3& A, const giPoint3& B);
    static giLength get_min_distance(const giPoint3& P, const giPoint3& A, const giPoint3& B, double& t);
    // Distance between segments AB and CD; s, t the parameters of the closest points.
    static giLength get_min_distance(const giPoint3& A, const giPoint3& B, const giPoint3& C,
                                     const giPoint3& D);
    static giLength get_min_distance(const giPoint3& A, const giPoint3& B, const giPoint3& C,
                                     const giPoint3& D, double& s, double& t);
    // Parameter of the point of the polyline nearest to P (arcs exact); -1.0 without positions.
    static double closest_point(const giPoint3& P, const velPolylineListIter& iter);
    // The same within [t1, t2]; t1 > t2 is the range through the closing point.
    static double closest_point(const giPoint3& P, const velPolylineListIter& iter, double t1, double t2);
    // Nearest point within [t1, t2] (t1 > t2: [t1, n - 1] and [0, t2]): its parameter t and distance d; a
    // candidate replaces the best only when strictly nearer, so the first of equal candidates wins. t = -1
    // and d = DBL_MAX when the range is not within [0, n - 1].
    static void get_closest_point(const giPoint3& P, const velPolylineListIter& iter, double t1, double t2,
                                  double& t, double& d);
    // Parameter of the closest approach between segment PQ and the polyline's chords (arcs by their
    // chords); -1.0 for fewer than two positions.
    static double closest_point(const giPoint3& P, const giPoint3& Q, const velPolylineListIter& iter);
    // Parameter of the point of the polyline nearest to the segment PQ, arcs exact (tilted ones in their own
    // plane); `d` is its distance from the segment. P = Q is the point P. -1.0 and DBL_MAX without positions.
    static double closest_point_to_segment(const giPoint3& P, const giPoint3& Q,
                                           const velPolylineListIter& iter, double& d);
    // Parameter of the point of the polyline nearest to the line through P along `direction` (arcs exact);
    // with `half_line` nonzero only the ray from P along `direction` counts. A zero direction makes the
    // line the point P. -1.0 without positions.
    static double closest_point(const giPoint3& P, const giVector3& direction,
                                const velPolylineListIter& iter, int half_line);
    // Parameter of the point nearest to P with distances measured within `plane` (both projected onto it
    // along its normal: the plane through P with normal Z measures in XY); `d` is that distance. -1.0 and
    // DBL_MAX without positions.
    static double closest_point_in_plane(const giPoint3& P, const giPlane& plane,
                                         const velPolylineListIter& iter, giLength& d);
    // Parameter of the point nearest to P among the points of the polyline inside `box` (faces included;
    // arcs are cut by the box exactly). -1.0 when no point of the polyline is inside the box.
    static double closest_point_within_box(const giPoint3& P, const giBox3& box,
                                           const velPolylineListIter& iter);
    // The same for the closest approach to segment PQ.
    static double closest_point_within_box(const giPoint3& P, const giPoint3& Q, const giBox3& box,
                                           const velPolylineListIter& iter);
    // Both, with the span boxes of iter's list cached (velPolyarcline3dBoxCache::cache_boxes): spans whose
    // box does not cross `box` are not solved. The same answers as without the cache.
    static double closest_point_within_box(const giPoint3& P, const giBox3& box,
                                           const velPolylineListIter& iter,
                                           const velPolyarcline3dBoxCache& cache);
    static double closest_point_within_box(const giPoint3& P, const giPoint3& Q, const giBox3& box,
                                           const velPolylineListIter& iter,
                                           const velPolyarcline3dBoxCache& cache);
    // Smallest distance between the chords of two polylines (one position: one degenerate span) with the
    // parameters of the closest pair (-1.0 when nothing was tried); stops at the first distance 0. sqrt
    // (DBL_MAX) when either has no positions.
    static double min_distance(const velPolylineListIter& a, const velPolylineListIter& b, double& tA,
                               double& tB);
    // 1 as soon as some span comes nearer to P than d; 0 otherwise and without spans.
    static int min_distance_smaller_than(const velPolylineListIter& iter, const giPoint3& P, double d);
    // Cuts the polyline at the parameters `cuts` (ascending, within [0, n - 1]) into pieces numbered from 0
    // and finds, among sample points of the pieces, the one farthest from every polyline of `others` (walked
    // on a clone): each piece offers its point at half its length, and while none of its samples is farther
    // than tol, those at 1/4 and 3/4, then the eighths, down to sixteenths. Returns that greatest distance
    // (0 when below tol: the polyline lies on the others), with its parameter t and piece number. Returns 0
    // with t = -1 and piece = -1 for fewer than two positions; DBL_MAX with the first sample when `others`
    // holds no positions.
    static double farthest_partition(const velPolylineListIter& iter, const std::vector<double>& cuts,
                                     const velPolylineListIter& others, double tol, double& t, int& piece);
    // Number of separate stretches of the polyline whose points lie strictly nearer than d to P (arcs
    // exact). A stretch through the closing point of a closed polyline counts once; touching at one point
    // does not count.
    static int number_of_regions_closer_than(const velPolylineListIter& iter, const giPoint3& P, double d);

    // --- Self-contact and inside tests

    // Whether position i lies within tol, in XY, of a span other than its own two (span i - 1, or n - 2 for
    // i = 0, and span i, or 0 for i = n - 1).
    static bool point_is_self_intersected_in_2d(int i, const velPolylineListIter& iter, double tol);
    // Where a point lies against a closed polyline.
    enum Location { outside = 0, inside = 1, on_boundary = 2 };
    // The winding number of the polyline about P in XY, exact for the doubles given: the count of the
    // crossings of the chord polygon with the ray from P to +x (signs of exact orientation tests), plus +-1
    // for each arc whose region between arc and chord holds P (exact in-circle test against the circle
    // through the arc's start, mid point and end). A polyline that is not closed is taken as closed by the
    // chord from its end to its start. A point on the polyline is counted as if moved by an infinitesimal
    // (eps, eps^2).
    static int winding_number(const giPoint2& P, const velPolylineListIter& iter);
    // Where P lies against the closed polyline in XY: on its boundary when within `tol` of some span
    // (floating-point distances), else inside when the winding number is not zero, else outside. Outside
    // as well when the polyline is not closed or has fewer than two positions, and when P lies more than
    // tol outside `box` (the polyline's XY box when null). Tilted arcs are taken by the circular arc
    // through their start, mid point and end in XY.
    static Location point_location(const giPoint2& P, const velPolylineListIter& iter, double tol,
                                   const giBox2* box = nullptr);
    // 1 when P lies inside or on the closed polyline: point_location with the on-boundary tolerance
    // velTol::on_boundary is not outside.
    static int point_inside_closed_polyline(const giPoint2& P, const velPolylineListIter& iter,
                                            const giBox2* box);
    static int point_inside_closed_polyline(const giPoint3& P, const velPolylineListIter& iter,
                                            const giBox3* box);

    // ---------------------------------------------------------------------------------------------------
    // Copying and cleaning: functions that write one polyline through a list cursor.
    //
    // Unless a function says otherwise it reads the current polyline of `iter` and appends to the cursor's
    // current polyline, which the caller has created; pieces are written with add_span, which (with the add
    // coincident point type 0, the default) does not repeat a piece's start, so consecutive pieces join.
    // The functions that clean "in place" rewrite the cursor's current polyline: it is taken out into a
    // temporary cursor of the same kind (create_empty), the cleaned copy is written into a new polyline at
    // the same index, and the old one is deleted with the temporary cursor. They write with the add
    // coincident point type 0 and restore the cursor's own setting afterwards. A cursor without a current
    // polyline, and a polyline without positions, are left alone by every function.

    // --- Copying

    // The whole polyline: append(iter, 0, n - 1, cursor); nothing without positions.
    static void append(const velPolylineListIter& iter, velPolylineListCursor& cursor);
    // The piece [t1, t2], 0 <= t1 <= t2 <= n - 1 (nothing otherwise). An empty current polyline of the
    // cursor starts with the point at t1; a filled one is joined to the piece's first span end. A trimmed
    // view (velTrimmedPolylineListIter, velTPLIWithoutClosureBreaks, nested or not) is copied from the
    // polyline underneath, its piece parameters mapped; a piece through the closing point of that polyline
    // is written as its two parts.
    static void append(const velPolylineListIter& iter, double t1, double t2, velPolylineListCursor& cursor);
    // The piece from t1 forwards to t2; t2 < t1 runs through the closing point of a closed polyline.
    static void append_closed(const velPolylineListIter& iter, double t1, double t2,
                              velPolylineListCursor& cursor);
    // The piece from t1 back to t2 (t1 >= t2), written reversed: built in a temporary cursor of the
    // cursor's kind, reversed there, and appended.
    static void append_backwards(const velPolylineListIter& iter, double t1, double t2,
                                 velPolylineListCursor& cursor);
    // The piece from t1 backwards to t2; t1 < t2 runs back through the closing point of a closed polyline.
    static void append_backwards_closed(const velPolylineListIter& iter, double t1, double t2,
                                        velPolylineListCursor& cursor);
    // Writes span k as chords: an arc by the chords `interp` counts for it (their points are placed at
    // equal angles, so every chord keeps within the interpolator's tolerance), then position k + 1. A
    // straight span is just position k + 1.
    static void add_polygonized_span(const velPolylineListIter& iter, int k, Interpolate& interp,
                                     velPolylineListCursor& cursor);
    // The same with the chords within tol (Interpolate(tol, 0)).
    static void add_polygonized_span(const velPolylineListIter& iter, int k, double tol,
                                     velPolylineListCursor& cursor);
    // A turning profile in ZX written in XY: (x, y, z) becomes (z, x, 0). Arcs keep their end and a mid
    // point made exactly circular (moved onto the bisector of the chord) before the mapping.
    static void convert_zx_to_xy(const velPolylineListIter& iter, velPolylineListCursor& cursor);
    // Writes the closed polyline as a new polyline of the cursor (created after its current one and made
    // current) that starts and ends at parameter t. A fraction of t within 1e-10 of a position snaps to
    // that position. An open polyline is taken as closed by a straight span from its last position back to
    // its first. Nothing for fewer than two positions.
    static void copy_with_start_move(const velPolylineListIter& iter, double t,
                                     velPolylineListCursor& cursor);

    // --- Reversal and closure

    // Replaces the cursor's current polyline by its reversal (arcs keep their mid points); the cursor
    // stays at the same index.
    static void reverse(velPolylineListCursor& cursor);
    // Appends position 0 to the cursor's current polyline when it has at least two positions and is not
    // closed.
    static void forcably_close(velPolylineListCursor& cursor);

    // --- Subdivision and thinning

    // Every span cut into ceil(span_length / L) pieces of equal span parameter (for an arc the bulge
    // parameter, so arc pieces are only about L long), at most 2^20 pieces a span. A span of length 0
    // writes nothing. L <= 0 (or not a number) cuts nothing.
    static void smash_spans_by_length(const velPolylineListIter& iter, double L,
                                      velPolylineListCursor& cursor);
    // Douglas-Peucker thinning of the positions: of the positions strictly inside a range (the whole
    // polyline first), the one farthest from the range's chord (the first of equal ones) is kept when it
    // lies at least tol from it, and the two ranges either side of it are thinned the same way. Arcs are
    // written as their chords. Fewer than 3 positions are copied unchanged.
    static void simple_strip(const velPolylineListIter& iter, double tol, velPolylineListCursor& cursor);
    // Streaming thinning through mlVectorStripN with tolerance tol: every dropped position lies within tol
    // of the straight spans kept. An arc whose sagitta reaches tol is kept whole; a flatter arc is fed as
    // its mid point and its end, so it becomes straight spans within tol of those points (and within tol
    // plus a quarter of its sagitta of the arc itself). The first position, the last and the ends of kept
    // arcs are always written.
    static void strip(const velPolylineListIter& iter, double tol, velPolylineListCursor& cursor);

    // --- Cleaning in place

    // Removes every span of length at most tol: the span before a dropped one is joined to the end of the
    // span after it. An open polyline loses leading and trailing short spans with their outer points; a
    // closed one (with at least two spans) is walked from a corner between two kept spans and stays
    // closed. A polyline whose spans are all short becomes empty; one of a single position is kept.
    // With the debug channel "velPolylineUtils" active at level 2, each dropped span is kept there under
    // "removed_short_spans" (shown at the channel's next flush).
    static void remove_spans_shorter_than(double tol, velPolylineListCursor& cursor);
    // Replaces Z-shaped zigzags by one point: a straight span B of length at most `length` whose corners
    // with the straight spans A before it and C after it both turn back by more than 180 - angle degrees,
    // in opposite senses, becomes its mid point (A and C then meet there). Spans shorter than 1e-5 and
    // arcs take no part. Repeats until no zigzag is left; returns the number removed by the first pass.
    static int remove_kinks(double angle, double length, velPolylineListCursor& cursor);
    // Removes spikes: places where the polyline runs out and back along itself, the way out and the way
    // back nearer than tol to each other (measured in 3D). Around each vertex a window grows while the next
    // position on one side lies within tol of the other side's span and the other side's point halfway back
    // lies within tol of this side's span; the side whose covered length would stay the smaller advances.
    // When both fronts have left the vertex and cutting the window out leaves fewer positions, the polyline
    // is rewritten without it: up to the backward front, then on from the forward front (the two fronts'
    // points lie within tol of each other; the join is at the backward front's point). A closed polyline
    // is rewritten to start at that join; one that is all spike becomes empty. The ends of an open
    // polyline are kept. Each removal starts the search again from the first vertex, so the work grows with
    // the number of spikes times the length. Returns the number of spikes removed.
    static int remove_spikes(double tol, velPolylineListCursor& cursor);
    // The same with distances measured in x and y only (z ignored; an arc is measured as the circular arc
    // of its bulge over the chord of its shadow).
    static int remove_xy_spikes(double tol, velPolylineListCursor& cursor);
    // Copies the polyline, cutting off the tips of its dog ears: small loops that the polyline closes by
    // crossing itself in x and y (two spans that are not neighbours crossing, at points within tol of each
    // other in 3D) with at most tol of polyline between the crossing points, such as a raw offset makes at
    // a concave corner. The copy runs to the crossing on the earlier span and on from it along the later
    // one. Loops are found from the start: the earliest span that closes one, with the nearest later span.
    // The ends of the polyline are kept, so a closed polyline stays closed. Returns the number of ears cut.
    static int shave_off_tips_of_dog_ears(const velPolylineListIter& iter, velPolylineListCursor& cursor,
                                          double tol);

    // --- Arc splitting

    // Copies the polyline, cutting every arc at the points where its tangent (in x and y) is parallel to d.
    // Cuts within 0.01 of an arc's end (in its parameter) are not made.
    static void split_arcs(const velPolylineListIter& iter, const giUnitVec2& d,
                           velPolylineListCursor& cursor);
    // Writes the polyline as pieces along which x never decreases, each a new polyline of the cursor
    // (created in order after its current one; the cursor ends on the last). Pieces that ran towards
    // smaller x are reversed. Arcs are first cut at their extremes in x (split_arcs with d = Y).
    static void split_to_monotone(const velPolylineListIter& iter, velPolylineListCursor& cursor);

    // --- Offsets

    // Where one span of an offset polyline came from: the span of the source polyline (list numbering from
    // 0; -1 when unknown) and the source parameters (within that span) nearest to the offset span's start
    // and end. A span made at a corner maps to the corner, both parameters at the start of its source span.
    struct OffsetSpanMap {
        int source_span = -1;
        double t0 = -1.0, t1 = -1.0;
    };
    // Maps every span of `offset`'s current polyline back onto `source`'s current polyline, from the span
    // positions the offsetters record with span info on (velOffsetInfo::span_position: the source span's
    // number from 0). `map` receives one entry per offset span; a span without a position, or with one
    // beyond the source's spans, maps to -1. Nearness is measured as `source` presents its points: give the
    // polyline that was offset (the flat copy, for an offset made in XY of a polyline with heights), and
    // use the parameters on any polyline with the same spans (the copy with heights) to carry values such
    // as z along the offset. Returns the number of spans mapped.
    static int offset_span_mapping(const velPolylineListIterWithOffsetFlags& offset,
                                   const velPolylineListIter& source, std::vector<OffsetSpanMap>& map);

    // --- One-polyline cursors (the caller owns the cursor returned)

    // A velAbsPolyArcLineListCursor over a list of its own holding a copy of iter's current polyline (its
    // arcs kept), standing on it. Empty, and undefined, when iter is undefined.
    static velPolylineListCursor* new_single_polyline_cursor(const velPolylineListIter& iter);
    // The same as a torCurvePtr3PolylineListCursor: a polyline that remembers, per point, the curve of the
    // curve kernel it came from (points copied from a torCurvePtr3PolylineListIter keep theirs).
    static velPolylineListCursor* new_single_curve_cursor(const velPolylineListIter& iter);
    // The same as a torPolyline3ListCursor: a point polyline of the curve kernel (arcs by their ends).
    static velPolylineListCursor* new_single_tor_polyline_cursor(const velPolylineListIter& iter);

protected:
    // Total turning of the polyline in degrees; see signed_turn_angle and unsigned_turn_angle.
    static double turn_angle(const velPolylineListIter& iter, int xy, int is_signed);
    // Offers the segment AB (parameters tA .. tB on the polyline) to a running nearest-point search: nothing
    // when A = B or P lies outside the box of A and B grown by `best`; else the foot of P (clamped to the
    // segment) replaces the best when its squared distance is strictly below best2.
    static void update_close_point_on_linespan(const giPoint3& P, const giPoint3& A, const giPoint3& B,
                                               double tA, double tB, double& best2, double& best, double& t);
    // The piece [t1, t2] of iter's polyline into the cursor's current polyline (see append); nothing
    // unless 0 <= t1 <= t2 <= n - 1.
    static void append_function(const velPolylineListIter& iter, double t1, double t2,
                                velPolylineListCursor& cursor);
    // Position index i brought into 0 .. n - 1 round a closed polyline of n positions, whose last position
    // stands for its first: steps of n - 1.
    static int point_index_in_principle_range(int i, int n);

private:
    // Whether spans j and k (k >= j + 2) of iter's polyline form a dog ear within tol (see
    // shave_off_tips_of_dog_ears): they cross in x and y at points within tol of each other in 3D, with at
    // most tol of polyline between the crossing. tj and tk are the crossing's parameters on the polyline
    // (j + fraction, k + fraction); of several crossings the one with the least polyline between is taken.
    static bool spans_form_dog_ear(const velPolylineListIter& iter, int j, int k, double tol, double& tj,
                                   double& tk);
    // The spike removal of remove_spikes (xy = 0) and remove_xy_spikes (xy = 1).
    static int remove_spikes(double tol, int xy, velPolylineListCursor& cursor);

    velPolylineUtils() = default;
};
