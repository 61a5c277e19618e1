#pragma once
// The abstract span of the contour framework: a straight line or an arc given by its start, mid and end
// points. Concrete spans (a handle on one span of a poly-arc-line, for example) supply the points and the
// span kind; this base supplies the plane geometry in bulge form, with the bulge, lengths, box and tangents
// cached. Every change of a point must end with invalidate_cache().
//
// Arcs lie in the plane z = z of their start: bulge form is plane geometry, and points computed on an arc
// take the z of the start. Tangents and normals are XY vectors (z = 0).

#include "arcline/platform/coPrf.h"
#include "arcline/platform/giBox2.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector2.h"
#include "arcline/platform/giVector3.h"
#include "arcline/polyline/spans/velSpanSide.h"

class velAbsSpan;
using velAbsSpancoPrf = coPrf<velAbsSpan>;

class velAbsSpan {
public:
    virtual ~velAbsSpan() = default;

    // A new span of the same class holding a copy of this one.
    virtual velAbsSpancoPrf create_new() const = 0;
    // New spans of this span's class: an arc from S through M to E, a line, and a straight span that stands
    // in for an arc for a while (an arc that collapsed in an offset, say).
    virtual velAbsSpancoPrf create_arc_span(const giPoint3& S, const giPoint3& E,
                                            const giPoint3& M) const = 0;
    virtual velAbsSpancoPrf create_line_span(const giPoint3& S, const giPoint3& E) const = 0;
    virtual velAbsSpancoPrf create_temp_line_span(const giPoint3& S, const giPoint3& E) const = 0;
    virtual void copy_to_start_point(const giPoint3& p) = 0;
    // Moves the mid point of an arc span; returns 1 when it was moved.
    virtual int set_arcspan_mid_point(const giPoint3& p) = 0;
    virtual void copy_to_end_point(const giPoint3& p) = 0;
    // Hook for spans that keep vectors of their own; called after the geometry changed.
    virtual void initialise_vectors() {}

    virtual giPoint3 start_point() const = 0;
    virtual giPoint3 mid_point() const = 0;
    virtual giPoint3 end_point() const = 0;

    // Unit XY tangents at the ends (zero for a span whose ends coincide in XY). By value, so that a tangent
    // of a temporary span outlives it.
    virtual giVector3 start_vector() const;
    virtual giVector3 end_vector() const;
    // Unit XY tangent at bulge parameter t.
    virtual giVector3 parameter_vector(const double& t) const;
    virtual double get_length() const;

    virtual bool operator==(const velAbsSpan& other) const = 0;

    virtual int is_line_span() const = 0;
    virtual int is_temp_line_span() const = 0;
    virtual int is_raster_span() const { return 0; }
    virtual int is_arc_span() const = 0;
    virtual int is_temp_arc_span() const = 0;
    virtual void set_arc_span_temp_state(int temp) = 0;

    // Properties that offsetting carries from span to span. A plain span has none: it is always offset,
    // carries nothing and all its order nodes are equal.
    virtual int should_span_be_offset(int /*property_set*/) const { return 1; }
    virtual int offsetting_property_set_exists() const { return 0; }
    virtual int non_empty_offsetting_property_set_exists() const { return 0; }
    virtual int properties_exist() const { return 0; }
    virtual void add_properties(const velAbsSpan& /*prev*/, const velAbsSpan& /*next*/) {}
    virtual void add_properties(const velAbsSpan& /*from*/) {}
    virtual void create_order_node_span() {}
    virtual int order_properties_exist() const { return 0; }
    virtual void add_order_properties(const velAbsSpan& /*prev*/, const velAbsSpan& /*next*/) {}
    virtual void set_order_properties(const velAbsSpan& /*from*/) {}
    virtual void link_order_properties(velAbsSpan& /*other*/) {}
    virtual int order_nodes_are_equal(const velAbsSpan& /*other*/) const { return 1; }
    virtual void delete_properties_keeping_order() {}

    // The span's index and side label as set by the offsetter. A plain span keeps none: position -1, side 0.
    virtual int span_position() const { return -1; }
    virtual velSpanSide offset_label() const { return velSpanSideNone; }
    virtual void set_span_info(int /*position*/, velSpanSide /*side*/) {}
    virtual void remove_span_info() {}

    // Line, temporary line or raster span.
    int is_of_class_line() const { return is_line_span() || is_temp_line_span() || is_raster_span(); }
    // Arc or temporary arc span.
    int is_of_class_arc() const { return is_arc_span() || is_temp_arc_span(); }
    // The sagitta |b| * L / 2 is at most tol.
    int is_a_line(double tol) const;
    // Signed bulge (0 for line-class spans and coincident ends), cached.
    double get_bulge() const;
    // Gives an arc the bulge b: its mid point moves to the bulge mid point at the z of its start. A
    // line-class span keeps bulge 0 and returns 0.
    int set_bulge(double b);
    // Centre, mid point and (unsigned) radius; a line gives the chord midpoint twice and radius 0.
    void get_centre_mid_radius(giPoint3& centre, giPoint3& mid, double& radius) const;
    // XY box of the span, its extreme points included (cached; returned by value, so that the box of a
    // temporary span outlives it).
    giBox2 get_boundbox() const;
    // Distance of the ends in x and y only (cached).
    double chord_length() const;
    // Unit XY chord direction; zero when the ends coincide in XY.
    giVector2 unit_chord_vector() const;
    // Point at bulge parameter t (z interpolated along a line, the z of the start on an arc).
    giPoint3 parameter_point(const double& t) const;
    // Cuts the span down to [t0, t1]: [0, 1] returns 1 unchanged, t1 <= t0 returns 0.
    int trim(double t0, double t1);
    // Exchanges the ends (an arc keeps its mid point, which is the same point in both directions).
    void reverse();
    // A new span moved by d along the right-hand normal; an arc that collapses through its centre becomes
    // a temporary line (a plain line when that line has no length). Null for a span of no kind.
    velAbsSpancoPrf offset(double d) const;
    // Moves the start (end) point by d along the right-hand normal of the tangent there. An arc keeps its
    // bulge, so it stays an arc of the same sweep between the moved ends.
    void move_start_pt_normal(double d);
    void move_end_pt_normal(double d);
    // Moves the whole span by d along its right-hand normal in place (an arc about the same centre).
    // Returns 0, leaving the span unchanged, when an arc would collapse through its centre.
    int move_orthogonal(double d);
    // Intersections with another span, parameters 0 at a span's start and 1 at its end. Writes at most
    // `max` (<= 2) pairs into t_this and t_other, the one nearer this span's end first, and returns the
    // number of pairs written. Spans on one line or circle report the ends of their shared stretch.
    int intersect(const velAbsSpancoPrf& other, double* t_this, double* t_other, int max = 2) const;
    // The span has no kind: neither line-class nor arc-class.
    int invalid() const { return !is_of_class_line() && !is_of_class_arc(); }
    bool operator!=(const velAbsSpan& other) const { return !(*this == other); }

    // Empties the cached bulge, lengths, box and vectors.
    void invalidate_cache();

protected:
    velAbsSpan() = default;
    velAbsSpan(const velAbsSpan&) = default;
    velAbsSpan& operator=(const velAbsSpan&) = default;

private:
    velAbsSpancoPrf offset_arc_span(double d) const;
    // Moves either end or both (null: stays) and gives an arc its old bulge back.
    void move_ends_keeping_bulge(const giPoint3* start, const giPoint3* end);
    void fill_vectors() const;

    mutable double m_bulge = DBL_MAX; // DBL_MAX while not computed
    mutable double m_chord = -1.0;    // XY chord length; negative while not computed
    mutable double m_length = -1.0;   // negative while not computed
    mutable giBox2 m_box;             // empty while not computed
    // Start tangent, end tangent and unit chord; x = -DBL_MAX in the first while not computed.
    mutable giVector3 m_start_vector{-DBL_MAX, 0.0, 0.0};
    mutable giVector3 m_end_vector;
    mutable giVector3 m_chord_vector;
};
