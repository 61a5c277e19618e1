#pragma once
// The free-parameter stage of velZonedPolylineListUtils: which parts of a span lie farther than a radius
// from the other spans of its polyline and of the other polylines of a list, with the candidates found
// through the zones. Everything is measured in XY, with spans in bulge form read from a flattened view.
//
// A span's free parts are kept as fragments of its parameter range [0, 1] (velAbstractFragments); the parts
// within the radius of another span are removed from them. The parts of span a within radius r of span b
// are found exactly: they are bounded by the parameters where a crosses the boundary of b's r-neighbourhood
// (b's two offsets by +-r and the circles of radius r about b's ends), and each stretch between two such
// parameters lies wholly inside or wholly outside, as its middle does.
//
// A span always comes within any radius of its neighbours at the vertex they share; that contact is not a
// crossing and is kept: the stretch of close parameters that reaches the shared end is not removed, while
// any other close stretch of a neighbour (an arc that bends back across the line before it) is.

#include "arcline/intersect/velPolylineListZoneNode.h"
#include "arcline/intersect/velPolylineZoneNode.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/polyutils/velAbstractFragments.h"

#include <utility>
#include <vector>

class velZoneCloseFragments {
public:
    // One span in XY: start, end and bulge (0 when straight).
    struct Span {
        giPoint2 s, e;
        double b = 0.0;
    };
    // Which ends of span a are vertices it shares with the span it is measured against.
    enum SharedEnds { no_shared_end = 0, shared_start = 1, shared_end = 2 };

    // Span j of the current polyline of iter.
    static Span span(const velPolylineListIter& iter, int j);
    // The stretches of span a's parameters (ascending, disjoint, within [0, 1]) whose points lie nearer than
    // `radius` to span b (a zero-chord b is its point).
    static void close_runs(const Span& a, const Span& b, double radius,
                           std::vector<std::pair<double, double>>& runs);
    // Removes from `free` (parameters of span a) the stretches of a nearer than `radius` to b, except those
    // that reach an end of a named in `shared` (a bit set of SharedEnds).
    static void remove_fragments_closer_than_radius(const Span& a, const Span& b, double radius, int shared,
                                                    velAbstractFragments& free);
    // Removes from `free` the parts of span j of the current polyline of `iter` nearer than `radius` to the
    // polyline's other spans (candidates from `zones`, the polyline's zone tree). Neighbours are span j - 1
    // and j + 1, and across the closing point the first and last spans of a closed polyline.
    static void remove_fragments_same_polyline(const velPolylineListIter& iter, int j, double radius,
                                               const velPolylineZoneNode<2>& zones,
                                               velAbstractFragments& free);
    // Removes from `free` the parts of span j of polyline `index` (read through `iter`, standing on it)
    // nearer than `radius` to the spans of every other polyline of the list, read through their trees'
    // iterators.
    static void remove_fragments_other_polylines(const velPolylineListIter& iter, int index, int j,
                                                 double radius, const velPolylineListZoneNode<2>& zones,
                                                 velAbstractFragments& free);
    // The middle of the longest fragment of positive length; -1.0 when there is none.
    static double middle_of_longest(const velAbstractFragments& free);

private:
    velZoneCloseFragments() = default;
};
