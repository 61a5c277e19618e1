#pragma once
// Measures and queries of one polyline: the current polyline of a list iterator. Nothing here moves the
// iterator (queries that walk a whole list walk a clone of it) and nothing keeps state between calls.
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
#include "arcline/platform/giUnitVec3.h"
#include "arcline/platform/giVector3.h"

#include <vector>

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
    // 1 when P lies inside or on the closed polyline (angle summation, arcs exact); 0 when the polyline is
    // not closed, has fewer than two positions, or P lies outside `box` (the polyline's XY box when null).
    static int point_inside_closed_polyline(const giPoint2& P, const velPolylineListIter& iter,
                                            const giBox2* box);
    static int point_inside_closed_polyline(const giPoint3& P, const velPolylineListIter& iter,
                                            const giBox3* box);

    // ---------------------------------------------------------------------------------------------------
    // Copying and cleaning: functions that write one polyline through a list cursor.

protected:
    // Total turning of the polyline in degrees; see signed_turn_angle and unsigned_turn_angle.
    static double turn_angle(const velPolylineListIter& iter, int xy, int is_signed);
    // Offers the segment AB (parameters tA .. tB on the polyline) to a running nearest-point search: nothing
    // when A = B or P lies outside the box of A and B grown by `best`; else the foot of P (clamped to the
    // segment) replaces the best when its squared distance is strictly below best2.
    static void update_close_point_on_linespan(const giPoint3& P, const giPoint3& A, const giPoint3& B,
                                               double tA, double tB, double& best2, double& best, double& t);

private:
    velPolylineUtils() = default;
};
