#pragma once
// A poly-arc-line in a plane of constant height: positions and mid points store only x and y as single
// floats, the height Z once as a double. The first position sets Z; later points have their z ignored.
// Storage per span is four floats (x, y, mid x, mid y); a straight span's mid is the pair (-FLT_MAX, 0).

#include "arcline/platform/giFloatArray3.h"
#include "arcline/polyline/velAbsPolyArcLine.h"
#include "arcline/polyline/velPolylineArray.h"
#include "arcline/polyline/velTolerances.h"

#include <climits>

using floatcoPageArr = coPageArr<float>;

class velPolyArcLineConstZ : public velAbsPolyArcLine {
    DECLARE_SERIAL(velPolyArcLineConstZ)

public:
    // Points off the line's height by at most this count as on it.
    static constexpr double z_tol = velTol::span_fraction;

    velPolyArcLineConstZ() = default;
    explicit velPolyArcLineConstZ(int n);
    velPolyArcLineConstZ(const velPolyArcLineConstZ& other);

    velAbsPolyArcLine* create_new() const override { return new velPolyArcLineConstZ(*this); }
    velAbsPolyArcLine* create_empty() const override { return new velPolyArcLineConstZ; }

    void reset() override;
    int reserve(int n) override;
    void add_pos(const giPoint3& p) override;
    void add_arc(const giPoint3& mid, const giPoint3& end) override;
    void edit_pos(int i, const giPoint3& p) override;
    void edit_mid_pos(int i, const giPoint3& mid) override;
    int ok_to_add_pos(const giPoint3& p) const override;
    int ok_to_add_arc(const giPoint3& mid, const giPoint3& end) const override;
    int ok_to_edit_pos(int i, const giPoint3& p) const override;
    int ok_to_edit_mid_pos(int i, const giPoint3& mid) const override;
    int span_linear(int i) const override;
    void get_pos(int i, giPoint3& p) const override;
    void get_mid_pos(int i, giPoint3& mid) const override;

    double get_z() const { return m_z; }
    // 1 when the first and last positions are not coincident within tol (the line is not closed).
    int open(double tol) const;

    // Schema word 1, Z as a double, the base record, then the 4n - 2 floats.
    void Serialize(CArchive& ar) override;

    int page_factor() const { return m_array.page_factor(); }

protected:
    // Storage slots (x, then y) of position i and of span i's mid point, computed in 64 bits: an index far
    // out of range gives slot -2, whose pair reads as empty and is never written, instead of an overflow.
    static int point_index(int i) { return slot(4LL * i - 4); }
    static int mid_point_index(int i) { return slot(4LL * i - 2); }
    static int slot(long long k) { return k >= 0 && k <= INT_MAX - 1 ? static_cast<int>(k) : -2; }

private:
    void grow_array();
    void write_pair(int index, double x, double y);

    double m_z = 0.0;
    velPolylineArray<float> m_array;
};
