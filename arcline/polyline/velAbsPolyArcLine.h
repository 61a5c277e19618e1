#pragma once
// The poly-arc-line: positions in space joined by spans, each span straight or a circular arc given by its
// mid point (the point halfway along the arc, not its centre). Positions are numbered 1 .. num_pos() and
// span i runs from position i to position i + 1. There is no closed flag: a line is closed when its first
// and last positions coincide, within whatever tolerance the caller chooses.
//
// This base fixes the numbering, the virtual interface through which the storage classes are filled, read
// and edited, and the services they all inherit: lengths, boxes, tangents, polygonization, equality,
// reversal, insertion and splitting of arcs. The base itself can be created and is an empty line that
// accepts nothing.
//
// Caches: the box, the length and the polygonization are filled lazily by const queries and emptied by
// every change, so one object must not be used from two threads at once, not even for reading. They live
// in a block made at the first query, so that a line never asked (an empty one, one only copied) costs
// no more than its positions: an empty line is a few tens of bytes.
//
// Indices are not checked: callers keep positions within 1 .. num_pos() and spans within 1 .. num_spans().

#include "arcline/platform/CArchive.h"
#include "arcline/platform/CObject.h"
#include "arcline/platform/coPageArr.h"
#include "arcline/platform/coPrf.h"
#include "arcline/platform/giBox3.h"
#include "arcline/platform/giFloatArray3.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giUnitVec3.h"
#include "arcline/polyline/velPolylineArray.h"

#include <memory>

using giFloatArray3coPageArr = coPageArr<giFloatArray3>;
using giFloatArray3coPageArrcoPrf = coPrf<giFloatArray3coPageArr>;

class velAbsPolyArcLine : public CObject {
    DECLARE_SERIAL(velAbsPolyArcLine)

public:
    velAbsPolyArcLine() = default;
    // Copies the number of positions; caches start empty and the polygonization is not shared.
    velAbsPolyArcLine(const velAbsPolyArcLine& other);
    velAbsPolyArcLine& operator=(const velAbsPolyArcLine&) = delete;
    ~velAbsPolyArcLine() override;

    // Stores or loads the schema word 1 and the number of positions; another schema throws the archive
    // exception with cause badSchema.
    void Serialize(CArchive& ar) override;

    // Empties the line.
    virtual void reset();
    // A new line of the same class holding a copy of this one, owned by the caller (null for the base).
    virtual velAbsPolyArcLine* create_new() const;
    // A new empty line of the same class, owned by the caller (null for the base).
    virtual velAbsPolyArcLine* create_empty() const;
    // Prepares storage for n positions; returns the storage's answer (0 for the base).
    virtual int reserve(int n);
    // Appends a position; the new span, if any, is straight.
    virtual void add_pos(const giPoint3& p);
    // Appends position `end`, the new span an arc through `mid`. Does nothing on an empty line.
    virtual void add_arc(const giPoint3& mid, const giPoint3& end);
    virtual void edit_pos(int i, const giPoint3& p);
    // Replaces the mid point of span i; the no-mid-point value makes the span straight.
    virtual void edit_mid_pos(int i, const giPoint3& mid);
    // Whether the matching mutator is allowed for this class. Advisory: the mutators do not ask, so a caller
    // that must respect a class's restrictions asks before it writes.
    virtual int ok_to_add_pos(const giPoint3& p) const;
    virtual int ok_to_add_arc(const giPoint3& mid, const giPoint3& end) const;
    virtual int ok_to_edit_pos(int i, const giPoint3& p) const;
    virtual int ok_to_edit_mid_pos(int i, const giPoint3& mid) const;
    // 1 when span i is straight.
    virtual int span_linear(int i) const;
    virtual void get_pos(int i, giPoint3& p) const;
    // The mid point of span i; for a straight span a point whose x is -DBL_MAX.
    virtual void get_mid_pos(int i, giPoint3& mid) const;
    virtual int can_hold_arcs() const;
    // Reverses the direction: positions and mid points are exchanged end for end.
    virtual void reverse();
    // Single-precision points of the polygonization within `tol` (see polygonize). The cached array is
    // reused while the cached tolerance c satisfies 0.9 c <= tol <= 2 c; otherwise a new array replaces
    // it (holders of the old one keep it).
    virtual const giFloatArray3coPageArrcoPrf& get_polygonized_points(double tol, int mode) const;

    int num_pos() const { return m_num_pos; }
    int num_spans() const { return m_num_pos > 0 ? m_num_pos - 1 : 0; }
    void span_start(int i, giPoint3& p) const { get_pos(i, p); }
    void span_end(int i, giPoint3& p) const { get_pos(i + 1, p); }
    void span_middle(int i, giPoint3& mid) const { get_mid_pos(i, mid); }
    // Straight: the distance of the ends; arc: its length from its three points.
    double span_length(int i) const;
    // Sum of the span lengths (cached).
    double length() const;
    // Box of the whole line, arcs' extreme points included (cached). Empty for no positions.
    const giBox3& box() const;
    // Merges span i, its extreme points included, into `box`.
    void span_box(int i, giBox3& box) const;
    // Unit tangent of span i at parameter t in [0, 1]; unset when its ends coincide.
    void span_tangent(int i, double t, giUnitVec3& tangent) const;
    // Start (end) tangent of span i, falling back on neighbouring spans when span i has no length, and
    // finally on (1, 0, 0): always a unit vector.
    void span_start_tangent(int i, giUnitVec3& tangent) const;
    void span_end_tangent(int i, giUnitVec3& tangent) const;
    // Inserts a new position i; old positions i.. move up by one; the span starting at the new position
    // is straight.
    void insert_pos(int i, const giPoint3& p);
    // Splits arc span i at the fraction f of its length and returns the new position; a straight span is
    // left alone and the unset point returned.
    giPoint3 split_arc(int i, double f);
    // Appends to `out` a chordal approximation within `tol` (mode as the chordal interpolator takes it)
    // and returns the number of points appended after the first.
    int polygonize(double tol, int mode, velAbsPolyArcLine& out) const;
    // The chords of span i alone (its end points included when it is an arc).
    int span_polygonize(int i, double tol, int mode, velAbsPolyArcLine& out) const;

    // Same spans, span by span: same kind, coincident ends and, for arcs, coincident mid points (tolerance
    // 0). Lines without spans are equal.
    bool operator==(const velAbsPolyArcLine& other) const;
    bool operator!=(const velAbsPolyArcLine& other) const { return !(*this == other); }

    // The no-mid-point test of input: x = -DBL_MAX or any coordinate +DBL_MAX.
    static bool is_no_mid_point(const giPoint3& mid);

protected:
    // Empties the cached box, length and polygonization tolerance.
    virtual void invalidate_caches();

public:
    // Drops the last position and the span that ends there; nothing for an empty line. The storage keeps
    // its room, so a following add overwrites it. Declared after every documented slot (the last is
    // invalidate_caches) so that the documented slot order stays as it is.
    virtual void remove_last_pos();

protected:
    // Unsigned tan(sweep / 4) of span i, from the angle at its mid point; 0 for a straight span.
    double bulge_factor(int i) const;
    // The insertion primitive: position i becomes p and span i's mid point `mid`; the rest moves up.
    void shuffle_points(int i, const giPoint3& p, const giPoint3& mid);
    // Page sizing of the storage arrays: the smallest k >= 1 with 2^k >= n, at most 10.
    static int compute_page_factor(int n);
    // Pages of 2^k elements needed for n elements, at least 1.
    static int compute_num_pages(int n, int k);
    // One single-precision triple as three 32-bit floats.
    static void Serialize_giFloatArray3(CArchive& ar, giFloatArray3& f);
    // The derived record of a single-precision class: its schema word, the base record, then `per_pos`
    // triples per position less `short_by` (2n - 1 for interleaved storage, n for straight). Loading
    // checks the schema and fills `elements` anew with pages sized for the position count.
    void serialize_triples(CArchive& ar, velPolylineArray<giFloatArray3>& elements, int per_pos,
                           int short_by);

    void set_num_pos(int n) { m_num_pos = n; }

private:
    struct Caches {
        giBox3 box;                          // empty while not computed
        double length = -1.0;                // -1 while not computed
        giFloatArray3coPageArrcoPrf polygon; // null until first asked for
        double polygon_tol = DBL_MAX;        // DBL_MAX while there is none
    };
    // The cache block, made when first needed.
    Caches& caches() const;

    int m_num_pos = 0;
    mutable std::unique_ptr<Caches> m_caches; // null until a query fills a cache
};

// Reads a poly-arc-line of any registered class from an archive; the caller owns the new object.
CArchive& operator>>(CArchive& ar, velAbsPolyArcLine*& line);
