#pragma once
// A list read as the kept pieces of its polylines. The view holds one record of kept segments
// (velPolylineTrimmings) per polyline of an underlying iterator and presents every kept segment as a
// polyline of its own, so that trimmed results flow into any algorithm or cursor without copying.
//
// Order: polylines by increasing underlying index; within one polyline its segments from the last (highest
// parameters) to the first. A polyline trimmed away whole has no record and is skipped. An untrimmed view
// presents exactly the underlying polylines.
//
// Trims apply to the current piece and leave the pieces not yet reached alone: after a cut inside the
// current piece its first part stays current and its second part is not presented again in this pass; after
// the current piece is removed the next ++ reaches the piece before it. Call reset() before iterating again
// after operations that remove records.
//
// Piece parameters run 0 .. num_pos() - 1 over the current piece; within a piece's first and last span,
// which may be parts of an underlying arc, they are the partial arc's own bulge parameters.
//
// Ownership: constructed from a const reference the view clones the underlying iterator and owns the clone;
// with utPtrWrap it reads the given iterator, which must outlive the view. The view reads the underlying
// polylines at every query; they must outlive it. Copies copy every record.

#include "arcline/lists/velClosureFunction.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/lists/velPolylineTrimmings.h"
#include "arcline/lists/velTrimmedPolylineEndData.h"
#include "arcline/platform/coDynArr.h"
#include "arcline/platform/coPageArr.h"
#include "arcline/platform/coSet.h"
#include "arcline/platform/utPtrWrap.h"
#include "arcline/polyline/velTolerances.h"

#include <list>
#include <memory>
#include <vector>

class velTrimmedPolylineListIter : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(velTrimmedPolylineListIter, velPolylineListIter)

public:
    // No underlying iterator yet: an empty view until become().
    velTrimmedPolylineListIter();
    explicit velTrimmedPolylineListIter(const velPolylineListIter& underlying);
    velTrimmedPolylineListIter(utPtrWrap, velPolylineListIter& underlying);
    velTrimmedPolylineListIter(const velTrimmedPolylineListIter& other);
    velTrimmedPolylineListIter& operator=(const velTrimmedPolylineListIter& other);
    ~velTrimmedPolylineListIter() override;
    // A new underlying iterator, untrimmed.
    void become(const velPolylineListIter& underlying);
    void become(utPtrWrap, velPolylineListIter& underlying);

    // The protocol.
    int size() const override;
    void reset() override;
    int operator++() override;
    int num_pos() const override;
    giPoint3 get_pos(int i) const override;
    int span_linear(int i) const override;
    giPoint3 get_mid_pos(int i) const override;
    double get_bulge(int i) const override;
    // The piece's box, cached in its record.
    giBox3 box(vel3dBox kind) const override;
    using velPolylineListIter::box;
    int index() const override;
    void set_index(int k) override;
    velTrimmedPolylineListIter* create_new() const override { return new velTrimmedPolylineListIter(*this); }
    // Resets the view and the cursor, then writes every piece in view order in front of what the cursor
    // holds, arcs cut by the cursor from the underlying arcs.
    void copy(velPolylineListCursor& cursor) override;
    int all_spans_linear() const override { return m_underlying ? m_underlying->all_spans_linear() : 1; }

    velPolylineListIter& underlying_iter() const { return *m_underlying; }

    // Trims of the current piece, in piece parameters.
    void trim(double t0, double t1);
    // The end made at t0 (ending the part before the cut) gets end_flag, the end made at t1 start_flag.
    void trim_with_flags(double t0, double t1, int start_flag, int end_flag);
    // Several trims at once: params holds pairs (t0, t1) of piece parameters of the current piece, flags the
    // pairs (start flag, end flag) for each. The ranges are taken from the highest down, so that each stays
    // a range of the part of the piece not yet cut.
    void trim_with_flags(const doublecoPageArr& params, const intcoPageArr& flags);
    // As above, then `kept` receives the underlying start and end of every segment the piece became, in
    // ascending order.
    void trim_with_flags_in_reverse(const doublecoPageArr& params, const intcoPageArr& flags,
                                    doublecoDynArr& kept);
    // Removes the current piece; its record goes when it was the last segment.
    void trim_whole_segment();
    // The same, and when the current piece and another form one piece across the closing point of a closed
    // polyline (see velTPLIWithoutClosureBreaks), removes that one too.
    void trim_whole_segment_without_closure_breaks(velClosureFunction closed, void* data);
    // Splits the current piece at piece parameter t; the first part stays current.
    void split(double t);
    // Every polyline keeps exactly what was removed from it.
    void invert();
    // Union and difference with another view over the same underlying list, polyline by polyline.
    void add(velTrimmedPolylineListIter& other);
    void subtract(velTrimmedPolylineListIter& other);
    // Replaces the record of polyline r.index() by r (adds it when the polyline had none, drops the polyline
    // from the view when r has no segments), then reset().
    void set_trimmings(const velPolylineTrimmings& r);
    // Replaces every record at once by `records`, given in increasing polyline index (records without
    // segments are left out), then reset(): polylines without a record are trimmed away whole.
    void set_all_trimmings(std::vector<velPolylineTrimmings> records);
    // Merges segments closer than velPolylineTrimmings::snap_tol, in every record (then reset()) or in the
    // current one.
    void defragment();
    void defragment_current();

    // 1 when underlying parameter t of the current polyline lies in no kept segment.
    int is_trimmed(double t) const;
    // Whether the current polyline's segments cover it whole, with no gap above complete_tol.
    bool is_complete() const;
    static constexpr double complete_tol = velTol::span_fraction;

    double underlying_parameter(double t) const;
    double underlying_start() const;
    double underlying_end() const;
    int underlying_span(int i) const;
    // The number, in the underlying list, of the current polyline; -1 when undefined.
    int underlying_index() const { return m_poly; }
    // The current record's segment number of the current piece.
    int segment_number() const { return m_seg; }
    // The record of the current polyline; null when undefined.
    const velPolylineTrimmings* current_trimmings() const;
    // The record of underlying polyline k; null when it has none.
    const velPolylineTrimmings* trimmings_of(int k) const;

    // Makes the first presented piece of polyline k current; 0 when it has none. k < 0 resets.
    int set_underlying_curve(int k);

    // Flags.
    void enable_edge_flags(int start_flag, int end_flag);
    int edge_flags_enabled() const;
    int start_flag() const;
    int end_flag() const;
    void start_end(giPoint3& start, giPoint3& end) const;
    void start_end_data(velTrimmedPolylineEndData& data) const;
    // Whether the current piece reaches the start (end) of an open polyline.
    int open_start(velClosureFunction closed, void* data) const;
    int open_end(velClosureFunction closed, void* data) const;
    // Sets the flags of the segment ends that are ends of open polylines (closure tested with tolerance 0):
    // start_flag on a start at 0.0, end_flag on an end at the original end; of polyline `polyline` only, or
    // of every polyline when it is -1.
    void set_underlying_open_end_start_and_end_flags_out_of_range(int start_flag, int end_flag, int polyline);

    // The numbering of the view without closure breaks (velTPLIWithoutClosureBreaks).
    int size_without_closure_breaks(velClosureFunction closed, void* data) const;
    int index_without_closure_breaks(velClosureFunction closed, void* data) const;
    void set_index_without_closure_breaks(int k, velClosureFunction closed, void* data);
    // Whether the current record holds a closure break.
    bool has_closure_break(velClosureFunction closed, void* data) const;
    double underlying_parameter_without_closure_breaks(double t, velClosureFunction closed, void* data) const;
    double underlying_end_without_closure_breaks(velClosureFunction closed, void* data) const;
    // Whether the current piece is joined to another across the closing point (it is the last segment of a
    // record with a closure break: the joined piece is longer), and whether it is the one that is not
    // presented on its own (the first segment of such a record).
    int enlarged_without_closure_breaks(velClosureFunction closed, void* data) const;
    int removed_without_closure_breaks(velClosureFunction closed, void* data) const;

    // Monotone data recorded per segment (set by the profile splitting that records it).
    int monotone_information(gi_Axis& axis) const;

    // The longest run of untrimmed whole spans of the current polyline: first and last position numbers;
    // both -1 when no whole span is kept.
    void longest_run_untrimmed_start_end(int& first, int& last) const;
    // Underlying polyline numbers whose pieces do not (do) cover them whole.
    void underlying_polyline_trimmed_index(intcoSet& indices) const;
    void underlying_polyline_untrimmed_index(intcoSet& indices) const;
    // copy() leaving out nothing else: polylines trimmed away whole have no pieces anyway; pieces of one
    // position are left out too.
    void copy_omitting_trimmed_completely(velPolylineListCursor& cursor);

protected:
    using Records = std::list<velPolylineTrimmings>;
    friend class velTPLIWithoutClosureBreaks;
    friend class velSingleTrimmedPolylineListIter;

    // The presented geometry of segment `seg` of the current record (not only the current piece).
    int piece_num_pos(int seg) const { return record().num_pos(seg); }
    giPoint3 piece_pos(int seg, int i) const;
    int piece_span_linear(int seg, int i) const;
    giPoint3 piece_mid_pos(int seg, int i) const;
    double piece_bulge(int seg, int i) const;
    // The underlying parameter of piece position j of segment seg, exactly.
    double position_parameter(int seg, int j) const;
    // The bulge of the underlying span that piece parameter t of segment seg falls on.
    double bulge_at(int seg, double t) const;

    velPolylineTrimmings& record() const { return *m_rec; }
    // Moves onto the record of polyline k (which must exist), at its first presented piece.
    void enter(Records::iterator rec);
    // Removes the current record when it has no segments left.
    void drop_record_if_empty();
    // Closure function data: a pointer to a tolerance.
    bool record_has_closure_break(const velPolylineTrimmings& r, velClosureFunction closed, void* data) const;

private:
    void init();
    // copy() of the pieces of at least min_positions positions.
    void copy_pieces(velPolylineListCursor& cursor, int min_positions);
    void mark_size_unknown() { m_size = -1; }

    std::unique_ptr<velPolylineListIter> m_owned;
    velPolylineListIter* m_underlying = nullptr;
    mutable Records m_records;      // boxes are cached in them by const queries
    Records::iterator m_rec;        // the current record; end() when undefined
    int m_num_underlying = 0;       // polylines of the underlying list at initialisation
    int m_poly = -1;                // underlying index of the current polyline
    int m_seg = -1;                 // segment counter: counts down from num_segs - 1
    int m_before = 0;               // segments of the records before the current one
    bool m_entered_removed = false; // the current record was removed: ++ enters m_rec
    mutable int m_size = -1;        // total number of segments; -1 when not counted
};
