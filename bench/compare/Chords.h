#pragma once
// Poly-arc-lines as the chord-based peers see them: every arc replaced by equal chords whose vertices lie on
// the arc, as few as keep each chord within `deviation` of its arc, so that the peers' input is the exact
// geometry less thin slivers no wider than the deviation. Straight spans stay as they are.

#include <vector>

class velPolylineListIter;

namespace compare {

// The largest distance between an arc and the chords that stand for it, in model units.
inline constexpr double chord_deviation = 0.001;

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// The points of one polyline. A closed polyline (first and last positions the same point) is a ring and does
// not repeat its first point at the end.
struct Chain {
    std::vector<Point> points;
    bool closed = false;

    // A ring that encloses something: closed, with three points at least.
    bool region() const { return closed && points.size() >= 3; }
};

// The fewest equal chords that follow an arc of this radius and sweep (radians, either sign) within the
// deviation; at least one.
int chords_for_arc(double radius, double sweep, double deviation);

// The number of segments per quarter circle that keeps a round corner of this radius within the deviation
// (GEOS's "quadrant segments"); at least one.
int quadrant_segments(double radius, double deviation);

// The current polyline of `list` as chords within the deviation.
Chain chords_of(const velPolylineListIter& list, double deviation);

// Shoelace area of a ring (positive anticlockwise) and length of a ring or an open chain.
double signed_area(const Chain& chain);
double length(const Chain& chain);

// Even-odd test of a point against a ring; points on the ring fall either way.
bool inside(const Chain& ring, Point p);

} // namespace compare
