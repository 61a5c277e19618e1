#pragma once
// A set of disjoint closed intervals [start, end] of doubles in increasing order (fragments), stored as 2k
// values: start of fragment k at position 2k, its end at 2k + 1. Used for parameter ranges of spans that
// stay free, for the coordinates that a split line must avoid, and for the visible stretches of boundaries.
//
// Fragments may have zero length (start = end): the intersection of two fragments that touch is the one
// point they share. Union joins fragments that overlap or touch.
//
// velMarkedFragments derives from this class and carries an int mark with every start and end; the merge
// operations hand the marks of the ends they keep over to the result through the copy hooks.

#include "arcline/platform/utTypeID.h"

#include <memory>
#include <vector>

class velAbstractFragments {
public:
    velAbstractFragments() = default;
    velAbstractFragments(const velAbstractFragments&) = default;
    velAbstractFragments& operator=(const velAbstractFragments&) = default;
    virtual ~velAbstractFragments() = default;

    virtual const utTypeID& ut_dynamic_type() const;
    virtual int ut_is_kind_of(const utTypeID& t) const;
    static const utTypeID& ut_static_type();
    static const velAbstractFragments* ut_dynamic_cast(const velAbstractFragments* p) { return p; }
    static velAbstractFragments* ut_dynamic_cast(velAbstractFragments* p) { return p; }

    // A copy of the same class.
    virtual std::unique_ptr<velAbstractFragments> clone() const {
        return std::make_unique<velAbstractFragments>(*this);
    }

    int num_fragments() const { return static_cast<int>(m_values.size() / 2); }
    bool empty() const { return m_values.empty(); }
    double start(int k) const { return m_values[2 * static_cast<std::size_t>(k)]; }
    double end(int k) const { return m_values[2 * static_cast<std::size_t>(k) + 1]; }
    // Empties the set.
    virtual void reset() { m_values.clear(); }
    // Adds [s, e] (s <= e) after the last fragment; when it overlaps or touches the last fragment the two
    // join. A fragment that starts before the last one's start is outside the contract.
    void append(double s, double e);

    // Whether v lies in a fragment: the first fragment whose end is at least v, and v at least its start.
    int contains(double v) const;
    // This set becomes the union (or) or the intersection (and) of a and b; either may be this set.
    void merge_fragments_or(const velAbstractFragments& a, const velAbstractFragments& b);
    void merge_fragments_and(const velAbstractFragments& a, const velAbstractFragments& b);
    // out receives the fragments of this set that are not shorter than `length` (with `keep_equal` 0, those
    // longer than `length`). out may be this set.
    void remove_short_fragments(double length, velAbstractFragments& out, int keep_equal = 1) const;
    // out receives this set with every gap shorter than `length` closed (the two fragments around it join).
    // out may be this set.
    void remove_short_gaps(double length, velAbstractFragments& out) const;

protected:
    // Appends a fragment whose ends come from fragment ia of a (start) and fragment ib of b (end); the
    // marked set copies their marks too.
    virtual void append_from(const velAbstractFragments& a, int ia, const velAbstractFragments& b, int ib);
    // The walk behind both merges: fragments are kept where at least `depth` (1: or, 2: and) of the two sets
    // cover a value.
    void merge_fragments_engine(const velAbstractFragments& a, const velAbstractFragments& b, int depth);
    // The next end point of the walk: the smaller of the next value of a (at position pa) and of b (at pb),
    // starts before ends on ties. Returns 0 for a, 1 for b, -1 when both are exhausted.
    static int next_fragment(const velAbstractFragments& a, int pa, const velAbstractFragments& b, int pb);

    std::vector<double> m_values;
};
