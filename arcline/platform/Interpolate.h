#pragma once
// Chordal interpolation of arcs: the fewest chords of equal angle whose sagitta (the largest distance
// between a chord and the arc) is within the tolerance. Chord end points lie on the arc, so the chords lie
// on the inner side of it.
//
// `mode` is the least number of chords an arc gets: 0 or 1 asks for no minimum, k >= 2 for at least k
// chords (a resolution floor for callers that smooth or fit the points afterwards).
//
// Use: arc(...) sets up one arc and returns its chord count; read_line(a, b) then hands out the chords in
// order from the start, returning 0 once they are used up.

#include "arcline/platform/giPoint3.h"

class Interpolate {
public:
    // Most chords one arc gets, whatever the tolerance (a zero or negative tolerance asks for this many).
    static constexpr int max_chords = 1 << 20;

    Interpolate(double tol, int mode);

    double tolerance() const { return m_tol; }
    int mode() const { return m_mode; }

    // Sets up the arc through S, M and E over the first `fraction` of its sweep (1 for the whole arc) and
    // returns its chord count. Collinear points and coincident ends give one chord.
    int arc(const giPoint3& S, const giPoint3& M, const giPoint3& E, double fraction = 1.0);
    // Number of chords an arc of this radius and sweep (radians) needs.
    int chord_count(double radius, double sweep) const;
    // The next chord; 0 when there is none left.
    int read_line(giPoint3& a, giPoint3& b);

private:
    giPoint3 point(int j) const;

    double m_tol;
    int m_mode;
    giPoint3 m_s, m_m, m_e;
    double m_b = 0.0;        // bulge of the arc (0: the chord)
    double m_fraction = 1.0; // share of the sweep covered
    int m_count = 0;         // chords of the current arc
    int m_next = 0;          // next chord to hand out
};
