#pragma once
// The raw offset of one contour by a signed distance, span by span. Every span is offset exactly (a line
// along its right-hand normal, an arc about its centre) and consecutive offset spans are joined at the
// corners:
// - where they overlap (a concave corner on the offset side) they are trimmed to their crossing
//   (velTrimJoin);
// - where they leave a gap (a convex corner) they are extended to a sharp corner (velExtendJoin, with
//   `extend`), chamfered when that corner would lie too far out (velChamferJoin), or rounded by an arc of
//   radius |offset| about the input corner (velRoundJoin);
// - small gaps left over are closed by moving both ends, larger ones bridged by a line
//   (velOffsetGapCloser).
//
// The result is raw: where the offset of a concave stretch overlaps itself the loops stay in it. Spans that
// are not offsets of input geometry and close such loops are flagged temporary (an arc that collapsed
// through its centre becomes a temporary line, and so do the corner spans beside it; a corner arc of an
// overlapping corner longer than a half circle becomes two temporary arcs), so that the sorter can cut the
// loops away. Offsetting works in XY; z rides along with the points.
//
// Sign: a positive offset moves every span to its right, (v.y, -v.x) for a tangent v: an anticlockwise
// closed contour grows, a clockwise one shrinks. Settings (each with its default):
// - chamfer corners (0) and max corner offset (0), set_chamfer_corners: see there;
// - span info (0), set_span_info: keep side labels.
// The join tolerance is 0.001 |offset|.
//
// The input contour is only read (its iteration place moves); it must outlive the offsetter. The offsetter
// keeps no state between calls of offset().
//
// A poly-arc-line contour (velPolyArcLineAdapter), whose spans carry no offsetting properties, is offset on
// values in one pass (velRawPolyArcLineOffset); any other contour span object by span object, so that
// spans of classes with properties receive their hooks. Both make the same offset, to rounding.

#include "arcline/polyline/contour/velAbsContour.h"
#include "arcline/polyutils/velOffsetJoinSettings.h"

#include <vector>

class velPolylineListIter;
class velPolylineWithOffsetFlagsListCursor;

class velPolyArcLineOffsetter {
public:
    velPolyArcLineOffsetter(velAbsContour& contour, double offset);
    virtual ~velPolyArcLineOffsetter() = default;
    velPolyArcLineOffsetter(const velPolyArcLineOffsetter&) = delete;
    velPolyArcLineOffsetter& operator=(const velPolyArcLineOffsetter&) = delete;

    // With `on` = 1, a sharp corner (extend = 1) that would lie farther than `max_corner_offset` from the
    // input corner is cut by a chamfer line at that distance; when even |offset| exceeds it the corner is
    // rounded. A negative `max_corner_offset` puts no limit on sharp corners. Default: off, 0.
    void set_chamfer_corners(int on, double max_corner_offset);
    int get_chamfer_corners() const { return m_chamfer_corners; }
    double get_max_corner_offset() const { return m_max_corner_offset; }
    // With `on` = 1, offset spans keep the position and side label of their input span and spans made at
    // corners carry corner labels (velOffsetJoinSettings::corner_side); with 0 (default) the result carries
    // no labels.
    void set_span_info(int on) { m_span_info = on; }

    // The raw offset as a new contour of the input's kind (its clone()), or null when nothing is left: a
    // closed contour offset inward by at least half its larger extent (velOffsetValidity::vanishes), or one
    // whose spans were all cleaned away. An offset of at most 1e-15, or a contour without spans, gives a
    // copy of the contour.
    // - extend: 1 joins convex corners sharp by extending the spans, 0 rounds them;
    // - set: the property set asked of every span (should_span_be_offset): a span that says 0 is copied
    //   unchanged, and no corner is rounded next to it;
    // - changed: set to 1 when at least one span was offset, else 0;
    // - keep_order: 1 strips offset spans down to their order properties (delete_properties_keeping_order)
    //   and gives new spans order properties only.
    // Finally the result is cleaned of spans shorter than 1e-5.
    velAbsContourcoPrf offset(int extend, int set, int& changed, int keep_order);

    // The raw offset of every polyline of `in`, in order, each appended to `out` as a new polyline (of the
    // class `out`'s inner cursor writes) with its span records: out's iterator tells temporary spans
    // (temporary_line, temporary_arc, get_offset_info). A polyline that vanishes adds none. `sources`, when
    // given, receives the index in `in` of each polyline written. Returns the number of polylines written.
    // `out`'s inner cursor must hand out contours (get_current), as the poly-arc-line list cursors do.
    static int offset_list(velPolylineListIter& in, velPolylineWithOffsetFlagsListCursor& out, double offset,
                           int extend, int chamfer_corners = 0, double max_corner_offset = 0.0,
                           std::vector<int>* sources = nullptr);

    // The current polyline of `in` as a contour: its own contour view where it has one, else a contour of
    // free spans read through the iterator (with its span records where it keeps them).
    static velAbsContourcoPrf current_contour(velPolylineListIter& in);
    // Appends the raw offset `raw` to `out` as a new last polyline with its span records (temporary flags,
    // positions, sides). 0, writing nothing, when `out` cannot hold it.
    static int append_raw(const velAbsContour& raw, velPolylineWithOffsetFlagsListCursor& out);

private:
    // 0 when the offset is settled without offsetting: `result` is then a copy of the contour (no offset,
    // no spans) or null (the contour vanishes).
    int is_offsetting_required(velAbsContourcoPrf& result) const;
    // Joins `cur_off`, the next offset span, to `prev_off`, the last span of `result` (null while the
    // result is empty): trim, else extend (with `extend`), else round (when `join`, that is when both
    // input spans were offset). `prev_in` and `cur_in` are the input spans they were made from.
    void trim_extend_or_offset(int extend, velAbsContour& result, const velAbsSpancoPrf& prev_off,
                               const velAbsSpancoPrf& cur_off, int join, const velAbsSpancoPrf& prev_in,
                               const velAbsSpancoPrf& cur_in, const velOffsetJoinSettings& settings) const;
    // A sharp or chamfered join of a convex corner; 0 when the corner is not convex on the offset side, or
    // could not be joined so (it is then left to the rounded join).
    int extend_spans(const velAbsSpancoPrf& prev_off, const velAbsSpancoPrf& cur_off, velAbsContour& result,
                     const velOffsetJoinSettings& settings) const;
    // The two kinds of sharp corner: two lines meet where their lines cross; when an arc is involved (arc
    // and arc, line then arc, arc then line) the arcs run on along their circles.
    int find_intersection_of_lines(const velAbsSpancoPrf& prev_off, const velAbsSpancoPrf& cur_off,
                                   velAbsContour& result, const velOffsetJoinSettings& settings) const;
    int find_intersection_with_arcs(const velAbsSpancoPrf& prev_off, const velAbsSpancoPrf& cur_off,
                                    velAbsContour& result, const velOffsetJoinSettings& settings) const;
    velOffsetJoinSettings settings(int keep_order) const;

    velAbsContour& m_contour;
    double m_offset;
    double m_tol;
    int m_chamfer_corners = 0;
    double m_max_corner_offset = 0.0;
    int m_span_info = 0;
};
