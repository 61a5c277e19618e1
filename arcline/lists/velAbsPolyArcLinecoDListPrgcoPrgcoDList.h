#pragma once
// The list of shared polylines behind velAbsPolyArcLineListIter and velAbsPolyArcLineListCursor, with its
// iterator and cursor. Polylines are shared: moving one between two lists moves the same object.

#include "arcline/platform/coDList.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/coDListcoIterator.h"
#include "arcline/platform/coPrg.h"
#include "arcline/polyline/velAbsPolyArcLine.h"

using velAbsPolyArcLinecoPrg = coPrg<velAbsPolyArcLine>;
using velAbsPolyArcLinecoDListPrgcoPrgcoDList = coDList<velAbsPolyArcLinecoPrg>;
using velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator = coDListcoIterator<velAbsPolyArcLinecoPrg>;
using velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor = coDListcoCursor<velAbsPolyArcLinecoPrg>;
