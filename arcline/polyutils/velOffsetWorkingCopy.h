#pragma once
// The offsetter's working form of a contour: a velSpanVectorContour, which appends, drops its end span and
// cleans without rewriting a polyline. A poly-arc-line contour (velPolyArcLineAdapter) is read into free
// spans straight from its poly-arc-line and records, and a result is written back the same way, which
// spares a span handle per span; any other contour is worked on through its own span objects, so that
// spans of classes that carry offsetting properties keep them.

#include "arcline/polyline/contour/velSpanVectorContour.h"

#include <memory>

class velOffsetWorkingCopy {
public:
    // Fills `spans` with free copies (velFreeSpan) of the spans of a poly-arc-line contour, with their
    // temporary flags, positions and sides as the contour's own span objects would carry them. 0, leaving
    // `spans` empty, for a contour of any other kind.
    static int read(const velAbsContour& contour, velSpanVectorContour& spans);
    // A contour of the kind of `kind` (its clone()) holding `spans` in order, with their temporary flags,
    // positions and sides. A poly-arc-line contour is written directly; a vector contour is `spans`
    // itself; any other kind receives the spans through append. Spans the kind cannot hold (arcs, for a
    // storage class of straight spans only) are left out, as append would refuse them.
    static velAbsContourcoPrf write(const velAbsContour& kind, std::shared_ptr<velSpanVectorContour> spans);

private:
    velOffsetWorkingCopy() = default;
};
