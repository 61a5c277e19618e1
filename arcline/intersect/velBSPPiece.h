#pragma once
// One piece of a polyline inside a node of the BSP intersector: a kept range of a polyline of the input list
// (a trimming, in the list's underlying parameters: span index plus bulge parameter within the span), with
// its end points and the flags of its ends. Pieces are plain values in flat arrays so that the intersector's
// hot loops never go through the list protocol; velIntersectorBSPNode::pieces() presents them as a trimmed
// view of the input list.
//
// A piece of a closed polyline may run across the closing point (`wraps`): then it covers [t0, last] and
// [0, t1]. A whole closed polyline lying in one node is one piece with `whole` set, t0 = 0 and t1 = last.
//
// End flags: the side of the node (velDirection) on which an end made by a cut lies, or true_end for an end
// of the polyline itself.

#include "arcline/platform/giPoint2.h"

#include <climits>

struct velBSPPiece {
    // The flag of an end of the polyline itself (an open end, or the closing point of a whole closed piece).
    static constexpr int true_end = INT_MIN + 1;

    int poly = -1; // polyline index in the input list
    int start_flag = true_end;
    int end_flag = true_end;
    bool wraps = false;        // runs across the closing point of a closed polyline
    bool whole = false;        // a whole closed polyline: no ends
    double t0 = 0.0, t1 = 0.0; // underlying parameters of the start and the end
    giPoint2 p0, p1;           // the points at t0 and t1 (cut points lie exactly on the node's side)
};
