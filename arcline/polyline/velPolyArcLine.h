#pragma once
// The default storage of toolpath geometry: a poly-arc-line of single-precision points (three 32-bit
// floats each), which halves the memory of large toolpaths. Coordinates are rounded to single precision on
// storage: 1.1 reads back as 1.100000023841858.

#include "arcline/polyline/velInterleavedPolyArcLine.h"

class velPolyArcLine : public velInterleavedPolyArcLine<giFloatArray3> {
    DECLARE_SERIAL(velPolyArcLine)

public:
    velPolyArcLine() = default;
    // Sized for an expected count of positions.
    explicit velPolyArcLine(int n) : velInterleavedPolyArcLine(n) {}
    velPolyArcLine(const velPolyArcLine& other) = default;

    velAbsPolyArcLine* create_new() const override { return new velPolyArcLine(*this); }
    velAbsPolyArcLine* create_empty() const override { return new velPolyArcLine; }

    // Schema word 1, the base record, then the 2n - 1 stored triples (P1, M1, P2, ..., Pn).
    void Serialize(CArchive& ar) override;
};
