#pragma once
// Splits the pieces of a trimmed list at the line x = value (variable 0) or y = value (variable 1): the
// parts below the value go to the low list, the others to the high list, both as trimmings of the same
// underlying list (each output view clones the input's underlying iterator). Spans whose box (from the box
// cache, when one is given) lies wholly on one side are not solved.
//
// When the input has edge flags, ends made by the cut get the side of the line as seen from each part: for
// x = value the low part's new ends lie on its right side and the high part's on its left; for y = value
// the low part's on its top and the high part's on its bottom. Other ends keep their flags.
//
// The BSP intersector splits its own flat pieces with the same walk (velBSPPieceSplitter); this class is
// that walk on a list read through the list protocol.

#include "arcline/intersect/velBSPPiece.h"
#include "arcline/lists/velClosureFunction.h"

#include <vector>

class velTrimmedPolylineListIter;
class velPolylineListIter;
class velPolyarcline2dBoxCache;

class velPolylineBSPTrimmerHelper {
public:
    // Either output may be null (that side is not wanted). Nothing happens until
    // subdivide_polyline_single_variable().
    velPolylineBSPTrimmerHelper(velTrimmedPolylineListIter& pieces, int variable, double value,
                                const velPolyarcline2dBoxCache* box_cache,
                                velTrimmedPolylineListIter* low_out, velTrimmedPolylineListIter* high_out);
    void subdivide_polyline_single_variable();

    // The pieces of a trimmed view (with its end flags, true ends without) as flat pieces: a closure break
    // of a closed polyline (by the closure function, 0: every polyline closed) is one piece across the
    // closing point, and a closed polyline kept whole is a whole piece.
    static void read_pieces(velTrimmedPolylineListIter& view, velClosureFunction closed, void* data,
                            std::vector<velBSPPiece>& out);
    // `out` becomes a view over (a clone of) `underlying` that keeps exactly the flat pieces, with their end
    // flags (true ends without a flag); a piece across a closing point is kept as its two segments.
    static void write_pieces(const std::vector<velBSPPiece>& pieces, const velPolylineListIter& underlying,
                             velTrimmedPolylineListIter& out);

private:
    velTrimmedPolylineListIter& m_pieces;
    int m_variable;
    double m_value;
    const velPolyarcline2dBoxCache* m_box_cache;
    velTrimmedPolylineListIter* m_low;
    velTrimmedPolylineListIter* m_high;
};
