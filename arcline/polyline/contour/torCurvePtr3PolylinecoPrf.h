#pragma once
// Shared pointer to a curve-remembering polyline.

#include "arcline/platform/coPrf.h"

class torCurvePtr3Polyline;

using torCurvePtr3PolylinecoPrf = coPrf<torCurvePtr3Polyline>;
