#pragma once
// The kept ranges (segments) of one polyline of a list: closed intervals [start, end] of the polyline's
// parameters (span floor(t), fraction t - floor(t)), ascending and disjoint. Trimming a polyline removes
// ranges from its record; the trimmed list view presents each kept segment as a polyline of its own.
//
// A fresh record holds its one segment inline; the segment array, and the per-segment boxes, end flags and
// monotone data, are made on the first operation that needs them, so that untrimmed polylines allocate
// nothing. start()/original_end() keep the range given to the last reset().
//
// Flags are ints attached to the ends of segments: the value given with the trim that made the end, or
// no_flag. Boxes are cached 3D boxes of the presented pieces; any change of a segment marks its box not
// computed.
//
// Parameters of a presented piece run 0 .. num_pos(i) - 1: position 0 is the segment start, position
// num_pos(i) - 1 its end and position j in between the underlying position floor(start) + j. Within the first
// and the last span of a piece, which may be parts of an underlying arc, piece parameters are those of the
// partial arc (its own bulge parametrisation), hence the bulge arguments below.

#include "arcline/platform/giBox3.h"
#include "arcline/platform/gi_Axis.h"
#include "arcline/polyline/velTolerances.h"

#include <climits>
#include <vector>

class velPolylineTrimmings {
public:
    // The flag value of an end that carries no flag.
    static constexpr int no_flag = INT_MIN + 1;
    // Trim boundaries this close to a whole number are that number; gaps this small merge in defragment.
    static constexpr double snap_tol = velTol::parameter_snap;

    velPolylineTrimmings() = default;
    // No segments.
    explicit velPolylineTrimmings(int index) : m_index(index) {}
    // The one segment [start, end].
    velPolylineTrimmings(int index, double start, double end)
        : m_index(index), m_num_segs(1), m_start(start), m_end(end) {}

    int index() const { return m_index; }
    int num_segs() const { return m_num_segs; }
    double segment_start(int i) const { return m_segs.empty() ? m_start : m_segs[2 * std::size_t(i)]; }
    double segment_end(int i) const { return m_segs.empty() ? m_end : m_segs[2 * std::size_t(i) + 1]; }
    // The end of the range given to the last reset (or the constructor).
    double original_end() const { return m_end; }
    double original_start() const { return m_start; }
    // Positions that segment i presents: its start, every whole position strictly inside, its end.
    int num_pos(int i) const { return ceil_of(segment_end(i)) - floor_of(segment_start(i)) + 1; }
    // floor and ceil of a parameter (parameters are not negative; -1 stands for an empty polyline's end),
    // without a call into the maths library on every presented position.
    static int floor_of(double t) {
        const int k = static_cast<int>(t);
        return k - (t < k);
    }
    static int ceil_of(double t) {
        const int k = static_cast<int>(t);
        return k + (t > k);
    }

    // The cached box of segment i; empty when not computed.
    giBox3 box(int i) const { return m_boxes.empty() ? giBox3() : m_boxes[std::size_t(i)]; }
    void set_box(int i, const giBox3& b);
    int get_start_flag(int i) const { return m_flags.empty() ? no_flag : m_flags[2 * std::size_t(i)]; }
    int get_end_flag(int i) const { return m_flags.empty() ? no_flag : m_flags[2 * std::size_t(i) + 1]; }
    void set_start_flag(int i, int flag);
    void set_end_flag(int i, int flag);
    int any_flags() const { return !m_flags.empty(); }
    // Nonzero when segment i was recorded monotone along `axis`.
    int get_monotone(int i, gi_Axis& axis) const;
    void set_monotone(int i, int flag, int axis);

    // One segment [start, end]; boxes, flags and monotone data are dropped.
    void reset(double start, double end);
    // Removes the open range (a, b) of underlying parameters from segment i; parts of the range beyond the
    // segment are ignored. Boundaries within snap_tol of a whole number are snapped to it. An empty or
    // reversed range changes nothing, except that a = b at an end of the segment still trims there (which
    // removes a segment of zero length). New ends take the flags: the end made at a (ending the part before)
    // gets fe, the end made at b gets fs.
    void trim_underlying_parameter(int i, double a, double b, int fs, int fe);
    // The same with a and b given as piece parameters, each with the bulge of the underlying span it falls on
    // (0 for a straight span).
    void trim(int i, double a, double b, double bulge_a, double bulge_b, int fs, int fe);
    // Piece parameter t of segment i as an underlying parameter; `bulge` is that of the underlying span t
    // falls on (0 for straight spans).
    double underlying_parameter(int i, double t, double bulge) const;
    // Splits segment i at piece parameter t into [start, t] and [t, end].
    void split(int i, double t, double bulge = 0.0);
    void remove_segment(int i);
    // The segments become the gaps between them within [0, last]; no segments become [0, last]. Boxes,
    // flags and monotone data are dropped.
    void invert(int last);
    // result = the union of the kept ranges of this and other (one polyline); segments that touch merge.
    void add(const velPolylineTrimmings& other, velPolylineTrimmings& result) const;
    // result = this minus other. When other has no segments, a copy of this; when this has none, result is
    // left as it was.
    void subtract(const velPolylineTrimmings& other, velPolylineTrimmings& result) const;
    // Merges neighbouring segments whose gap is at most snap_tol; i is renumbered to the merged segment that
    // contains it.
    void defragment(int& i);

protected:
    // Inserts a copy of segment i after it, with its box, flags and monotone data.
    void duplicate_segment(int i);
    // Whether the segments are ascending and disjoint.
    bool check_consistent() const;

private:
    void make_array();
    void set_segment(int i, double s, double e);
    void drop_extras();
    void box_not_computed(int i);
    // Replaces all segments by the flat list of boundaries (start, end, start, end, ...); extras dropped.
    void set_boundaries(std::vector<double> b);

    int m_index = -1;
    int m_num_segs = 0;
    double m_start = -1.7976931348623157e308;
    double m_end = -1.7976931348623157e308;
    std::vector<double> m_segs;  // start, end per segment; empty while the inline segment serves
    std::vector<giBox3> m_boxes; // per segment, or empty
    std::vector<int> m_flags;    // start flag, end flag per segment, or empty
    std::vector<int> m_monotone; // flag, axis per segment, or empty
};
