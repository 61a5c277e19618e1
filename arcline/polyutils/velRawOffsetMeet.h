#pragma once
// Where two consecutive spans of a raw offset meet, told on values (velRawOffsetSpan): the span intersection
// of velAbsSpan::intersect, and the trimmed corner of velTrimJoin built on it.
//
// Most joints of a smooth outline are local and well conditioned: the spans run on nearly along each other,
// each turns by less than a half circle, and they either leave a gap, overlap by a little and cross once,
// or meet within rounding. Such a joint is told from a few signs without solving the general intersection
// (classify); anything else goes to the general intersection (velCirbul::cbincb_g, the routine behind
// velAbsSpan::intersect), so that the outcome is that of the span objects up to rounding.

#include "arcline/polyutils/velRawOffsetSpan.h"

class velRawOffsetMeet {
public:
    // velAbsSpan::intersect on values: at most `max` (<= 2) meetings of `a` and `b`, parameters 0 at a
    // span's start and 1 at its end, the one nearer a's end first; returns how many were written.
    static int intersect(const velRawOffsetSpan& a, const velRawOffsetSpan& b, double* ta, double* tb,
                         int max = 2);

    // What classify tells about a joint.
    enum class Joint {
        crossing, // they cross exactly once, at (t_before, t_after), inside both spans
        apart,    // they do not meet, or meet more than once
        joined,   // they meet at the joint itself, tangentially: nothing to trim (see classify)
        unknown   // not a local, well-conditioned joint: ask the general intersection
    };
    // The joint of `before` (ending at a) and `after` (starting at b):
    // - joined: they run on tangentially (tangents within joined_turn, each span turning by less than
    //   60 degrees, bulge at most joined_bulge), a and b lie within `gap_tol` of each other and far closer
    //   than either span is long, and the rounded corner of the input would have no span (input_gap2, the
    //   squared distance of the input corner's offsets, below velTol::span_fraction^2). Any meeting then
    //   lies within |a - b| of the joint; the span objects' intersection may take it or leave it at its
    //   tolerance, and either way the ends are joined there by the gap closing, within |a - b|^2 of each
    //   other.
    // Otherwise, when both are graphs over the mean direction u of their tangents at the joint (arcs below
    // a half circle whose end tangents lie within 60 degrees of u), `before` starting behind after's
    // start and `after` ending beyond a, every meeting lies in the stretch of u where both are defined:
    // - `after` starts ahead of a along u: apart;
    // - it starts behind: in the overlap they cross exactly once when b lies on the same side of `before`
    //   as a lies of `after` (two circles meet at most twice, and an odd number of crossings lies in the
    //   overlap): crossing, at the common point of the supports found there; two lines do not meet at all
    //   otherwise: apart.
    // The general intersection counts spans within its tolerance as touching, takes a point within it of
    // an end as that end, and two crossings that cut a circle less than it deep as one touch. So apart
    // needs the spans more than `touching` apart, a crossing needs its supports' two common points to cut
    // more than `touching` deep, and a common point of the supports near an end of a span that it may
    // meet (on the other span, or near one of its ends) gives unknown; so does a sign within the margins
    // (sign_margin of the spans' size), and any other joint.
    static Joint classify(const velRawOffsetSpan& before, const velRawOffsetSpan& after, double gap_tol,
                          double input_gap2, double& t_before, double& t_after);

    // velTrimJoin::join on values: when the spans cross exactly once, at t1 of `before` and t2 of `after`,
    // with t1 != 0 and t2 != 1, `after` is cut to [t2, 1] and `before` to [0, t1]; 1 then (and for spans
    // that meet at their joint), else 0. gap_tol and input_gap2 as for classify.
    static int trim(velRawOffsetSpan& before, velRawOffsetSpan& after, double gap_tol, double input_gap2);

    // Largest turn between the tangents at a joint, as the sine of its angle, that runs on tangentially:
    // well below velTol::corner_turn, so that no sharp corner is made there either.
    static constexpr double joined_turn = 1e-6;
    // Largest bulge of a span at a joined joint: tan 14 degrees, a turn of 56 degrees.
    static constexpr double joined_bulge = 0.2493;
    // Relative margin of the signs of classify, as a fraction of the spans' size.
    static constexpr double sign_margin = 1e-12;
    // Ten times the general intersection's tolerance: what may touch for it (see classify).
    static constexpr double touching = 1e-9;

private:
    velRawOffsetMeet() = default;
    // The joined case of classify.
    static bool joined(const velRawOffsetSpan& before, const velRawOffsetSpan& after, double gap_tol,
                       double input_gap2);
};
