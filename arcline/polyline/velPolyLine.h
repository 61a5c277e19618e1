#pragma once
// A polyline of straight spans in single precision. It refuses arcs: add_arc and the arc checks report
// through the assertion reporter and change nothing. A straight line is its own polygonization, so
// get_polygonized_points hands out the line's own point array whatever the tolerance (the line copies the
// array before its next change while anyone still holds it).

#include "arcline/polyline/velStraightPolyLine.h"

class velPolyLine : public velStraightPolyLine<giFloatArray3> {
    DECLARE_SERIAL(velPolyLine)

public:
    velPolyLine() = default;
    explicit velPolyLine(int n) : velStraightPolyLine(n) {}
    velPolyLine(const velPolyLine& other) = default;

    velAbsPolyArcLine* create_new() const override { return new velPolyLine(*this); }
    velAbsPolyArcLine* create_empty() const override { return new velPolyLine; }

    void add_arc(const giPoint3& mid, const giPoint3& end) override;
    int ok_to_add_arc(const giPoint3& mid, const giPoint3& end) const override;
    int ok_to_edit_mid_pos(int i, const giPoint3& mid) const override;
    const giFloatArray3coPageArrcoPrf& get_polygonized_points(double tol, int mode) const override;

    // Schema word 1, the base record, then n float triples.
    void Serialize(CArchive& ar) override;
};
