#pragma once
// A polyline of straight spans in double precision. It refuses arcs like velPolyLine, and it does not
// store itself in archives: Serialize reports the refusal and transfers nothing.

#include "arcline/polyline/velStraightPolyLine.h"

using giPoint3coPageArr = coPageArr<giPoint3>;
using giPoint3coPageArrcoPrf = coPrf<giPoint3coPageArr>;

class velPolyLineDouble : public velStraightPolyLine<giPoint3> {
    DECLARE_SERIAL(velPolyLineDouble)

public:
    velPolyLineDouble() = default;
    explicit velPolyLineDouble(int n) : velStraightPolyLine(n) {}
    velPolyLineDouble(const velPolyLineDouble& other) = default;

    velAbsPolyArcLine* create_new() const override { return new velPolyLineDouble(*this); }
    velAbsPolyArcLine* create_empty() const override { return new velPolyLineDouble; }

    void add_arc(const giPoint3& mid, const giPoint3& end) override;
    int ok_to_add_arc(const giPoint3& mid, const giPoint3& end) const override;
    int ok_to_edit_mid_pos(int i, const giPoint3& mid) const override;

    void Serialize(CArchive& ar) override;
};
