#pragma once
// One span of a polyline in XY, read once into values: its ends, an arc's mid point with its turn and bulge,
// and a disc that holds it. The inside tests of velPolylineUtils and the region operations' keep test read
// polylines this way, so that a point tested against many spans costs a few comparisons per span.
//
//     const velPlaneSpan s = velPlaneSpan::of(iter, k);
//     w += s.winding_share(P);

#include "arcline/platform/giPoint2.h"

class velPolylineListIter;

class velPlaneSpan {
public:
    giPoint2 A, B, M;
    bool arc = false;
    int turn = 0;      // orientation of (A, B, M): -1 when the arc runs anticlockwise, 1 clockwise
    double bulge = 0.; // signed, positive anticlockwise
    giPoint2 C0;       // chord midpoint
    double reach = 0.; // every point of the span, and of the region between an arc and its chord, lies
                       // within this distance of C0

    // Span k of the current polyline of iter. An arc whose three points lie on one line is straight; one
    // whose chord is zero is the point A.
    static velPlaneSpan of(const velPolylineListIter& iter, int k);
    // The straight span from A to B.
    static velPlaneSpan chord(const giPoint2& A, const giPoint2& B);

    // Whether P lies within tol of the span.
    bool near(const giPoint2& P, double tol) const;
    // The span's share of the winding number about P. The chord counts by the crossing rule of the ray
    // from P to +x (a vertex at P's height counts as below it; a point on the chord adds nothing), which
    // takes P as moved by (eps, eps^2). An arc adds, besides, +-1 when P lies in the region between the
    // arc and its chord: strictly inside the circle and on the mid point's side of the chord (judged at
    // that moved P).
    int winding_share(const giPoint2& P) const;
};
