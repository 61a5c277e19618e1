#pragma once
// A doubly linked list of shared curve-remembering polylines.

#include "arcline/platform/coDList.h"
#include "arcline/polyline/contour/torCurvePtr3PolylinecoPrf.h"

using torCurvePtr3PolylinecoPrfcoDList = coDList<torCurvePtr3PolylinecoPrf>;
