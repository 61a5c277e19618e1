#pragma once
// Reads a torCurvePtr3PolylinecoPrfcoDList.

#include "arcline/platform/coDListcoIterator.h"
#include "arcline/polyline/contour/torCurvePtr3PolylinecoPrfcoDList.h"

using torCurvePtr3PolylinecoPrfcoDListcoIterator = coDListcoIterator<torCurvePtr3PolylinecoPrf>;
