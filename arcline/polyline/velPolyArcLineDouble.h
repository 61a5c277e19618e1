#pragma once
// A poly-arc-line of double-precision points, for exact intermediate results. It does not store itself in
// archives: Serialize reports the refusal and transfers nothing.

#include "arcline/polyline/velInterleavedPolyArcLine.h"

class velPolyArcLineDouble : public velInterleavedPolyArcLine<giPoint3> {
    DECLARE_SERIAL(velPolyArcLineDouble)

public:
    velPolyArcLineDouble() = default;
    explicit velPolyArcLineDouble(int n) : velInterleavedPolyArcLine(n) {}
    velPolyArcLineDouble(const velPolyArcLineDouble& other) = default;

    velAbsPolyArcLine* create_new() const override { return new velPolyArcLineDouble(*this); }
    velAbsPolyArcLine* create_empty() const override { return new velPolyArcLineDouble; }

    void Serialize(CArchive& ar) override;
};
