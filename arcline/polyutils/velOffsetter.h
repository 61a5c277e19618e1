#pragma once
// Valid offsets: the raw offsets of velPolyArcLineOffsetter, whose loops where an offset overlaps itself are
// still in them, handed to the polyline sorter, which keeps the loops that bound the offset region; the
// sorted loops are then relabelled, rotated, split and reversed into what was asked for.
//
// Three kinds of offset:
// - a single contour to its left or right (offset(contour, ...)): a closed contour gives the loops on that
//   side, each started at the span made from the earliest input span; an open polyline gives the two sides
//   of the band around it (the loop forward along it, about a half circle at its end, back and about its
//   start, offset and sorted, then cut into its left and right runs by the side labels of the spans);
// - a region (offset(list, out, d)): nested closed boundaries (outer boundaries anticlockwise, holes
//   clockwise, islands in holes anticlockwise again) offset by a signed distance: positive moves every
//   boundary to its right, so the material grows (outer boundaries grow, holes shrink), negative shrinks it.
//   Each boundary is offset together with its holes and sorted; islands are offset on their own. To grow a
//   region it is reversed and put inside a frame, so that the sorter always shrinks material;
// - bands (sausage_offset): closed boundaries around open polylines.
//
// Side labels (set_span_info(1) keeps them on the output): 1 left side, 2 right side, 3 end cap, 4 and 5 the
// corners after left and right spans; with them every output span knows the position of the input span it
// came from. The sorter does not carry span records, so they are found again after sorting: every sorted
// span lies on a raw offset span, and takes its record (velSortedSpanRecords).
//
// Offsetting properties: spans of this library are all offset and carry no properties, so the property
// hooks (offset and order properties, the property set, the multiple offset mode) pass polylines through
// whole; a derived span class that carries properties receives them through the contour hooks.
//
// Voronoi: a derived offsetter may offset by a Voronoi diagram (is_voronoi_available, offset_using_voronoi).
// This library has none: the hook falls back to the poly-arc-line offset.
//
// Progress: with a progress object set, every sort reports and checks it; a stop request empties what is
// being written (nothing is thrown). A region offset fills the progress object's current stage (it divides
// it among its raw offsets and sorts), so a caller making many offsets with one object (the levels of a
// pocket) starts a stage for each (velProgressBreak::next_stage). Debug geometry goes to the channel
// "veloffsetter" (level 2).
//
// The stages live beside this file: velOffsetter.cpp (settings, region offsets, sorting, bands) and
// velOffsetterContour.cpp (single contours, end caps and sides).

#include "arcline/polyline/contour/velAbsContour.h"
#include "arcline/polyline/velTolerances.h"

#include <memory>

class intNaryTree;
class velPolylineListCursor;
class velPolylineListIter;
class velPolylineSorter;
class velPolylineWithOffsetFlagsListCursor;
class velProgressBreak;

class velOffsetter {
public:
    // A sorter that replaces the list sorter of every offsetter: called with mode 1, its data, the raw
    // offsets and the cursor to fill with the valid loops (region on their left). Its answer is not used.
    using SorterFunc = int (*)(int mode, void* data, velPolylineListIter& in, velPolylineListCursor& out);

    // Offsets of at most this size are no offset: the input is copied.
    static constexpr double no_offset = velTol::offset_zero;
    // The margin of the frame put round a region that grows: at least this, 3 |offset|, and frame_margin_
    // fraction of the region's larger extent; sharp corners may reach far out, so they get
    // frame_margin_sharp.
    static constexpr double frame_margin_min = 0.001;
    static constexpr double frame_margin_fraction = 3e-5;
    static constexpr double frame_margin_sharp = 100000.0;
    // The length of the two lines that make the end cap of an open polyline: a little longer than the
    // raw offsetter's short span limit, so that they survive its cleaning and become a half circle.
    static constexpr double end_cap_length = 1.1 * velTol::span_fraction;
    // A Voronoi offset is worth it from this distance on.
    static constexpr double voronoi_min_offset = 0.001;

    velOffsetter();
    velOffsetter(const velOffsetter&) = delete;
    velOffsetter& operator=(const velOffsetter&) = delete;
    virtual ~velOffsetter();

    // --- Settings (defaults: none, none, 1, 0, (0, 0), none, 0, 1, 0)

    // The span whose order properties every output span carries (update_order_nodes runs on the output).
    void set_order_properties(velAbsSpancoPrf span) { m_order_properties = std::move(span); }
    // The span with the offsetting property set; kept only when it reports one.
    void set_offset_properties(velAbsSpancoPrf span);
    // The property set index asked of every span (velAbsSpan::should_span_be_offset).
    void set_span_offset_flag(int set) { m_span_offset_flag = set; }
    // 1: convex corners are joined sharp (spans extended), 0: rounded by arcs of radius |offset|.
    void set_sharp_corners(int on) { m_sharp_corners = on; }
    // Sharp corners that would lie farther than `max` from the input corner are chamfered there (see
    // velPolyArcLineOffsetter::set_chamfer_corners).
    void set_chamfer_corners(int on, double max) {
        m_chamfer_corners = on;
        m_max_corner_offset = max;
    }
    int get_chamfer_corners() const { return m_chamfer_corners; }
    double get_max_corner_offset() const { return m_max_corner_offset; }
    // The progress and stop object (not owned); with `no_report` = 1 it is only asked whether to stop.
    void set_progress_break(velProgressBreak* progress, int no_report = 0) {
        m_progress = progress;
        m_no_report = no_report;
    }
    int is_progress_reporting() const { return m_progress && !m_no_report; }
    velProgressBreak* p_progress() const { return m_progress; }
    // 1: output spans keep their side labels and input positions (offset-flag cursors receive them).
    void set_span_info(int on) { m_span_info = on; }
    int get_span_info() const { return m_span_info; }
    void set_voronoi_permitted(int on) { m_voronoi_permitted = on; }
    // 1: pieces that are not offset are handed on with the offset pieces.
    void set_multiple_offset_mode(int on) { m_multiple_offset_mode = on; }

    // Replaces the list sorter of every offsetter until it is called again (null: the offsetter's own).
    // Process-wide and unguarded: set it before offsetting starts.
    static void set_sorter(SorterFunc func, void* data);

    // --- Hooks of a Voronoi-based offsetter

    virtual int is_voronoi_available() const { return 0; }
    virtual int is_positive_sausage_offset_allowed() const { return 0; }
    // The raw offsets of `in` (`in2` holds the polylines the offset is measured from, the same as `in` or
    // the open polylines that `in` bands), as a new list the caller owns, or null. Here: polyarcline_offset.
    virtual velPolylineListCursor* offset_using_voronoi(velPolylineListIter& in, velPolylineListIter& in2,
                                                        double offset, int keep_order);

    // --- Offsets

    // A new list (the contour's create_empty_cursor()) with the right side at distance `offset` when
    // offset >= 0, the left side at distance -offset when offset < 0. The caller owns it.
    velPolylineListCursor* offset(velAbsContour& contour, double offset);
    // The left side at distance d appended to `left`, the right side to `right`, each when not null. A
    // closed contour's sides are its loops offset inwards and outwards (left of an anticlockwise contour is
    // inside); an open polyline's sides are the two runs of the band around it, both running in the
    // polyline's direction, end caps left out. The contour's labels are set and cleared on the way.
    void offset(velAbsContour& contour, double d, velPolylineListCursor* left, velPolylineListCursor* right);
    // The region of the nested closed boundaries of `in` offset by `offset` into `out` (cleared first):
    // outer boundaries anticlockwise and holes clockwise in and out. `in` is reversed and framed on the way
    // and left as it was at the end (each branch works on copies of its polylines).
    void offset(velPolylineListCursor& in, velPolylineListCursor& out, double offset);
    // The same on a copy of `in`.
    void offset(velPolylineListIter& in, velPolylineListCursor& out, double offset);
    // Closed bands of half-width |offset| around the polylines of `in` (open ones taken there and back,
    // a little extended at their ends) into `out`; reversed when `reverse`. `changed` is set when a polyline
    // vanished or was offset.
    void sausage_offset(velPolylineListIter& in, velPolylineListCursor& out, double offset, int extend,
                        int set, int& changed, int keep_order, int reverse);

    // Every closed polyline of `list` (an offset-flag cursor; others are left) rotated to start at its span
    // of the smallest input position. Polylines without positions stay as they are.
    static void start_at_lowest_position(velPolylineListCursor& list);
    // The runs of the sorted band loops of `sorted` whose side class is that of `side` (1 left, 2 right),
    // each a polyline appended to `out`; left runs are reversed, so that both run the input's way.
    static void extract_side(velPolylineListIter& sorted, velPolylineListCursor& out, int side);
    // 1 for labels 1 and 4, 3 for 2 and 5, 4 for the rest.
    static int side_class(int label);

protected:
    void set_delete_pars(int on) { m_delete_pars = on; }

    // The offsets of one boundary and its holes (the node of `branch` and its children, moved out of `in`)
    // into `out`, then the branches of the islands inside them.
    void offset_sort_branch(intNaryTree& branch, velPolylineListCursor& in, velPolylineListCursor& out,
                            double offset, int extend, int set, int keep_order);
    // Raw offsets of `in` by offset2 (or bands when the property set asks for them), sorted into `out`.
    void offset_sort(velPolylineListCursor& in, velPolylineListCursor& out, double offset1, double offset2,
                     int extend, int set, int keep_order);
    velPolylineListCursor* polyarcline_or_voronoi_offset(velPolylineListIter& in, velPolylineListIter& in2,
                                                         double offset, int extend, int set, int& changed,
                                                         int keep_order, int split);
    // The raw offset of every polyline of `in`, as a new list the caller owns (offset-flag records kept),
    // or null when nothing is left or the progress object stopped it.
    velPolylineListCursor* polyarcline_offset(velPolylineListIter& in, double offset, int extend, int set,
                                              int& changed, int keep_order, int split);
    // The valid loops of raw offsets, into `out`.
    void sort(velPolylineListIter& in, velPolylineListCursor& out);
    void split_polyline_list(velPolylineListIter& in, velPolylineListCursor& offset_pieces,
                             velPolylineListCursor& kept_pieces, int set);
    void update_order_nodes(velPolylineListCursor& list);
    void progress_report_stage_done();
    int has_offset_property_set(int set) const;

private:
    void split_polyline(velPolylineListIter& in, velPolylineListCursor& offset_pieces,
                        velPolylineListCursor& kept_pieces, int set);
    void transfer_to_offset_all(velPolylineListCursor& kept, velPolylineListCursor& offset_pieces);
    int interrupted() const;
    // Writes `list` to the channel "veloffsetter" under `name` (level 2).
    static void debug_list(const velPolylineListIter& list, const char* name);
    // A new empty list of poly-arc-lines that keeps the offsetters' span records.
    static std::unique_ptr<velPolylineWithOffsetFlagsListCursor> new_records_list();

    // Single contours (velOffsetterContour.cpp).
    void offset_closed(velAbsContour& contour, double offset, velPolylineListCursor& out);
    void offset_open(velAbsContour& contour, double d, velPolylineListCursor* left,
                     velPolylineListCursor* right);
    // The raw offset of `contour` (span labels kept), reversed when `reversed` (so that the sorter keeps the
    // loops on the side wanted), sorted by the closed sorter, given the raw spans' records and reversed back;
    // null when the raw offset vanishes. `name` labels the raw offset on the debug channel.
    std::unique_ptr<velPolylineWithOffsetFlagsListCursor>
    offset_and_sort(velAbsContour& contour, double offset, bool reversed, const char* name);

    velAbsSpancoPrf m_order_properties;
    velAbsSpancoPrf m_offset_properties;
    int m_span_offset_flag = 1;
    int m_sharp_corners = 0;
    int m_delete_pars = 0;
    std::unique_ptr<velPolylineSorter> m_sorter;
    int m_chamfer_corners = 0;
    double m_max_corner_offset = 0.0;
    std::unique_ptr<velPolylineSorter> m_closed_sorter;
    velProgressBreak* m_progress = nullptr;
    int m_no_report = 0;
    int m_span_info = 0;
    int m_voronoi_permitted = 1;
    int m_multiple_offset_mode = 0;

    static SorterFunc s_sorter_func;
    static void* s_sorter_data;
};
