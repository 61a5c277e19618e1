#pragma once
// The arcline program's readers of the two text formats of geometry files, the record format
// ("velGeometryIO 1": records p, a, s, e) and the picture format ("picture 1"). They deliver the polylines
// that velGeometryIO::read delivers, built the same way (velPolyArcLineDouble, add_pos and add_arc), and
// tell besides what the library's lenient reading passes over in silence, as warnings:
//   - the version of a record file is not 1 (it is read as version 1);
//   - text after the numbers of a record ("p 1 2 1,5" reads z = 1; "0J" reads 0);
//   - an 'a' record that starts a polyline (dropped: an arc needs a start);
//   - an empty polyline (an 's' with no positions before it);
//   - records after the end record 'e', or no 'e' at all (a file cut short after an 's');
//   - a polyline not ended by 's' at the end of the file (dropped);
//   - a negative contour or span count in a picture file (read as none), text after the last contour.
// Faults end reading, keeping what came before: an unknown record, a missing or malformed number, a
// coordinate that is not finite (nan, inf). A picture contour cut by a fault keeps the spans before it, as
// the library's reader does; a record polyline cut by a fault is not delivered.

#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "tools/cli/Diagnostics.h"

#include <string_view>

namespace arcline::cli {

class TextGeometryReader {
public:
    using List = velAbsPolyArcLinecoDListPrgcoPrgcoDList;

    // The record format, from the header on. Appends to `out`.
    static void read_records(std::string_view text, List& out, Diagnostics& diag);
    // The picture format, from the header on. Appends to `out`.
    static void read_picture(std::string_view text, List& out, Diagnostics& diag);

private:
    TextGeometryReader() = default;
};

} // namespace arcline::cli
