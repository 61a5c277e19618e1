#pragma once
// A turning profile: a poly-arc-line in the ZX plane. Every point handed in has its y set to 0 (a
// no-mid-point value passes unchanged) and goes to an owned inner poly-arc-line, a velPolyArcLine unless
// the line is made as a copy of another. Profiles must keep x >= 0 (the radius); the ok_to_ checks say so,
// advisory like every ok_to_ check.
//
// Archives store only the base record of a profile.

#include "arcline/platform/utCopy.h"
#include "arcline/polyline/velAbsPolyArcLine.h"

#include <memory>

class velPolyArcLineZX : public velAbsPolyArcLine {
public:
    velPolyArcLineZX();
    // A deep copy: the inner line is create_new() of the other's.
    velPolyArcLineZX(utCopy, const velPolyArcLineZX& other);
    velPolyArcLineZX(const velPolyArcLineZX&) = delete;
    ~velPolyArcLineZX() override;

    velAbsPolyArcLine* create_new() const override { return new velPolyArcLineZX(ut_copy, *this); }
    velAbsPolyArcLine* create_empty() const override;

    void reset() override;
    int reserve(int n) override;
    void add_pos(const giPoint3& p) override;
    void add_arc(const giPoint3& mid, const giPoint3& end) override;
    void edit_pos(int i, const giPoint3& p) override;
    void edit_mid_pos(int i, const giPoint3& mid) override;
    int ok_to_add_pos(const giPoint3& p) const override;
    int ok_to_add_arc(const giPoint3& mid, const giPoint3& end) const override;
    // ok_to_add_pos, and the profile with p added does not cross itself (seen in its ZX plane); a copy is
    // extended and intersected, hence the cost.
    int ok_to_add_pos_expensive(const giPoint3& p) const;
    int ok_to_edit_pos(int i, const giPoint3& p) const override;
    int ok_to_edit_mid_pos(int i, const giPoint3& mid) const override;
    int span_linear(int i) const override;
    void get_pos(int i, giPoint3& p) const override;
    void get_mid_pos(int i, giPoint3& mid) const override;
    int can_hold_arcs() const override { return 1; }
    void reverse() override;
    void remove_last_pos() override;

    using velAbsPolyArcLine::get_mid_pos;
    using velAbsPolyArcLine::get_pos;
    giPoint3 get_pos(int i) const;
    giPoint3 get_mid_pos(int i) const;

    const velAbsPolyArcLine& inner() const { return *m_inner; }

private:
    explicit velPolyArcLineZX(std::unique_ptr<velAbsPolyArcLine> inner);
    // x >= 0; a NaN fails.
    static bool point_is_ok_for_turning(const giPoint3& p);
    // The point as the profile stores it: y = 0, a no-mid-point value unchanged.
    static giPoint3 filter(const giPoint3& p);
    // 1 when the profile crosses itself in its ZX plane; 0 while it is being reversed.
    int self_intersections() const;

    std::unique_ptr<velAbsPolyArcLine> m_inner;
    bool m_reversing = false; // set while reverse() runs
};
