#pragma once
// A walker along two polylines at once that looks for their closest approach: the current polyline of list
// iterator A and that of list iterator B are traversed together, A at parameter tA and B at parameter tB
// (position index plus fraction, as get_interpolated_pos takes them), and the walker measures the
// difference vector A(tA) - B(tB). The link builder of neighbouring toolpaths steps it along both polylines
// and asks it where a rung between them is shortest.
//
// Motion. Both parameters move together by one common amount s: tA by va * s and tB by vb * s, va and vb
// being the velocities (default 1 and -1: A forwards, B backwards, which pairs up two polylines that run in
// opposite directions). One step (++ forward, -- backward with the velocities negated) runs to the next
// event: the next position of A or of B in its direction of motion, whichever comes first; the other
// parameter moves in proportion. A parameter that lands within velTol::parameter_snap of a position is put on
// it exactly.
// - Closed polyline: the parameter wraps into the primary period [0, num_pos() - 1).
// - Open polyline: a step from the end towards which the parameter moves fails (answer 0, nothing moves)
//   unless free movement at the end is enabled; then that parameter stays at its end for the step and the
//   other one moves on alone. A step with nothing left to move (both at their ends, both velocities 0)
//   fails in either mode.
// - A velocity 0 keeps its polyline still: it brings no events and never fails at an end. A polyline of
//   one position is still in the same way when closed; when open it is at both its ends.
//
// Closest approach. minimise(max_steps) walks max_steps events forward from the reset position, then
// max_steps events backward from it. Each step is taken as the straight segment between the difference
// vectors at its two ends; the point of that segment nearest the origin (velLinexLine::closest_point,
// clamped to the step) gives a fraction u of the step, and both parameters are interpolated to it. A walk
// goes on past max_steps while that point is clamped to the far end of the step (the difference still
// shrinks there), by at most one more event per span of A and of B. The candidates are judged by the
// difference of the actual points at their parameters, the far end of every step being a candidate too;
// the smallest wins (the first found on ties, the reset position first of all) and becomes the current
// parameters.
//
// What that finds: on straight spans the difference curve is straight between events, so the minimum of
// |A(tA) - B(tB)| over the walked range is found exactly. Over an arc span the true difference curve bends
// away from its chord: the walker finds the closest approach of the chord-wise difference curve and
// reports the true distance at the parameters where that lies. The answer is never farther apart than any
// event visited, and operator() at the answer is exactly what minimise returns; but where two arcs bulge
// towards each other between events the true closest approach can be nearer than the one found. Callers
// that need it exact on arcs split such spans into shorter ones first.
//
// The walker measures the closest approach along this coupled motion, not the distance between the two
// polylines: the pairs (tA, tB) it visits form one line in the parameter plane.
//
// The iterators are not owned; each must stay on its polyline (with at least one position) while the
// walker is used. The walker changes neither.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giVector3.h"

class velPolylineDifference {
public:
    // Walks the current polyline of `a` from `ta` and that of `b` from `tb`; a closed flag nonzero makes that
    // polyline wrap. The reset position is (ta, tb) (wrapped into the period on a closed polyline, held to
    // the ends on an open one), the velocities (1, -1), free movement at the end off.
    velPolylineDifference(const velPolylineListIter& a, double ta, int closed_a, const velPolylineListIter& b,
                          double tb, int closed_b);

    // A(tA) - B(tB) at the current parameters.
    giVector3 operator()() const;
    // One step to the next event forward (++) or backward (--); 1 when taken, 0 when the step fails, the
    // parameters then unchanged.
    int operator++();
    int operator--();

    // Parameter change per unit of common motion, for A and for B; negative values walk that polyline
    // backwards. Kept by reset().
    void set_velocity(double va, double vb);
    // Nonzero: a parameter that reaches the end of an open polyline stays there while the other moves on;
    // 0 (the default): the step fails. Kept by reset().
    void enable_free_movement_at_end(int enable = 1);

    // Walks forward then backward from the reset position (see above) and makes the closest approach found
    // the current parameters; returns its distance |A(tA) - B(tB)|. max_steps 0 only measures the reset
    // position. The reset position stays as it was, so that a second call finds the same; steps taken with
    // ++ and -- do not move it: reset(ta, tb) at the current parameters first to minimise around them.
    double minimise(int max_steps);
    // The current parameters: after minimise, the closest approach found.
    void indices(double& ta, double& tb) const;

    // Back to the reset position.
    void reset();
    // (ta, tb) becomes the reset position and the current parameters, wrapped or held as in the constructor.
    void reset(double ta, double tb);

private:
    // One polyline as the walker moves it.
    struct Track {
        const velPolylineListIter* it;
        int closed;
        double t;  // current parameter
        double t0; // reset position
        double v;  // velocity
        int last() const { return it->num_pos() - 1; }
        // Into the primary period when closed, onto [0, last()] when open.
        double normalised(double t) const;
    };
    // The best candidate of a minimise run.
    struct Best {
        double ta, tb, d2;
    };

    // One step in direction dir (+1 or -1); on success the parameters have moved, and da and db hold the
    // changes before wrapping.
    int step(int dir, double& da, double& db);
    // The walk of minimise in direction dir from the current parameters.
    void walk(int dir, int max_steps, Best& best);
    giVector3 difference(double ta, double tb) const;

    Track m_a;
    Track m_b;
    int m_free_at_end = 0;
};
