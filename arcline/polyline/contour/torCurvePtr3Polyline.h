#pragma once
// A polyline approximation of curves that remembers, for every position, the curve it lies on and its
// parameter there, so that the exact curve between two polyline parameters can be recovered after the
// polyline has been trimmed, copied or joined.
//
// Positions are numbered from 0; the polyline parameter x addresses the chord from position floor(x) to the
// next one at fraction x - floor(x). A polyline of at least three positions whose last position lies within
// coincident_tol of its first is closed: its period is num_pos() - 1 and primary_period() folds indices and
// parameters into one turn.
//
// Curves are shared and compared by identity (pointer equality). A position added by hand may have no curve
// (a null pointer, parameter -DBL_MAX); a chord between two such positions is straight.
//
// Jumps. A chord whose two end positions lie on the same curve is the piece of that curve between their
// parameters. Any other chord is a jump, and it maps onto the curves thus, first rule that applies:
//  1. ends within zero_chord_tol of each other: a point, at the end position's curve and parameter (a
//     change of curve without a gap, as a cursor writes where one curve takes over from another);
//  2. the end position's curve C has an end (start or end point) within calculate_allowable_jump() of the
//     start position: the piece of C from that end's parameter to the end position's parameter (the first
//     chord of a curve appended to a polyline, whose own first point was left out). When both ends of C
//     qualify (a closed C), the one whose parameter is nearer to the end position's;
//  3. the same with the start position's curve and the end position: the piece of that curve from the start
//     position's parameter to its qualifying end;
//  4. otherwise the straight segment between the two positions, on no curve.
// The fraction f along a chord maps to the parameter t0 + f (t1 - t0) between the chord's two curve
// parameters: on a segment the mapped point is the chord's point; on an arc it is a point of the arc between
// the chord's ends, so within tolerance() of a chord that the polygonizer made, though not of its point at f.
//
// Tolerance. tolerance() is the largest chordal tolerance with which any of the positions was made: append
// and add_pos raise it to the tolerance they are given and nothing lowers it but set_tolerance and
// init_tolerance (0: nothing approximated). Two positions on different curves count as joined when they are
// within calculate_allowable_jump() = max(tolerance(), coincident_tol) of each other.

#include "arcline/platform/coPageArr.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector3.h"
#include "arcline/platform/torCompCurve3.h"
#include "arcline/platform/torCurvePtr3.h"
#include "arcline/platform/torCurvePtr3coPageArr.h"
#include "arcline/platform/torT.h"
#include "arcline/platform/utCopy.h"
#include "arcline/polyline/velTolerances.h"

#include <vector>

class torCurvePtr3Polyline {
public:
    // Positions closer than this on one curve are one position; curves must join within it.
    static constexpr double coincident_tol = velTol::span_fraction;
    // A chord shorter than this has no direction: it is a point.
    static constexpr double zero_chord_tol = velTol::zero_chord;

    torCurvePtr3Polyline() = default;
    // The polygon of c within tol.
    torCurvePtr3Polyline(const torCurvePtr3& c, double tol);
    // The polygons of c's parts in turn, each position on its part (not on the composite); a part that does
    // not start where the polyline ends is left out, as append() leaves it.
    torCurvePtr3Polyline(const torCompCurve3& c, double tol);
    // A copy of the positions and the tolerance; the curves are shared, so they keep their identity.
    torCurvePtr3Polyline(utCopy, const torCurvePtr3Polyline& other);
    torCurvePtr3Polyline(const torCurvePtr3Polyline&) = delete;
    torCurvePtr3Polyline& operator=(const torCurvePtr3Polyline&) = delete;

    // Appends point p at parameter t of curve c, made with chordal tolerance tol. Nothing is appended when
    // the last position lies on the same curve and within coincident_tol of p.
    void add_pos(const giPoint3& p, double t, const torCurvePtr3& c, double tol);
    // The same with the point c->evaluate(t); c must not be null.
    void add_pos(double t, const torCurvePtr3& c, double tol);
    // Appends the polygon of c within tol. When the polyline has positions, c must start within
    // coincident_tol of the last one, else nothing is appended and the answer is 0; the first point of the
    // polygon is then left out. Answers 1 when appended.
    int append(const torCurvePtr3& c, double tol);

    int num_pos() const { return m_points.size(); }
    int closed() const;
    void get_pos(int i, giPoint3& p) const { p = m_points[i]; }
    void get_pos(int i, giPoint3& p, double& t, torCurvePtr3& c) const;
    const giPoint3& get_pos(int i) const { return m_points[i]; }
    const torCurvePtr3& get_curve(int i) const { return m_curves[i]; }
    double get_curve_param(int i) const { return m_params[i]; }
    // No positions, tolerance 0.
    void clear();

    // The point at polyline parameter x (brought into range by put_in_range); the unset point when empty.
    giPoint3 evaluate(double x) const;
    // The curve and curve parameter that polyline parameter x maps to: at a position its own, inside a chord
    // as the jump rules above say; null and -DBL_MAX on a straight jump.
    void curve_param_at(double x, torCurvePtr3& c, double& t) const;
    // The piece of the underlying curves from polyline parameter x1 to x2, both clamped to
    // [0, num_pos() - 1] (no wrapping through position 0 of a closed polyline); x1 > x2 gives the piece
    // reversed. Chords map onto curves by the jump rules; consecutive pieces of one curve running the same
    // way merge, so a stretch of one curve comes back as one subcurve of it. One piece is returned as it
    // is, several as a torCompCurve3 of them, none (x1 == x2, fewer than two positions, only points) as null.
    // At integer parameters its ends are the positions.
    torCurvePtr3 curve(double x1, double x2) const;
    // Chords that are jumps: their ends do not lie on one curve.
    std::vector<int> locate_jumps() const;
    double calculate_allowable_jump() const;

    // Unit direction of the chord that holds x (the last chord at the end of an open polyline); zero for a
    // zero chord or fewer than two positions.
    giVector3 tangent(torT x) const;
    // Unit mean of the unit directions of the chords before and after position i (one of them at the ends
    // of an open polyline, the chord across position 0 on a closed one); zero where they cancel.
    giVector3 average_tangent(int i) const;
    // Closed: i modulo the period, in [0, num_pos() - 2]. Open: i itself.
    int primary_period(int i) const;
    // Closed: x modulo the period, in [0, num_pos() - 1). Open: x itself.
    double primary_period(double x) const;
    // Closed: primary_period(x). Open: x clamped to [0, num_pos() - 1].
    double put_in_range(double x) const;

    double tolerance() const { return m_tolerance; }
    void set_tolerance(double tol) { m_tolerance = tol; }
    void init_tolerance() { m_tolerance = 0.0; }

protected:
    // append() with the first point of the polygon left out when skip_first is nonzero; no continuity test.
    int append(const torCurvePtr3& c, double tol, int skip_first);

private:
    // What chord j lies on: curve (null for a straight jump) and the curve parameters of its two ends.
    struct ChordCurve {
        torCurvePtr3 curve;
        double t0 = 0.0, t1 = 0.0;
    };
    ChordCurve chord_curve(int j) const;
    // The parameter of an end of c within the allowable jump of p, the one nearest to `near` when both are;
    // false when neither is.
    bool joining_end(const torCurve3& c, const giPoint3& p, double near, double& t) const;

    coPageArr<giPoint3> m_points;
    doublecoPageArr m_params;
    torCurvePtr3coPageArr m_curves;
    double m_tolerance = 0.0;
};
