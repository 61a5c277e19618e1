#include "arcline/polyline/velPolyArcLine.h"

IMPLEMENT_SERIAL(velPolyArcLine, velAbsPolyArcLine, 1)

void velPolyArcLine::Serialize(CArchive& ar) {
    // P1, M1, P2, ..., Pn: two triples a position, one less at the end.
    serialize_triples(ar, elements(), 2, 1);
}
