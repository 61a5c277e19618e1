#pragma once
// One span of a raw offset held by value: start, end and, for an arc, its bulge, with the temporary flags
// and the side label that velAbsSpan objects carry. The raw offset of a poly-arc-line
// (velRawPolyArcLineOffset) works on arrays of these: no span object, no allocation and no virtual call per
// span.
//
// The geometry is velAbsSpan's, computed by the same formulas in bulge form, so that the offset made on
// values agrees with the offset made on span objects to rounding: tangents and normals are XY vectors,
// lengths and chords are measured in XY, an arc lies in the plane z = z of its start (its mid point and
// points computed on it take that z), and moving an end keeps an arc's bulge. An arc whose ends coincide
// has bulge 0, as velAbsSpan::get_bulge gives it.

#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector3.h"
#include "arcline/polyline/spans/velSpanSide.h"

#include <cmath>

struct velRawOffsetSpan {
    giPoint3 s, e;    // start and end
    double b = 0.0;   // bulge of an arc; 0 for a line-class span
    bool arc = false; // arc class: an arc or a temporary arc
    bool temp_line = false;
    bool temp_arc = false;
    velSpanSide side : 8 = velSpanSideNone; // label: the side and the position of the source span
    int position = -1;                      // (-1 when none)

    static velRawOffsetSpan line(const giPoint3& S, const giPoint3& E) {
        velRawOffsetSpan span;
        span.s = S;
        span.e = E;
        return span;
    }
    static velRawOffsetSpan temporary_line(const giPoint3& S, const giPoint3& E) {
        velRawOffsetSpan span = line(S, E);
        span.temp_line = true;
        return span;
    }
    // An arc of bulge b from S to E (bulge 0 when the ends coincide).
    static velRawOffsetSpan arc_span(const giPoint3& S, const giPoint3& E, double b) {
        velRawOffsetSpan span = line(S, E);
        span.arc = true;
        span.b = S == E ? 0.0 : b;
        return span;
    }
    // An arc from S through M to E, its bulge as velAbsSpan::get_bulge finds it from the three points.
    static velRawOffsetSpan arc_through(const giPoint3& S, const giPoint3& M, const giPoint3& E);

    bool temporary() const { return temp_line || temp_arc; }
    void set_label(int pos, velSpanSide sd) {
        position = pos;
        side = sd;
    }
    void clear_label() { set_label(-1, velSpanSideNone); }

    // Length of the chord in XY.
    double chord() const { return std::sqrt((e.x - s.x) * (e.x - s.x) + (e.y - s.y) * (e.y - s.y)); }
    // Length in XY: the chord of a line, the arc's length from chord and bulge.
    double length() const;
    // Below this bulge an arc's length is summed as its series.
    static constexpr double flat_length_bulge = 1e-2;
    // Unit XY tangents at the ends; zero when the ends coincide in XY.
    giVector3 start_tangent() const;
    giVector3 end_tangent() const;
    // Both at once (one square root).
    void tangents(giVector3& t0, giVector3& t1) const;
    // The point at bulge parameter t (velAbsSpan::parameter_point): z interpolated along a line, the z of
    // the start on an arc.
    giPoint3 point(double t) const;
    // The bulge mid point of an arc, at the z of its start; the chord's midpoint for a line.
    giPoint3 mid() const;
    // Centre and unsigned radius of an arc's circle (velAbsSpan::get_centre_mid_radius); the chord's
    // midpoint and 0 for a line.
    void centre_radius(giPoint3& centre, double& radius) const;
    // Cuts the span down to parameters [t0, t1] as velAbsSpan::trim does: 1 unchanged for [0, 1], 0 for
    // t1 <= t0.
    int trim(double t0, double t1);
    // The bulge of the part of an arc of bulge b between bulge parameters t0 < t1 (velCirbul::cbsebu): the
    // parameter u = 2t - 1 is linear in tan(phi / 2) of the angle phi from the mid point, u b = tan(phi / 2),
    // so the part's quarter sweep is half the angle of (1 + u0 u1 b^2, b (u1 - u0)).
    static double part_bulge(double b, double t0, double t1);
    // The bulge parameter of the point q of the span's support (velCirbul::arc_evaluate_parameter, without
    // its square root).
    double parameter(double qx, double qy) const;
    // The span moved by d along its right-hand normal (velAbsSpan::offset): a line keeps its flags and
    // label; an arc stays about its centre as a new arc without them, or, when it collapses through its
    // centre, becomes a temporary line between its moved ends (a plain line when they meet).
    velRawOffsetSpan moved(double d) const { return moved(d, start_tangent(), end_tangent()); }
    // The same with the span's end tangents given.
    velRawOffsetSpan moved(double d, const giVector3& t0, const giVector3& t1) const;

    // Right-hand normal (v.y, -v.x, 0) of an XY tangent.
    static giVector3 right_normal(const giVector3& v) { return {v.y(), -v.x(), 0.0}; }
};
