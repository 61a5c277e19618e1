#pragma once
// Where a span (straight or a bulge arc from P0 to P1) crosses an axis-parallel line, coordinate `axis`
// (0: x, 1: y) equal to `value`. Everything is solved in the bulge parameter without the circle's centre,
// so nearly straight arcs (centres far away) lose no digits: with u = 2t - 1 the coordinate is
//   C0 + ((b^2 + 1) u d + b (1 - u^2) e) / (2 (u^2 b^2 + 1))
// (d the chord's component along the axis, e the rotated one), and equating it to `value` is a quadratic
// in u.
//
// A point is on the high side when its coordinate is at least `value`. cuts() reports the parameters at
// which the side changes within (u0, u1), given the sides at u0 and u1 (which the caller knows from its own
// stored points): consecutive stretches alternate, starting with the side at u0 and ending with the side at
// u1, whatever rounding did to the roots, so that pieces cut on both sides of the line fit together exactly.

class velAxisCut {
public:
    // At most three side changes: the arc is split at its (at most two) extremes along the axis into
    // monotone stretches, each changing side at most once.
    static constexpr int max_cuts = 3;

    // The parameters (increasing, within [u0, u1]) where the side changes; returns their count.
    static int cuts(const double P0[2], const double P1[2], double b, int axis, double value, double u0,
                    double u1, bool high0, bool high1, double out[max_cuts]);
    // The coordinate `axis` of the span's point at bulge parameter t.
    static double coordinate(const double P0[2], const double P1[2], double b, int axis, double t);

protected:
    velAxisCut() = default;
};
