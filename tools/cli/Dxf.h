#pragma once
// DXF in and out for the arcline program (the library knows no DXF).
//
// Reading takes the ENTITIES section of an ASCII DXF file, every layer and space: LINE, ARC, CIRCLE,
// LWPOLYLINE (with bulges), POLYLINE with its VERTEX records (2D with bulges, 3D), and POINT (a polyline of
// one position). Arcs and circles become exact arcs: a circle is two half arcs from the point at angle 0,
// anticlockwise about its normal. Entities in an object coordinate system (a normal other than +Z) are
// mapped to world coordinates by DXF's arbitrary axis rule. Other entities (TEXT, SPLINE, INSERT, meshes,
// ...) are counted and named in one warning per kind.
//
// Writing makes a DXF of release 2000 (AC1015) holding one entity per polyline on layer "0": a polyline in
// a plane z = const is an LWPOLYLINE at that elevation with bulges (closed, flag 1, when its last position
// is exactly its first; that position is then not repeated); a polyline of straight spans that is not flat
// is a 3D POLYLINE; a single position is a POINT. A polyline that is neither flat nor straight (a helix, a
// ramp on a tilted arc) has no DXF polyline: each of its spans becomes a LINE or an ARC in the arc's own
// plane, and a warning says so. DXF bulges are tan(sweep / 4), positive anticlockwise, the measure of
// velCirbul, so arcs stay exact; numbers are written as "%.17g".

#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "tools/cli/Diagnostics.h"

#include <string>
#include <string_view>
#include <vector>

class velPolylineListIter;

namespace arcline::cli {

class Dxf {
public:
    using List = velAbsPolyArcLinecoDListPrgcoPrgcoDList;

    // Whether `text` looks like an ASCII DXF file: its first non-blank line is group code 0 or 999.
    static bool looks_like(std::string_view text);
    static bool is_binary(std::string_view text);

    // Appends the polylines of the DXF text to `out`.
    static void read(std::string_view text, List& out, Diagnostics& diag);

    struct Written {
        std::string text;
        // Notes on what DXF could not hold as it was, one sentence each.
        std::vector<std::string> notes;
    };
    static Written write(const velPolylineListIter& list);

private:
    Dxf() = default;
};

} // namespace arcline::cli
